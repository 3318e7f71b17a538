#include "data/filter/FilterSql.h"
#include "data/dataset/TDMTable.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

TEST(FilterSql, RewritesOnlyComparisonsOfTheDatasetsFields)
{
    FixtureDb db;
    TDMTable table(db.connection(), QStringLiteral("fDPATVPIMP"));
    table.setTableName(QStringLiteral("DPATVPIMP"));
    for (const auto& [name, type] : {std::pair{QStringLiteral("IDIMP"), FieldType::Integer},
                                     std::pair{QStringLiteral("DATUM"), FieldType::Date},
                                     std::pair{QStringLiteral("CAS"), FieldType::DateTime},
                                     std::pair{QStringLiteral("KRTVP"), FieldType::String}}) {
        FieldDef d;
        d.name = name;
        d.type = type;
        table.addField(d);
    }

    struct Case {
        QString filter;
        QString sql;
        QVariantList values;
    };
    const QDate day(2026, 1, 5);
    const Case cases[] = {
        {QStringLiteral("IDIMP >= 5"), QStringLiteral("IDIMP >= 5"), {}},
        {QStringLiteral("Datum = '05.01.2026' AND IDIMP = 0"), QStringLiteral("Datum = ? AND IDIMP = 0"), {day}},
        {QStringLiteral("((DATUM>='05.01.2026' AND DATUM<='06.01.2026'))"),
         QStringLiteral("((DATUM >= ? AND DATUM <= ?))"), {day, day.addDays(1)}},
        {QStringLiteral("CAS = '05.01.2026 15:45:10'"), QStringLiteral("CAS = ?"),
         {QDateTime(day, QTime(15, 45, 10))}},
        {QStringLiteral("DATUM = '30.12.1899'"), QStringLiteral("DATUM = ?"), {QDate(1899, 12, 30)}},
        {QStringLiteral("DATUM = 'x'"), QStringLiteral("DATUM = 'x'"), {}},
        {QStringLiteral("KRTVP = 'DATUM = ''05.01.2026'''"), QStringLiteral("KRTVP = 'DATUM = ''05.01.2026'''"), {}},
        {QStringLiteral("OTHER = '05.01.2026'"), QStringLiteral("OTHER = '05.01.2026'"), {}},
        {QStringLiteral("XDATUM = '05.01.2026'"), QStringLiteral("XDATUM = '05.01.2026'"), {}},
        {QStringLiteral("IDIMP = NULL OR KRTVP <> null"), QStringLiteral("IDIMP IS NULL OR KRTVP IS NOT NULL"), {}},
        {QStringLiteral("KRTVP = 'NULLX'"), QStringLiteral("KRTVP = 'NULLX'"), {}},
        {QStringLiteral("KRTVP = 'AB*'"), QStringLiteral("SUBSTR(KRTVP, 1, 2) = ?"), {QStringLiteral("AB")}},
    };
    for (const Case& c : cases) {
        const SqlCondition condition = filterToSql(c.filter, table, false);
        EXPECT_EQ(condition.sql, c.sql) << c.filter.toStdString();
        EXPECT_EQ(condition.values, c.values) << c.filter.toStdString();
    }

    const SqlCondition insensitive = filterToSql(QStringLiteral("KRTVP = 'ab' AND KRTVP = 'ab*'"), table, true);
    EXPECT_EQ(insensitive.sql, QStringLiteral("UPPER(KRTVP) = ? AND UPPER(SUBSTR(KRTVP, 1, 2)) = ?"));
    EXPECT_EQ(insensitive.values, (QVariantList{QStringLiteral("AB"), QStringLiteral("AB")}));
}

}  // namespace
