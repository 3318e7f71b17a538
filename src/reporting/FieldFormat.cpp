#include "reporting/FieldFormat.h"

#include "core/Error.h"

#include <QHash>
#include <QRegularExpression>
#include <QVector>

#include <cmath>

namespace {

struct Group {
    int count;
    QChar kind;
};

QVector<Group> readGroups(const QString& format)
{
    static const QRegularExpression groupPattern(QStringLiteral("(\\d+)\\((.)\\)"));
    QVector<Group> groups;
    auto it = groupPattern.globalMatch(format);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        groups.append(Group{m.captured(1).toInt(), m.captured(2).at(0)});
    }
    return groups;
}

// The few formats in use are read once per thread and kept: every value of a report is checked.
const QVector<Group>& parseFormat(const QString& format)
{
    thread_local QHash<QString, QVector<Group>> known;
    auto it = known.find(format);
    if (it == known.end())
        it = known.insert(format, readGroups(format));
    return it.value();
}

bool isLetter(QChar c)
{
    if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')))
        return true;
    // The letters of the Slovenian and Croatian alphabets beyond ASCII: Š Ž š ž Ć Č Đ ć č đ.
    static const QString extra = QStringLiteral("\u0160\u017D\u0161\u017E\u0106\u010C\u0110\u0107\u010D\u0111");
    return extra.contains(c);
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allOf(const QString& part, bool (*test)(QChar))
{
    for (QChar c : part)
        if (!test(c))
            return false;
    return true;
}

// Digits with a decimal comma among or after them: the common form of a number, told without
// the pattern (it is a form the pattern takes).
bool isPlainDecimal(const QString& value)
{
    bool digits = false;
    bool comma = false;
    for (QChar c : value) {
        if (isDigit(c))
            digits = true;
        else if (c == QLatin1Char(',') && digits && !comma)
            comma = true;
        else
            return false;
    }
    return digits;
}

// Reads a number written with the decimal comma, as the system's number reading does.
double readDecimal(const QString& value)
{
    if (isPlainDecimal(value)) {
        QString text = value;
        text.replace(QLatin1Char(','), QLatin1Char('.'));
        return text.toDouble();
    }
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+(,\\d*)?|,\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(value).hasMatch())
        throw ZtfiError(QLatin1Char('\'') + value + QStringLiteral("' is not a valid floating point value"),
                        QStringLiteral("EConvertError"));
    QString text = value.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble();
}

// Number format "0.#####": at least one digit before the separator, at most five after it,
// trailing zeros dropped, no thousands separator, "." as separator. Halves round away from zero.
QString normaliseDecimal(double v)
{
    const double scaled = std::round(std::fabs(v) * 100000.0);
    QString text = QString::number(scaled / 100000.0, 'f', 5);
    if (v < 0)
        text.prepend(QLatin1Char('-'));
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

bool isDecimalText(const QString& value)
{
    for (QChar c : value)
        if (!isDigit(c) && c != QLatin1Char('.') && c != QLatin1Char(','))
            return false;
    return true;
}

QString assemble(const CheckedField* field, const QString& suffix, const QString& prefix)
{
    QString text;
    if (field) {
        const QString& name = field->name;
        if (name == QLatin1String("ISIN"))
            text = field->text.trimmed().left(12);
        else if (name == QLatin1String("SWIFT") || name == QLatin1String("SWIFT_BPH")
                 || name == QLatin1String("NS_SWIFT") || name == QLatin1String("TRP_SWIFT"))
            text = field->text.trimmed();
        else
            text = field->text;
    }
    if (prefix.isEmpty() && suffix.isEmpty())
        return text;
    return prefix + text + suffix;
}

QString errorText(const QString& reference, const CheckedField* field, const QString& format,
                  const QString& value)
{
    const QString head = QStringLiteral("Napaka: Za Ref.St.Transakcije ") + reference;
    const QString tail = QStringLiteral("' ni formata ") + format + QLatin1Char('!');
    if (field) {
        const QString label = field->displayLabel.isEmpty() ? field->name : field->displayLabel;
        return head + QStringLiteral("  polje '") + label + QStringLiteral("\r\n' podatek '") + value + tail;
    }
    if (format == QLatin1String("1(S)2(n)"))
        return head + QStringLiteral("  polje TRG.OFFSET podatek '") + value + tail;
    return head + QStringLiteral("  podatek '") + value + tail;
}

}  // namespace

QString ProveraFormata(const QString& reference, const CheckedField* field, const QString& format,
                       const QString& suffix, const QString& prefix)
{
    const FormatCheck checked = checkFormat(field, format, suffix, prefix);
    if (!checked.fits)
        throw ZtfiError(errorText(reference, field, format, checked.value));
    return checked.value;
}

QString assembledValue(const CheckedField* field, const QString& suffix, const QString& prefix)
{
    return assemble(field, suffix, prefix);
}

FormatCheck checkFormat(const CheckedField* field, const QString& format, const QString& suffix,
                        const QString& prefix)
{
    QString value = assemble(field, suffix, prefix);
    if (field && field->name == QLatin1String("ISIN") && value == QLatin1String("N"))
        return {value, true};

    const QVector<Group>& groups = parseFormat(format);
    const bool singleGroup = groups.size() == 1;
    bool failed = false;
    int position = 0;
    for (const Group& group : groups) {
        const QString part = value.mid(position, group.count);
        bool fits = true;
        bool cuts = false;
        switch (group.kind.unicode()) {
        case 'S':
            fits = allOf(part, [](QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); });
            cuts = true;
            break;
        case 'a':
            fits = allOf(part, isLetter);
            cuts = true;
            break;
        case 'n':
            fits = allOf(part, isDigit);
            cuts = true;
            break;
        case 'x':
            cuts = true;
            break;
        case 'd':
            value = normaliseDecimal(readDecimal(value));
            fits = isDecimalText(value);
            break;
        default:
            break;
        }
        if (cuts && singleGroup && value.size() > group.count)
            value = value.left(group.count);
        failed = failed || !fits;
        position += group.count;
    }
    return {value, !failed};
}
