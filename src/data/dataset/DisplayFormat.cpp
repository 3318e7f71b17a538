#include "data/dataset/DisplayFormat.h"

#include <QLocale>

#include <cmath>

namespace DisplayFormat {

namespace {

bool isPlaceholder(QChar c)
{
    return c == u'0' || c == u'#' || c == u'.' || c == u',';
}

// The first section of a format, up to a ";" outside quotes.
QString firstSection(const QString& format)
{
    QChar quote;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            return format.left(i);
        }
    }
    return format;
}

// Text outside the digit pattern, with quotes removed.
QString literal(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c != u'\'' && c != u'"')
            out.append(c);
    }
    return out;
}

QString groupThousands(const QString& digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(u'.');
        out.append(digits[i]);
    }
    return out;
}

}  // namespace

QString formatNumber(const QString& format, double value)
{
    const QString section = firstSection(format);
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < section.size(); ++i) {
        if (isPlaceholder(section[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return literal(section);

    const QString pattern = section.mid(first, last - first + 1);
    const qsizetype point = pattern.indexOf(u'.');
    const QString integerPattern = point < 0 ? pattern : pattern.left(point);
    const QString fractionPattern = point < 0 ? QString() : pattern.mid(point + 1);
    const bool grouped = integerPattern.contains(u',');
    const int minInteger = int(integerPattern.count(u'0'));
    const int minFraction = int(fractionPattern.count(u'0'));
    const int maxFraction = minFraction + int(fractionPattern.count(u'#'));

    // Halves round away from zero, as the system's number formats always did.
    double magnitude = std::fabs(value);
    const double scale = std::pow(10.0, maxFraction);
    if (magnitude * scale < 1e15)
        magnitude = std::round(magnitude * scale) / scale;
    QString digits = QString::number(magnitude, 'f', maxFraction);
    QString integerDigits = digits;
    QString fractionDigits;
    if (const qsizetype dot = digits.indexOf(u'.'); dot >= 0) {
        integerDigits = digits.left(dot);
        fractionDigits = digits.mid(dot + 1);
    }
    while (fractionDigits.size() > minFraction && fractionDigits.endsWith(u'0'))
        fractionDigits.chop(1);
    if (integerDigits == QLatin1String("0") && minInteger == 0)
        integerDigits.clear();
    while (integerDigits.size() < minInteger)
        integerDigits.prepend(u'0');
    if (grouped)
        integerDigits = groupThousands(integerDigits);

    QString number = integerDigits;
    if (!fractionDigits.isEmpty())
        number += u',' + fractionDigits;
    bool allZero = true;
    for (const QChar c : integerDigits + fractionDigits) {
        if (c.isDigit() && c != u'0')
            allZero = false;
    }
    if (value < 0 && !allZero)
        number.prepend(u'-');
    return literal(section.left(first)) + number + literal(section.mid(last + 1));
}

QString formatDateTime(const QString& format, const QDateTime& value)
{
    static const QLocale slovenian(QLocale::Slovenian, QLocale::Slovenia);
    const QDate date = value.date();
    const QTime time = value.time();
    QString out;
    bool afterHour = false;
    qsizetype i = 0;
    const qsizetype n = format.size();
    auto run = [&](QChar letter) {
        qsizetype len = 0;
        while (i + len < n && format[i + len].toLower() == letter)
            ++len;
        return len;
    };
    while (i < n) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        if (c == u'\'' || c == u'"') {
            const qsizetype end = format.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end;
            out += format.mid(i + 1, stop - i - 1);
            i = end < 0 ? n : end + 1;
            continue;
        }
        if (lower == u'y') {
            const qsizetype len = run(u'y');
            out += len <= 2 ? QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'))
                            : QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
            i += len;
            afterHour = false;
        } else if (lower == u'm') {
            const qsizetype len = run(u'm');
            if (afterHour && len <= 2) {
                out += len == 1 ? QString::number(time.minute())
                                : QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
            } else if (len == 1) {
                out += QString::number(date.month());
            } else if (len == 2) {
                out += QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
            } else {
                out += slovenian.monthName(date.month(),
                                           len == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            }
            i += len;
            afterHour = false;
        } else if (lower == u'd') {
            const qsizetype len = run(u'd');
            if (len == 1)
                out += QString::number(date.day());
            else if (len == 2)
                out += QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'));
            else
                out += slovenian.dayName(date.dayOfWeek(),
                                         len == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            i += len;
            afterHour = false;
        } else if (lower == u'h' || lower == u'n' || lower == u's') {
            const qsizetype len = std::min<qsizetype>(run(lower), 2);
            const int part = lower == u'h' ? time.hour() : lower == u'n' ? time.minute() : time.second();
            out += len == 1 ? QString::number(part)
                            : QStringLiteral("%1").arg(part, 2, 10, QLatin1Char('0'));
            i += len;
            afterHour = lower == u'h';
        } else if (lower == u'z') {
            const qsizetype len = std::min<qsizetype>(run(u'z'), 3);
            out += len == 1 ? QString::number(time.msec())
                            : QStringLiteral("%1").arg(time.msec(), 3, 10, QLatin1Char('0'));
            i += len;
            afterHour = false;
        } else {
            out += c == u'/' ? QChar(u'.') : c;
            ++i;
        }
    }
    return out;
}

}  // namespace DisplayFormat
