#include "instruments/OverrideSync.h"

#include "core/Error.h"
#include "data/Step.h"
#include "instruments/OverrideFixture.h"
#include "support/EngineStories.h"
#include "support/ScriptedInteraction.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace overrides;

namespace {

const QString kUser = QStringLiteral("ANA");

class OverrideSyncFixture : public ::testing::Test {
protected:
    explicit OverrideSyncFixture(Connection::Engine engine = Connection::Engine::Sqlite) : db(engine) {}
    void SetUp() override { db.basics(); }

    // The synchronisation as the selection runs it: one step of its own transaction.
    OverrideSyncResult synchronise(qint64 reportId = kPending, SqlDialect dialect = SqlDialect::Oracle)
    {
        return run({.firstDay = kDay, .lastDay = kDay, .reportId = reportId}, dialect);
    }

    OverrideSyncResult run(const OverrideSyncInput& input, SqlDialect dialect = SqlDialect::Oracle)
    {
        OverrideSync sync(db.connection(), dialect, kUser);
        sync.setTrace([this](const QString& line) { traceLines << line; });
        OverrideSyncResult result;
        runStep(db.connection(), OverrideSync::failureMessage(),
                [&] { result = sync.synchronise(input); }, StepCause::Appended);
        return result;
    }

    // Two host instruments of one ISIN, both reported under 100, in report kPending; the pending
    // selection kPending + 1 trades 200. xml: the flag of the row of 200 before the run.
    void bothReportedUnder100(const QVariant& xml)
    {
        const QString isin = QStringLiteral("SI0000000100");
        addTraded(db, instrument(100, isin));
        addTraded(db, instrument(200, isin));
        ASSERT_TRUE(synchronise().stopsSelection());
        // The user reports both host instruments under 100 (the choice freezes the data of 100).
        db.exec(QStringLiteral(
            "UPDATE DPATVP_SFVP SET SFVP_POROCANJE = 100, AII_MIC = 'XLJU', AII_PRODUCT = 'KRT100', "
            "AII_CFI = 'ESVUFR', IZD = 'Borzni posrednik d.d.', DRZ_IZD = 'SI', GLVNMN = 1.5, "
            "VLT = 'EUR', LOTEMS = 1000, INSTRUMENTNAME = 'Instrument 100'"));
        if (xml.isValid())
            db.exec(QStringLiteral("UPDATE DPATVP_SFVP SET XML = '%1' WHERE SFVP_OXU = 200").arg(xml.toString()));
        generateReport();
        trade(300, 200, kPending + 1);
    }

    // As bothReportedUnder100(), and 100 has matured the day before the selection.
    void reportingInstrumentMatured(const QVariant& xml)
    {
        bothReportedUnder100(xml);
        db.exec(QStringLiteral("UPDATE SFVP SET ZPDVP = %1 WHERE SFVP = 100").arg(fixture::dateSql(kDay.addDays(-1))));
    }

    QStringList traceLines;

    // The pending selection becomes report `reportId` (its register row is written).
    void generateReport(qint64 reportId = kPending)
    {
        db.report({.id = reportId, .sentAt = QDateTime(kDay, QTime(12, 0))});
    }

    // A regular trade of instrument `sfvp` in the pending selection `reportId`.
    void trade(qint64 tradeId, int sfvp, qint64 reportId)
    {
        db.trade({.id = tradeId, .instrument = sfvp});
        db.selected({.report = reportId, .trade = tradeId, .reference = tradeId});
    }

    int overrideCount() { return db.value(QStringLiteral("SELECT count(*) FROM DPATVP_SFVP")).toInt(); }

    FixtureDb db;
};

class OverrideSyncTest : public OnEachEngine<OverrideSyncFixture> {};
// The DB2 forms run on the embedded engine only (a server here runs the Oracle dialect).
class OverrideSyncDb2Test : public OverrideSyncFixture {};

QVariant column(const QVariantMap& row, const char* name)
{
    return row.value(QString::fromLatin1(name));
}

TEST_P(OverrideSyncTest, SingleHostInstrumentGetsAnIdentityRowWithFrozenDataAndIsThenUpToDate)
{
    fixture::Instrument row = instrument(1, QStringLiteral("si0031102120"));
    row.shortName = QStringLiteral("KRKG-DOLGO-IME");                          // 14 characters
    row.name = QStringLiteral("Krka, tovarna zdravil, d.d., Novo mesto - redne delnice");  // 56
    row.cfi = QStringLiteral("esvufr");
    row.strikePrice = 12.5;
    addTraded(db, row);

    const OverrideSyncResult first = synchronise();
    EXPECT_EQ(first.inserted, 1);
    EXPECT_FALSE(first.stopsSelection());

    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 1u);
    const QVariantMap& r = rows[0];
    EXPECT_EQ(column(r, "ISIN"), QVariant(QStringLiteral("SI0031102120")));
    EXPECT_EQ(column(r, "SFVP_OXU").toInt(), 1);
    EXPECT_EQ(column(r, "SFVP_POROCANJE").toInt(), 1);
    EXPECT_FALSE(column(r, "SFVP_OLD").isValid());
    EXPECT_FALSE(column(r, "XML").isValid());
    EXPECT_EQ(column(r, "USRSPR"), QVariant(kUser));
    EXPECT_EQ(column(r, "AII_MIC"), QVariant(QStringLiteral("XLJU")));
    EXPECT_EQ(column(r, "AII_PRODUCT"), QVariant(QStringLiteral("KRKG-DOLGO-I")));
    EXPECT_EQ(column(r, "AII_CFI"), QVariant(QStringLiteral("ESVUFR")));
    EXPECT_FALSE(column(r, "AII_EXPIRY").isValid());
    EXPECT_EQ(column(r, "AII_STRIKEPRICE").toDouble(), 12.5);
    EXPECT_EQ(column(r, "IZD"), QVariant(QStringLiteral("Borzni posrednik d.d.")));
    EXPECT_EQ(column(r, "DRZ_IZD"), QVariant(QStringLiteral("SI")));
    EXPECT_EQ(column(r, "GLVNMN").toDouble(), 1.5);
    EXPECT_EQ(column(r, "VLT"), QVariant(QStringLiteral("EUR")));
    EXPECT_EQ(column(r, "LOTEMS").toDouble(), 1000);
    EXPECT_EQ(column(r, "INSTRUMENTNAME"), QVariant(row.name.left(40)));
    EXPECT_EQ(column(r, "DANSPR_SFVP").toDateTime(), row.changed);
    const QDateTime stamp = column(r, "DANSPR").toDateTime();

    // The next selection of the same day finds everything current: nothing is written.
    const OverrideSyncResult second = synchronise();
    EXPECT_EQ(second.inserted, 0);
    EXPECT_EQ(second.refreshed, 0);
    ASSERT_EQ(overrideRows(db).size(), 1u);
    EXPECT_EQ(column(overrideRows(db)[0], "DANSPR").toDateTime(), stamp);
}

TEST_F(OverrideSyncDb2Test, Db2DialectWritesTheDatesOfTheInstrumentWithoutTimeOfDay)
{
    fixture::Instrument row = instrument(1, QStringLiteral("SI0000000001"));
    row.maturity = QDate(2028, 6, 30);
    addTraded(db, row);

    synchronise(kPending, SqlDialect::Db2);

    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(column(rows[0], "DANSPR_SFVP").toDateTime(), QDateTime(row.changed.date(), QTime(0, 0)));
    EXPECT_EQ(column(rows[0], "AII_EXPIRY").toDateTime(), QDateTime(QDate(2028, 6, 30), QTime(0, 0)));
}

// "N" stands for no ISIN: neither an empty ISIN nor "N" (in either case) gets an override row.
TEST_P(OverrideSyncTest, InstrumentWithoutIsinOrWithIsinNGetsNoRow)
{
    addTraded(db, instrument(1, QString()));
    addTraded(db, instrument(2, QStringLiteral("N")));
    addTraded(db, instrument(3, QStringLiteral("n")));
    addTraded(db, instrument(4, QStringLiteral("N")));

    const OverrideSyncResult result = synchronise();

    EXPECT_EQ(result.inserted, 0);
    EXPECT_FALSE(result.stopsSelection());
    EXPECT_TRUE(overrideRows(db).empty());
}

TEST_P(OverrideSyncTest, TwoLiveInstrumentsOfOneIsinGetPendingRowsAndStopTheSelection)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    addTraded(db, instrument(2, QStringLiteral("SI0000000001")));

    QElapsedTimer timer;
    timer.start();
    const OverrideSyncResult result = synchronise();
    const qint64 elapsed = timer.elapsed();

    EXPECT_TRUE(result.stopsSelection());
    EXPECT_EQ(result.pendingCount, 2);
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    for (const QVariantMap& r : rows) {
        EXPECT_EQ(column(r, "ISIN"), QVariant(QStringLiteral("SI0000000001")));
        EXPECT_FALSE(column(r, "SFVP_POROCANJE").isValid());
        EXPECT_FALSE(column(r, "INSTRUMENTNAME").isValid());
        EXPECT_FALSE(column(r, "AII_MIC").isValid());
        EXPECT_EQ(column(r, "USRSPR"), QVariant(kUser));
        EXPECT_EQ(column(r, "DANSPR_SFVP").toDateTime(), instrument(1, {}).changed);
    }
    // Two rows of one ISIN written in one run: stamps at least a second apart, no waiting.
    EXPECT_GE(column(rows[0], "DANSPR").toDateTime().msecsTo(column(rows[1], "DANSPR").toDateTime()),
              1000);
    EXPECT_LT(elapsed, 1000);

    ScriptedInteraction ui;
    const SelectionStop stop = OverrideSync::stopSelection(ui);
    EXPECT_EQ(ui.messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
    EXPECT_EQ(stop.activeTab, QStringLiteral("tsFinInstr"));
    EXPECT_EQ(stop.hiddenTabs, (QStringList{QStringLiteral("tsNabor"), QStringLiteral("tsImportXLS"),
                                            QStringLiteral("tsATVP"), QStringLiteral("tsPorocila")}));
    EXPECT_TRUE(stop.reopenOverrideList);
    EXPECT_FALSE(stop.returnButtonVisible);
}

TEST_P(OverrideSyncTest, LiveSecondInstrumentStopsTheSelectionEvenWhenTheOtherHasAChosenRow)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    synchronise();
    generateReport();
    ASSERT_EQ(overrideCount(), 1);

    db.instrument(instrument(2, QStringLiteral("SI0000000001")));
    db.listing({.id = 2, .instrument = 2});
    trade(2, 2, kPending + 1);

    const OverrideSyncResult result = synchronise(kPending + 1);

    EXPECT_TRUE(result.stopsSelection());
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(column(rows[1], "SFVP_OXU").toInt(), 2);
    EXPECT_FALSE(column(rows[1], "SFVP_POROCANJE").isValid());
}

TEST_P(OverrideSyncTest, InstrumentTakingOverAMaturedOneGetsAnIdentityRowAnnouncingTheOldCode)
{
    addTraded(db, instrument(100, QStringLiteral("SI0000000100")));
    synchronise();
    generateReport();

    // The first instrument matures; a re-created one with the same ISIN is traded.
    db.exec(QStringLiteral("UPDATE SFVP SET ZPDVP = %1 WHERE SFVP = 100").arg(fixture::dateSql(kDay.addDays(-3))));
    fixture::Instrument successor = instrument(200, QStringLiteral("SI0000000100"));
    successor.maturity = QDate(2030, 12, 31);
    db.instrument(successor);
    db.listing({.id = 200, .instrument = 200});
    trade(200, 200, kPending + 1);

    const OverrideSyncResult result = synchronise(kPending + 1);

    EXPECT_FALSE(result.stopsSelection());
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    const QVariantMap& current = rows.back();
    EXPECT_EQ(column(current, "SFVP_OXU").toInt(), 200);
    EXPECT_EQ(column(current, "SFVP_POROCANJE").toInt(), 200);
    EXPECT_EQ(column(current, "SFVP_OLD").toInt(), 100);
    EXPECT_EQ(column(current, "XML"), QVariant(QStringLiteral("D")));
    EXPECT_EQ(column(current, "INSTRUMENTNAME"), QVariant(QStringLiteral("Instrument 200")));
    EXPECT_EQ(column(current, "AII_EXPIRY").toDateTime(), QDateTime(QDate(2030, 12, 31), QTime(0, 0)));
    // The matured instrument's own row took the maturity over from the host.
    EXPECT_EQ(column(rows.front(), "SFVP_OXU").toInt(), 100);
    EXPECT_EQ(column(rows.front(), "AII_EXPIRY").toDateTime(),
              QDateTime(kDay.addDays(-3), QTime(0, 0)));
}

TEST_P(OverrideSyncTest, RefreshTurnsARowIntoAReplacementWhenItsReportingInstrumentMatured)
{
    reportingInstrumentMatured(QStringLiteral("D"));

    const OverrideSyncResult result = synchronise(kPending + 1);

    EXPECT_FALSE(result.stopsSelection());
    EXPECT_EQ(result.inserted, 0);
    EXPECT_EQ(result.refreshed, 2);
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    const QVariantMap& current = rows.back();
    EXPECT_EQ(column(current, "SFVP_OXU").toInt(), 200);
    EXPECT_EQ(column(current, "SFVP_POROCANJE").toInt(), 200);
    EXPECT_EQ(column(current, "SFVP_OLD").toInt(), 100);
    EXPECT_EQ(column(current, "XML"), QVariant(QStringLiteral("D")));
    EXPECT_EQ(column(current, "INSTRUMENTNAME"), QVariant(QStringLiteral("Instrument 200")));
    const QVariantMap& matured = rows.front();
    EXPECT_EQ(column(matured, "SFVP_POROCANJE").toInt(), 100);
    EXPECT_FALSE(column(matured, "SFVP_OLD").isValid());
    EXPECT_EQ(column(matured, "AII_EXPIRY").toDateTime(), QDateTime(kDay.addDays(-1), QTime(0, 0)));
}

TEST_P(OverrideSyncTest, RefreshOfAReplacementRowFreezesTheDataOfItsReportingInstrument)
{
    bothReportedUnder100(QVariant());
    db.exec(QStringLiteral("UPDATE SFVP SET NZV = 'Novo ime' WHERE SFVP = 100"));

    const OverrideSyncResult result = synchronise(kPending + 1);

    EXPECT_EQ(result.refreshed, 2);
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    for (const QVariantMap& r : rows) {
        EXPECT_EQ(column(r, "SFVP_POROCANJE").toInt(), 100) << column(r, "SFVP_OXU").toInt();
        EXPECT_EQ(column(r, "INSTRUMENTNAME"), QVariant(QStringLiteral("Novo ime")))
            << column(r, "SFVP_OXU").toInt();
        EXPECT_EQ(column(r, "AII_PRODUCT"), QVariant(QStringLiteral("KRT100")))
            << column(r, "SFVP_OXU").toInt();
    }
    // The frozen data now match the reporting instrument: the next selection writes nothing.
    const OverrideSyncResult again = synchronise(kPending + 1);
    EXPECT_EQ(again.refreshed + again.inserted, 0);
}

// A pending row whose ISIN already has a row with a reporting instrument (the user completed
// one of the two pending rows): a later run leaves it as it is and stops again, whether it is
// a daily selection or a regeneration.
TEST_P(OverrideSyncTest, PendingRowStaysPendingUntilTheUserChooses)
{
    const QString isin = QStringLiteral("SI0000000100");
    addTraded(db, instrument(100, isin));
    addTraded(db, instrument(200, isin));
    ASSERT_TRUE(synchronise().stopsSelection());
    // The user completes the row of 100 with 100; it becomes the current row of the ISIN.
    db.exec(QStringLiteral(
        "UPDATE DPATVP_SFVP SET SFVP_POROCANJE = 100, AII_PRODUCT = 'KRT100', "
        "INSTRUMENTNAME = 'Instrument 100', DANSPR = DANSPR + 1 WHERE SFVP_OXU = 100"));
    const QVariantMap pending = overrideRows(db).front();
    ASSERT_EQ(column(pending, "SFVP_OXU").toInt(), 200);

    const OverrideSyncInput runs[] = {{kDay, kDay, kPending}, {kDay, kDay, kPending, kPending}};
    for (const OverrideSyncInput& input : runs) {
        const OverrideSyncResult result = run(input);

        EXPECT_TRUE(result.stopsSelection()) << input.regeneratedReport.has_value();
        EXPECT_EQ(result.pendingCount, 1);
        const auto rows = overrideRows(db);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_TRUE(rows.front() == pending)
            << input.regeneratedReport.has_value() << " SFVP_POROCANJE "
            << column(rows.front(), "SFVP_POROCANJE").toString().toStdString();
    }
}

// Host instrument 200 holds two rows of its ISIN: the older one reporting 100, and the newer
// one that reports 200 itself (the user changed the reporting instrument over to 200).
TEST_P(OverrideSyncTest, RefreshLeavesTheOtherVersionsOfTheInstrumentAsTheyAre)
{
    const QString isin = QStringLiteral("SI0000000100");
    bothReportedUnder100(QVariant());
    const QDateTime changed = instrument(200, isin).changed;
    addOverride(db, {{QStringLiteral("ISIN"), isin}, {QStringLiteral("SFVP_OXU"), 200},
                     {QStringLiteral("SFVP_POROCANJE"), 200}, {QStringLiteral("SFVP_OLD"), 100},
                     {QStringLiteral("XML"), QStringLiteral("D")},
                     {QStringLiteral("DANSPR"), QDateTime::currentDateTime().addSecs(10)},
                     {QStringLiteral("USRSPR"), kUser}, {QStringLiteral("DANSPR_SFVP"), changed},
                     {QStringLiteral("AII_MIC"), QStringLiteral("XLJU")},
                     {QStringLiteral("AII_PRODUCT"), QStringLiteral("KRT200")},
                     {QStringLiteral("IZD"), QStringLiteral("Borzni posrednik d.d.")},
                     {QStringLiteral("DRZ_IZD"), QStringLiteral("SI")}, {QStringLiteral("GLVNMN"), 1.5},
                     {QStringLiteral("VLT"), QStringLiteral("EUR")}, {QStringLiteral("LOTEMS"), 1000},
                     {QStringLiteral("INSTRUMENTNAME"), QStringLiteral("Instrument 200")}});
    const auto before = overrideRows(db);
    ASSERT_EQ(before.size(), 3u);
    db.exec(QStringLiteral("UPDATE SFVP SET NZV = 'Novo ime' WHERE SFVP = 200"));

    const OverrideSyncResult result = synchronise(kPending + 1);

    EXPECT_EQ(result.refreshed, 1);
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 3u);
    // The refreshed version is the only current row of the ISIN.
    const QDateTime latest = column(rows[2], "DANSPR").toDateTime();
    EXPECT_LT(column(rows[1], "DANSPR").toDateTime(), latest);
    EXPECT_EQ(column(rows[2], "SFVP_POROCANJE").toInt(), 200);
    EXPECT_EQ(column(rows[2], "INSTRUMENTNAME"), QVariant(QStringLiteral("Novo ime")));
    // The older versions keep what they reported.
    EXPECT_EQ(rows[0], before[0]);
    EXPECT_EQ(rows[1], before[1]);
}

TEST_P(OverrideSyncTest, RegenerationReplacesWithoutAnnouncingAgainAndTracesItsStatements)
{
    reportingInstrumentMatured(QVariant());
    // The selection with the trade of 200 became report kPending + 1, which is regenerated.
    generateReport(kPending + 1);

    const OverrideSyncResult result = run({kDay, kDay, kPending + 1, kPending + 1});

    EXPECT_EQ(result.refreshed, 2);
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(column(rows.back(), "SFVP_POROCANJE").toInt(), 200);
    EXPECT_EQ(column(rows.back(), "SFVP_OLD").toInt(), 100);
    EXPECT_FALSE(column(rows.back(), "XML").isValid());

    ASSERT_FALSE(traceLines.isEmpty());
    EXPECT_TRUE(traceLines.first().startsWith(QStringLiteral("SQL : SELECT DISTINCT (CASE")));
    const qsizetype update = traceLines.indexOf(QStringLiteral("UPDATE za ISIN:SI0000000100 SFVP:200"));
    ASSERT_GE(update, 0);
    EXPECT_TRUE(traceLines.value(update + 1).startsWith(QStringLiteral("SQL: UPDATE DPATVP_SFVP SET")));
    const QStringList values = traceLines.mid(update + 2, 18);
    EXPECT_TRUE(values.contains(QStringLiteral("UsrSpr:ANA"))) << values.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(values.contains(QStringLiteral("SFVP_OLD:100")));
    EXPECT_TRUE(values.contains(QStringLiteral("ISIN:SI0000000100")));
    EXPECT_TRUE(values.contains(QStringLiteral("GLVNMN:1,5")));
}

TEST_P(OverrideSyncTest, RegenerationTakesTheInstrumentsOfTheReportNotOfThePendingSelection)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    generateReport();
    db.instrument(instrument(2, QStringLiteral("SI0000000002")));
    db.listing({.id = 2, .instrument = 2});
    trade(2, 2, kPending + 1);

    run({kDay, kDay, kPending, kPending});

    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(column(rows[0], "SFVP_OXU").toInt(), 1);
    EXPECT_TRUE(traceLines.contains(QStringLiteral("INSERT za ISIN:SI0000000001 SFVP:1")));
}

// A change of the host data and what the refresh writes for it.
struct HostChange {
    const char* name;
    const char* sql;          // the change of the host tables
    const char* column;       // the frozen column that follows it
    QVariant expected;        // its value after the refresh
    bool changeDayIsToday;    // DANSPR_SFVP becomes the time of the refresh
};

class HostChangeTest : public OverrideSyncFixture, public ::testing::WithParamInterface<HostChange> {};

TEST_P(HostChangeTest, ChangedHostDataIsRefreshedOnce)
{
    const HostChange& change = GetParam();
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    db.currency({.id = 2, .iso = QStringLiteral("usd")});
    db.country({.id = 2, .iso = QStringLiteral("de")});
    db.market({.id = 9, .mic = QStringLiteral("XETR")});
    synchronise();
    const QDateTime before = column(overrideRows(db)[0], "DANSPR").toDateTime();

    db.exec(QString::fromUtf8(change.sql));
    const QDateTime refreshStarted = QDateTime::currentDateTime();
    const OverrideSyncResult result = synchronise();

    EXPECT_EQ(result.refreshed, 1);
    EXPECT_EQ(result.inserted, 0);
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 1u);
    const QVariantMap& r = rows[0];
    EXPECT_EQ(r.value(QString::fromLatin1(change.column)), change.expected) << change.column;
    EXPECT_GT(column(r, "DANSPR").toDateTime(), before);
    const QDateTime changeDay = column(r, "DANSPR_SFVP").toDateTime();
    if (change.changeDayIsToday)
        EXPECT_GE(changeDay.secsTo(refreshStarted), -2) << changeDay.toString().toStdString();
    else
        EXPECT_LT(changeDay, refreshStarted.addSecs(-60)) << changeDay.toString().toStdString();

    // The refreshed row is current: the selection after it writes nothing.
    const OverrideSyncResult again = synchronise();
    EXPECT_EQ(again.refreshed + again.inserted, 0);
}

const QDateTime kLaterChange(QDate(2026, 1, 15), QTime(9, 30, 5));

INSTANTIATE_TEST_SUITE_P(
    Columns, HostChangeTest,
    ::testing::Values(
        HostChange{"name", "UPDATE SFVP SET NZV = 'Novo ime'", "INSTRUMENTNAME",
                   QStringLiteral("Novo ime"), false},
        HostChange{"issuer", "UPDATE OSB SET NZV = 'Izdajatelj d.d.' WHERE SfOsb = 2", "IZD",
                   QStringLiteral("Izdajatelj d.d."), true},
        HostChange{"country", "UPDATE OSB SET SfDrz = 2 WHERE SfOsb = 2", "DRZ_IZD",
                   QStringLiteral("DE"), true},
        HostChange{"cfi", "UPDATE SFVP SET CFI = 'dbfxxx'", "AII_CFI", QStringLiteral("DBFXXX"), false},
        HostChange{"nominal", "UPDATE SFVP SET GLVNMN = 2.25", "GLVNMN", 2.25, false},
        HostChange{"issued", "UPDATE SFVP SET LOTEMS = 5000", "LOTEMS", 5000.0, false},
        HostChange{"strike", "UPDATE SFVP SET IZVCEN = 9.75", "AII_STRIKEPRICE", 9.75, false},
        HostChange{"currency", "UPDATE SFVP SET SfVLTNMN = 2", "VLT", QStringLiteral("USD"), false},
        HostChange{"maturity", "UPDATE SFVP SET ZPDVP = 46752", "AII_EXPIRY",
                   QDateTime(QDate(2027, 12, 31), QTime(0, 0)), false},
        HostChange{"venue", "INSERT INTO KTC (SFKTC, SFVP, SFTRG, Dan) VALUES (50, 1, 9, 46000)",
                   "AII_MIC", QStringLiteral("XETR"), true},
        HostChange{"change day", "UPDATE SFVP SET DANSPR = 46037.395891203705", "DANSPR_SFVP",
                   kLaterChange, false}),
    [](const ::testing::TestParamInfo<HostChange>& info) {
        QString name = QString::fromLatin1(info.param.name);
        return name.replace(QLatin1Char(' '), QLatin1Char('_')).toStdString();
    });

TEST_P(OverrideSyncTest, EmptyHostMaturityIsNoDifference)
{
    fixture::Instrument row = instrument(1, QStringLiteral("SI0000000001"));
    row.maturity = QDate(2028, 6, 30);
    addTraded(db, row);
    synchronise();

    db.exec(QStringLiteral("UPDATE SFVP SET ZPDVP = NULL"));
    const OverrideSyncResult result = synchronise();

    EXPECT_EQ(result.refreshed + result.inserted, 0);
    EXPECT_EQ(column(overrideRows(db)[0], "AII_EXPIRY").toDateTime(),
              QDateTime(QDate(2028, 6, 30), QTime(0, 0)));
}

TEST_P(OverrideSyncTest, StampFollowsALaterStoredStampOfTheIsin)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    synchronise();
    // A stamp ahead of the clock (written in the same second by an earlier run).
    const QDateTime later = QDateTime::currentDateTime().addSecs(120);
    const QDateTime ahead(later.date(), QTime(later.time().hour(), later.time().minute(), later.time().second()));
    db.exec(QStringLiteral("UPDATE DPATVP_SFVP SET DANSPR = %1").arg(fixture::dateTimeSql(ahead)));
    db.exec(QStringLiteral("UPDATE SFVP SET NZV = 'Novo ime'"));

    synchronise();

    const QDateTime stamp = column(overrideRows(db)[0], "DANSPR").toDateTime();
    EXPECT_GE(ahead.msecsTo(stamp), 1000);
    EXPECT_LT(ahead.msecsTo(stamp), 2000);
}

TEST_P(OverrideSyncTest, FailingWriteRollsBackTheWholeStepWithTheStepMessage)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    addTraded(db, instrument(2, QStringLiteral("SI0000000002")));
    db.refuse(QStringLiteral("refuse"), QStringLiteral("BEFORE INSERT ON DPATVP_SFVP"), QStringLiteral("NEW.SFVP_OXU = 2"),
              QStringLiteral("zavrnjeno"));

    try {
        synchronise();
        FAIL() << "the step did not fail";
    } catch (const ZtfiError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Napaka pri insertu v DPATVP_SFVP! zavrnjeno"));
    }
    EXPECT_EQ(overrideCount(), 0);
}

INSTANTIATE_ENGINE_STORIES(OverrideSyncTest);

}  // namespace
