#include "ui/DateTextParser.h"

#include <QLocale>
#include <QStringList>

namespace {

const QStringList& tokens()
{
    static const QStringList list = {
        QStringLiteral("DD"), QStringLiteral("DDD"), QStringLiteral("DDDD"), QStringLiteral("MM"),
        QStringLiteral("MMM"), QStringLiteral("MMMM"), QStringLiteral("YY"), QStringLiteral("YYYY"),
        QStringLiteral("HH"), QStringLiteral("NN"), QStringLiteral("SS"), QStringLiteral("ZZ"),
        QStringLiteral("ZZZ"), QStringLiteral("AP"), QStringLiteral("AM"), QStringLiteral("AMP"),
        QStringLiteral("AMPM")};
    return list;
}

// The longest token that the format spells from position i; empty when none does.
QString tokenAt(const QString& format, qsizetype i)
{
    QString best;
    for (qsizetype n = 1; i + n <= format.size() && format[i + n - 1].isLetter(); ++n) {
        const QString run = format.mid(i, n);
        if (tokens().contains(run))
            best = run;
    }
    return best;
}

int numberOf(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

// Index (1-based) of the name whose first three letters start the text; 0 when none does.
int nameIndex(const QStringList& names, const QString& text, qsizetype* nameLength)
{
    for (int i = 0; i < names.size(); ++i) {
        const QString name = names[i].toUpper();
        if (text.startsWith(name.left(3))) {
            *nameLength = name.size();
            return i + 1;
        }
    }
    return 0;
}

QStringList monthNames()
{
    const QLocale sl(QLocale::Slovenian, QLocale::Slovenia);
    QStringList names;
    for (int m = 1; m <= 12; ++m)
        names << sl.monthName(m, QLocale::LongFormat);
    return names;
}

QStringList dayNames()
{
    const QLocale sl(QLocale::Slovenian, QLocale::Slovenia);
    QStringList names;
    for (int d = 1; d <= 7; ++d)
        names << sl.dayName(d, QLocale::LongFormat);
    return names;
}

}  // namespace

QDateTime DateTextParser::dayZero()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QDateTime DateTextParser::parse(const QString& displayFormat, const QString& input)
{
    const QString format = displayFormat.toUpper();
    QString text = input.toUpper();
    int day = 1, month = 1, year = 1, hour = 0, minute = 0, second = 0, msec = 0;
    bool afternoon = false;
    const auto take = [&text](qsizetype n) {
        const QString part = text.left(n);
        text.remove(0, n);
        return part;
    };
    for (qsizetype i = 0; i < format.size();) {
        const QString token = tokenAt(format, i);
        if (token.isEmpty()) {
            take(1);
            ++i;
            continue;
        }
        i += token.size();
        qsizetype length = 0;
        if (token == QLatin1String("DD")) {
            day = numberOf(take(2));
        } else if (token == QLatin1String("DDD")) {
            take(3);
        } else if (token == QLatin1String("DDDD")) {
            if (nameIndex(dayNames(), text, &length))
                take(length);
        } else if (token == QLatin1String("MM")) {
            month = numberOf(take(2));
        } else if (token == QLatin1String("MMM") || token == QLatin1String("MMMM")) {
            month = nameIndex(monthNames(), text, &length);
            take(token == QLatin1String("MMM") ? 3 : length);
        } else if (token == QLatin1String("YY")) {
            const int yy = numberOf(take(2));
            const int century = QDate::currentDate().year() / 100 * 100;
            year = yy < 50 ? century + yy : century - 100 + yy;
        } else if (token == QLatin1String("YYYY")) {
            year = numberOf(take(4));
        } else if (token == QLatin1String("HH")) {
            hour = numberOf(take(2));
        } else if (token == QLatin1String("NN")) {
            minute = numberOf(take(2));
        } else if (token == QLatin1String("SS")) {
            second = numberOf(take(2));
        } else if (token == QLatin1String("ZZ") || token == QLatin1String("ZZZ")) {
            msec = numberOf(take(3));
        } else if (token == QLatin1String("AP")) {
            afternoon = take(1) != QLatin1String("A");
        } else {
            afternoon = take(2) != QLatin1String("AM");
        }
    }
    if (afternoon)
        hour += 12;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second, msec);
    if (!date.isValid() || !time.isValid() || year < 1)
        return dayZero();
    return QDateTime(date, time);
}
