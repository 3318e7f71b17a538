#include "data/filter/TDMFilter.h"

#include "core/Error.h"
#include "data/engine/OleDate.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>


namespace {

FieldDef declared(const char* name, FieldType type, int size = 0)
{
    FieldDef def;
    def.name = QLatin1String(name);
    def.type = type;
    def.size = size;
    return def;
}

const QDate kMonday(2026, 1, 5);
const QDate kTuesday(2026, 1, 6);

// The list of manually imported transactions over a database with five of them: three on
// Monday, two on Tuesday, one ISIN in lower case.
class TFilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        addImport(1, kMonday, "SI0000000011", 100);
        addImport(2, kMonday, "AT0000000001", 50);
        addImport(3, kTuesday, "SI0000000029", 300);
        addImport(4, kMonday, "si0000000037", 200);
        addImport(5, kTuesday, "AT0000000002", 10);
        filter.setTableName(QStringLiteral("dpatvpimp.db"));
        filter.addField(declared("IDIMP", FieldType::Integer));
        filter.addField(declared("DATUM", FieldType::Date));
        filter.addField(declared("ISIN", FieldType::String, 12));
        filter.addField(declared("KOL", FieldType::Float));
        filter.loaded();
        filter.setIndexFieldNames(QStringLiteral("Datum"));
    }

    void addImport(int id, const QDate& day, const char* isin, double quantity)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, ISIN, KOL) VALUES (%1, %2, '%3', %4)")
                    .arg(id)
                    .arg(OleDate::fromDate(day))
                    .arg(QLatin1String(isin))
                    .arg(quantity));
    }

    // IDIMP of the visible rows in their order.
    QList<int> visible()
    {
        QList<int> ids;
        for (filter.first(); !filter.eof(); filter.next())
            ids.append(int(filter.fieldByName(QStringLiteral("IDIMP")).asInteger()));
        return ids;
    }

    FixtureDb db;
    TFilter filter{db.connection(), QStringLiteral("fDPATVPIMP")};
};

}  // namespace

TEST_F(TFilterTest, OpensWithNoRowUntilAKeyLookupSelectsRows)
{
    EXPECT_EQ(filter.tableName(), QStringLiteral("DPATVPIMP"));
    filter.open();
    EXPECT_EQ(filter.IndexFieldNames(), QStringLiteral("Datum;IDIMP"));
    EXPECT_TRUE(filter.isEmpty());
    EXPECT_EQ(filter.filter(), QStringLiteral("IDIMP = 0"));
    EXPECT_TRUE(filter.filtered());

    EXPECT_TRUE(filter.SQLSetRange({kMonday}));
    EXPECT_EQ(visible(), QList<int>({1, 2, 4}));
    EXPECT_FALSE(filter.SQLSetRange({QDate(2026, 1, 7)}));
    EXPECT_TRUE(filter.isEmpty());

    // Every open starts empty again, whatever filter the table had.
    filter.close();
    filter.open();
    EXPECT_TRUE(filter.isEmpty());
}

TEST_F(TFilterTest, FilterLinesSelectTheRowsTheySay)
{
    struct Case {
        const char* what;
        QStringList lines;
        QList<std::pair<QString, QVariant>> params;
        bool caseInsensitive;
        QList<int> rows;
    };
    const QList<Case> cases = {
        {"LIKE is a prefix of upper-cased text", {"ISIN like si"}, {}, false, {1, 3}},
        {"LIKE with CaseInsensitiveFilter", {"ISIN LIKE si"}, {}, true, {1, 4, 3}},
        {"date parameter", {"DATUM = :Dan"}, {{"Dan", kTuesday}}, false, {3, 5}},
        {"range of parameters over two lines", {"KOL >= :Od", "KOL <= :Do"},
         {{"Od", 50}, {"Do", 200}}, false, {1, 2, 4}},
        {"OR inside a line, quoted text", {"KOL > 250 OR ISIN = 'AT0000000001'"}, {}, false,
         {2, 3}},
        {"a NULL parameter drops its condition", {"ISIN = :Isin OR KOL < 20", "DATUM = :Dan"},
         {{"Dan", kTuesday}}, false, {5}},
        {"every parameter NULL: no row", {"ISIN = :Isin"}, {}, false, {}},
        {"a quote in a value matches only that text",
         {"ISIN = :Isin"}, {{"Isin", QString("x' OR 'a'='a")}}, false, {}},
    };
    filter.open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        filter.setCaseInsensitiveFilter(c.caseInsensitive);
        filter.setDelayUpdate(true);
        filter.setVarFilter(c.lines);
        for (const auto& [name, value] : c.params)
            ASSERT_TRUE(filter.params().setValue(name, value));
        filter.setDelayUpdate(false);
        EXPECT_EQ(visible(), c.rows) << filter.filter().toStdString();
    }
}

TEST_F(TFilterTest, ParametersBelowTheThresholdShowNoRow)
{
    filter.setVarFilter({"DATUM = :Dan OR ISIN = :Isin"});
    filter.setSelectabilityTreshold(1);
    filter.open();
    filter.UpdateFilter();
    EXPECT_TRUE(filter.isEmpty());

    FilterParams given;
    given.add(QStringLiteral("ISIN"), FieldType::String);
    given.setValue(QStringLiteral("ISIN"), QStringLiteral("AT0000000002"));
    filter.setParams(given);
    EXPECT_EQ(visible(), QList<int>({5}));

    filter.setSelectabilityTreshold(2);
    filter.UpdateFilter();
    EXPECT_TRUE(filter.isEmpty());
}

TEST_F(TFilterTest, DelayedUpdatesApplyOnceWhenTheOutermostDelayEnds)
{
    filter.open();
    int changes = 0;
    QObject::connect(&filter, &Dataset::datasetChanged, [&changes] { ++changes; });
    filter.setDelayUpdate(true);
    filter.setDelayUpdate(true);
    filter.setVarFilter({"DATUM = :Dan"});
    filter.params().setValue(QStringLiteral("Dan"), kMonday);
    filter.setDelayUpdate(false);
    EXPECT_TRUE(filter.delayUpdate());
    EXPECT_EQ(filter.filter(), QStringLiteral("IDIMP = 0"));
    EXPECT_EQ(changes, 0);

    filter.setDelayUpdate(false);
    EXPECT_FALSE(filter.delayUpdate());
    EXPECT_EQ(filter.filter(), QStringLiteral("((DATUM = '05.01.2026'))"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(visible(), QList<int>({1, 2, 4}));

    // Without a delay in force, ending one applies the filter at once.
    filter.params().setValue(QStringLiteral("Dan"), kMonday.addDays(1));
    EXPECT_EQ(filter.filter(), QStringLiteral("((DATUM = '05.01.2026'))"));
    filter.setDelayUpdate(false);
    EXPECT_FALSE(filter.delayUpdate());
    EXPECT_EQ(filter.filter(), QStringLiteral("((DATUM = '06.01.2026'))"));
}

TEST_F(TFilterTest, FaultyLinesLeaveTheFilterAndParametersInForce)
{
    filter.open();
    filter.setVarFilter({"DATUM = :Dan"});
    filter.params().setValue(QStringLiteral("Dan"), kTuesday);
    filter.UpdateFilter();
    const QString inForce = filter.filter();

    try {
        filter.setVarFilter({"DATUM = :Dan", "NOSUCH = 1"});
        ADD_FAILURE() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unknown TFilter field : NOSUCH"));
    }
    EXPECT_EQ(filter.filter(), inForce);
    EXPECT_EQ(visible(), QList<int>({3, 5}));
    ASSERT_NE(filter.params().find(QStringLiteral("Dan")), nullptr);
    EXPECT_EQ(filter.params().find(QStringLiteral("Dan"))->value, QVariant(kTuesday));

    // Fixed lines parse again and keep the parameter's value.
    filter.setVarFilter({"DATUM = :Dan AND KOL > 100"});
    EXPECT_EQ(visible(), QList<int>({3}));
}

TEST_F(TFilterTest, SortFieldsAreCompletedWithTheKeyWhileOpen)
{
    filter.open();
    filter.setVarFilter({"KOL > 0"});
    filter.setIndexFieldNames(QStringLiteral("KOL"));
    EXPECT_EQ(filter.IndexFieldNames(), QStringLiteral("KOL;IDIMP"));
    EXPECT_EQ(visible(), QList<int>({5, 2, 1, 4, 3}));
}

TEST_F(TFilterTest, CloseOnFilterChangeAppliesOnceThenClosesTheTable)
{
    filter.setCloseOnFilterChange(true);
    filter.open();
    filter.setVarFilter({"DATUM = :Dan"});  // first application
    EXPECT_TRUE(filter.isActive());
    filter.params().setValue(QStringLiteral("Dan"), kMonday);
    filter.UpdateFilter();                  // second: closes
    EXPECT_FALSE(filter.isActive());
}

TEST(TDMFilter, TableWithoutUniqueKeyStartsEmptyAndDeclaresHiddenCardFields)
{
    FixtureDb db;
    fixture::Cancellation cancelled;
    cancelled.reference = 5;
    db.cancellation(cancelled);

    TDMFilter table(db.connection(), QStringLiteral("tDPATVPPSLSTN"));
    table.setTableName(QStringLiteral("DPATVPPSLSTN"));
    table.addField(declared("IdPog", FieldType::Integer));
    table.addField(declared("IDREFATVP", FieldType::Integer));
    table.loaded();
    EXPECT_NE(table.findField(QStringLiteral("IdPogKrtBis")), nullptr);
    EXPECT_NE(table.findField(QStringLiteral("IdPogKrtKdd")), nullptr);

    table.setIndexFieldNames(QStringLiteral("IDREFATVP"));
    table.open();
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.filter(), QStringLiteral("IdPsl = 0"));  // the first column
    EXPECT_TRUE(table.SQLSetRange({5}));
    EXPECT_EQ(table.recordCount(), 1);

    TDMFilter contracts(db.connection(), QStringLiteral("fPOG"));
    contracts.setTableName(QStringLiteral("pog"));
    contracts.addField(declared("IdPog", FieldType::Integer));
    contracts.loaded();
    EXPECT_EQ(contracts.tableName(), QStringLiteral("POG"));
    EXPECT_EQ(contracts.findField(QStringLiteral("IdPogKrtBis")), nullptr);
}
