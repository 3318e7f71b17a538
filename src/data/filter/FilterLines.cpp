#include "data/filter/FilterLines.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "data/dataset/Field.h"
#include "data/engine/OleDate.h"

#include <QLocale>

#include <cmath>

namespace {

const QStringList& operators()
{
    static const QStringList ops = {QStringLiteral(">"),  QStringLiteral("<"),
                                    QStringLiteral("="),  QStringLiteral("LIKE"),
                                    QStringLiteral(">="), QStringLiteral("<="),
                                    QStringLiteral("<>")};
    return ops;
}

constexpr int kMaxParamNameLength = 255;

bool isQuoteChar(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

// The value without the single or double quotes that enclose it.
QString unquoted(const QString& token)
{
    if (token.size() >= 2 && isQuoteChar(token.front()) && token.back() == token.front())
        return token.mid(1, token.size() - 2);
    return token;
}

// A value written in the lines goes into the text as written, with double quotes turned into
// single quotes and an empty literal '' into a quoted blank.
QString lineLiteral(const QString& token)
{
    QString text = token;
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    text.replace(QStringLiteral("''"), QStringLiteral("' '"));
    return text;
}

// A value from a parameter or a prefix as a string literal: inner quotes doubled so that no
// value can end the literal; the empty text is a quoted blank, as for values from the lines.
QString stringLiteral(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("' '");
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

// Fields that hold a text of a fixed maximum size.
bool isStringType(FieldType type)
{
    return type == FieldType::String || type == FieldType::FixedChar
        || type == FieldType::WideString;
}

// Empty for the purpose of LIKE: the empty text or day zero.
bool isEmptyValue(const QVariant& value)
{
    if (value.typeId() == QMetaType::QDate)
        return value.toDate() == OleDate::epoch();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime() == QDateTime(OleDate::epoch(), QTime(0, 0));
    return value.toString().isEmpty();
}

// A number as SQL reads it: whole numbers without decimals, else the shortest decimal form
// with a point.
QString numberLiteral(double number)
{
    if (number == std::trunc(number) && std::fabs(number) < 1e15)
        return QString::number(qint64(number));
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

QString quotedText(const QString& text)
{
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

// The text of a value: as it stands in the condition, and without its quotes.
struct ValueText {
    QString sql;
    QString plain;
};

// The value of a parameter by its data type (a text read as the system writes numbers and
// dates); nothing for NULL, for an empty value compared with LIKE and for other types. A value
// the type cannot hold raises the conversion error.
std::optional<ValueText> parameterText(const FilterParam& param, const QString& op)
{
    const FieldType type = param.dataType;
    const bool known = isStringType(type) || isIntegerType(type) || type == FieldType::Boolean
                       || type == FieldType::Float || type == FieldType::Currency
                       || isDateTimeType(type);
    if (param.isNull() || !known)
        return std::nullopt;
    const QVariant v = Field::convert(type, param.value);
    if (!v.isValid() || (op == QLatin1String("LIKE") && isEmptyValue(v)))
        return std::nullopt;

    QString text;
    if (isStringType(type)) {
        text = v.toString();
        return ValueText{stringLiteral(text), text};
    }
    if (type == FieldType::Boolean) {
        text = v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return ValueText{stringLiteral(text), text};
    }
    if (isIntegerType(type)) {
        text = QString::number(v.toLongLong());
        return ValueText{text, text};
    }
    if (type == FieldType::Float || type == FieldType::Currency) {
        text = numberLiteral(v.toDouble());
        return ValueText{text, text};
    }
    if (type == FieldType::Date)
        text = Formats::dateText(v.toDateTime().date());
    else if (type == FieldType::Time)
        text = Formats::timeText(v.toTime());
    else
        text = Formats::dateTimeText(v.toDateTime());
    return ValueText{quotedText(text), text};
}

bool oneOf(const QString& op, std::initializer_list<const char*> ops)
{
    for (const char* o : ops)
        if (op == QLatin1String(o))
            return true;
    return false;
}

}  // namespace

QChar filterPrefixEnd()
{
    return QChar(0x017D);  // Ž
}

QString noMatchString()
{
    return QString(QChar(0x00FF));
}

// ---- parameters ----

FilterParam* FilterParams::find(const QString& name)
{
    for (FilterParam& p : items_)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const FilterParam* FilterParams::find(const QString& name) const
{
    return const_cast<FilterParams*>(this)->find(name);
}

FilterParam& FilterParams::add(const QString& name, FieldType dataType, FilterParam::Kind kind)
{
    if (FilterParam* existing = find(name))
        return *existing;
    items_.append(FilterParam{name, dataType, kind, QVariant()});
    return items_.last();
}

bool FilterParams::setValue(const QString& name, const QVariant& value)
{
    FilterParam* p = find(name);
    if (!p)
        return false;
    p->value = value;
    return true;
}

void FilterParams::assignValues(const FilterParams& from)
{
    for (const FilterParam& source : from.items_)
        setValue(source.name, source.value);
}

int FilterParams::weight() const
{
    int sum = 0;
    for (const FilterParam& p : items_)
        if (!p.isNull())
            sum += static_cast<int>(p.kind);
    return sum;
}

// ---- parsing ----

void FilterLines::setLines(const QStringList& lines)
{
    lines_ = lines;
    parsed_ = false;
}

void FilterLines::parse(const FilterFieldSource& fields)
{
    if (parsed_)
        return;
    conditions_.clear();
    QStringList tokens;
    for (const QString& line : lines_) {
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.isEmpty())
            continue;
        if (parts.size() % 4 != 3)
            throw ZtfiError(QStringLiteral("Invalid TFilter syntax :") + line);
        tokens << parts << QStringLiteral("AND");
    }

    QList<FilterCondition> conditions;
    FilterParams params;
    for (qsizetype i = 0; i + 3 < tokens.size(); i += 4) {
        FilterCondition condition;
        const std::optional<FilterField> field = fields.findFilterField(tokens[i]);
        if (!field)
            throw ZtfiError(QStringLiteral("Unknown TFilter field : ") + tokens[i]);
        condition.field = *field;

        condition.op = tokens[i + 1].toUpper();
        if (!operators().contains(condition.op))
            throw ZtfiError(QStringLiteral("Unknown TFilter operator :") + condition.op);

        condition.value = tokens[i + 2];
        if (condition.value.startsWith(QLatin1Char(':'))) {
            condition.paramName = condition.value.mid(1).left(kMaxParamNameLength);
            params.add(condition.paramName, field->type);
        }

        condition.link = tokens[i + 3].toUpper();
        if (condition.link != QLatin1String("OR") && condition.link != QLatin1String("AND"))
            throw ZtfiError(QStringLiteral("Invalid TFilter link :") + condition.link);

        conditions.append(condition);
    }
    params.assignValues(params_);
    params_ = params;
    conditions_ = conditions;
    parsed_ = true;
}

// ---- building ----

QString BuiltFilter::text() const
{
    QStringList parts;
    for (const QString& group : groups)
        if (!group.isEmpty())
            parts.append(QLatin1Char('(') + group + QLatin1Char(')'));
    return parts.join(QStringLiteral(" AND "));
}

BuiltFilter buildFilterText(const QList<FilterCondition>& conditions, const FilterParams& params,
                            const FilterBuildOptions& options)
{
    BuiltFilter built;
    QString group;
    QString pendingLink;
    for (const FilterCondition& c : conditions) {
        std::optional<ValueText> value;
        if (!c.paramName.isEmpty()) {
            if (const FilterParam* param = params.find(c.paramName))
                value = parameterText(*param, c.op);
        } else {
            value = ValueText{lineLiteral(c.value), unquoted(c.value)};
        }

        QString condition;
        if (value && !value->sql.isEmpty()) {
            const QString& name = c.field.name;
            QString v = value->plain;
            if (c.op != QLatin1String("LIKE")) {
                condition = name + QLatin1Char(' ') + c.op + QLatin1Char(' ') + value->sql;
                built.rangeConditions.append({name, c.op, v});
            } else {
                if (options.sqlServer)
                    v = v.toUpper();
                const bool prefixOnly = !isStringType(c.field.type) || v.size() < c.field.size;
                const QString upper = prefixOnly ? v + filterPrefixEnd() : v;
                if (!options.sqlServer) {
                    condition = name + QStringLiteral(" = ") + stringLiteral(v + QLatin1Char('*'));
                    built.rangeConditions.append({name, QStringLiteral(">="), v});
                    built.rangeConditions.append({name, QStringLiteral("<="), upper});
                } else if (options.caseInsensitiveFilter) {
                    condition = name + QLatin1Char('=') + stringLiteral(v + QLatin1Char('*'));
                    built.rangeConditions.append({name, QStringLiteral("="), v + QLatin1Char('*')});
                    built.caseInsensitive = true;
                } else {
                    condition = name + QStringLiteral(">=") + stringLiteral(v) +
                                QStringLiteral(" AND ") + name + QStringLiteral("<=") +
                                stringLiteral(upper);
                    built.rangeConditions.append({name, QStringLiteral(">="), v});
                    built.rangeConditions.append({name, QStringLiteral("<="), upper});
                }
            }
        }

        if (!condition.isEmpty()) {
            group = group.isEmpty()
                        ? condition
                        : group + QLatin1Char(' ') + pendingLink + QLatin1Char(' ') + condition;
            pendingLink.clear();
        }
        if (group.isEmpty())
            continue;
        if (c.link == QLatin1String("OR")) {
            pendingLink = c.link;
        } else {
            built.groups.append(QLatin1Char('(') + group + QLatin1Char(')'));
            group.clear();
        }
    }
    return built;
}

// ---- key range ----

KeyRange filterKeyRange(const QList<RangeCondition>& conditions, const QStringList& sortFields)
{
    KeyRange range;
    for (const QString& sortField : sortFields) {
        std::optional<QString> lower;
        std::optional<QString> upper;
        for (const RangeCondition& c : conditions) {
            if (c.field.compare(sortField, Qt::CaseInsensitive) != 0)
                continue;
            if (oneOf(c.op, {"=", "<=", "<"})) {
                if (!upper)
                    upper = c.value;
                else if (upper->compare(c.value, Qt::CaseInsensitive) != 0)
                    break;
            }
            if (oneOf(c.op, {"=", ">=", ">"})) {
                if (!lower)
                    lower = c.value;
                else if (lower->compare(c.value, Qt::CaseInsensitive) != 0)
                    break;
            }
        }
        if (lower)
            range.start.append(*lower);
        if (upper)
            range.end.append(*upper);
        if (!lower || !upper)
            break;
    }
    return range;
}

// ---- empty result ----

QString emptyResultCondition(const QList<FilterField>& keyFields)
{
    QStringList terms;
    for (const FilterField& f : keyFields) {
        if (isStringType(f.type))
            terms.append(f.name + QStringLiteral(" = '") + noMatchString() + QLatin1Char('\''));
        else if (isNumericType(f.type))
            terms.append(f.name + QStringLiteral(" = 0"));
        else if (f.type == FieldType::Date || f.type == FieldType::DateTime)
            terms.append(f.name + QStringLiteral(" = '30.12.1899'"));
    }
    return terms.join(QStringLiteral(" AND "));
}
