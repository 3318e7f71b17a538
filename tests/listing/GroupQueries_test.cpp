#include "data/dataset/Queries.h"
#include "listing/GroupQueries.h"
#include "listing/LocalTable.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using namespace GroupQueries;

LocalField local(const char* name, FieldType type, int size = 0, const char* label = "")
{
    return {QLatin1String(name), type, size, QString::fromUtf8(label), size, QString()};
}

const LocalField kN = local("N", FieldType::Integer);

TEST(GroupQueries, GroupsWithAndWithoutSubtotalsAsLevels)
{
    Split split;
    split.groups = {{local("A", FieldType::String, 3), true}, {local("B", FieldType::Integer), false},
                    {local("C", FieldType::Date), true}};
    split.sums = {{local("K", FieldType::Float), SumOp::Sum}, {kN, SumOp::Sum}};
    const QString ff = QString(3, QChar(0xFF));
    EXPECT_EQ(groupQuery(QStringLiteral("_TMP0"), split),
              (QStringList{
                  QStringLiteral("SELECT '%1' AS A,CAST(-32000 AS INTEGER) AS B,'03/10/2999' AS C,SUM(K) AS K,SUM(N) AS N").arg(ff),
                  QStringLiteral("FROM \"_TMP0\""),
                  QStringLiteral("UNION"),
                  QStringLiteral("SELECT A,B,'03/10/2999' AS C,SUM(K) AS K,SUM(N) AS N"),
                  QStringLiteral("FROM \"_TMP0\""),
                  QStringLiteral("GROUP BY A,B"),
                  QStringLiteral("UNION"),
                  QStringLiteral("SELECT A,B,C,SUM(K) AS K,SUM(N) AS N"),
                  QStringLiteral("FROM \"_TMP0\""),
                  QStringLiteral("GROUP BY A,B,C"),
                  QStringLiteral("ORDER BY A,B,C"),
              }));
    EXPECT_EQ(sortQuery(QStringLiteral("_TMP0"), split),
              (QStringList{
                  QStringLiteral("SELECT A,B,C,K,N FROM \"_TMP0\""),
                  QStringLiteral("UNION ALL"),
                  QStringLiteral("SELECT '%1' AS A,CAST(-32000 AS INTEGER) AS B,'03/10/2999' AS C,SUM(K) AS K,SUM(N) AS N FROM \"_TMP0\"").arg(ff),
                  QStringLiteral("ORDER BY A,B,C"),
              }));
}

TEST(GroupQueries, DefaultSplitAndOperators)
{
    const QList<LocalField> fields = {kN,
                                      local("OZNAKA", FieldType::String, 12, "Oznaka"),
                                      local("DAN", FieldType::DateTime, 0, "Dan"),
                                      local("CENA", FieldType::Float, 0, "Povprečni TEČAJ"),
                                      local("STEVILO", FieldType::Integer, 0, "Število"),
                                      local("ZNESEK", FieldType::Currency, 0, "Znesek"),
                                      local("TEMP", FieldType::Float, 0, "temperatura zraka")};
    const Split split = defaultSplit(fields);
    ASSERT_EQ(split.groups.size(), 2);
    EXPECT_EQ(split.groups[1].field.name, QStringLiteral("DAN"));
    QStringList sums;
    for (const SumField& s : split.sums)
        sums << opName(s.op) + u' ' + s.field.name;
    EXPECT_EQ(sums, (QStringList{QStringLiteral("AVG CENA"), QStringLiteral("SUM ZNESEK"), QStringLiteral("AVG TEMP"),
                                 QStringLiteral("SUM N")}));
    ASSERT_EQ(split.leftOut.size(), 1);
    EXPECT_EQ(split.leftOut[0].name, QStringLiteral("STEVILO"));

    const Split atOne = splitAt(fields, 1);
    sums.clear();
    for (const SumField& s : atOne.sums)
        sums << opName(s.op) + u' ' + s.field.name;
    EXPECT_EQ(atOne.groups.size(), 1);
    EXPECT_EQ(sums, (QStringList{QStringLiteral("MAX DAN"), QStringLiteral("AVG CENA"), QStringLiteral("SUM ZNESEK"),
                                 QStringLiteral("AVG TEMP"), QStringLiteral("SUM N")}));
}

// A float first field: no group field, no ORDER BY, one grand-total row when run.
TEST(GroupQueries, FloatFirstFieldGivesOneGrandTotalRow)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qList"));
    query.setSql(QStringLiteral("SELECT 1.5 AS CENA, 'a' AS T UNION ALL SELECT 2.5, 'b'"));
    FieldDef cena;
    cena.name = QStringLiteral("CENA");
    cena.type = FieldType::Float;
    cena.displayLabel = QStringLiteral("Cena");
    query.addField(cena);
    FieldDef t;
    t.name = QStringLiteral("T");
    t.size = 1;
    query.addField(t);
    query.open();
    LocalTable table(query);
    const Split split = defaultSplit(table.fields());
    EXPECT_TRUE(split.groups.isEmpty());
    const QStringList sorted = sortQuery(table.name(), split);
    EXPECT_FALSE(sorted.last().startsWith(QStringLiteral("ORDER BY")));
    const QList<QVariantList> rows = table.rows(groupQuery(table.name(), split));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_DOUBLE_EQ(rows[0][0].toDouble(), 2.0) << "AVG of a price";
    EXPECT_EQ(rows[0][1].toInt(), 2) << "SUM(N), the rows";
    EXPECT_EQ(table.rows(sorted).size(), 3);
}

// Subtotals and the grand total computed over the local copy.
TEST(GroupQueries, GroupedViewOfALocalCopy)
{
    FixtureDb db;
    TFQuery query(db.connection(), QStringLiteral("qList"));
    query.setSql(QStringLiteral("SELECT 'KRKG' AS VP, 46000 AS DAN, 10.0 AS ZNESEK UNION ALL SELECT 'KRKG', 46000, 5 "
                                "UNION ALL SELECT 'KRKG', 46001, 1 UNION ALL SELECT 'PETG', 46000, 2"));
    const auto declare = [&query](const char* name, FieldType type, int size) {
        FieldDef d;
        d.name = QLatin1String(name);
        d.type = type;
        d.size = size;
        query.addField(d);
    };
    declare("VP", FieldType::String, 4);
    declare("DAN", FieldType::Date, 0);
    declare("ZNESEK", FieldType::Float, 0);
    query.open();
    LocalTable table(query);
    EXPECT_TRUE(table.name().startsWith(QStringLiteral("_TMP")));
    Split split = defaultSplit(table.fields());
    ASSERT_EQ(split.groups.size(), 2);
    split.groups[1].subtotals = false;  // the days get no level of their own: listed within VP
    const QList<QVariantList> rows = table.rows(groupQuery(table.name(), split));
    QStringList lines;
    for (const QVariantList& r : rows)
        lines << QStringLiteral("%1|%2|%3|%4").arg(r[0].toString().startsWith(QChar(0xFF)) ? QStringLiteral("*") : r[0].toString(),
                                                  r[1].toString(), r[2].toString(), r[3].toString());
    EXPECT_EQ(lines, (QStringList{QStringLiteral("KRKG|46000|15|2"), QStringLiteral("KRKG|46001|1|1"),
                                  QStringLiteral("PETG|46000|2|1"), QStringLiteral("*|03/10/2999|18|4")}));
}

}  // namespace
