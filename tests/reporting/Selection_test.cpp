#include "reporting/Selection.h"

#include "core/Config.h"
#include "core/Error.h"
#include "data/dataset/Queries.h"
#include "data/PendingSets.h"
#include "instruments/CodeList.h"
#include "reporting/ReportRows.h"
#include "reporting/SelectionStatements.h"
#include "state/ZtfiApp.h"
#include "support/EngineStories.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);
const QDate kEarlier(2026, 2, 27);

// A row of DPATVPPSL: trade, ISSTN, IDREFATVP.
using SelectedRow = std::tuple<qint64, QString, qint64>;

// A fixture database with the basic rows, and the application running on it.
class SelectionTest : public EngineStoryTest {
protected:
    SelectionTest() : db(storyEngine()), fixture(db) { db.basics(); }

    // ZTFI.ini with the given lines, read; statements prepared.
    ZtfiApp& start(const QString& iniLines = QString())
    {
        fixture.writeIni(iniLines);
        return fixture.started();
    }

    // A reportable instrument with its own ISIN, listed on market 8.
    void instrument(int id, const QString& reported = QStringLiteral("D"))
    {
        Instrument row;
        row.id = id;
        row.isin = QStringLiteral("SI00000000%1").arg(id, 2, 10, QLatin1Char('0'));
        row.reported = reported;
        db.instrument(row).listing({.id = id, .instrument = id});
    }

    void imported(int id, const QDate& day, std::optional<qint64> report)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, ISIN, INTINDINSTR, REFSTTRANSA, DPATVPID) "
                               "VALUES (%1, TO_DATE('%2','dd.mm.yyyy'), 'SI0000000001', 1, %1, %3)")
                    .arg(id)
                    .arg(day.toString(QStringLiteral("dd.MM.yyyy")))
                    .arg(report ? QString::number(*report) : QStringLiteral("NULL")));
    }

    // The rows of one report (or selection) identifier, by trade.
    std::vector<SelectedRow> rowsOf(qint64 reportId)
    {
        QSqlQuery query(db.connection().database());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT IDPSL, ISSTN, IDREFATVP FROM DPATVPPSL WHERE DPATVPID=%1 "
                                              "ORDER BY IDPSL")
                                   .arg(reportId)));
        std::vector<SelectedRow> rows;
        while (query.next())
            rows.emplace_back(query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toLongLong());
        return rows;
    }

    std::set<qint64> tradesOf(qint64 reportId)
    {
        std::set<qint64> trades;
        for (const auto& [trade, cancelled, reference] : rowsOf(reportId))
            trades.insert(trade);
        return trades;
    }

    QStringList texts(const QString& sql) { return db.texts(sql); }

    FixtureDb db;
    FixtureApp fixture;
};

// Markets 8 (domestic, exchange), 9 (domestic, outside a venue), 20 and 21 (foreign), the contract
// 101 of a remote member, and trades of one day of every market, activity and kind.
void addDayOfTrades(FixtureDb& db)
{
    db.market({.id = 9, .mic = QStringLiteral("XOFF"), .kind = QStringLiteral("3")})
        .market({.id = 20, .mic = QStringLiteral("XETR"), .domestic = QStringLiteral("N")})
        .market({.id = 21, .mic = QStringLiteral("XOFX"), .kind = QStringLiteral("3"), .domestic = QStringLiteral("N")})
        .contract({.id = 101, .remoteMember = QStringLiteral("RM01")});
    const auto trade = [&](qint64 id, int market, const char* activity, const char* kind) {
        Trade row;
        row.id = id;
        row.day = kDay;
        row.market = market;
        row.activity = QString::fromLatin1(activity);
        row.kind = QString::fromLatin1(kind);
        return row;
    };
    db.trade(trade(11, 8, "K", "N"));
    db.trade(trade(12, 8, "L", "B"));
    db.trade(trade(13, 8, "P", "N"));
    db.trade(trade(14, 9, "P", "N"));
    db.trade(trade(15, 20, "K", "N"));
    db.trade(trade(16, 21, "L", "N"));
    Trade noRemoteMember = trade(17, 8, "K", "N");
    noRemoteMember.type = QStringLiteral("P");
    db.trade(noRemoteMember);
    Trade remoteMember = trade(18, 8, "K", "N");
    remoteMember.type = QStringLiteral("P");
    remoteMember.contract = 101;
    db.trade(remoteMember);
    Trade notReported = trade(19, 8, "K", "N");
    notReported.instrument = 2;
    db.trade(notReported);
    Trade nextDay = trade(20, 8, "K", "N");
    nextDay.day = kDay.addDays(1);
    db.trade(nextDay);
    Trade otherType = trade(21, 8, "K", "N");
    otherType.type = QStringLiteral("X");
    db.trade(otherType);
}

TEST(SelectionNewTradesTest, MarketListsTradeKindsAndRemoteMembers)
{
    const struct {
        const char* ini;
        std::set<qint64> selected;
    } cases[] = {
        {"", {11, 12, 13, 14, 15, 16, 18, 21}},
        {"TipPosla=B", {12}},
        {"[Trzisce]\nDMC_2=KL\nTuj_2=K", {11, 12, 15, 18, 21}},
        {"[Trzisce]\nDMC_3=P", {14}},
        {"[Trzisce]\nDMC_2=P\nTuj_3=L", {13, 16}},
        {"TipPosla=N\n[Trzisce]\nDMC_2=KL\nDMC_3=P\nTuj_2=K\nTuj_3=L", {11, 14, 15, 16, 18, 21}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        FixtureDb db;
        db.basics();
        db.instrument({.id = 1}).listing({});
        db.instrument({.id = 2, .isin = QStringLiteral("SI0000000029"), .reported = QStringLiteral("N")});
        addDayOfTrades(db);
        FixtureApp fixture(db);
        fixture.writeIni(QString::fromLatin1(c.ini));
        ZtfiApp& app = fixture.started();

        const SelectionOutcome outcome = Selection(app).bbNaborClick(kDay, kDay);

        QSqlQuery query(db.connection().database());
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT DPATVPID, IDPSL, ISSTN, IDREFATVP FROM DPATVPPSL")));
        std::set<qint64> trades;
        std::set<qint64> references;
        while (query.next()) {
            EXPECT_EQ(query.value(0).toLongLong(), 1);
            EXPECT_EQ(query.value(2).toString(), QStringLiteral("N"));
            trades.insert(query.value(1).toLongLong());
            references.insert(query.value(3).toLongLong());
        }
        EXPECT_EQ(trades, c.selected);
        EXPECT_EQ(references.size(), c.selected.size());
        EXPECT_FALSE(references.count(0));
        EXPECT_TRUE(outcome.generationEnabled);
        EXPECT_EQ(sharedReportRows(app).query().recordCount(), int(c.selected.size()));
        EXPECT_EQ(fixture.ui().messages(), QStringList());
    }
}

// A cancellation of a reported trade is taken once, with the reference of the reported row; a
// cancellation of a trade never selected is not taken; a correction brings its replacement trade
// even when its trade kind is not reported.
TEST_P(SelectionTest, CancellationsAndCorrections)
{
    instrument(1);
    Trade reported{.id = 1, .day = kEarlier};
    Trade neverSelected{.id = 2, .day = kEarlier};
    Trade corrected{.id = 3, .day = kEarlier};
    db.trade(reported).trade(neverSelected).trade(corrected);
    db.trade({.id = 4, .day = kDay, .kind = QStringLiteral("X")});
    db.trade({.id = 5, .day = kDay});
    db.report({.id = 1, .reportDay = kEarlier, .sentAt = QDateTime(kEarlier, QTime(16, 0))});
    db.selected({.report = 1, .trade = 1, .reference = 55}).selected({.report = 1, .trade = 3, .reference = 56});
    db.cancellation({.trade = reported}).cancellation({.trade = neverSelected});
    db.cancellation({.trade = corrected, .replacedBy = 4});
    ZtfiApp& app = start(QStringLiteral("TipPosla=N"));

    Selection selection(app);
    selection.bbNaborClick(kDay, kDay);

    EXPECT_EQ(app.selection.FMaxDpAtvpId, 2);
    const std::vector<SelectedRow> rows = rowsOf(2);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], SelectedRow(1, QStringLiteral("D"), 55));
    EXPECT_EQ(rows[1], SelectedRow(3, QStringLiteral("D"), 56));
    EXPECT_EQ(std::get<1>(rows[2]), QStringLiteral("N"));
    EXPECT_EQ(std::get<0>(rows[2]), 4);
    EXPECT_EQ(std::get<0>(rows[3]), 5);
    EXPECT_NE(std::get<2>(rows[2]), std::get<2>(rows[3]));

    // Once the report is generated, a later selection takes nothing of it again.
    db.report({.id = 2, .reportDay = kDay});
    selection.bbNaborClick(kDay.addDays(1), kDay.addDays(1));
    EXPECT_EQ(app.selection.FMaxDpAtvpId, 3);
    EXPECT_TRUE(rowsOf(3).empty());
    EXPECT_EQ(rowsOf(2).size(), 4u);
}

TEST_P(SelectionTest, DeletionOfPendingSelectionAndUnsentReports)
{
    const QDate day(2014, 4, 2);
    db.report({.id = 2, .serial = 2, .reportDay = day.addDays(-1)});
    db.report({.id = 3, .serial = 3, .reportDay = day, .sentAt = QDateTime(day, QTime(17, 0))});
    db.report({.id = 4, .serial = 4, .reportDay = day, .file = QStringLiteral("TRDAT01_1234567000_0004_14.xml")});
    db.selected({.report = 2, .trade = 21}).selected({.report = 3, .trade = 31});
    db.selected({.report = 4, .trade = 41}).selected({.report = 4, .trade = 42});
    db.selected({.report = 5, .trade = 51}).selected({.report = 5, .trade = 52});
    imported(1, day, 5);
    imported(2, day, 4);
    imported(3, day, 3);
    ZtfiApp& app = start();

    Selection selection(app);
    selection.BitBtn3Click(day, day);

    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID || '/' || IDPSL FROM DPATVPPSL ORDER BY 1")),
              (QStringList{QStringLiteral("2/21"), QStringLiteral("3/31")}));
    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID FROM DPATVP ORDER BY 1")),
              (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
    // The import of the deleted report keeps its identifier until the next deletion.
    EXPECT_EQ(texts(QStringLiteral("SELECT IDIMP || ':' || NVL(DPATVPID, 0) FROM DPATVPIMP ORDER BY IDIMP")),
              (QStringList{QStringLiteral("1:0"), QStringLiteral("2:4"), QStringLiteral("3:3")}));
    // Only the report deleted through its table component is audited.
    EXPECT_EQ(texts(QStringLiteral("SELECT Usr || SfAct || Tbl FROM ACT")), QStringList{QStringLiteral("ana-DPATVP")});
    EXPECT_TRUE(texts(QStringLiteral("SELECT Cnt FROM ACT")).value(0).startsWith(QStringLiteral("4#|DPATVPID#|")));

    selection.BitBtn3Click(day, day);
    EXPECT_EQ(texts(QStringLiteral("SELECT NVL(DPATVPID, 0) FROM DPATVPIMP WHERE IDIMP=2")), QStringList{QStringLiteral("0")});

    // A new selection reuses the identifier of the deleted report.
    selection.bbNaborClick(day, day);
    EXPECT_EQ(app.selection.FMaxDpAtvpId, 4);
}

// A rejected report and its unsent regeneration share the set 234: the deletion of their day
// takes the regeneration's register row only; the sent report and its rows stay.
TEST_P(SelectionTest, DeletionKeepsTheSentReportThatAnUnsentRegenerationReplaces)
{
    const QDate day(2025, 12, 8);
    db.report({.id = 234, .serial = 234, .reportDay = day, .sentAt = QDateTime(day.addDays(1), QTime(9, 0)),
               .file = QStringLiteral("TRDAT01_1234567000_0234_25.xml"), .status = 2, .firstDay = day});
    db.report({.id = 234, .serial = 235, .reportDay = day, .file = QStringLiteral("TRDAT01_1234567000_0235_25.xml"),
               .status = 3, .firstDay = day});
    db.selected({.report = 234, .trade = 71}).selected({.report = 234, .trade = 72});
    ZtfiApp& app = start();

    Selection(app).BitBtn3Click(day, day);

    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID || '/' || ZAPST || ':' || STATUS FROM DPATVP")),
              QStringList{QStringLiteral("234/234:2")});
    EXPECT_EQ(tradesOf(234), (std::set<qint64>{71, 72}));
    EXPECT_TRUE(texts(QStringLiteral("SELECT Cnt FROM ACT")).value(0).startsWith(QStringLiteral("234#|DPATVPID#|")));
    EXPECT_TRUE(texts(QStringLiteral("SELECT Cnt FROM ACT")).value(0).contains(QStringLiteral("#|235#|ZAPST#|")));
}

// "N" stands for no ISIN: two instruments that carry it are two instruments. Each trade reports
// its own instrument, and the code list holds both, also where an earlier selection left an
// override row of "N" behind.
TEST_P(SelectionTest, InstrumentsWithIsinNReportTheirOwnCodes)
{
    for (const int id : {1, 2}) {
        Instrument row;
        row.id = id;
        row.isin = QStringLiteral("N");
        row.shortName = QStringLiteral("OPC%1").arg(id);
        row.cfi = id == 1 ? QStringLiteral("OCASPS") : QStringLiteral("FFICSX");
        row.maturity = QDate(2026, 6, 10 + id);
        db.instrument(row).listing({.id = id, .instrument = id});
        db.trade({.id = 10 + id, .day = kDay, .instrument = id});
    }
    ZtfiApp& app = start();
    Selection selection(app);

    for (const bool staleOverride : {false, true}) {
        SCOPED_TRACE(staleOverride ? "override row of N left behind" : "no override row");
        if (staleOverride)
            db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU, DANSPR, AII_PRODUCT, "
                                   "AII_CFI, INSTRUMENTNAME) VALUES ('N', 2, 2, TO_DATE('01.03.2026','dd.mm.yyyy'), "
                                   "'OPC2', 'FFICSX', 'Instrument 2')"));

        EXPECT_TRUE(selection.bbNaborClick(kDay, kDay).generationEnabled);

        EXPECT_EQ(texts(QStringLiteral("SELECT ISIN || ':' || SFVP_OXU FROM DPATVP_SFVP")),
                  staleOverride ? QStringList{QStringLiteral("N:2")} : QStringList());
        TQueryDM& rows = sharedReportRows(app).query();
        QStringList reported;
        for (rows.first(); !rows.eof(); rows.next())
            reported << rows.fieldByName(QStringLiteral("IdPsl")).asString() + QLatin1Char(':')
                            + rows.fieldByName(QStringLiteral("IntIndInstr")).asString();
        reported.sort();
        EXPECT_EQ(reported, (QStringList{QStringLiteral("11:1"), QStringLiteral("12:2")}));
        TQueryDM& codes = sharedCodeList(app).query();
        QStringList listed;
        for (codes.first(); !codes.eof(); codes.next())
            listed << codes.fieldByName(QStringLiteral("IntIdent")).asString() + QLatin1Char(':')
                          + codes.fieldByName(QStringLiteral("TipInstr")).asString() + QLatin1Char(':')
                          + codes.fieldByName(QStringLiteral("KRT")).asString();
        listed.sort();
        EXPECT_EQ(listed, (QStringList{QStringLiteral("1:OCASPS:OPC1"), QStringLiteral("2:FFICSX:OPC2")}));
    }
}

// A period that ends before it starts is refused by the selection and the deletion alike, and
// nothing is deleted, selected or remembered.
TEST_P(SelectionTest, AReversedPeriodIsRefusedBeforeAnythingIsWritten)
{
    const QDate day(2014, 4, 2);
    db.report({.id = 4, .serial = 4, .reportDay = day});
    db.selected({.report = 4, .trade = 41}).selected({.report = 5, .trade = 51});
    ZtfiApp& app = start();
    app.selection.rangeKey = QStringLiteral("earlier");
    const QString message = QStringLiteral("Datum do 01.04.2014 je pred datumom od 02.04.2014!");
    ASSERT_EQ(Selection::reversedPeriodMessage(day, day.addDays(-1)), message);

    Selection selection(app);
    for (const bool deletion : {false, true}) {
        SCOPED_TRACE(deletion ? "deletion" : "selection");
        try {
            if (deletion)
                selection.BitBtn3Click(day, day.addDays(-1));
            else
                selection.bbNaborClick(day, day.addDays(-1));
            ADD_FAILURE() << "no error";
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.message(), message);
        }
        EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID || '/' || IDPSL FROM DPATVPPSL ORDER BY 1")),
                  (QStringList{QStringLiteral("4/41"), QStringLiteral("5/51")}));
        EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID FROM DPATVP")), QStringList{QStringLiteral("4")});
        EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM ACT")), QStringList{QStringLiteral("0")});
        EXPECT_EQ(app.selection.rangeKey, QStringLiteral("earlier"));
    }
}

// The whole trace of a selection, the imported transactions it takes, the audit rows of its
// inserts, and the end of a regeneration.
TEST_P(SelectionTest, SelectionTraceImportsAndAudit)
{
    instrument(1);
    db.trade({.id = 7, .day = kDay});
    db.report({.id = 3, .reportDay = kEarlier});
    imported(1, kDay, std::nullopt);
    imported(2, kDay.addDays(1), std::nullopt);
    imported(3, kDay, 3);
    ZtfiApp& app = start(QStringLiteral("Debug=1"));
    app.regeneration = {true, 2, 5, kEarlier, kEarlier};

    const SelectionOutcome outcome = Selection(app).bbNaborClick(kDay, kDay);

    EXPECT_FALSE(outcome.stop);
    EXPECT_TRUE(outcome.generationEnabled);
    EXPECT_EQ(app.selection.rangeKey, QStringLiteral("02.03.2026;02.03.2026"));
    EXPECT_EQ(app.selection.FMaxDpAtvpId, 4);
    EXPECT_FALSE(app.regeneration.active);
    EXPECT_EQ(app.regeneration.previousStatus, 0);
    EXPECT_EQ(app.regeneration.previousSerial, 0);
    EXPECT_FALSE(app.regeneration.previousDate.isValid());
    EXPECT_EQ(texts(QStringLiteral("SELECT IDIMP || ':' || NVL(DPATVPID, 0) FROM DPATVPIMP ORDER BY IDIMP")),
              (QStringList{QStringLiteral("1:4"), QStringLiteral("2:0"), QStringLiteral("3:3")}));
    EXPECT_EQ(rowsOf(4), (std::vector<SelectedRow>{{7, QStringLiteral("N"), 1}}));
    EXPECT_EQ(texts(QStringLiteral("SELECT Usr || '|' || SfAct || '|' || Tbl || '|' || Cnt FROM ACT")),
              QStringList{QStringLiteral("ana|+|DPATVPPSL|4#|DPATVPID#|7#|IDPSL#|N#|ISSTN#|1#|IDREFATVP#|")});
    EXPECT_TRUE(sharedReportRows(app).query().isActive());
    EXPECT_TRUE(sharedCodeList(app).query().isActive());
    EXPECT_EQ(sharedCodeList(app).query().recordCount(), 1);

    const QStringList expected{
        QStringLiteral("Pre Delete!"),
        QStringLiteral("Po Delete!"),
        QStringLiteral("Pre 1 StartTransaction!"),
        QStringLiteral("Open 1: ") + SelectionStatements::newTrades(app.config(), 4).join(QLatin1Char('\n')),
        QStringLiteral("Params: 02.03.2026"),
        QStringLiteral("Params: 02.03.2026"),
        QStringLiteral("po Open 1! 1"),
        QStringLiteral("INSERT DPATVPPSL: ID:4"),
        QStringLiteral("INSERT DPATVPPSL: IdPsl:7"),
        QStringLiteral("INSERT DPATVPPSL: IsStn:N"),
        QStringLiteral("INSERT DPATVPPSL: IDREFATVP:1"),
        QStringLiteral("po 1 Commit!"),
        QStringLiteral("Pre 2 StartTransaction!"),
        QStringLiteral("po 2 Commit!"),
        QStringLiteral("Pre 3 StartTransaction!"),
        QStringLiteral("po 3 Commit!"),
        QStringLiteral("Pre 4 StartTransaction!"),
        QStringLiteral("po 4 Commit!"),
        QStringLiteral("Pre 5 StartTransaction!"),
        QStringLiteral("po 5 Commit!"),
        QStringLiteral("Pre 6 StartTransaction!"),
        QStringLiteral("po 6 .Open!"),
        QStringLiteral("Pre 7 StartTransaction!"),
        QStringLiteral("po 7 .Open!"),
    };
    EXPECT_EQ(fixture.logLines(), expected);
}

// A failing insert of step 1 rolls back the rows and audit rows of the step; the deletion of the
// previous pending selection stays committed.
TEST_P(SelectionTest, FailureInStepOneRollsBackOnlyItself)
{
    instrument(1);
    db.trade({.id = 1, .day = kDay}).trade({.id = 2, .day = kDay}).trade({.id = 3, .day = kDay});
    db.selected({.report = 9, .trade = 100});
    db.refuse(QStringLiteral("refuse_three"), QStringLiteral("BEFORE INSERT ON DPATVPPSL"),
              QStringLiteral("NEW.IDPSL = 3"), QStringLiteral("zavrnjeno"));
    ZtfiApp& app = start(QStringLiteral("Debug=1"));

    try {
        Selection(app).bbNaborClick(kDay, kDay);
        FAIL() << "the selection must fail";
    } catch (const ZtfiError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Napaka pri insertu v DPATVPPSL (faza 1)!zavrnjeno")))
            << error.message().toStdString();
    }
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL")).toInt(), 0);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM ACT")).toInt(), 0);
    EXPECT_EQ(app.selection.rangeKey, QStringLiteral("02.03.2026;02.03.2026"));
    const QStringList log = fixture.logLines();
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.last(), QStringLiteral("po 1 Rollback!"));
    EXPECT_EQ(log.filter(QStringLiteral("INSERT DPATVPPSL: IdPsl:")).size(), 3);
    EXPECT_FALSE(log.contains(QStringLiteral("po 1 Commit!")));
    EXPECT_FALSE(log.contains(QStringLiteral("Pre 2 StartTransaction!")));

    // Without the cause the next selection goes through.
    db.allow(QStringLiteral("refuse_three"));
    Selection(app).bbNaborClick(kDay, kDay);
    EXPECT_EQ(tradesOf(1), (std::set<qint64>{1, 2, 3}));
}

// Generation needs a regular row: nothing selected disables it silently, cancellations alone
// disable it with the message, a new trade enables it.
TEST_P(SelectionTest, GenerationNeedsARegularRow)
{
    instrument(1);
    ZtfiApp& app = start();
    Selection selection(app);

    EXPECT_FALSE(selection.bbNaborClick(kDay, kDay).generationEnabled);
    EXPECT_EQ(sharedReportRows(app).query().recordCount(), 0);
    EXPECT_EQ(fixture.ui().messages(), QStringList());

    Trade reported{.id = 1, .day = kEarlier};
    db.trade(reported).cancellation({.trade = reported});
    db.report({.id = 1, .reportDay = kEarlier, .sentAt = QDateTime(kEarlier, QTime(16, 0))});
    db.selected({.report = 1, .trade = 1, .reference = 55});
    EXPECT_FALSE(selection.bbNaborClick(kDay, kDay).generationEnabled);
    EXPECT_EQ(sharedReportRows(app).query().recordCount(), 1);
    EXPECT_FALSE(app.selection.hasRegularRows);
    EXPECT_EQ(fixture.ui().messages(),
              QStringList{QStringLiteral("V naboru ni nobenih nestorniranih transakcij!\n"
                                         "Generiranje xml ni možno. XSD shema tega ne omogoča!")});

    fixture.ui().clearCalls();
    db.trade({.id = 2, .day = kDay});
    EXPECT_TRUE(selection.bbNaborClick(kDay, kDay).generationEnabled);
    EXPECT_EQ(sharedReportRows(app).query().recordCount(), 2);
    EXPECT_EQ(fixture.ui().messages(), QStringList());
}

// Two live instruments of one ISIN: the selection stops for the choice of the reporting
// instrument before the report rows are opened.
TEST_P(SelectionTest, PendingChoiceStopsTheSelection)
{
    db.instrument({.id = 1, .isin = QStringLiteral("SI0031102120")}).listing({.id = 1, .instrument = 1});
    db.instrument({.id = 2, .isin = QStringLiteral("SI0031102120")}).listing({.id = 2, .instrument = 2});
    db.trade({.id = 1, .day = kDay, .instrument = 1}).trade({.id = 2, .day = kDay, .instrument = 2});
    ZtfiApp& app = start();
    app.regeneration.active = true;

    const SelectionOutcome outcome = Selection(app).bbNaborClick(kDay, kDay);

    ASSERT_TRUE(outcome.stop);
    EXPECT_EQ(outcome.stop->activeTab, QStringLiteral("tsFinInstr"));
    EXPECT_FALSE(outcome.generationEnabled);
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
    EXPECT_FALSE(sharedReportRows(app).query().isActive());
    EXPECT_FALSE(sharedCodeList(app).query().isActive());
    EXPECT_FALSE(app.regeneration.active);
    EXPECT_EQ(tradesOf(1), (std::set<qint64>{1, 2}));
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP_SFVP WHERE SFVP_POROCANJE IS NULL")).toInt(), 2);
}

TEST_P(SelectionTest, LeavingADateClosesTheListsOfAnotherPeriod)
{
    instrument(1);
    db.trade({.id = 1, .day = kDay});
    ZtfiApp& app = start();
    Selection selection(app);
    selection.bbNaborClick(kDay, kDay);

    EXPECT_FALSE(selection.dtpDanExit(kDay, kDay));
    EXPECT_TRUE(sharedReportRows(app).query().isActive());
    EXPECT_TRUE(sharedCodeList(app).query().isActive());

    EXPECT_TRUE(selection.dtpDanExit(kDay, kDay.addDays(1)));
    EXPECT_FALSE(sharedReportRows(app).query().isActive());
    EXPECT_FALSE(sharedCodeList(app).query().isActive());
    // The pending selection itself stays.
    EXPECT_EQ(tradesOf(1), std::set<qint64>{1});
}

// On the server the statistics of the selected rows and of the overrides are those from before
// the selection wrote them (a desk cannot refresh them); the report rows are read by the keys of
// the selected rows all the same, never by trying every trade of the day against every override,
// and neither they nor the code list wait for the statement to be compiled to machine code.
TEST(SelectionOnServerTest, ReportRowsAreReadByKeysWhileTheStatisticsAreOld)
{
    ZTFI_SKIP_WITHOUT_SERVER(Connection::Engine::PostgreSql);
    const int instruments = 400;
    const int trades = 3 * instruments;
    FixtureDb db(Connection::Engine::PostgreSql);
    db.basics();
    for (int id = 1; id <= instruments; ++id) {
        Instrument row;
        row.id = id;
        row.isin = QStringLiteral("SI%1").arg(id, 10, 10, QLatin1Char('0'));
        db.instrument(row).listing({.id = id, .instrument = id});
    }
    db.exec(QStringLiteral("INSERT INTO PSL (IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, IdPog) "
                           "SELECT 100000 + g, TO_DATE('02.03.2026','dd.mm.yyyy'), TO_DATE('02.03.2026','dd.mm.yyyy'), "
                           "'N', 'K', 1 + g % %1, 8, 1, 100, 10, 100 FROM generate_series(1, %2) g")
                .arg(instruments)
                .arg(trades));
    // An earlier day of a few trades, reported: the statistics know only its selected rows, whose
    // trades come before those of the new day.
    db.report({.id = 1, .reportDay = kEarlier, .sentAt = QDateTime(kEarlier, QTime(18, 0)), .firstDay = kEarlier});
    db.exec(QStringLiteral("INSERT INTO PSL (IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, IdPog) "
                           "SELECT g, TO_DATE('27.02.2026','dd.mm.yyyy'), TO_DATE('27.02.2026','dd.mm.yyyy'), 'N', "
                           "'K', 1 + g % %1, 8, 1, 100, 10, 100 FROM generate_series(1, 20) g")
                .arg(instruments));
    db.exec(QStringLiteral("INSERT INTO DPATVPPSL (DPATVPID, IDPSL, ISSTN, IDREFATVP) "
                           "SELECT 1, IdPsl, 'N', IdPsl FROM PSL WHERE IdPsl <= 100000"));
    for (const char* table : {"DPATVPPSL", "DPATVP_SFVP"})
        db.exec(QStringLiteral("ALTER TABLE %1 SET (autovacuum_enabled = false)").arg(QLatin1String(table)));
    db.exec(QStringLiteral("ANALYZE"));
    FixtureApp fixture(db);
    fixture.writeIni();
    ZtfiApp& app = fixture.started();
    Selection(app).bbNaborClick(kDay, kDay);
    ASSERT_EQ(sharedReportRows(app).query().recordCount(), trades);
    ASSERT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP_SFVP")).toInt(), instruments);

    // The plan of a statement of the selection as the desk's session makes it, line by line.
    const auto plan = [&](const QString& statement) {
        TUniQuery explained(app.connection(), QStringLiteral("qPlan"));
        explained.setSql(QStringLiteral("EXPLAIN (ANALYZE, TIMING OFF) ")
                         + PendingSets::narrowed(statement, {app.selection.FMaxDpAtvpId}));
        explained.paramByName(QStringLiteral("Datum")).setAsDate(kDay);
        explained.paramByName(QStringLiteral("DatumDo")).setAsDate(kDay);
        explained.paramByName(QStringLiteral("FMaxDpAtvpId")).setAsInteger(app.selection.FMaxDpAtvpId);
        explained.open();
        QStringList lines;
        for (explained.first(); !explained.eof(); explained.next())
            lines << explained.fields().front()->asString();
        return lines;
    };
    const QRegularExpression removed(QStringLiteral("Rows Removed by Join Filter: (\\d+)"));
    qint64 tried = 0;
    const QStringList reportRows = plan(app.savedStatements().reportRows);
    for (const QString& line : reportRows) {
        const QRegularExpressionMatch match = removed.match(line);
        if (match.hasMatch())
            tried += match.captured(1).toLongLong();
    }
    EXPECT_LT(tried, 10 * trades) << qPrintable(reportRows.join(QLatin1Char('\n')));
    // For the code list of a 100,000-trade day the compiling took eight times as long as the
    // statement itself; here the server is told to compile every statement it may.
    TUniQuery compileAll(app.connection(), QStringLiteral("qJit"));
    compileAll.setSql(QStringLiteral("SET jit_above_cost = 0"));
    compileAll.execSQL();
    const QStringList codeList = plan(app.savedStatements().codeList);
    for (const QStringList& lines : {plan(app.savedStatements().reportRows), codeList})
        EXPECT_FALSE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("JIT:"))) << qPrintable(lines.join(QLatin1Char('\n')));
}

INSTANTIATE_ENGINE_STORIES(SelectionTest);

}  // namespace
