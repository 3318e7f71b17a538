#include "emir/EmirFieldValues.h"

#include "data/dataset/Field.h"
#include "data/engine/OleDate.h"

QDate dateOrNull(const Field& field)
{
    if (field.isNull())
        return QDate();
    const QDate day = field.asDate();
    return day > OleDate::epoch() ? day : QDate();
}

QDateTime dateTimeOrNull(const Field& field)
{
    if (field.isNull())
        return QDateTime();
    const QDateTime at = field.asDateTime();
    return at > QDateTime(OleDate::epoch(), QTime(0, 0)) ? at : QDateTime();
}
