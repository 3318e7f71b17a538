#pragma once

// Without TZ in the environment the C library reads the zone file /etc/localtime again at every
// conversion of a local date and time, and a day's selection and report convert several per
// trade. When TZ is not set, it is set to ":/etc/localtime": the same zone, read once. Both the C
// library and Qt take that value as the system's own zone. Call first in main(), before any
// thread starts.
void readLocalZoneOnce();
