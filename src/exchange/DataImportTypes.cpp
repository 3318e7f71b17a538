#include "exchange/DataImportTypes.h"

#include "core/Error.h"
#include "core/Formats.h"

#include <QRegularExpression>

namespace {

ZtfiError convertError(const QString& message)
{
    return ZtfiError(message, QStringLiteral("EConvertError"));
}

bool isInteger(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*[+-]?\d+$)"));
    if (!form.match(text).hasMatch())
        return false;
    bool ok = false;
    text.trimmed().toInt(&ok);
    return ok;
}

bool isFloat(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^\s*[+-]?(\d+(,\d*)?|,\d+)([eE][+-]?\d+)?\s*$)"));
    return form.match(text).hasMatch();
}

QTime timeOf(const QString& text)
{
    const QString t = text.trimmed();
    for (const char* format : {"H:mm:ss", "H:mm", "H:mm:ss.zzz"}) {
        const QTime time = QTime::fromString(t, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return QTime();
}

bool isDateTime(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return Formats::parseDate(t).isValid();
    return Formats::parseDate(t.left(blank)).isValid() && timeOf(t.mid(blank + 1)).isValid();
}

}  // namespace

QString checkedImportText(const QString& text, TDataImportDataType type)
{
    switch (type) {
    case didtString:
        return text;
    case didtInteger:
        if (!isInteger(text))
            throw convertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
        return text;
    case didtFloat: {
        QString number = text;
        number.remove(QLatin1Char('.'));
        if (!isFloat(number))
            throw convertError(QStringLiteral("'%1' is not a valid floating point value").arg(number));
        return number;
    }
    case didtDate:
        if (!Formats::parseDate(text).isValid())
            throw convertError(QStringLiteral("'%1' is not a valid date").arg(text));
        return text;
    case didtTime:
        if (!timeOf(text).isValid())
            throw convertError(QStringLiteral("'%1' is not a valid time").arg(text));
        return text;
    case didtDateTime:
        if (!isDateTime(text))
            throw convertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
        return text;
    }
    throw ZtfiError(QStringLiteral("Unknown data type: %1.").arg(int(type)));
}

QTime separatedTime(const QString& text)
{
    QString separated = text;
    separated.insert(qMin<qsizetype>(2, separated.size()), QLatin1Char(':'));
    if (separated.size() > 5)
        separated.insert(5, QLatin1Char(':'));
    const QTime time = timeOf(separated);
    if (!time.isValid())
        throw convertError(QStringLiteral("'%1' is not a valid time").arg(separated));
    return time;
}
