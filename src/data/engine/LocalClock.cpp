#include "data/engine/LocalClock.h"

QDateTime LocalClock::now()
{
    return at(QDateTime::currentMSecsSinceEpoch());
}

QDateTime LocalClock::at(qint64 msecsSinceEpoch)
{
    const qint64 second = msecsSinceEpoch >= 0 ? msecsSinceEpoch / 1000 : -((999 - msecsSinceEpoch) / 1000);
    if (!known_ || second != second_) {
        offset_ = QDateTime::fromMSecsSinceEpoch(second * 1000).offsetFromUtc();
        second_ = second;
        known_ = true;
    }
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::OffsetFromUTC, offset_);
}
