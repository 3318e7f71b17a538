#include "data/filter/FilterSql.h"

#include "data/dataset/Dataset.h"
#include "data/engine/SqlNameChar.h"

#include <QRegularExpression>

namespace {

QString unquote(const QString& literal)
{
    return literal.mid(1, literal.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
}

// The value a date, time or date-time field compares with; invalid when the text is none.
QVariant dateValue(FieldType type, const QString& text)
{
    static const QRegularExpression dateTime(QStringLiteral(
        "^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QString trimmed = text.trimmed();
    if (type == FieldType::Time) {
        QTime t = QTime::fromString(trimmed, QStringLiteral("h:mm:ss"));
        if (!t.isValid())
            t = QTime::fromString(trimmed, QStringLiteral("h:mm"));
        return t.isValid() ? QVariant(t) : QVariant();
    }
    const QRegularExpressionMatch m = dateTime.match(trimmed);
    if (!m.hasMatch())
        return QVariant();
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return QVariant();
    if (type == FieldType::Date)
        return date;
    return QDateTime(date, time);
}

}  // namespace

SqlCondition filterToSql(const QString& filter, const Dataset& dataset, bool caseInsensitive)
{
    static const QRegularExpression comparison(
        QStringLiteral("([A-Za-z_][A-Za-z0-9_$#]*)\\s*(>=|<=|<>|=|>|<)\\s*('(?:[^']|'')*'|NULL(?![A-Za-z0-9_$#]))"),
        QRegularExpression::CaseInsensitiveOption);

    SqlCondition out;
    qsizetype i = 0;
    while (i < filter.size()) {
        const QChar c = filter[i];
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < filter.size()) {
                if (filter[j] == c) {
                    if (j + 1 < filter.size() && filter[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                ++j;
            }
            out.sql += filter.mid(i, j - i);
            i = j;
            continue;
        }
        const bool nameStart = (c.isLetter() || c == u'_') && (i == 0 || !isNameChar(filter[i - 1]));
        if (!nameStart) {
            out.sql += c;
            ++i;
            continue;
        }
        const QRegularExpressionMatch m = comparison.match(filter, i, QRegularExpression::NormalMatch,
                                                             QRegularExpression::AnchorAtOffsetMatchOption);
        const Field* field = m.hasMatch() ? dataset.findField(m.captured(1)) : nullptr;
        if (!field) {
            qsizetype j = i;
            while (j < filter.size() && isNameChar(filter[j]))
                ++j;
            out.sql += filter.mid(i, j - i);
            i = j;
            continue;
        }

        const QString name = m.captured(1);
        const QString op = m.captured(2);
        const QString operand = m.captured(3);
        QString replacement = m.captured(0);
        if (!operand.startsWith(u'\'')) {
            if (op == QLatin1String("="))
                replacement = name + QStringLiteral(" IS NULL");
            else if (op == QLatin1String("<>"))
                replacement = name + QStringLiteral(" IS NOT NULL");
        } else if (isDateTimeType(field->type())) {
            const QVariant value = dateValue(field->type(), unquote(operand));
            if (value.isValid()) {
                replacement = name + u' ' + op + QStringLiteral(" ?");
                out.values.append(value);
            }
        } else if (isTextType(field->type())) {
            const QString text = unquote(operand);
            const QString column = caseInsensitive ? QStringLiteral("UPPER(%1)").arg(name) : name;
            const QString value = caseInsensitive ? text.toUpper() : text;
            if (op == QLatin1String("=") && text.endsWith(u'*')) {
                const QString prefix = value.chopped(1);
                const QString head = QStringLiteral("SUBSTR(%1, 1, %2)").arg(name).arg(prefix.size());
                replacement = (caseInsensitive ? QStringLiteral("UPPER(%1)").arg(head) : head)
                              + QStringLiteral(" = ?");
                out.values.append(prefix);
            } else if (caseInsensitive) {
                replacement = column + u' ' + op + QStringLiteral(" ?");
                out.values.append(value);
            }
        }
        out.sql += replacement;
        i += m.capturedLength(0);
    }
    return out;
}
