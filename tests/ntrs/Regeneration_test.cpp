#include "ntrs/Regeneration.h"

#include "core/Config.h"
#include "core/Error.h"
#include "data/dataset/Field.h"
#include "instruments/CodeList.h"
#include "ntrs/RegenerationStatements.h"
#include "ntrs/Register.h"
#include "ntrs/RegisterFixture.h"
#include "ntrs/ReportWriter.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "reporting/SelectionStatements.h"
#include "state/ZtfiApp.h"
#include "support/EngineStories.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace registerfixture;

namespace {

const QDate kEarlier(2026, 3, 1);

// The rejected report: set 1 of 2.3.2026 with the trade 11 of instrument 1, sent on 3.3.2026
// as the first report of the year.
class RegenerationFixture : public RegisterTest {
protected:
    explicit RegenerationFixture(Connection::Engine engine = Connection::Engine::Sqlite) : RegisterTest(engine)
    {
        for (int id : {1, 2, 3})
            instrument(id);
        reported(1, 11, 1, 1);
    }

    RegisterRow rejected(const QDate& firstDay = kDay)
    {
        db.report({.id = 1, .serial = 1, .reportDay = kDay, .sentAt = kSent, .status = 2, .firstDay = firstDay});
        RegisterRow row;
        row.id = 1;
        row.serial = 1;
        row.reportDay = kDay;
        row.sentAt = kSent;
        row.firstDay = firstDay;
        row.status = 2;
        return row;
    }

    // The set's rows: trade, ISSTN and whether the reference is the fixture's or a new one.
    QStringList setRows()
    {
        return texts(QStringLiteral("SELECT IDPSL || ':' || ISSTN || ':' || (CASE WHEN IDREFATVP > 100 THEN 'new' "
                                    "ELSE CAST(IDREFATVP AS VARCHAR(20)) END) FROM DPATVPPSL WHERE DPATVPID=1 ORDER BY IDPSL, ISSTN"));
    }

    // The report rows opened on "Nabor": trade and ISSTN.
    static QStringList reportRows(ZtfiApp& app)
    {
        QStringList rows;
        TQueryDM& q = sharedReportRows(app).query();
        if (!q.isActive())
            return rows;
        for (q.first(); !q.eof(); q.next())
            rows << q.fieldByName(QStringLiteral("IdPsl")).asString() + QLatin1Char(':')
                    + q.fieldByName(QStringLiteral("ISSTN")).asString();
        rows.sort();
        return rows;
    }
};

class RegenerationTest : public OnEachEngine<RegenerationFixture> {};

TEST(RegenerationStatementsTest, TheSelectionsStatementsWithTheRegenerationsDifferences)
{
    Config config;
    config.DMC_2 = QStringLiteral("K");
    const QString market = QStringLiteral(" AND (P.SfDjv in ('K') AND T.SfDrzTrg='S' and T.SfTrz = '2' ) ");
    const QString marketOfD = QStringLiteral(" AND (D.SfDjv in ('K') AND T.SfDrzTrg='S' and T.SfTrz = '2' ) ");
    const QString remote = QStringLiteral(" AND (((%1.SFTYPE='P') AND ((%2.REMOTECLAN IS NOT NULL) OR (%2.REMOTECLAN<>''))) OR ((%1.SFTYPE<>'P') OR (%1.SFTYPE is NULL)))");

    EXPECT_EQ(RegenerationStatements::newTrades(config, 7),
              (QStringList{QStringLiteral(" SELECT 7 as DpAtvpId, P.IdPsl, 'N' as IsStn , DPATVPPSL_SEQ.NEXTVAL as IDREFATVP "),
                           QStringLiteral(" FROM PSL P LEFT OUTER JOIN DPATVPPSL A ON P.IdPsl = A.IdPsl JOIN SFVP S ON P.SFVP=S.SFVP "),
                           QStringLiteral(" JOIN TRG T ON P.SfTrg = T.SfTrg "),
                           QStringLiteral(" JOIN POG PG ON P.IDPOG=PG.IDPOG "),
                           QStringLiteral(" WHERE P.Dan >= :Dan AND P.Dan <= :DanDo AND A.IdRefATVP IS NULL "),
                           QStringLiteral(" AND S.PorocanjeZTFI='D' "),
                           remote.arg(QStringLiteral("P"), QStringLiteral("PG")),
                           market}));

    EXPECT_EQ(RegenerationStatements::cancellations(config, 7),
              (QStringList{QStringLiteral(" SELECT 7 as DpAtvpId, D.IdPsl, 'D'  as IsStn, A.IdRefATVP "),
                           QStringLiteral(" FROM DPATVPPSLSTN D LEFT OUTER JOIN DPATVPPSL A ON D.IdPsl = A.IdPsl JOIN SFVP S ON D.SFVP=S.SFVP "),
                           QStringLiteral(" JOIN TRG T ON D.SfTrg = T.SfTrg "),
                           QStringLiteral(" JOIN POG PG ON D.IDPOG=PG.IDPOG "),
                           QStringLiteral(" WHERE NOT EXISTS (SELECT IDPSL FROM DPATVPPSL X WHERE X.IDPSL = A.IDPSL AND X.IsStn = 'D') "),
                           QStringLiteral("   AND EXISTS (SELECT IDPSL FROM DPATVPPSL X WHERE X.IDPSL = D.IDPSL) "),
                           QStringLiteral(" AND D.Dan >= :Dan AND D.Dan <= :DanDo AND S.PorocanjeZTFI='D' "),
                           remote.arg(QStringLiteral("D"), QStringLiteral("PG")),
                           marketOfD}));

    const QStringList replacements = RegenerationStatements::replacements(config, 7);
    QStringList selection = SelectionStatements::replacements(config, 7);
    selection.removeOne(QStringLiteral(" AND D.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) "));
    EXPECT_EQ(replacements, selection);
    EXPECT_EQ(replacements.size(), 11) << "the selection's twelve lines less one";

    // Without a market key there is no market join and no market condition.
    const QStringList plain = RegenerationStatements::cancellations(Config(), 7);
    EXPECT_FALSE(plain.join(QString()).contains(QStringLiteral("JOIN TRG")));
    EXPECT_EQ(plain.size(), 7);
}

// A rejected report with nothing new in its period: the set keeps its rows and "Nabor" shows
// exactly them; the application is in regeneration mode with the serial of the send year.
TEST_P(RegenerationTest, NothingNewShowsTheRejectedReportInRegenerationMode)
{
    ZtfiApp& app = start();
    // Serials of 2025 do not count for a report sent in 2026.
    db.report({.id = 0, .serial = 5, .reportDay = QDate(2025, 12, 1), .sentAt = QDateTime(QDate(2025, 12, 2), QTime(8, 0))});
    const RegisterRow row = rejected();
    const qint64 mark = auditMark();

    const RegenerationOutcome outcome = Regeneration(app).bbReGenerirajClick(row);

    EXPECT_FALSE(outcome.stop);
    EXPECT_TRUE(outcome.listsOpened);
    EXPECT_TRUE(outcome.generationEnabled);
    EXPECT_EQ(outcome.selectionDay, kDay);
    EXPECT_EQ(setRows(), QStringList{QStringLiteral("11:N:1")});
    EXPECT_EQ(reportRows(app), QStringList{QStringLiteral("11:N")});
    ASSERT_TRUE(sharedCodeList(app).query().isActive());
    EXPECT_EQ(sharedCodeList(app).query().recordCount(), 1);
    EXPECT_EQ(sharedCodeList(app).query().fieldByName(QStringLiteral("ISIN")).asString(), QStringLiteral("SI0000000011"));
    EXPECT_EQ(auditSince(mark), QStringList{});

    EXPECT_TRUE(app.regeneration.active);
    EXPECT_EQ(app.regeneration.previousStatus, 2);
    EXPECT_EQ(app.regeneration.previousSerial, 2);
    EXPECT_EQ(app.regeneration.previousDate, kSent.date());
    EXPECT_EQ(app.selection.FMaxDpAtvpId, 1);
    EXPECT_EQ(app.selection.rangeKey, QStringLiteral("02.03.2026;02.03.2026"));
    EXPECT_TRUE(fixture.ui().calls().empty());
}

// The generation after the regeneration writes the set's next report: the prepared serial, the
// year of the send date, the rejected status plus one; the rejected row stays as it was.
TEST_P(RegenerationTest, TheNextGenerationRegistersTheSetsNextReport)
{
    ZtfiApp& app = start();
    db.trade({.id = 12, .day = kDay, .instrument = 2});
    Regeneration(app).bbReGenerirajClick(rejected());

    ReportWriter writer(app.connection(), app.config(), app.errorLog(), app.auditTrail(), app.programFolder());
    const ReportOutcome outcome = writer.bbGenXMLClick(sharedReportRows(app), sharedCodeList(app), app.regeneration,
                                                       {kDay, kDay, QDateTime(QDate(2026, 3, 5), QTime(10, 0))});

    EXPECT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(outcome.fileName, QStringLiteral("TRDAT01_1234567000_0002_26.xml"));
    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID || ':' || ZAPST || ':' || STATUS || ':' || (CASE WHEN DAN IS NULL "
                                   "THEN 'unsent' ELSE 'sent' END) || ':' || NVL(XML_FILE, '') FROM DPATVP ORDER BY ZAPST")),
              (QStringList{QStringLiteral("1:1:2:sent:"), QStringLiteral("1:2:3:unsent:TRDAT01_1234567000_0002_26.xml")}));
    EXPECT_FALSE(app.regeneration.active);
}

// A report of two days rejected twice: each regenerated report keeps the first day of the report
// it replaces (the window shows the reporting day in both dates), so the second regeneration
// still gathers and shows the trades of both days.
TEST_P(RegenerationTest, EveryRegenerationOfATwoDayReportCoversBothDays)
{
    ZtfiApp& app = start();
    reported(1, 10, 2, 2, kEarlier);
    RegisterRow row = rejected(kEarlier);
    ReportWriter writer(app.connection(), app.config(), app.errorLog(), app.auditTrail(), app.programFolder());
    ReportRegister reports(app.connection(), SqlDialect::Oracle, app.auditTrail(), QString(), app.programFolder());

    for (const int serial : {2, 3}) {
        SCOPED_TRACE(serial);
        Regeneration(app).bbReGenerirajClick(row);
        EXPECT_EQ(reportRows(app), (QStringList{QStringLiteral("10:N"), QStringLiteral("11:N")}));
        const ReportOutcome outcome = writer.bbGenXMLClick(sharedReportRows(app), sharedCodeList(app), app.regeneration,
                                                           {kDay, kDay, QDateTime(QDate(2026, 3, 5), QTime(10, 0))});
        ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
        EXPECT_EQ(texts(QStringLiteral("SELECT TO_CHAR(DANOD, 'dd.mm.yyyy') FROM DPATVP WHERE ZAPST=%1").arg(serial)),
                  QStringList{QStringLiteral("01.03.2026")});
        // Sent and rejected in its turn; the register list offers it for the next regeneration.
        send(1, serial, QDateTime(QDate(2026, 3, 5 + serial), QTime(9, 0)));
        db.exec(QStringLiteral("UPDATE DPATVP SET STATUS=2 WHERE ZAPST=%1").arg(serial));
        reports.refresh(kEarlier, kDay);
        row = *reports.currentRow();
        ASSERT_EQ(row.serial, serial);
    }
    Regeneration(app).bbReGenerirajClick(row);
    EXPECT_EQ(reportRows(app), (QStringList{QStringLiteral("10:N"), QStringLiteral("11:N")}));
}

// Late trades, cancellations and replacement trades of the period and the period's imports join
// the set; a cancellation of a trade of another period does not (a daily selection would take
// it), nor does a trade of another day.
TEST_P(RegenerationTest, TheSetGainsWhatArrivedForItsPeriodOnly)
{
    ZtfiApp& app = start(QStringLiteral("TipPosla=N"));
    db.trade({.id = 12, .day = kDay, .instrument = 2});                          // booked after the sending
    db.trade({.id = 14, .day = kEarlier, .instrument = 2});                      // another day
    db.trade({.id = 16, .day = kDay, .kind = QStringLiteral("B"), .instrument = 3});  // replaces 11
    db.cancellation({.trade = {.id = 11, .day = kDay, .instrument = 1}, .replacedBy = 16});
    reported(0, 15, 2, 5, kEarlier);
    db.report({.id = 0, .serial = 1, .reportDay = kEarlier, .sentAt = QDateTime(kEarlier, QTime(18, 0)), .status = 1});
    db.cancellation({.trade = {.id = 15, .day = kEarlier, .instrument = 2}});
    imported(31, kDay, std::nullopt);
    imported(32, kEarlier, std::nullopt);
    const RegisterRow row = rejected();
    const qint64 mark = auditMark();

    const RegenerationOutcome outcome = Regeneration(app).bbReGenerirajClick(row);

    EXPECT_EQ(setRows(), (QStringList{QStringLiteral("11:D:1"), QStringLiteral("11:N:1"), QStringLiteral("12:N:new"),
                                      QStringLiteral("16:N:new")}));
    EXPECT_EQ(texts(QStringLiteral("SELECT IDIMP || ':' || NVL(DPATVPID, 0) FROM DPATVPIMP ORDER BY IDIMP")),
              (QStringList{QStringLiteral("31:1"), QStringLiteral("32:0")}));
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL WHERE DPATVPID=0")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(auditSince(mark), (QStringList{QStringLiteral("+DPATVPPSL"), QStringLiteral("+DPATVPPSL"),
                                             QStringLiteral("+DPATVPPSL"), QStringLiteral("^DPATVPIMP")}))
        << "steps 1 to 4 in order, through the audited components";
    EXPECT_TRUE(outcome.generationEnabled);
    EXPECT_EQ(reportRows(app), (QStringList{QStringLiteral("11:D"), QStringLiteral("11:N"), QStringLiteral("12:N"),
                                            QStringLiteral("16:N"), QStringLiteral("31:N")}));
}

// The first day of the period is DANOD, or DANPOROCANJA when the register row has none.
TEST_P(RegenerationTest, ARowWithoutFirstDayGathersTheReportingDayOnly)
{
    const struct {
        QDate firstDay;
        QStringList rows;
    } cases[] = {
        {QDate(), {QStringLiteral("11:N:1")}},
        {kEarlier, {QStringLiteral("11:N:1"), QStringLiteral("14:N:new")}},
    };
    ZtfiApp& app = start();
    db.trade({.id = 14, .day = kEarlier, .instrument = 2});
    for (const auto& c : cases) {
        db.exec(QStringLiteral("DELETE FROM DPATVP"));
        Regeneration(app).bbReGenerirajClick(rejected(c.firstDay));
        EXPECT_EQ(setRows(), c.rows) << c.firstDay.toString().toStdString();
    }
}

// A pending choice of reporting instrument stops the regeneration before the lists: the tabs
// change as after a stopped selection, "Nazaj na nabor" is shown at once, and the regeneration
// mode is on with the dates set.
TEST_P(RegenerationTest, APendingInstrumentChoiceStopsBeforeTheLists)
{
    ZtfiApp& app = start();
    fixture::Instrument twin;
    twin.id = 5;
    twin.isin = QStringLiteral("SI0000000011");
    db.instrument(twin).listing({.id = 5, .instrument = 5});
    const RegisterRow row = rejected();

    const RegenerationOutcome outcome = Regeneration(app).bbReGenerirajClick(row);

    ASSERT_TRUE(outcome.stop);
    EXPECT_EQ(outcome.stop->activeTab, QStringLiteral("tsFinInstr"));
    EXPECT_TRUE(outcome.stop->returnButtonVisible);
    EXPECT_FALSE(outcome.listsOpened);
    EXPECT_FALSE(outcome.generationEnabled);
    EXPECT_EQ(outcome.selectionDay, kDay);
    EXPECT_EQ(fixture.ui().messages(), QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
    EXPECT_FALSE(sharedReportRows(app).query().isActive());
    EXPECT_TRUE(app.regeneration.active);
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM DPATVP_SFVP WHERE SFVP_POROCANJE IS NULL")),
              QStringList{QStringLiteral("1")});
}

// A set of cancellations only: the rows are shown, the generation stays disabled.
TEST_P(RegenerationTest, OnlyCancellationsCannotBeGenerated)
{
    ZtfiApp& app = start();
    db.exec(QStringLiteral("DELETE FROM DPATVPPSL"));
    db.cancellation({.trade = {.id = 11, .day = kDay, .instrument = 1}});
    db.selected({.report = 0, .trade = 11, .reference = 1});
    db.selected({.report = 1, .trade = 11, .cancellation = QStringLiteral("D"), .reference = 1});

    const RegenerationOutcome outcome = Regeneration(app).bbReGenerirajClick(rejected());

    EXPECT_TRUE(outcome.listsOpened);
    EXPECT_FALSE(outcome.generationEnabled);
    EXPECT_EQ(reportRows(app), QStringList{QStringLiteral("11:D")});
    EXPECT_EQ(fixture.ui().messages(), QStringList{Selection::noRegularRowsMessage()});
}

// A failing step rolls back itself only, stops with its message and leaves the mode off; the
// steps before it stay committed.
struct FailingStep {
    const char* trigger;
    const char* message;
    QStringList committed;
};

void PrintTo(const FailingStep& step, std::ostream* os)
{
    *os << step.trigger;
}

class RegenerationFailureTest : public RegenerationFixture, public testing::WithParamInterface<FailingStep> {};

TEST_P(RegenerationFailureTest, StopsWithTheStepsMessage)
{
    ZtfiApp& app = start();
    db.trade({.id = 12, .day = kDay, .instrument = 2});
    db.cancellation({.trade = {.id = 11, .day = kDay, .instrument = 1}});
    imported(31, kDay, std::nullopt);
    db.exec(QStringLiteral("CREATE TRIGGER failing %1 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                .arg(QLatin1String(GetParam().trigger)));
    try {
        Regeneration(app).bbReGenerirajClick(rejected());
        FAIL() << "the step must fail";
    } catch (const ZtfiError& error) {
        EXPECT_TRUE(error.message().startsWith(QString::fromUtf8(GetParam().message))) << error.message().toStdString();
    }
    EXPECT_FALSE(app.regeneration.active);
    EXPECT_EQ(setRows(), GetParam().committed);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, RegenerationFailureTest,
    testing::Values(
        FailingStep{"BEFORE INSERT ON DPATVPPSL WHEN NEW.IDPSL = 12",
                    "Napaka pri insertu v DPATVPPSL (faza 1)!\nEDatabaseError\n", {QStringLiteral("11:N:1")}},
        FailingStep{"BEFORE INSERT ON DPATVPPSL WHEN NEW.ISSTN = 'D'",
                    "Napaka pri insertu v DPATVPPSL (faza 2)!\nEDatabaseError\n",
                    {QStringLiteral("11:N:1"), QStringLiteral("12:N:new")}},
        FailingStep{"BEFORE UPDATE ON DPATVPIMP", "Napaka pri popravku DPATVPID v DPATVPIMP!",
                    {QStringLiteral("11:D:1"), QStringLiteral("11:N:1"), QStringLiteral("12:N:new")}}));

// With Debug on, the regeneration traces its identifier, each gathering statement with its
// row count and rows, and the synchronisation; the selection's own trace texts are not written.
TEST_P(RegenerationTest, TheTraceNamesTheStatementsAndTheirRows)
{
    ZtfiApp& app = start(QStringLiteral("Debug=1"));
    db.trade({.id = 12, .day = kDay, .instrument = 2});

    Regeneration(app).bbReGenerirajClick(rejected());

    QStringList heads;
    for (const QString& line : fixture.logLines())
        heads << line.section(QLatin1Char('\n'), 0, 0);
    const qsizetype sync = heads.indexOf(QStringLiteral("SQL : SELECT DISTINCT (CASE WHEN ((S.ISIN IS NULL) OR (S.ISIN='N')) THEN 3 "));
    ASSERT_GE(sync, 0) << heads.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(heads.mid(0, sync),
              (QStringList{QStringLiteral("MaxDPAAtvpId:1"),
                           QStringLiteral("uDPATVPPSL: SELECT 1 as DpAtvpId, P.IdPsl, 'N' as IsStn , DPATVPPSL_SEQ.NEXTVAL as IDREFATVP "),
                           QStringLiteral("uDPATVPPSL.RecCount:1"), QStringLiteral("uDPATVPPSL.DpAtvpId:1"),
                           QStringLiteral("uDPATVPPSL.IdPsl:12"), QStringLiteral("uDPATVPPSL.IsStn:N"),
                           QStringLiteral("uDPATVPPSL.IDREFATVP:101"),
                           QStringLiteral("uDPATVPPSL: SELECT 1 as DpAtvpId, D.IdPsl, 'D'  as IsStn, A.IdRefATVP "),
                           QStringLiteral("uDPATVPPSL.RecCount:0"),
                           QStringLiteral("uDPATVPPSL: SELECT 1 as DpAtvpId, D.IdPsl, 'N'  as IsStn, DPATVPPSL_SEQ.NEXTVAL as IdRefATVP "),
                           QStringLiteral("uDPATVPPSL.RecCount:0")}));
    EXPECT_FALSE(heads.join(QLatin1Char('\n')).contains(QStringLiteral("StartTransaction")));
}

INSTANTIATE_ENGINE_STORIES(RegenerationTest);

}  // namespace
