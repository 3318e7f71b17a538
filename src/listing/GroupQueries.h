#pragma once

#include "data/dataset/FieldDef.h"

#include <QList>
#include <QString>
#include <QStringList>

// The sort and group statements of the grouped view over its local table, and the split of the
// table's fields into group fields (with or without subtotals) and sum fields (with their
// operator).
namespace GroupQueries {

enum class SumOp { None, Sum, Avg, Min, Max };
QString opName(SumOp op);  // "SUM", "AVG", "MIN", "MAX"; empty for None

// A field of the local table: "N" (integer, 1 on every copied row) first, then one per visible
// field of the source.
struct LocalField {
    QString name;
    FieldType type = FieldType::String;
    int size = 0;
    QString label;
    int displayWidth = 0;    // characters
    QString displayFormat;   // of numbers
};

struct GroupField {
    LocalField field;
    bool subtotals = true;
};

struct SumField {
    LocalField field;
    SumOp op = SumOp::Sum;
};

struct Split {
    QList<GroupField> groups;
    QList<SumField> sums;
    QList<LocalField> leftOut;
};

// "AVG" for a float or currency field whose label holds (any case) "Tecaj", "Tečaj", "Cena",
// "Temperatura" or "Index", else "SUM".
SumOp defaultNumberOp(const QString& label);

// The default split of the fields after "N": the leading string, small-integer, integer, date
// and date-time fields are group fields with subtotals; from the first field of another type on,
// float and currency fields are sum fields and the others are left out; "N" is summed.
Split defaultSplit(const QList<LocalField>& fields);
// The split of a click on the title of column k (1-based after "N"): columns 1 to k are group
// fields with subtotals; later float and currency columns are summed as by default, date and
// date-time columns take MAX, others are left out; "N" is summed.
Split splitAt(const QList<LocalField>& fields, int k);

// The value that marks a total row in a group column, followed by " AS " and the field's name.
QString totalLiteral(const LocalField& field);

// The sort view: every row, and the grand total, ordered by the group fields.
QStringList sortQuery(const QString& table, const Split& split);
// The grouped view: the grand total and a level for every group field with subtotals.
QStringList groupQuery(const QString& table, const Split& split);

}  // namespace GroupQueries
