#include "data/dataset/DatasetUtils.h"

#include "core/Interaction.h"
#include "data/dataset/Queries.h"

QString QuotedCharList(const QString& text, const QString& separator)
{
    QStringList items;
    items.reserve(text.size());
    for (const QChar c : text)
        items.append(c == u'\'' ? QStringLiteral("''''") : QLatin1Char('\'') + c + QLatin1Char('\''));
    return items.join(separator);
}

bool SetIntParamIfPresent(TUniQuery& query, const QString& name, qint64 value)
{
    SqlParam* param = query.findParam(name);
    if (param)
        param->setAsInteger(value);
    return param != nullptr;
}

bool SetDateParamIfPresent(TUniQuery& query, const QString& name, const QDate& value)
{
    SqlParam* param = query.findParam(name);
    if (param)
        param->setAsDate(value);
    return param != nullptr;
}

void PauseWithMessages(Interaction& ui, int milliseconds)
{
    ui.pause(milliseconds);
}

QDate FirstDayOfMonth(const QDate& date)
{
    return QDate(date.year(), date.month(), 1);
}

int DaysInMonth(const QDate& date)
{
    return date.daysInMonth();
}
