#include "data/engine/OracleFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace OracleFormat {

namespace {

struct ElementName {
    const char16_t* name;
    int kind;
};

void appendTwoDigits(QString& out, int value)
{
    out += QChar(u'0' + value / 10 % 10);
    out += QChar(u'0' + value % 10);
}

}  // namespace

DateFormat::DateFormat(const QString& format) : text_(format)
{
    // Longer names first, so that HH24 is not read as something shorter.
    static constexpr ElementName kElements[] = {
        {u"YYYY", Element::Year4}, {u"HH24", Element::Hour24}, {u"YY", Element::Year2},
        {u"MM", Element::Month},   {u"DD", Element::Day},      {u"MI", Element::Minute},
        {u"SS", Element::Second},
    };
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            if (end < 0) {
                error_ = QStringLiteral("unterminated quoted text in date format '%1'").arg(format);
                return;
            }
            elements_.append(Element{Element::Literal, format.mid(i + 1, end - i - 1)});
            i = end + 1;
            continue;
        }
        if (!c.isLetterOrNumber()) {
            elements_.append(Element{Element::Literal, QString(c)});
            ++i;
            continue;
        }
        bool known = false;
        for (const ElementName& e : kElements) {
            const QStringView name(e.name);
            if (QStringView(format).mid(i, name.size()).compare(name, Qt::CaseInsensitive) == 0) {
                elements_.append(Element{Element::Kind(e.kind), QString()});
                i += name.size();
                known = true;
                break;
            }
        }
        if (!known) {
            error_ = QStringLiteral("date format '%1' not recognized at '%2'").arg(format, format.mid(i));
            return;
        }
    }
    const auto has = [&](Element::Kind kind) {
        return std::any_of(elements_.begin(), elements_.end(),
                           [&](const Element& e) { return e.kind == kind; });
    };
    needsToday_ = !has(Element::Year4) || !has(Element::Month) || has(Element::Year2);
}

QString DateFormat::format(const QDate& date, const QTime& time) const
{
    QString out;
    out.reserve(24);
    for (const Element& e : elements_) {
        switch (e.kind) {
        case Element::Year4:
            appendTwoDigits(out, date.year() / 100);
            appendTwoDigits(out, date.year() % 100);
            break;
        case Element::Year2: appendTwoDigits(out, date.year() % 100); break;
        case Element::Month: appendTwoDigits(out, date.month()); break;
        case Element::Day: appendTwoDigits(out, date.day()); break;
        case Element::Hour24: appendTwoDigits(out, time.hour()); break;
        case Element::Minute: appendTwoDigits(out, time.minute()); break;
        case Element::Second: appendTwoDigits(out, time.second()); break;
        case Element::Literal: out += e.literal; break;
        }
    }
    return out;
}

bool DateFormat::parse(const QString& text, QDate* date, QTime* time, QString* error) const
{
    const QDate today = needsToday_ ? QDate::currentDate() : QDate();
    int year = today.year(), month = today.month(), day = 1, hour = 0, minute = 0, second = 0;
    const auto mismatch = [&]() {
        *error = QStringLiteral("'%1' does not match the date format '%2'").arg(text, text_);
        return false;
    };
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    for (const Element& e : elements_) {
        if (e.kind == Element::Literal) {
            while (i < text.size() && !text[i].isLetterOrNumber())
                ++i;
            continue;
        }
        const int maxDigits = e.kind == Element::Year4 ? 4 : 2;
        int value = 0, digits = 0;
        while (i < text.size() && digits < maxDigits && text[i].isDigit()) {
            value = value * 10 + text[i].digitValue();
            ++i;
            ++digits;
        }
        if (digits == 0)
            return mismatch();
        switch (e.kind) {
        case Element::Year4: year = value; break;
        case Element::Year2: year = today.year() / 100 * 100 + value; break;
        case Element::Month: month = value; break;
        case Element::Day: day = value; break;
        case Element::Hour24: hour = value; break;
        case Element::Minute: minute = value; break;
        case Element::Second: second = value; break;
        case Element::Literal: break;
        }
    }
    while (i < text.size() && text[i].isSpace())
        ++i;
    *date = QDate(year, month, day);
    *time = QTime(hour, minute, second);
    if (i != text.size() || !date->isValid() || !time->isValid())
        return mismatch();
    return true;
}

QString numberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    // 15 significant digits, written out without an exponent.
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const QString scientific = QString::fromLatin1(buffer);
    const qsizetype e = scientific.indexOf(u'e');
    QString digits = scientific.left(e).remove(u'.');
    const int exponent = scientific.mid(e + 1).toInt();
    while (digits.endsWith(u'0'))
        digits.chop(1);
    QString out;
    if (exponent < 0)
        out = QLatin1Char('.') + QString(-exponent - 1, u'0') + digits;
    else if (digits.size() <= exponent + 1)
        out = digits + QString(exponent + 1 - digits.size(), u'0');
    else
        out = digits.left(exponent + 1) + QLatin1Char('.') + digits.mid(exponent + 1);
    return value < 0 ? QLatin1Char('-') + out : out;
}

}  // namespace OracleFormat
