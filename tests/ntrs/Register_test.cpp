#include "ntrs/Register.h"

#include "core/Error.h"
#include "data/dataset/AuditTrail.h"
#include "data/dataset/Field.h"
#include "data/engine/Connection.h"
#include "ntrs/Regeneration.h"
#include "ntrs/RegisterFixture.h"
#include "state/ZtfiApp.h"
#include "support/EngineStories.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

using namespace registerfixture;

namespace {

const QString kConfirmDelete = QStringLiteral("Prosim potrdi brisanje vseh pripadajočih podatkov !");

// What the list shows of a row and which actions it offers: "serial|status text|actions", the
// actions as R (regenerate), S (set status) and D (delete).
QString shown(ReportRegister& reg)
{
    const RegisterActions open = reg.actions();
    QString actions;
    if (open.regenerate)
        actions += QLatin1Char('R');
    if (open.setStatus)
        actions += QLatin1Char('S');
    if (open.deleteReport)
        actions += QLatin1Char('D');
    return reg.query().fieldByName(QStringLiteral("ZAPST")).asString() + QLatin1Char('|')
        + reg.query().fieldByName(QStringLiteral("StatusLKP")).asString() + QLatin1Char('|') + actions;
}

// Every row of the list, in its order.
QStringList listed(ReportRegister& reg)
{
    QStringList rows;
    TQueryDM& q = reg.query();
    for (q.first(); !q.eof(); q.next())
        rows << shown(reg);
    return rows;
}

class ReportRegisterFixture : public RegisterTest {
protected:
    using RegisterTest::RegisterTest;

    ReportRegister& registerOf(ZtfiApp& app)
    {
        reg = std::make_unique<ReportRegister>(app.connection(), app.dialect(), app.auditTrail(),
                                               app.params().auditUser, app.programFolder());
        reg->refresh(QDate(2026, 3, 1), QDate(2026, 3, 31));
        return *reg;
    }

    // Makes the row of that serial the current one.
    void select(int serial)
    {
        ASSERT_TRUE(reg->query().locate(QStringLiteral("ZAPST"), {serial}));
    }

    // Override rows: (ISIN, SFVP_POROCANJE, SFVP_OXU, XML, DANSPR).
    void override(const QString& isin, int reporting, int host, const char* xml, const QDateTime& stamp)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU, XML, DANSPR, USRSPR) "
                               "VALUES ('%1', %2, %3, %4, TO_DATE('%5','dd.mm.yyyy hh24:mi:ss'), 'old')")
                    .arg(isin)
                    .arg(reporting)
                    .arg(host)
                    .arg(xml ? QStringLiteral("'%1'").arg(QLatin1String(xml)) : QStringLiteral("NULL"))
                    .arg(stamp.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"))));
    }

    std::unique_ptr<ReportRegister> reg;
};

class ReportRegisterTest : public OnEachEngine<ReportRegisterFixture> {};

// A report set walked through the states of the register: generated, sent, rejected,
// regenerated (and the unsent regeneration deleted and made again), the regeneration sent and
// confirmed; and a second set generated and deleted unsent.
TEST_P(ReportRegisterTest, AReportSetWalksThroughTheStatesOfTheRegister)
{
    ZtfiApp& app = start();
    for (int id : {1, 2, 3, 4})
        instrument(id);
    reported(1, 11, 1, 1);
    reported(1, 12, 2, 2);
    imported(31, kDay, 1);
    // Overrides of the report's instruments waiting for their announcement, and of another one.
    const QDateTime stamp(QDate(2026, 2, 1), QTime(8, 0));
    override(QStringLiteral("SI0000000011"), 9, 9, nullptr, stamp.addDays(-30));
    override(QStringLiteral("SI0000000011"), 1, 1, "D", stamp);
    override(QStringLiteral("SI0000000022"), 2, 2, "D", stamp);
    override(QStringLiteral("SI0000000033"), 3, 3, "D", stamp);
    override(QStringLiteral("SI0000000044"), 4, 4, "D", stamp);
    generate(app, 1, kDay, kDay);

    ReportRegister& list = registerOf(app);
    ScriptedInteraction& ui = fixture.ui();
    EXPECT_EQ(listed(list), QStringList{QStringLiteral("1||D")}) << "generated, not sent";

    send(1, 1);
    list.refresh(QDate(2026, 3, 1), QDate(2026, 3, 31));
    EXPECT_EQ(listed(list), QStringList{QStringLiteral("1||S")}) << "sent";

    qint64 mark = auditMark();
    select(1);
    list.reject();
    EXPECT_EQ(listed(list), QStringList{QStringLiteral("1|Zavrnjeno|R")}) << "rejected, list re-read";
    EXPECT_EQ(auditSince(mark), QStringList{QStringLiteral("^DPATVP")});

    // The regeneration of the rejected report; then the generation registers the set's next row.
    select(1);
    Regeneration regeneration(app);
    const RegenerationOutcome outcome = regeneration.bbReGenerirajClick(*list.currentRow());
    ASSERT_TRUE(outcome.listsOpened);
    EXPECT_TRUE(outcome.generationEnabled);
    EXPECT_EQ(app.regeneration.previousSerial, 2);
    generate(app, 1, kDay, kDay);
    list.refresh(QDate(2026, 3, 1), QDate(2026, 3, 31));
    EXPECT_EQ(listed(list), (QStringList{QStringLiteral("2|Ponovno generirano|D"), QStringLiteral("1|Zavrnjeno|")}))
        << "the regeneration is the latest of its set: the rejected row can no longer be regenerated";

    // The unsent regeneration deleted: only its register row goes.
    mark = auditMark();
    select(2);
    ui.answerOkCancel(true);
    EXPECT_TRUE(list.deleteReport(ui));
    EXPECT_EQ(listed(list), QStringList{QStringLiteral("1|Zavrnjeno|R")});
    EXPECT_EQ(auditSince(mark), QStringList{QStringLiteral("-DPATVP")});
    EXPECT_EQ(texts(QStringLiteral("SELECT IDPSL FROM DPATVPPSL WHERE DPATVPID=1 ORDER BY IDPSL")),
              (QStringList{QStringLiteral("11"), QStringLiteral("12")}));
    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID FROM DPATVPIMP WHERE IDIMP=31")), QStringList{QStringLiteral("1")});
    EXPECT_TRUE(fileExists(fileName(1)));
    EXPECT_TRUE(fileExists(fileName(2))) << "the file of a regeneration is not the register's to delete";
    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID || '/' || ZAPST FROM DPATVPXML ORDER BY DPATVPID, ZAPST")),
              QStringList{QStringLiteral("1/1")})
        << "the digest of the deleted regeneration's file goes with its register row";

    // Regenerated again, sent and confirmed.
    select(1);
    Regeneration(app).bbReGenerirajClick(*list.currentRow());
    generate(app, 1, kDay, kDay);
    send(1, 2, kSent.addDays(1));
    list.refresh(QDate(2026, 3, 1), QDate(2026, 3, 31));
    EXPECT_EQ(listed(list), (QStringList{QStringLiteral("2|Ponovno generirano|S"), QStringLiteral("1|Zavrnjeno|")}));

    mark = auditMark();
    ui.clearCalls();
    select(2);
    list.confirm();
    EXPECT_EQ(listed(list), (QStringList{QStringLiteral("2|Ponovno generirano|S"), QStringLiteral("1|Zavrnjeno|")}))
        << "the list is not re-read";
    list.refresh(QDate(2026, 3, 1), QDate(2026, 3, 31));
    EXPECT_EQ(listed(list), (QStringList{QStringLiteral("2|Potrjeno|"), QStringLiteral("1|Zavrnjeno|")}));
    EXPECT_EQ(auditSince(mark), QStringList{QStringLiteral("^DPATVP")});
    EXPECT_TRUE(ui.calls().empty()) << "no pause between the overrides";

    // The announcement flags of the report's instruments (traded and imported) are cleared on
    // their current rows, each of which stays the only current row of its ISIN.
    EXPECT_EQ(texts(QStringLiteral("SELECT ISIN || ':' || NVL(XML, '-') || ':' || USRSPR FROM DPATVP_SFVP F "
                                   "WHERE DANSPR=(SELECT max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F.ISIN) ORDER BY ISIN")),
              (QStringList{QStringLiteral("SI0000000011:-:ana"), QStringLiteral("SI0000000022:-:ana"),
                           QStringLiteral("SI0000000033:-:ana"), QStringLiteral("SI0000000044:D:old")}));
    EXPECT_EQ(texts(QStringLiteral("SELECT ISIN FROM DPATVP_SFVP GROUP BY ISIN, DANSPR HAVING COUNT(*) > 1")),
              QStringList{});

    // A second set of the day, generated and deleted before it was sent: its rows, the links of
    // its imported rows and its file go with it.
    reported(2, 13, 1, 3);
    imported(32, kDay, 2);
    generate(app, 2, kDay, kDay);
    list.refresh(QDate(2026, 3, 1), QDate(2026, 3, 31));
    const int secondSerial = db.value(QStringLiteral("SELECT ZAPST FROM DPATVP WHERE DPATVPID=2")).toInt();
    const QString secondFile = fileName(secondSerial);
    ASSERT_TRUE(fileExists(secondFile));
    select(secondSerial);
    EXPECT_EQ(shown(list), QString::number(secondSerial) + QStringLiteral("||D"));

    ui.clearCalls();
    ui.answerOkCancel(false);
    EXPECT_FALSE(list.deleteReport(ui)) << "cancelled";
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVP WHERE DPATVPID=2")).toInt(), 1);

    mark = auditMark();
    ui.answerOkCancel(true);
    EXPECT_TRUE(list.deleteReport(ui));
    EXPECT_EQ(ui.texts(QStringLiteral("confirmOkCancel")), (QStringList{kConfirmDelete, kConfirmDelete}));
    EXPECT_EQ(auditSince(mark), QStringList{QStringLiteral("-DPATVP")}) << "contents and links by plain statements";
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL WHERE DPATVPID=2")), QStringList{QStringLiteral("0")});
    EXPECT_EQ(texts(QStringLiteral("SELECT NVL(DPATVPID, 0) FROM DPATVPIMP WHERE IDIMP=32")), QStringList{QStringLiteral("0")});
    EXPECT_FALSE(fileExists(secondFile));
    EXPECT_EQ(listed(list), (QStringList{QStringLiteral("2|Potrjeno|"), QStringLiteral("1|Zavrnjeno|")}));
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL WHERE DPATVPID=1")), QStringList{QStringLiteral("2")})
        << "the confirmed set keeps its contents";
    EXPECT_EQ(texts(QStringLiteral("SELECT DPATVPID || '/' || ZAPST FROM DPATVPXML ORDER BY DPATVPID, ZAPST")),
              (QStringList{QStringLiteral("1/1"), QStringLiteral("1/2")}));
}

TEST_P(ReportRegisterTest, StatusTextsOfTheList)
{
    const struct {
        QVariant status;
        const char* text;
    } cases[] = {
        {QVariant(), ""},      {0, ""},          {1, "Potrjeno"}, {2, "Zavrnjeno"},
        {3, "Ponovno generirano"}, {5, "Ponovno generirano"}, {-1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportRegister::statusText(c.status), QString::fromUtf8(c.text)) << c.status.toString().toStdString();
}

// The list: reports of the range of reporting days, newest year first, then highest serial.
TEST_P(ReportRegisterTest, TheListHoldsTheRangeNewestYearAndHighestSerialFirst)
{
    ZtfiApp& app = start();
    db.report({.id = 1, .serial = 7, .reportDay = QDate(2025, 12, 30), .sentAt = QDateTime(QDate(2025, 12, 31), QTime(8, 0))});
    db.report({.id = 2, .serial = 1, .reportDay = QDate(2026, 1, 5), .sentAt = QDateTime(QDate(2026, 1, 6), QTime(8, 0))});
    db.report({.id = 3, .serial = 2, .reportDay = QDate(2026, 1, 6), .sentAt = QDateTime(QDate(2026, 1, 7), QTime(8, 0))});
    db.report({.id = 4, .serial = 3, .reportDay = QDate(2026, 2, 1)});
    db.report({.id = 5, .serial = 6, .reportDay = QDate(2025, 12, 29)});

    ReportRegister& list = registerOf(app);
    list.refresh(QDate(2025, 12, 29), QDate(2026, 1, 6));
    QStringList ids;
    for (list.query().first(); !list.query().eof(); list.query().next())
        ids << list.query().fieldByName(QStringLiteral("DPATVPID")).asString();
    EXPECT_EQ(ids, (QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("5")}));

    QStringList labels;
    for (const Field* f : list.query().fields())
        labels << f->displayLabel();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("ID za DPATVP"), QStringLiteral("Dan kreiranja poročila"),
                                   QStringLiteral("Datum pošiljanja"), QStringLiteral("Zaporedna številka"),
                                   QStringLiteral("XML"), QStringLiteral("Status"), QStringLiteral("StatusLKP"),
                                   QStringLiteral("DanOd")}));
}

// Which actions a row offers, by its send date, status and whether it is the latest of its set.
TEST_P(ReportRegisterTest, ActionsOfARowFollowItsStatusSendDateAndSerial)
{
    ZtfiApp& app = start();
    const QDateTime sent(QDate(2026, 3, 3), QTime(9, 0));
    const QDateTime dayZero(QDate(1899, 12, 30), QTime(0, 0));
    const struct {
        int serial;
        QDateTime sentAt;
        int status;
        const char* actions;
    } cases[] = {
        {1, {}, 0, "D"},         {2, dayZero, 0, "D"},  {3, sent, 0, "S"},  {4, sent, 1, ""},
        {5, sent, 3, "S"},       {6, {}, 3, "D"},       {7, sent, 5, "S"},
    };
    for (const auto& c : cases)
        db.report({.id = c.serial, .serial = c.serial, .reportDay = kDay, .sentAt = c.sentAt, .status = c.status});
    // A rejected report is regenerated only while it is the latest of its set.
    db.report({.id = 20, .serial = 8, .reportDay = kDay, .sentAt = sent, .status = 2});
    db.report({.id = 21, .serial = 9, .reportDay = kDay, .sentAt = sent, .status = 2});
    db.report({.id = 21, .serial = 10, .reportDay = kDay, .status = 3});
    db.report({.id = 22, .serial = 11, .reportDay = kDay, .status = 2});

    ReportRegister& list = registerOf(app);
    for (const auto& c : cases) {
        select(c.serial);
        EXPECT_EQ(shown(list).section(QLatin1Char('|'), 2), QString::fromLatin1(c.actions)) << "serial " << c.serial;
    }
    select(8);
    EXPECT_EQ(shown(list), QStringLiteral("8|Zavrnjeno|R"));
    select(9);
    EXPECT_EQ(shown(list), QStringLiteral("9|Zavrnjeno|")) << "a regeneration of the set holds a higher serial";
    select(11);
    EXPECT_EQ(shown(list), QStringLiteral("11|Zavrnjeno|D")) << "not sent";
}

// The confirmation's two steps are independent: when the overrides cannot be written, the
// status already committed stays; a report without override rows changes only its status.
TEST_P(ReportRegisterTest, ConfirmingCommitsTheStatusBeforeTheOverrides)
{
    ZtfiApp& app = start();
    instrument(1);
    instrument(2);
    reported(1, 11, 1, 1);
    db.report({.id = 1, .serial = 1, .reportDay = kDay, .sentAt = kSent});
    reported(2, 12, 2, 2);
    db.report({.id = 2, .serial = 2, .reportDay = kDay, .sentAt = kSent});
    override(QStringLiteral("SI0000000011"), 1, 1, "D", QDateTime(QDate(2026, 2, 1), QTime(8, 0)));
    db.refuse(QStringLiteral("no_override_update"), QStringLiteral("BEFORE UPDATE ON DPATVP_SFVP"), QString(),
              QStringLiteral("locked"));

    ReportRegister& list = registerOf(app);
    select(1);
    try {
        list.confirm();
        FAIL() << "the override step must fail";
    } catch (const ZtfiError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Napaka pri insertu v DPATVP_SFVP!\nlocked"));
    }
    EXPECT_EQ(texts(QStringLiteral("SELECT STATUS FROM DPATVP WHERE DPATVPID=1")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(texts(QStringLiteral("SELECT XML FROM DPATVP_SFVP")), QStringList{QStringLiteral("D")});

    select(2);
    list.confirm();
    EXPECT_EQ(texts(QStringLiteral("SELECT STATUS FROM DPATVP WHERE DPATVPID=2")), QStringList{QStringLiteral("1")});
}

// A row that changed since the list was read is never written in place of another row.
TEST_P(ReportRegisterTest, AStaleRowIsNotRejectedAndAFailedDeleteKeepsEverything)
{
    ZtfiApp& app = start();
    instrument(1);
    db.report({.id = 1, .serial = 1, .reportDay = kDay, .sentAt = kSent});
    db.report({.id = 1, .serial = 2, .reportDay = kDay, .sentAt = kSent, .status = 3});
    reported(2, 12, 1, 2);
    imported(31, kDay, 2);
    db.report({.id = 2, .serial = 3, .reportDay = kDay, .file = fileName(3)});

    ReportRegister& list = registerOf(app);
    select(1);
    db.exec(QStringLiteral("UPDATE DPATVP SET STATUS=1 WHERE DPATVPID=1 AND ZAPST=1"));
    try {
        list.reject();
        FAIL() << "the row changed since it was listed";
    } catch (const ZtfiError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Napaka pri popravku v DPATVP!"));
    }
    EXPECT_EQ(texts(QStringLiteral("SELECT ZAPST || ':' || STATUS FROM DPATVP WHERE DPATVPID=1 ORDER BY ZAPST")),
              (QStringList{QStringLiteral("1:1"), QStringLiteral("2:3")}));

    // The audit trail cannot be written: the register row stays, with the steps before committed.
    db.refuse(QStringLiteral("no_audit"), QStringLiteral("BEFORE INSERT ON ACT"), QString(), QStringLiteral("full"));
    select(3);
    fixture.ui().answerOkCancel(true);
    try {
        list.deleteReport(fixture.ui());
        FAIL() << "the audited delete must fail";
    } catch (const ZtfiError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Napaka pri brisanju iz DPATVP!\nfull"));
    }
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM DPATVP WHERE DPATVPID=2")), QStringList{QStringLiteral("1")});
    EXPECT_EQ(texts(QStringLiteral("SELECT COUNT(*) FROM DPATVPPSL WHERE DPATVPID=2")), QStringList{QStringLiteral("0")});
}

INSTANTIATE_ENGINE_STORIES(ReportRegisterTest);

}  // namespace
