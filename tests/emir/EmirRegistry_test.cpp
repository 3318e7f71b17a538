#include "emir/EmirRegistry.h"

#include "core/Error.h"
#include "data/dataset/Field.h"
#include "emir/EmirDisputeEditor.h"
#include "emir/EmirReportEditor.h"
#include "emir/EmirFixture.h"
#include "support/FixtureDb.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

using namespace emirfixture;

namespace {

const QString kDeleteQuestion = QStringLiteral("brisati izbrano poročilo ?");
const QString kCancelQuestion = QStringLiteral(
    "Preklic poročila prekliče trenutno poročilo in generira novo poročilo za preklic. Želite nadaljevati ?");

class EmirRegistryTest : public ::testing::Test {
protected:
    // The fixture's alias is not "LB": the registry works on the connection it is given.
    FixtureDb db;
    ScriptedInteraction ui;
    EmirRegistry reg{db.connection(), SqlDialect::Oracle};

    // "serial|shown cancelled|serial it cancels" of every listed report.
    QStringList listed()
    {
        QStringList rows;
        TQueryDM& q = reg.reports();
        const int current = q.recNo();
        for (q.first(); !q.eof(); q.next())
            rows << q.fieldByName(QStringLiteral("ZapSt")).asString() + QLatin1Char('|')
                    + q.fieldByName(QStringLiteral("PreklicanoLKP")).asString() + QLatin1Char('|')
                    + q.fieldByName(QStringLiteral("ZapStPreklicano")).asString();
        if (current >= 0)
            q.setRecNo(current);
        return rows;
    }

    void showAll()
    {
        reg.setPeriod(QDate(2000, 1, 1), QDate(2099, 12, 31));
        reg.reloadReports();
    }
};

TEST_F(EmirRegistryTest, FirstReportOfAnEmptyTableGetsSerialOneAndIdentifierFromItsSequence)
{
    EmirReportEditor editor(db.connection(), SqlDialect::Oracle);
    EmirReportValues values = EmirReportEditor::newReport(QDate(2024, 2, 10));
    EXPECT_EQ(values.firstDay, QDate(2024, 2, 1));
    EXPECT_EQ(values.lastDay, QDate(2024, 2, 29));
    EXPECT_EQ(values.unconfirmed, 0);
    const qint64 id = editor.save(values, 0);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT EMIRPorociloId, ZapSt, StNepotrjenih, Preklicano FROM EMIRPOROCILO")),
              QStringList{QStringLiteral("1|1|0|N")});
    EXPECT_EQ(db.value(QStringLiteral("SELECT value FROM ztfi_sequence WHERE name = 'EMIRPOROCILO_ID_SEQ'")).toInt(), 1);
    // The next report follows the greatest serial, whatever its identifier.
    add(db, Report{.id = 50, .serial = 9});
    EXPECT_EQ(editor.save(values, 0), 2);
    EXPECT_EQ(db.value(QStringLiteral("SELECT ZapSt FROM EMIRPOROCILO WHERE EMIRPorociloId = 2")).toInt(), 10);
}

TEST_F(EmirRegistryTest, CancellingReportSevenOfNineCreatesTenAndDeletingTenRevivesSeven)
{
    for (int serial = 1; serial <= 9; ++serial)
        add(db, Report{.id = serial, .serial = serial, .firstDay = QDate(2024, serial, 1), .lastDay = QDate(2024, serial, 28),
                       .unconfirmed = serial, .reportDay = QDate(2024, serial, 28)});
    add(db, Dispute{.id = 1, .report = 7});
    db.exec(QStringLiteral("UPDATE ztfi_sequence SET value = 9 WHERE name = 'EMIRPOROCILO_ID_SEQ'"));
    showAll();
    reg.reloadReports(7);

    ui.answerYesNo(true);
    const std::optional<qint64> created = reg.cancelReport(ui);
    ASSERT_EQ(created, 10);
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")), QStringList{kCancelQuestion});
    EXPECT_EQ(listed().mid(6), (QStringList{"7|Da|", "10|Ne|7", "8|Ne|", "9|Ne|"}));
    // The new report is selected, with the period and day of the cancelled one, 0 unconfirmed
    // and no disputes; the cancelled one keeps its dispute and carries the time of cancelling.
    const EmirReportRow row = *reg.currentReport();
    EXPECT_EQ(row.id, 10);
    EXPECT_EQ(row.firstDay, QDate(2024, 7, 1));
    EXPECT_EQ(row.reportDay, QDate(2024, 7, 28));
    EXPECT_EQ(row.unconfirmed, 0);
    EXPECT_EQ(row.cancelsSerial, 7);
    EXPECT_TRUE(reg.disputes().isEmpty());
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM EMIRPOSEL WHERE EMIRPorociloId = 7")).toInt(), 1);
    EXPECT_FALSE(db.value(QStringLiteral("SELECT DanCasPreklica FROM EMIRPOROCILO WHERE EMIRPorociloId = 7")).isNull());

    // The cancelled report is frozen: only its file can be written.
    reg.reloadReports(7);
    const EmirActions frozen = reg.actions();
    EXPECT_TRUE(frozen.emirXml);
    EXPECT_FALSE(frozen.editRpt || frozen.deleteRpt || frozen.cancel || frozen.importXls || frozen.addPsl);
    EXPECT_FALSE(reg.deleteReport(ui));
    EXPECT_EQ(ui.messages().last(), QStringLiteral("Brisanje preklicanega poročila ni dovoljeno."));

    reg.reloadReports(10);
    ui.answerYesNo(true);
    EXPECT_TRUE(reg.deleteReport(ui));
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")).last(), QStringLiteral("Želite ") + kDeleteQuestion);
    EXPECT_EQ(listed().mid(6), (QStringList{"7|Ne|", "8|Ne|", "9|Ne|"}));
    EXPECT_FALSE(db.value(QStringLiteral("SELECT DanCasPreklica FROM EMIRPOROCILO WHERE EMIRPorociloId = 7")).isNull());
}

TEST_F(EmirRegistryTest, DeletingAReportAsksAboutItsFileAndTakesItsDisputesAlong)
{
    add(db, Report{.id = 1, .serial = 1});
    add(db, Report{.id = 2, .serial = 2});
    add(db, Dispute{.id = 1, .report = 1});
    add(db, Dispute{.id = 2, .report = 2});
    db.exec(QStringLiteral("UPDATE EMIRPOROCILO SET DanCasKreiranja = 45000.5 WHERE EMIRPorociloId = 1"));
    showAll();
    reg.reloadReports(1);

    ui.answerYesNo(false);
    EXPECT_FALSE(reg.deleteReport(ui));
    ui.answerYesNo(true);
    EXPECT_TRUE(reg.deleteReport(ui));
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")),
              QStringList(2, QStringLiteral("POZOR. Za poročilo je že generirana XML datoteka. Želite vseeno ") + kDeleteQuestion));
    EXPECT_EQ(db.texts(QStringLiteral("SELECT EMIRPoselId, EMIRPorociloId FROM EMIRPOSEL")), QStringList{"2|2"});
    EXPECT_EQ(listed(), QStringList{"2|Ne|"});
}

TEST_F(EmirRegistryTest, TheBoundsFilterOnTheFirstDayOfThePeriodAndAnEmptyBoundIsNone)
{
    add(db, Report{.id = 1, .serial = 1, .firstDay = QDate(2024, 3, 1)});
    add(db, Report{.id = 2, .serial = 2, .firstDay = QDate(2024, 5, 1)});
    add(db, Report{.id = 3, .serial = 3, .firstDay = QDate(2024, 7, 1)});
    const struct {
        QDate from, to;
        QStringList serials;
    } cases[] = {
        {QDate(), QDate(2024, 5, 1), {"1", "2"}},
        {QDate(2024, 5, 1), QDate(), {"2", "3"}},
        {QDate(2024, 4, 1), QDate(2024, 6, 30), {"2"}},
        {QDate(), QDate(), {"1", "2", "3"}},
    };
    for (const auto& c : cases) {
        reg.setPeriod(c.from, c.to);
        reg.reloadReports();
        QStringList serials;
        for (reg.reports().first(); !reg.reports().eof(); reg.reports().next())
            serials << reg.reports().fieldByName(QStringLiteral("ZapSt")).asString();
        EXPECT_EQ(serials, c.serials) << c.from.toString().toStdString() << " " << c.to.toString().toStdString();
    }
    // Changing a bound closes both lists until the next reload.
    reg.setPeriod(QDate(2024, 1, 1), QDate());
    EXPECT_FALSE(reg.reports().isActive());
    EXPECT_FALSE(reg.disputes().isActive());
    EXPECT_FALSE(reg.actions().emirXml);
}

TEST_F(EmirRegistryTest, TheActionsFollowTheCurrentReportAndDispute)
{
    const struct {
        bool report, cancelled, dispute;
        const char* open;  // the enabled actions, by initials
    } cases[] = {
        {false, false, false, "A R"},
        {true, false, false, "A E D C R X I P"},
        {true, false, true, "A E D C R X I P S B"},
        {true, true, true, "A R X"},
    };
    for (const auto& c : cases) {
        const EmirActions a = EmirActions::forSelection(c.report, c.cancelled, c.dispute);
        QStringList open;
        const std::pair<bool, const char*> flags[] = {
            {a.addRpt, "A"}, {a.editRpt, "E"}, {a.deleteRpt, "D"}, {a.cancel, "C"}, {a.refresh, "R"},
            {a.emirXml, "X"}, {a.importXls, "I"}, {a.addPsl, "P"}, {a.editPsl, "S"}, {a.deletePsl, "B"}};
        for (const auto& [on, initial] : flags)
            if (on)
                open << QLatin1String(initial);
        EXPECT_EQ(open.join(QLatin1Char(' ')), QLatin1String(c.open));
    }
}

TEST_F(EmirRegistryTest, DisputesAreAddedChangedAndDeletedWithTheDisputeList)
{
    add(db, Report{.id = 4, .serial = 1});
    showAll();
    EmirDisputeEditor editor(db.connection(), SqlDialect::Oracle, 4);
    EmirDisputeValues values{.party = QStringLiteral(" Stranka "), .counterparty = QStringLiteral("Banka"),
                             .firstDay = QDate(2024, 5, 3), .amount = 1234.5, .notes = QStringLiteral("n")};
    const qint64 id = editor.save(values, 0);
    // Texts are stored as entered; an open dispute has no last day.
    EXPECT_EQ(db.texts(QStringLiteral("SELECT EMIRPoselId, Stranka, DatZakljucka IS NULL, Vrednost, EMIRPorociloId FROM EMIRPOSEL")),
              QStringList{QStringLiteral("1| Stranka |1|1234.5|4")});
    values.lastDay = QDate(2024, 5, 3);
    editor.save(values, id);
    EXPECT_EQ(editor.load(id).lastDay, QDate(2024, 5, 3));

    reg.reloadReports(4);
    reg.reloadDisputes(id);
    EXPECT_TRUE(reg.actions().deletePsl);
    ui.answerYesNo(true);
    EXPECT_TRUE(reg.deleteDispute(ui));
    EXPECT_EQ(ui.texts(QStringLiteral("confirmYesNo")), QStringList{QStringLiteral("Želite brisati izbran spor ?")});
    EXPECT_TRUE(reg.disputes().isEmpty());
    EXPECT_FALSE(reg.actions().deletePsl);

    try {
        editor.load(id);
        FAIL() << "a deleted dispute was found";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Ne najdem posla v tabeli, ID = 1"));
    }
}

TEST_F(EmirRegistryTest, TheDialogChecksRunInTheirOrder)
{
    const EmirReportValues goodReport = EmirReportEditor::newReport(QDate(2024, 5, 5));
    const struct {
        void (*spoil)(EmirReportValues&);
        EmirReportEditor::FieldId field;
        const char* message;
    } reportCases[] = {
        {[](EmirReportValues& v) { v.reportDay = QDate(); v.firstDay = QDate(); }, EmirReportEditor::FieldId::ReportDay,
         "Neveljaven datum poročila."},
        {[](EmirReportValues& v) { v.firstDay = QDate(); v.unconfirmed = -1; }, EmirReportEditor::FieldId::FirstDay,
         "Neveljaven datum od."},
        {[](EmirReportValues& v) { v.lastDay = QDate(); }, EmirReportEditor::FieldId::LastDay, "Neveljaven datum do."},
        {[](EmirReportValues& v) { v.unconfirmed = -1; }, EmirReportEditor::FieldId::Unconfirmed,
         "Neveljavno število nepotrjenih transakcij."},
        {[](EmirReportValues& v) { v.unconfirmed.reset(); }, EmirReportEditor::FieldId::Unconfirmed,
         "Neveljavno število nepotrjenih transakcij."},
    };
    EXPECT_FALSE(EmirReportEditor::check(goodReport));
    EmirReportEditor reports(db.connection(), SqlDialect::Oracle);
    for (const auto& c : reportCases) {
        EmirReportValues v = goodReport;
        c.spoil(v);
        const auto failure = EmirReportEditor::check(v);
        ASSERT_TRUE(failure) << c.message;
        EXPECT_EQ(failure->field, c.field);
        EXPECT_EQ(failure->message, QString::fromUtf8(c.message));
        EXPECT_THROW(reports.save(v, 0), ZtfiError);
    }
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM EMIRPOROCILO")).toInt(), 0);

    const EmirDisputeValues goodDispute{.party = QStringLiteral("A"), .counterparty = QStringLiteral("B"),
                                        .firstDay = QDate(2024, 5, 3)};
    const struct {
        void (*spoil)(EmirDisputeValues&);
        EmirDisputeEditor::FieldId field;
        const char* message;
    } disputeCases[] = {
        {[](EmirDisputeValues& v) { v.party = QStringLiteral("  "); v.counterparty.clear(); },
         EmirDisputeEditor::FieldId::Party, "Neveljavna stranka."},
        {[](EmirDisputeValues& v) { v.counterparty = QStringLiteral("\t"); v.firstDay = QDate(); },
         EmirDisputeEditor::FieldId::Counterparty, "Neveljavna nasprotna stranka."},
        {[](EmirDisputeValues& v) { v.firstDay = QDate(); v.lastDayUnreadable = true; },
         EmirDisputeEditor::FieldId::FirstDay, "Neveljaven datum začetka spora."},
        {[](EmirDisputeValues& v) { v.lastDayUnreadable = true; }, EmirDisputeEditor::FieldId::LastDay,
         "Neveljaven datum zaključka spora."},
        {[](EmirDisputeValues& v) { v.lastDay = QDate(2024, 5, 2); }, EmirDisputeEditor::FieldId::FirstDay,
         "Datum začetka spora mora biti pred datumom zaključka spora."},
        {[](EmirDisputeValues& v) { v.party = QString(251, QLatin1Char('x')); }, EmirDisputeEditor::FieldId::Party,
         "Stranka: vrednost je daljša od dovoljene (dolžina 251, največ 250)."},
        {[](EmirDisputeValues& v) { v.counterparty = QStringLiteral("B\x01"); }, EmirDisputeEditor::FieldId::Counterparty,
         "Nasprotna stranka: vrednost vsebuje nedovoljen kontrolni znak."},
        {[](EmirDisputeValues& v) { v.notes = QString(300, QLatin1Char('n')); }, EmirDisputeEditor::FieldId::Notes,
         "Opomba: vrednost je daljša od dovoljene (dolžina 300, največ 250)."},
    };
    EXPECT_FALSE(EmirDisputeEditor::check(goodDispute));
    EmirDisputeValues longest = goodDispute;
    longest.party = longest.notes = QString(250, QChar(u'č'));
    EXPECT_FALSE(EmirDisputeEditor::check(longest));
    EmirDisputeValues sameDay = goodDispute;
    sameDay.lastDay = sameDay.firstDay;
    EXPECT_FALSE(EmirDisputeEditor::check(sameDay));
    for (const auto& c : disputeCases) {
        EmirDisputeValues v = goodDispute;
        c.spoil(v);
        const auto failure = EmirDisputeEditor::check(v);
        ASSERT_TRUE(failure) << c.message;
        EXPECT_EQ(failure->field, c.field);
        EXPECT_EQ(failure->message, QString::fromUtf8(c.message));
    }

    for (qint64 report : {0, -3}) {
        try {
            EmirDisputeEditor(db.connection(), SqlDialect::Oracle, report);
            FAIL() << "a dispute editor without a report";
        } catch (const ZtfiError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Neveljaven ID poročila."));
        }
    }
    try {
        reports.load(77);
        FAIL() << "a missing report was found";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Ne najdem poročila v tabeli, ID = 77"));
    }
}

TEST_F(EmirRegistryTest, AFailingWriteRollsBackTheWholeCancellation)
{
    add(db, Report{.id = 1, .serial = 1});
    showAll();
    reg.reloadReports(1);
    // The next identifier is taken: the insert of the new report fails after the update.
    add(db, Report{.id = 2, .serial = 5, .firstDay = QDate(1999, 1, 1)});
    db.exec(QStringLiteral("UPDATE ztfi_sequence SET value = 1 WHERE name = 'EMIRPOROCILO_ID_SEQ'"));
    ui.answerYesNo(true);
    EXPECT_THROW(reg.cancelReport(ui), DatabaseError);
    EXPECT_EQ(db.texts(QStringLiteral("SELECT EMIRPorociloId, Preklicano, DanCasPreklica IS NULL FROM EMIRPOROCILO ORDER BY 1")),
              (QStringList{"1|N|1", "2|N|1"}));
    EXPECT_FALSE(db.connection().inTransaction());
}

}  // namespace
