#include "listing/GroupQueries.h"

namespace GroupQueries {

namespace {

bool isGroupType(FieldType type)
{
    return type == FieldType::String || type == FieldType::SmallInt || type == FieldType::Integer ||
           type == FieldType::Date || type == FieldType::DateTime;
}

bool isNumberType(FieldType type)
{
    return type == FieldType::Float || type == FieldType::Currency;
}

QString quoted(const QString& table)
{
    return u'"' + table + u'"';
}

QString sumExpression(const SumField& sum)
{
    return opName(sum.op) + u'(' + sum.field.name + QStringLiteral(") AS ") + sum.field.name;
}

SumField countOf(const QList<LocalField>& fields)
{
    return {fields.value(0), SumOp::Sum};
}

}  // namespace

QString opName(SumOp op)
{
    switch (op) {
    case SumOp::Sum: return QStringLiteral("SUM");
    case SumOp::Avg: return QStringLiteral("AVG");
    case SumOp::Min: return QStringLiteral("MIN");
    case SumOp::Max: return QStringLiteral("MAX");
    case SumOp::None: break;
    }
    return {};
}

SumOp defaultNumberOp(const QString& label)
{
    for (const char* word : {"Tecaj", "Tečaj", "Cena", "Temperatura", "Index"}) {
        if (label.contains(QString::fromUtf8(word), Qt::CaseInsensitive))
            return SumOp::Avg;
    }
    return SumOp::Sum;
}

Split defaultSplit(const QList<LocalField>& fields)
{
    Split split;
    bool grouping = true;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const LocalField& f = fields[i];
        if (grouping && isGroupType(f.type)) {
            split.groups.append({f, true});
            continue;
        }
        grouping = false;
        if (isNumberType(f.type))
            split.sums.append({f, defaultNumberOp(f.label)});
        else
            split.leftOut.append(f);
    }
    split.sums.append(countOf(fields));
    return split;
}

Split splitAt(const QList<LocalField>& fields, int k)
{
    Split split;
    for (qsizetype i = 1; i < fields.size(); ++i) {
        const LocalField& f = fields[i];
        if (i <= k)
            split.groups.append({f, true});
        else if (isNumberType(f.type))
            split.sums.append({f, defaultNumberOp(f.label)});
        else if (f.type == FieldType::Date || f.type == FieldType::DateTime)
            split.sums.append({f, SumOp::Max});
        else
            split.leftOut.append(f);
    }
    split.sums.append(countOf(fields));
    return split;
}

QString totalLiteral(const LocalField& field)
{
    QString literal;
    switch (field.type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
        literal = QStringLiteral("CAST(-32000 AS INTEGER)");
        break;
    case FieldType::Float:
    case FieldType::Currency:
        literal = QStringLiteral("CAST(68719476736+0 AS NUMERIC)");
        break;
    case FieldType::Date:
        literal = QStringLiteral("'03/10/2999'");
        break;
    case FieldType::DateTime:
        literal = QStringLiteral("'03/10/2999 10:10:10'");
        break;
    default:
        literal = u'\'' + QString(std::max(1, field.size), QChar(0xFF)) + u'\'';
    }
    return literal + QStringLiteral(" AS ") + field.name;
}

QStringList sortQuery(const QString& table, const Split& split)
{
    QStringList names, totals;
    for (const GroupField& g : split.groups) {
        names << g.field.name;
        totals << totalLiteral(g.field);
    }
    QStringList groupNames = names;
    for (const SumField& s : split.sums) {
        names << s.field.name;
        totals << sumExpression(s);
    }
    QStringList sql = {QStringLiteral("SELECT ") + names.join(u',') + QStringLiteral(" FROM ") + quoted(table),
                       QStringLiteral("UNION ALL"),
                       QStringLiteral("SELECT ") + totals.join(u',') + QStringLiteral(" FROM ") + quoted(table)};
    if (!groupNames.isEmpty())
        sql << QStringLiteral("ORDER BY ") + groupNames.join(u',');
    return sql;
}

QStringList groupQuery(const QString& table, const Split& split)
{
    QStringList sql;
    const qsizetype count = split.groups.size();
    for (qsizetype level = -1; level < count; ++level) {
        if (level >= 0 && !split.groups[level].subtotals)
            continue;
        if (!sql.isEmpty())
            sql << QStringLiteral("UNION");
        qsizetype last = level;
        while (last + 1 < count && !split.groups[last + 1].subtotals)
            ++last;
        QStringList grouping, items;
        for (qsizetype i = 0; i <= last; ++i)
            grouping << split.groups[i].field.name;
        items = grouping;
        for (qsizetype i = last + 1; i < count; ++i)
            items << totalLiteral(split.groups[i].field);
        for (const SumField& s : split.sums)
            items << sumExpression(s);
        sql << QStringLiteral("SELECT ") + items.join(u',');
        sql << QStringLiteral("FROM ") + quoted(table);
        if (!grouping.isEmpty())
            sql << QStringLiteral("GROUP BY ") + grouping.join(u',');
    }
    // Without group fields the single grand-total row needs no order (an empty ORDER BY would
    // not be a statement).
    QStringList all;
    for (const GroupField& g : split.groups)
        all << g.field.name;
    if (!all.isEmpty())
        sql << QStringLiteral("ORDER BY ") + all.join(u',');
    return sql;
}

}  // namespace GroupQueries
