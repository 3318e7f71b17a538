#pragma once

#include <QDateTime>

// The local date and time from the system clock for a writer that stamps many rows: the
// offset from UTC is looked up in the time zone once per second of the clock, not for every
// reading. Time zone changes fall on whole seconds, so every reading is the local time that
// QDateTime::currentDateTime gives for the same instant.
class LocalClock {
public:
    QDateTime now();
    // The local date and time of an instant (milliseconds since 1970-01-01 UTC).
    QDateTime at(qint64 msecsSinceEpoch);

private:
    qint64 second_ = 0;
    bool known_ = false;
    int offset_ = 0;
};
