#include "instruments/InstrumentChoice.h"

#include "core/Error.h"
#include "data/dataset/AuditTrail.h"
#include "instruments/CodeList.h"
#include "instruments/InstrumentChoiceStatements.h"
#include "instruments/OverrideFixture.h"
#include "instruments/OverrideList.h"
#include "ntrs/ReportWriter.h"
#include "ntrs/ReportWriterFixture.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "reporting/SelectionReturn.h"
#include "state/ZtfiApp.h"
#include "support/EngineStories.h"
#include "support/FixtureApp.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace overrides;

namespace {

const QString kIsin = QStringLiteral("SI0000000100");
const QString kUser = QStringLiteral("ANA");
// DANSPR_SFVP of the rows the synchronisation wrote: the host's last change of the instrument.
const QDateTime kChanged(QDate(2025, 6, 1), QTime(15, 45, 10));

QVariant column(const QVariantMap& row, const char* name)
{
    return row.value(QString::fromLatin1(name));
}

// Host instruments 100 and 200 of one ISIN, both live and reported, and the choices made for
// their override rows.
class InstrumentChoiceTest : public EngineStoryTest {
protected:
    InstrumentChoiceTest() : audit(db.connection(), SqlDialect::Oracle, kUser)
    {
        db.basics();
        for (int id : {100, 200}) {
            fixture::Instrument row = instrument(id, kIsin);
            row.maturity = QDate(2030, 6, 30);
            row.strikePrice = id / 10.0;
            db.instrument(row).listing({.id = id, .instrument = id});
        }
    }

    // A row of the ISIN written at 9:00 + minute on 1.1.2026.
    void addRow(int oxu, const QVariant& reporting, const QVariant& old = QVariant(),
                const QVariant& xml = QVariant(), int minute = 0)
    {
        addOverride(db, {{"ISIN", kIsin},
                         {"SFVP_OXU", oxu},
                         {"SFVP_POROCANJE", reporting},
                         {"SFVP_OLD", old},
                         {"XML", xml},
                         {"USRSPR", QStringLiteral("SYNC")},
                         {"DANSPR_SFVP", kChanged},
                         {"DANSPR", QDateTime(QDate(2026, 1, 1), QTime(9, minute))}});
    }

    // The row of the override list with that host instrument, pending or not.
    OverrideRow listed(int oxu, bool pending)
    {
        OverrideList list(db.connection());
        list.open(QString());
        const TQueryDM& rows = list.query();
        for (int row = 0; row < rows.recordCount(); ++row) {
            const OverrideRow found = OverrideRow::of(rows, row);
            if (found.hostInstrument == oxu && found.reporting.isValid() != pending)
                return found;
        }
        ADD_FAILURE() << "not listed: " << oxu;
        return {};
    }

    bool choose(const OverrideRow& row, qint64 chosen, SqlDialect dialect = SqlDialect::Oracle)
    {
        return InstrumentChoice(db.connection(), dialect, audit, kUser).choose(row, chosen, kDay);
    }

    // The row of DPATVP_SFVP of that host instrument and reporting instrument.
    QVariantMap stored(int oxu, const QVariant& reporting)
    {
        for (const QVariantMap& row : overrideRows(db)) {
            if (column(row, "SFVP_OXU").toInt() == oxu && column(row, "SFVP_POROCANJE") == reporting)
                return row;
        }
        ADD_FAILURE() << "no row " << oxu << "/" << reporting.toString().toStdString();
        return {};
    }

    // The host instrument of the ISIN's current row (greatest DANSPR).
    int currentHostInstrument()
    {
        return db.value(QStringLiteral("SELECT SFVP_OXU FROM DPATVP_SFVP F1 WHERE DANSPR = "
                                       "(SELECT max(DANSPR) FROM DPATVP_SFVP WHERE ISIN = F1.ISIN)"))
            .toInt();
    }

    // The audit rows: action and content.
    QStringList audited()
    {
        QSqlQuery query(db.connection().database());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT SfAct, Tbl, Usr, Cnt FROM ACT ORDER BY IdAct")));
        QStringList rows;
        while (query.next())
            rows << query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString()
                        + QLatin1Char(' ') + query.value(2).toString() + QLatin1Char(' ')
                        + query.value(3).toString();
        return rows;
    }

    FixtureDb db{storyEngine()};
    AuditTrail audit;
};

// The frozen data of instrument `id` as the choice writes them.
void expectFrozenDataOf(const QVariantMap& row, int id)
{
    EXPECT_EQ(column(row, "AII_MIC"), QVariant(QStringLiteral("XLJU")));
    EXPECT_EQ(column(row, "AII_PRODUCT"), QVariant(QStringLiteral("KRT%1").arg(id)));
    EXPECT_EQ(column(row, "AII_CFI"), QVariant(QStringLiteral("ESVUFR")));
    EXPECT_EQ(column(row, "AII_EXPIRY").toDateTime(), QDateTime(QDate(2030, 6, 30), QTime(0, 0)));
    EXPECT_DOUBLE_EQ(column(row, "AII_STRIKEPRICE").toDouble(), id / 10.0);
    EXPECT_EQ(column(row, "IZD"), QVariant(QStringLiteral("Borzni posrednik d.d.")));
    EXPECT_EQ(column(row, "DRZ_IZD"), QVariant(QStringLiteral("SI")));
    EXPECT_DOUBLE_EQ(column(row, "GLVNMN").toDouble(), 1.5);
    EXPECT_EQ(column(row, "VLT"), QVariant(QStringLiteral("EUR")));
    EXPECT_DOUBLE_EQ(column(row, "LOTEMS").toDouble(), 1000);
    EXPECT_EQ(column(row, "INSTRUMENTNAME"), QVariant(QStringLiteral("Instrument %1").arg(id)));
    EXPECT_EQ(column(row, "USRSPR"), QVariant(kUser));
    EXPECT_EQ(column(row, "DANSPR_SFVP").toDateTime(), kChanged);
}

TEST_P(InstrumentChoiceTest, CandidateStatementInBothDialects)
{
    EXPECT_EQ(InstrumentChoiceStatements::candidates(SqlDialect::Oracle).join(QLatin1Char('|')),
              QStringLiteral("SELECT upper(ISIN) as ISIN, SFVP, KRT FROM SFVP|WHERE upper(ISIN)=:ISIN|"
                             "AND POROCANJEZTFI='D'|AND SFVP NOT IN (select NVL(SFVP_OLD, 0) from DPATVP_SFVP)"));
    EXPECT_EQ(InstrumentChoiceStatements::candidates(SqlDialect::Db2).last(),
              QStringLiteral("AND SFVP NOT IN (select COALESCE(SFVP_OLD, 0) from DPATVP_SFVP)"));
}

// A pending row completed in place: only that row changes, whichever instrument is chosen;
// it is announced when it now reports another instrument than its own.
TEST_P(InstrumentChoiceTest, PendingRowIsCompletedInPlaceWithTheFrozenDataOfTheChoice)
{
    struct Case {
        int chosen;
        QVariant xml;
    };
    for (const Case& c : {Case{200, QStringLiteral("D")}, Case{100, QVariant()}}) {
        SCOPED_TRACE(c.chosen);
        db.exec(QStringLiteral("DELETE FROM DPATVP_SFVP"));
        db.exec(QStringLiteral("DELETE FROM ACT"));
        addRow(100, QVariant(), QVariant(), QVariant(), 0);
        addRow(200, QVariant(), QVariant(), QVariant(), 1);
        const QVariantMap other = stored(200, QVariant());
        const OverrideRow row = listed(100, true);

        const InstrumentOffer offer = InstrumentChoice(db.connection(), SqlDialect::Oracle, audit, kUser).offer(row);
        EXPECT_EQ(offer.isin, kIsin);
        EXPECT_EQ(offer.items, (QStringList{QStringLiteral("100-KRT100"), QStringLiteral("200-KRT200")}));
        EXPECT_EQ(offer.current, -1);
        EXPECT_FALSE(offer.newIdentification);

        QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
        if (onServer())  // a server's DATE keeps whole seconds
            before = before.addMSecs(-before.time().msec());
        EXPECT_TRUE(choose(row, c.chosen));

        const QVariantMap completed = stored(100, c.chosen);
        EXPECT_EQ(column(completed, "XML"), c.xml);
        EXPECT_FALSE(column(completed, "SFVP_OLD").isValid());
        EXPECT_GE(column(completed, "DANSPR").toDateTime(), before);
        expectFrozenDataOf(completed, c.chosen);
        // The other pending row of the ISIN (same key ISIN, SFVP_POROCANJE) is untouched.
        EXPECT_EQ(stored(200, QVariant()), other);
        EXPECT_EQ(overrideRows(db).size(), 2u);
        const QStringList acts = audited();
        ASSERT_EQ(acts.size(), 1);
        EXPECT_TRUE(acts[0].startsWith(QStringLiteral("^ DPATVP_SFVP ANA ") + kIsin
                                       + QStringLiteral("#|ISIN#|%1#|SFVP_POROCANJE#|").arg(c.chosen)))
            << acts[0].toStdString();
    }
}

TEST_P(InstrumentChoiceTest, ChangedReportingInstrumentIsANewVersionAndTheOldOneIsNeverOfferedAgain)
{
    addRow(100, 100);
    const QVariantMap old = stored(100, 100);
    const OverrideRow row = listed(100, false);
    InstrumentChoice choice(db.connection(), SqlDialect::Oracle, audit, kUser);
    const InstrumentOffer offer = choice.offer(row);
    EXPECT_EQ(offer.items, (QStringList{QStringLiteral("100-KRT100"), QStringLiteral("200-KRT200")}));
    EXPECT_EQ(offer.current, 0);
    EXPECT_TRUE(offer.newIdentification);

    EXPECT_TRUE(choice.chooseText(row, QStringLiteral("200-KRT200"), kDay));

    ASSERT_EQ(overrideRows(db).size(), 2u);
    EXPECT_EQ(stored(100, 100), old);
    const QVariantMap version = stored(200, 200);
    EXPECT_EQ(column(version, "ISIN"), QVariant(kIsin));
    EXPECT_EQ(column(version, "SFVP_OLD").toInt(), 100);
    EXPECT_EQ(column(version, "XML"), QVariant(QStringLiteral("D")));
    expectFrozenDataOf(version, 200);
    EXPECT_EQ(currentHostInstrument(), 200);
    const QStringList acts = audited();
    ASSERT_EQ(acts.size(), 1);
    EXPECT_TRUE(acts[0].startsWith(QStringLiteral("+ DPATVP_SFVP ANA ") + kIsin
                                   + QStringLiteral("#|ISIN#|200#|SFVP_POROCANJE#|100#|SFVP_OLD#|")))
        << acts[0].toStdString();

    // The new current row offers only 200; 100 is refused even when typed.
    const OverrideRow current = listed(200, false);
    const InstrumentOffer next = choice.offer(current);
    EXPECT_EQ(next.items, QStringList{QStringLiteral("200-KRT200")});
    EXPECT_EQ(next.current, 0);
    EXPECT_THROW(choice.chooseText(current, QStringLiteral("100-KRT100"), kDay), ZtfiError);
    EXPECT_EQ(overrideRows(db).size(), 2u);
}

// An empty text, or the instrument the row already reports, writes nothing.
TEST_P(InstrumentChoiceTest, ChoiceOfTheReportedInstrumentOrNoneWritesNothing)
{
    addRow(100, 100);
    const auto before = overrideRows(db);
    const OverrideRow row = listed(100, false);
    InstrumentChoice choice(db.connection(), SqlDialect::Oracle, audit, kUser);

    EXPECT_FALSE(choice.chooseText(row, QStringLiteral("100-KRT100"), kDay));
    EXPECT_FALSE(choice.chooseText(row, QString(), kDay));

    EXPECT_EQ(overrideRows(db), before);
    EXPECT_EQ(audited(), QStringList());
}

// Texts that do not start with a code and "-", and a code not offered for the ISIN, are
// refused before anything is written.
TEST_P(InstrumentChoiceTest, TextWithoutACodeOrACodeNotOfferedIsRefused)
{
    addRow(100, QVariant());
    const auto before = overrideRows(db);
    const OverrideRow row = listed(100, true);
    InstrumentChoice choice(db.connection(), SqlDialect::Oracle, audit, kUser);

    for (const QString& text : {QStringLiteral("KRT200"), QStringLiteral("200"), QStringLiteral("-200-KRT200"),
                                QStringLiteral("A200-KRT200"), QStringLiteral("200 -KRT200")}) {
        SCOPED_TRACE(text.toStdString());
        try {
            choice.chooseText(row, text, kDay);
            ADD_FAILURE() << "accepted";
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.className(), QStringLiteral("EConvertError"));
            EXPECT_EQ(e.message(), QStringLiteral("'%1' does not start with an instrument code followed by \"-\"").arg(text));
        }
    }
    try {
        choice.chooseText(row, QStringLiteral("999-XYZA"), kDay);
        ADD_FAILURE() << "accepted";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Finančni instrument 999 ni med ponujenimi za ISIN SI0000000100!"));
    }
    EXPECT_EQ(InstrumentChoice::chosenCode(QStringLiteral(" 1234-XYZA-B")), 1234);

    EXPECT_EQ(overrideRows(db), before);
    EXPECT_EQ(audited(), QStringList());
}

// The latest chosen row of the ISIN is a replacement by the chosen instrument that is still to
// be announced: the completed row takes over its replaced instrument. A replacement row of
// another host instrument is aged (with every row of that instrument) and loses its flag, so the
// completed row is current and carries the announcement; an identity row keeps its flag and the
// completed row announces nothing.
TEST_P(InstrumentChoiceTest, CompletionTakesOverAnAnnouncedReplacementByTheSameInstrument)
{
    struct Case {
        int latestHost;    // SFVP_OXU of the latest chosen row, which reports 200
        int pendingHost;   // SFVP_OXU of the pending row
        bool aged;
        QVariant xml;      // XML of the completed row
    };
    for (const Case& c : {Case{100, 200, true, QStringLiteral("D")}, Case{200, 100, false, QVariant()}}) {
        SCOPED_TRACE(c.latestHost);
        db.exec(QStringLiteral("DELETE FROM DPATVP_SFVP"));
        addRow(c.latestHost, 300, QVariant(), QStringLiteral("D"), 0);  // an older version
        addRow(c.latestHost, 200, 50, QStringLiteral("D"), 1);
        addRow(c.pendingHost, QVariant(), QVariant(), QVariant(), 2);
        const QVariantMap olderBefore = stored(c.latestHost, 300);
        const QVariantMap latestBefore = stored(c.latestHost, 200);

        EXPECT_TRUE(choose(listed(c.pendingHost, true), 200));

        const QVariantMap completed = stored(c.pendingHost, 200);
        EXPECT_EQ(column(completed, "SFVP_OLD").toInt(), 50);
        EXPECT_EQ(column(completed, "XML"), c.xml);
        EXPECT_EQ(currentHostInstrument(), c.pendingHost);
        for (const auto& [before, after] : {std::pair{olderBefore, stored(c.latestHost, 300)},
                                            std::pair{latestBefore, stored(c.latestHost, 200)}}) {
            const qint64 shift = column(after, "DANSPR").toDateTime().msecsTo(column(before, "DANSPR").toDateTime());
            // 0.001 of a day; a server's DATE keeps whole seconds, as Oracle's does
            EXPECT_EQ(shift, c.aged ? (onServer() ? 86000 : 86400) : 0);
            EXPECT_EQ(column(after, "XML"), c.aged ? QVariant() : QVariant(QStringLiteral("D")));
        }
    }
}

TEST_P(InstrumentChoiceTest, ReturnButtonIsShownOnceTheLastPendingRowIsCompleted)
{
    addRow(100, QVariant(), QVariant(), QVariant(), 0);
    addRow(200, QVariant(), QVariant(), QVariant(), 1);
    OverrideList list(db.connection());
    list.open(QString());
    EXPECT_FALSE(list.returnButtonVisible());

    EXPECT_TRUE(choose(listed(100, true), 200));
    list.open(QString());
    EXPECT_FALSE(list.returnButtonVisible());

    EXPECT_TRUE(choose(listed(200, true), 200));
    list.open(QString());
    EXPECT_TRUE(list.returnButtonVisible());
    // Two rows of one ISIN written in one go carry stamps at least a second apart.
    const auto rows = overrideRows(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_GE(column(rows[0], "DANSPR").toDateTime().msecsTo(column(rows[1], "DANSPR").toDateTime()), 1000);
}

// A database error while posting leaves nothing written (the ageing before it is rolled back
// too, no audit row) and the table out of its edit state: the same choice succeeds later.
TEST_P(InstrumentChoiceTest, DatabaseErrorWhilePostingWritesNothing)
{
    addRow(100, 200, 50, QStringLiteral("D"), 1);
    addRow(200, QVariant(), QVariant(), QVariant(), 2);
    const auto before = overrideRows(db);
    const OverrideRow row = listed(200, true);
    db.refuse(QStringLiteral("refuse"), QStringLiteral("BEFORE UPDATE OF SFVP_POROCANJE ON DPATVP_SFVP"), QString(),
              QStringLiteral("zavrnjeno"));
    InstrumentChoice choice(db.connection(), SqlDialect::Oracle, audit, kUser);

    try {
        choice.choose(row, 200, kDay);
        ADD_FAILURE() << "posted";
    } catch (const ZtfiError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("zavrnjeno"))) << e.message().toStdString();
    }
    EXPECT_EQ(overrideRows(db), before);
    EXPECT_EQ(audited(), QStringList());

    db.allow(QStringLiteral("refuse"));
    EXPECT_TRUE(choice.choose(row, 200, kDay));
    EXPECT_EQ(currentHostInstrument(), 200);
    EXPECT_EQ(audited().size(), 1);
}

TEST_P(InstrumentChoiceTest, Db2DialectWritesTheDatesOfTheInstrumentWithoutTimeOfDay)
{
    addRow(100, QVariant());
    EXPECT_TRUE(choose(listed(100, true), 200, SqlDialect::Db2));
    const QVariantMap row = stored(100, 200);
    EXPECT_EQ(column(row, "DANSPR_SFVP").toDateTime(), QDateTime(kChanged.date(), QTime(0, 0)));
    EXPECT_EQ(column(row, "AII_EXPIRY").toDateTime(), QDateTime(QDate(2030, 6, 30), QTime(0, 0)));
}

// Without the list (the headless tool): the ISIN's oldest pending row, else its current row.
TEST_P(InstrumentChoiceTest, RowOfAnIsinIsItsPendingRowElseItsCurrentRow)
{
    InstrumentChoice choice(db.connection(), SqlDialect::Oracle, audit, kUser);
    EXPECT_FALSE(choice.rowOfIsin(kIsin));
    addRow(100, 100, QVariant(), QVariant(), 0);
    addRow(200, QVariant(), QVariant(), QVariant(), 1);
    addRow(100, QVariant(), QVariant(), QVariant(), 2);

    const auto pending = choice.rowOfIsin(kIsin.toLower());
    ASSERT_TRUE(pending);
    EXPECT_EQ(pending->hostInstrument, 200);
    EXPECT_FALSE(pending->reporting.isValid());
    EXPECT_EQ(pending->changeDay, kChanged);

    db.exec(QStringLiteral("DELETE FROM DPATVP_SFVP WHERE SFVP_POROCANJE IS NULL"));
    const auto current = choice.rowOfIsin(kIsin);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->hostInstrument, 100);
    EXPECT_EQ(current->reportingCode(), 100);
}

// The whole loop: an ISIN reported under 100 gains a second live instrument 200, whose trade
// stops the selection; 200 is chosen for it, "Nazaj na nabor" opens the lists, and the report
// carries 200 with the replaced 100 as reference.
TEST(InstrumentChoiceLoopTest, StoppedSelectionGoesOnAfterTheChoiceAndReportsTheReplacement)
{
    FixtureDb db;
    db.basics();
    for (int id : {100, 200})
        db.instrument(instrument(id, kIsin)).listing({.id = id, .instrument = id});
    addOverride(db, {{"ISIN", kIsin},
                     {"SFVP_OXU", 100},
                     {"SFVP_POROCANJE", 100},
                     {"DANSPR", QDateTime(QDate(2026, 1, 1), QTime(9, 0))},
                     {"DANSPR_SFVP", kChanged},
                     {"AII_MIC", QStringLiteral("XLJU")},
                     {"AII_PRODUCT", QStringLiteral("KRT100")},
                     {"AII_CFI", QStringLiteral("ESVUFR")},
                     {"IZD", QStringLiteral("Borzni posrednik d.d.")},
                     {"DRZ_IZD", QStringLiteral("SI")},
                     {"GLVNMN", 1.5},
                     {"VLT", QStringLiteral("EUR")},
                     {"LOTEMS", 1000},
                     {"INSTRUMENTNAME", QStringLiteral("Instrument 100")}});
    db.trade({.id = 1, .day = kDay, .instrument = 200});
    FixtureApp fixture(db);
    fixture.writeIni();
    ZtfiApp& app = fixture.started();
    Selection selection(app);

    const SelectionOutcome stopped = selection.bbNaborClick(kDay, kDay);
    ASSERT_TRUE(stopped.stop);

    OverrideList& list = sharedOverrideList(app);
    list.open(QString());
    ASSERT_EQ(list.query().recordCount(), 1);
    InstrumentChoice choice(app.connection(), app.dialect(), app.auditTrail(), app.params().auditUser);
    const OverrideRow pending = OverrideRow::of(list.query(), 0);
    EXPECT_EQ(pending.hostInstrument, 200);
    EXPECT_EQ(choice.offer(pending).items, (QStringList{QStringLiteral("100-KRT100"), QStringLiteral("200-KRT200")}));
    EXPECT_TRUE(choice.chooseText(pending, QStringLiteral("200-KRT200"), kDay));
    list.open(QString());
    EXPECT_TRUE(list.returnButtonVisible());

    EXPECT_TRUE(SelectionReturn(app, selection).bNaborClick(kDay, kDay));
    EXPECT_EQ(sharedReportRows(app).query().recordCount(), 1);
    TQueryDM& codes = sharedCodeList(app).query();
    ASSERT_EQ(codes.recordCount(), 1);
    EXPECT_EQ(codes.fieldByName(QStringLiteral("IntIdent")).asInteger(), 200);
    EXPECT_EQ(codes.fieldByName(QStringLiteral("Referenca")).asInteger(), 100);

    ReportWriter writer(app.connection(), app.config(), app.errorLog(), app.auditTrail(), app.programFolder());
    const ReportOutcome report = writer.bbGenXMLClick(sharedReportRows(app), sharedCodeList(app), app.regeneration,
                                                      {kDay, kDay, QDateTime(kDay.addDays(1), QTime(9, 0))});
    ASSERT_TRUE(report.valid) << report.errorLine.toStdString();
    EXPECT_EQ(ntrsreport::faultAgainstSourceSchema(report.filePath), std::string());
    QFile file(report.filePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string text = file.readAll().toStdString();
    EXPECT_NE(text.find("<InstrumentInternalCode>200</InstrumentInternalCode>"), std::string::npos);
    EXPECT_NE(text.find("<Referenca>100</Referenca>"), std::string::npos) << text;
    EXPECT_EQ(fixture.ui().messages(),
              QStringList{QStringLiteral("Izberi ustrezen finančni instrument za poročanje!")});
}

INSTANTIATE_ENGINE_STORIES(InstrumentChoiceTest);

}  // namespace
