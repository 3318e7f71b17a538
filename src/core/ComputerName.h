#pragma once

#include <QString>

// The local machine's network name as the audit trail records it: at most 19 characters.
QString computerName();
