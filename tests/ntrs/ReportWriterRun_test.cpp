#include "ntrs/ReportWriterFixture.h"

#include "core/Error.h"
#include "core/AtomicFile.h"
#include "core/CancellableAction.h"
#include "ntrs/NtrsSchema.h"
#include "support/EngineStories.h"
#include "support/ScriptedInteraction.h"
#include "support/SmallDisk.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace fixture;
using namespace ntrsreport;

namespace {

// The generation runs on each engine.
class ReportWriterRunTest : public OnEachEngine<ReportWriterFixture> {};

const QString kFirstReport = QStringLiteral("TRDAT01_1234567000_0001_26.xml");

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ZtfiError& e) {
        return e.message();
    }
    return QString();
}

TEST_P(ReportWriterRunTest, FirstReportOfTheYearIsRegisteredWithSerialOneAndAudited)
{
    exchangeTrade();

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(outcome.fileName, kFirstReport);
    EXPECT_EQ(outcome.filePath, QDir(folder.path()).filePath(kFirstReport));
    EXPECT_FALSE(outcome.showErrors());
    EXPECT_EQ(reportFiles(), QStringList{kFirstReport});
    EXPECT_EQ(db.value(QStringLiteral("SELECT DPATVPID || '/' || ZAPST || '/' || STATUS || '/' || XML_FILE || '/' || "
                                       "TO_CHAR(DANPOROCANJA, 'dd.mm.yyyy') || '/' || TO_CHAR(DANOD, 'dd.mm.yyyy') || "
                                       "'/' || NVL(TO_CHAR(DAN, 'dd.mm.yyyy'), '-1') FROM DPATVP"))
                  .toString(),
              QStringLiteral("1/1/0/") + kFirstReport + QStringLiteral("/02.03.2026/02.03.2026/-1"));
    EXPECT_EQ(db.value(QStringLiteral("SELECT SfAct || Tbl || '|' || Usr || '|' || Cnt FROM ACT")).toString(),
              QStringLiteral("+DPATVP|TESTER|1#|DPATVPID#|02.03.2026#|DANPOROCANJA#|#|DAN#|1#|ZAPST#|") + kFirstReport
                  + QStringLiteral("#|XML_FILE#|0#|STATUS#|02.03.2026#|DANOD#|"));
    // The schema the report names stands beside it, as the program carries it.
    QFile schema(QDir(folder.path()).filePath(QStringLiteral("NTRS.xsd")));
    ASSERT_TRUE(schema.open(QIODevice::ReadOnly));
    QFile source(sourcePath(QStringLiteral("schema/NTRS.xsd")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    EXPECT_EQ(schema.readAll(), source.readAll());
}

// A generation that was killed leaves its temporary file; the next one removes it, and only
// that: a report being written by another generation and files of other names stay.
TEST_P(ReportWriterRunTest, TheNextGenerationRemovesWhatAKilledOneLeft)
{
    exchangeTrade();
    const QString abandoned = QStringLiteral("TRDAT01_1234567000_0007_26.xml.k1LLed.part");
    const QStringList others{QStringLiteral("ZTFI.ini.k1LLed.part"),
                             QStringLiteral("TRDAT01_1234567000_0007_26.xml.k1LL.part"),
                             QStringLiteral("porocilo.xml.k1LLed.part"),
                             QStringLiteral("TRDAT01_1234567000_0007_26.xml.backup")};
    for (const QString& name : QStringList{abandoned} + others) {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    AtomicFile beingWritten(QDir(folder.path()).filePath(QStringLiteral("TRDAT01_1234567000_0008_26.xml")));

    ASSERT_TRUE(generate().valid);

    QStringList expected = others + QStringList{kFirstReport, QFileInfo(beingWritten.temporaryPath()).fileName()};
    expected.sort();
    QStringList files = reportFiles();
    files.sort();
    EXPECT_EQ(files, expected);
}

// The serial counts the reports sent in the year of the report; the name carries that year.
TEST_P(ReportWriterRunTest, SerialCountsReportsSentInTheYear)
{
    db.report({.id = 7, .serial = 4, .sentAt = QDateTime(QDate(2026, 1, 5), QTime(8, 0)),
               .file = QStringLiteral("TRDAT01_1234567000_0004_26.xml")})
        .report({.id = 6, .serial = 30, .sentAt = QDateTime(QDate(2025, 12, 30), QTime(8, 0)),
                 .file = QStringLiteral("TRDAT01_1234567000_0030_25.xml")})
        .report({.id = 8, .serial = 9, .file = QStringLiteral("TRDAT01_1234567000_0009_25.xml")});
    exchangeTrade();
    openSelection();

    EXPECT_EQ(press().fileName, QStringLiteral("TRDAT01_1234567000_0005_26.xml"));

    // In a new year nothing is sent yet.
    db.exec(QStringLiteral("DELETE FROM DPATVP WHERE DAN IS NULL"));
    openSelection();
    EXPECT_EQ(press(QDateTime(QDate(2027, 1, 4), QTime(8, 0))).fileName,
              QStringLiteral("TRDAT01_1234567000_0001_27.xml"));
}

TEST_P(ReportWriterRunTest, TraceLinesInOrder)
{
    exchangeTrade();

    generate();

    QFile file(log.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.mid(line.indexOf(QStringLiteral(" : ")) + 3);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Generiranje xml-ja!"), QStringLiteral("pre TXMLDocument.Create!"),
                                  QStringLiteral("pre xmlZTFI.GetDocBinding(!"), QStringLiteral("nafilal ZTFI_Root!"),
                                  QStringLiteral("nafilal ZTFI_Root 2.0!"),
                                  QStringLiteral("qSifrantFinInstrISIN:SI0000000011"),
                                  QStringLiteral("qDPATVPPSL_RefStTransaC:1"), QStringLiteral("pre XML FileName"),
                                  QStringLiteral("XML FileName:") + QDir(folder.path()).filePath(kFirstReport),
                                  QStringLiteral("Generiranje xml-ja končano!")}));
}

TEST_P(ReportWriterRunTest, EmptySelectionCreatesNothing)
{
    openSelection();

    EXPECT_EQ(errorOf([&] { press(); }), QStringLiteral("Nabor je prazen! Generiranje XML ni možno!"));
    EXPECT_EQ(reportFiles(), QStringList());
    EXPECT_EQ(registerRows(), 0);
}

// A value that passes the field formats but not the schema: the report lies as ".bad", the
// error line names the fault, nothing is registered. After the correction the report is made.
TEST_P(ReportWriterRunTest, SchemaFaultLeavesBadFileUntilCorrected)
{
    db.trade({.id = 1, .kind = QStringLiteral("Z")}).selected({.report = kReport, .trade = 1});
    regeneration = RegenerationState{true, 2, 3, QDate(2026, 1, 5), QDate()};
    const QString report = QStringLiteral("TRDAT01_1234567000_0003_26.xml");

    const ReportOutcome failed = generate();

    EXPECT_FALSE(failed.valid);
    EXPECT_TRUE(failed.showErrors());
    EXPECT_EQ(failed.filePath, QDir(folder.path()).filePath(report));
    EXPECT_EQ(failed.badFilePath, QDir(folder.path()).filePath(QStringLiteral("TRDAT01_1234567000_0003_26.bad")));
    EXPECT_EQ(failed.errorLine,
              QStringLiteral(",Element 'BuySellIndicator': [facet 'enumeration'] The value '' is not an element "
                             "of the set {'B', 'S'}."));
    EXPECT_EQ(reportFiles(), QStringList{QStringLiteral("TRDAT01_1234567000_0003_26.bad")});
    EXPECT_NE(fileText(QStringLiteral("TRDAT01_1234567000_0003_26.bad")).find("<BuySellIndicator/>"), std::string::npos);
    EXPECT_EQ(registerRows(), 0);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM ACT")).toInt(), 0);
    // The run reached its end: the regeneration is over.
    EXPECT_FALSE(regeneration.active);

    db.exec(QStringLiteral("UPDATE PSL SET SfPsl='N' WHERE IdPsl=1"));
    const ReportOutcome corrected = generate();

    ASSERT_TRUE(corrected.valid) << corrected.errorLine.toStdString();
    EXPECT_EQ(corrected.fileName, kFirstReport);
    EXPECT_EQ(faultAgainstSourceSchema(corrected.filePath), "");
    EXPECT_EQ(reportFiles(), (QStringList{kFirstReport, QStringLiteral("TRDAT01_1234567000_0003_26.bad")}));
    EXPECT_EQ(registerRows(), 1);
}

// A fault of the schema file itself is reported with the location of that file.
TEST_P(ReportWriterRunTest, FaultOfTheSchemaNamesItsFile)
{
    exchangeTrade();
    const QString schemaPath = QDir(folder.path()).filePath(QStringLiteral("NTRS.xsd"));
    QFile schema(schemaPath);
    ASSERT_TRUE(schema.open(QIODevice::WriteOnly));
    schema.write("<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"
                 "<xs:element name=\"NTRSRoot\" type=\"Unknown\"/></xs:schema>");
    schema.close();

    const ReportOutcome outcome = generate();

    EXPECT_FALSE(outcome.valid);
    EXPECT_TRUE(outcome.errorLine.startsWith(schemaPath + QStringLiteral(",element decl. 'NTRSRoot'")))
        << outcome.errorLine.toStdString();
    EXPECT_EQ(reportFiles(), QStringList{QStringLiteral("TRDAT01_1234567000_0001_26.bad")});
    EXPECT_EQ(registerRows(), 0);
}

// A second report of the year before the first one is sent would get its serial and name and
// overwrite it: it is refused, and the unsent report stays as it is.
TEST_P(ReportWriterRunTest, ReportNamedLikeAnUnsentOneIsRefused)
{
    exchangeTrade();
    ASSERT_TRUE(generate().valid);
    const std::string first = fileText(kFirstReport);
    db.trade({.id = 2}).selected({.report = 2, .trade = 2, .reference = 2});
    openSelection();

    EXPECT_EQ(errorOf([&] { press(QDateTime(QDate(2026, 3, 3), QTime(11, 0))); }),
              ReportWriter::unsentNamesakeMessage(kFirstReport));
    EXPECT_TRUE(ReportWriter::unsentNamesakeMessage(kFirstReport)
                    .startsWith(QStringLiteral("Poročilo TRDAT01_1234567000_0001_26.xml je že v registru")));
    EXPECT_EQ(fileText(kFirstReport), first);
    EXPECT_EQ(reportFiles(), QStringList{kFirstReport});
    EXPECT_EQ(registerRows(), 1);

    // Once the first report is sent, the next one takes the next serial.
    db.exec(QStringLiteral("UPDATE DPATVP SET DAN=TO_DATE('03.03.2026','dd.mm.yyyy')"));
    EXPECT_EQ(press().fileName, QStringLiteral("TRDAT01_1234567000_0002_26.xml"));
}

// Around the year end a regeneration can be prepared with the serial and year of a report that
// was sent (generated in one year, sent in the next). Whether the register holds that report or
// only the server folders do, the name is refused: nothing is written, and the delivered files
// stay as they are.
TEST_P(ReportWriterRunTest, RegenerationNamedLikeASentReportIsRefused)
{
    const QString taken = QStringLiteral("TRDAT01_1234567000_0234_25.xml");
    const QString takenSignature = QStringLiteral("TRDAT01_1234567000_0234_25.sig");
    struct Case {
        const char* name;
        bool inRegister;
        QString serverFile;  // in XMLPath_Server, or the signature in SIGPath_Server
    };
    const Case cases[] = {
        {"sent report in the register", true, taken},
        {"report on the server only", false, taken},
        {"signature on the server only", false, takenSignature},
    };
    db.report({.id = 1, .serial = 12, .reportDay = kDay, .sentAt = QDateTime(QDate(2025, 12, 31), QTime(9, 0)),
               .status = 2, .firstDay = kDay});
    exchangeTrade();
    const PreparedStatements saved = prepareStatements(reportRowsTemplate(), CodeList::statementTemplate(), config);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir xmlServer;
        QTemporaryDir sigServer;
        config.XMLPath_Server = xmlServer.path();
        config.SIGPath_Server = sigServer.path() + QLatin1Char('/');
        db.exec(QStringLiteral("DELETE FROM DPATVP WHERE DPATVPID=234"));
        if (c.inRegister)
            db.report({.id = 234, .serial = 234, .reportDay = QDate(2025, 12, 30),
                       .sentAt = QDateTime(QDate(2026, 1, 2), QTime(9, 0)), .file = taken});
        const QString server = QDir(c.serverFile.endsWith(QLatin1String(".sig")) ? sigServer.path() : xmlServer.path())
                                   .filePath(c.serverFile);
        QFile delivered(server);
        ASSERT_TRUE(delivered.open(QIODevice::WriteOnly));
        delivered.write("delivered");
        delivered.close();
        const QStringList registerBefore = db.texts(QStringLiteral("SELECT DPATVPID || '/' || ZAPST || '/' || NVL(TO_CHAR(DAN, 'dd.mm.yyyy hh24:mi:ss'), '-') FROM DPATVP "
                                                   "ORDER BY DPATVPID, ZAPST"));
        rows.open(saved, SqlDialect::Oracle, kDay, kDay, kReport, kReport);
        codeList.open(saved, kDay, kDay, kReport, kReport);
        regeneration = RegenerationState{true, 2, 234, QDate(2025, 12, 31), kDay};

        EXPECT_EQ(errorOf([&] { press(); }), ReportWriter::sentNamesakeMessage(taken));

        EXPECT_EQ(reportFiles(), QStringList());
        EXPECT_EQ(db.texts(QStringLiteral("SELECT DPATVPID || '/' || ZAPST || '/' || NVL(TO_CHAR(DAN, 'dd.mm.yyyy hh24:mi:ss'), '-') FROM DPATVP "
                                                   "ORDER BY DPATVPID, ZAPST")),
                  registerBefore);
        ASSERT_TRUE(delivered.open(QIODevice::ReadOnly));
        EXPECT_EQ(delivered.readAll(), QByteArray("delivered"));
        EXPECT_TRUE(regeneration.active);
    }
    EXPECT_TRUE(ReportWriter::sentNamesakeMessage(taken).startsWith(
        QStringLiteral("Poročilo TRDAT01_1234567000_0234_25.xml je že poslano")));
}

// A regeneration registers the rows of the rejected report's set under the prepared serial, with
// the year of the rejected report's send date and its status plus one.
TEST_P(ReportWriterRunTest, RegenerationUsesPreparedSerialYearAndStatus)
{
    db.report({.id = 1, .serial = 12, .reportDay = kDay, .sentAt = QDateTime(QDate(2025, 12, 31), QTime(9, 0)),
               .file = QStringLiteral("TRDAT01_1234567000_0012_25.xml"), .status = 2, .firstDay = kDay});
    exchangeTrade();
    const PreparedStatements saved = prepareStatements(reportRowsTemplate(), CodeList::statementTemplate(), config);
    rows.open(saved, SqlDialect::Oracle, kDay, kDay, kReport, kReport);
    codeList.open(saved, kDay, kDay, kReport, kReport);
    regeneration = RegenerationState{true, 2, 13, QDate(2025, 12, 31), QDate()};

    const ReportOutcome outcome = press();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(outcome.fileName, QStringLiteral("TRDAT01_1234567000_0013_25.xml"));
    EXPECT_EQ(db.value(QStringLiteral("SELECT ZAPST || '/' || STATUS || '/' || XML_FILE FROM DPATVP WHERE DAN IS NULL"))
                  .toString(),
              QStringLiteral("13/3/TRDAT01_1234567000_0013_25.xml"));
    EXPECT_FALSE(regeneration.active);
    EXPECT_EQ(regeneration.previousSerial, 0);
    EXPECT_EQ(regeneration.previousStatus, 0);
    EXPECT_FALSE(regeneration.previousDate.isValid());
}

// A failing register insert rolls back and stops the run; the valid report stays in the folder
// and the regeneration stays on, so the report can be made again.
TEST_P(ReportWriterRunTest, FailedRegisterInsertKeepsFileAndRegeneration)
{
    db.report({.id = 1, .serial = 12, .sentAt = QDateTime(QDate(2026, 1, 5), QTime(9, 0)), .status = 2});
    exchangeTrade();
    const PreparedStatements saved = prepareStatements(reportRowsTemplate(), CodeList::statementTemplate(), config);
    rows.open(saved, SqlDialect::Oracle, kDay, kDay, kReport, kReport);
    codeList.open(saved, kDay, kDay, kReport, kReport);
    // A prepared serial that the set already holds: the key (DPATVPID, ZAPST) refuses the row.
    const RegenerationState clash{true, 2, 12, QDate(2026, 1, 5), QDate()};
    regeneration = clash;

    // the step's message, then the engine's own text
    EXPECT_EQ(errorOf([&] { press(); }).section(u'\n', 0, 1),
              onServer() ? QStringLiteral("Napaka pri insertu v DPATVP!\nduplicate key value violates unique constraint "
                                          "\"dpatvp_pk\"")
                         : QStringLiteral("Napaka pri insertu v DPATVP!\nUNIQUE constraint failed: DPATVP.DPATVPID, "
                                          "DPATVP.ZAPST"));

    EXPECT_EQ(reportFiles(), QStringList{QStringLiteral("TRDAT01_1234567000_0012_26.xml")});
    EXPECT_EQ(registerRows(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM ACT")).toInt(), 0);
    EXPECT_TRUE(regeneration.active);
    EXPECT_EQ(regeneration.previousSerial, 12);
}

// A report that cannot be written stops the run with the file error: nothing lies under the
// report's name or a temporary one, nothing is registered and the regeneration stays on.
TEST_P(ReportWriterRunTest, ReportThatCannotBeWrittenLeavesNothing)
{
    exchangeTrade();
    const QString report = QStringLiteral("TRDAT01_1234567000_0003_26.xml");
    const QString missing = QDir(folder.path()).filePath(QStringLiteral("missing")) + QLatin1Char('/');
    struct Case {
        const char* what;
        QString programFolder;
        QString reason;
    };
    const Case cases[] = {
        {"directory under the report's name", programFolder(), QStringLiteral("Is a directory")},
        {"program folder missing", missing, QStringLiteral("No such file or directory")},
    };
    ASSERT_TRUE(QDir(folder.path()).mkdir(report));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        openSelection();
        regeneration = RegenerationState{true, 2, 3, QDate(2026, 1, 5), QDate()};
        ReportWriter writer(db.connection(), config, log, audit, c.programFolder);

        EXPECT_EQ(errorOf([&] { writer.bbGenXMLClick(rows, codeList, regeneration, ReportRequest{kDay, kDay, kNow}); }),
                  QStringLiteral("Napaka pri pisanju datoteke ") + QDir(c.programFolder).filePath(report)
                      + QStringLiteral(": ") + c.reason);
        EXPECT_EQ(reportFiles(), QStringList());
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{report});
        EXPECT_EQ(registerRows(), 0);
        EXPECT_TRUE(regeneration.active);
    }
}

// A report that fills the disk stops the run with the file error when it is written whole: no
// report under its name or a temporary one, nothing registered.
TEST_P(ReportWriterRunTest, ReportThatFillsTheDiskLeavesNothing)
{
    SmallDisk disk(64);
    if (!disk.available())
        GTEST_SKIP() << "a small disk needs the superuser";
    for (qint64 id = 1; id <= 200; ++id)
        exchangeTrade(id);
    openSelection();
    ReportWriter writer(db.connection(), config, log, audit, disk.path());

    EXPECT_EQ(errorOf([&] { writer.bbGenXMLClick(rows, codeList, regeneration, ReportRequest{kDay, kDay, kNow}); }),
              QStringLiteral("Napaka pri pisanju datoteke ") + disk.filePath(kFirstReport)
                  + QStringLiteral(": No space left on device"));
    QStringList left = QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.removeAll(QStringLiteral("NTRS.xsd"));
    EXPECT_EQ(left, QStringList());
    EXPECT_EQ(registerRows(), 0);
}

// A selection made meanwhile elsewhere (another desk, ztfi-cli) replaces the pending set, mostly
// under the same identifier: the rows read before no longer describe it, and no report is made of
// them. Opened again, the rows make their report.
TEST_P(ReportWriterRunTest, SetChangedSinceItsRowsWereReadIsRefused)
{
    exchangeTrade(1);
    exchangeTrade(2);
    db.trade({.id = 3});
    const struct {
        const char* what;
        QString change;
    } cases[] = {
        {"selected again with new references",
         QStringLiteral("UPDATE DPATVPPSL SET IDREFATVP = IDREFATVP + 100 WHERE DPATVPID = 1")},
        {"a trade left out", QStringLiteral("DELETE FROM DPATVPPSL WHERE DPATVPID = 1 AND IDPSL = 2")},
        {"a trade added", QStringLiteral("INSERT INTO DPATVPPSL (DPATVPID, IDPSL, ISSTN, IDREFATVP) VALUES (1, 3, 'N', 3)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openSelection();
        db.exec(c.change);
        EXPECT_EQ(errorOf([&] { press(); }), ReportRows::changedSetMessage());
        EXPECT_EQ(reportFiles(), QStringList());
        EXPECT_EQ(registerRows(), 0);
    }

    openSelection();
    const ReportOutcome outcome = press();
    EXPECT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    EXPECT_EQ(registerRows(), 1);
}

// The offset of the report header: the reporting market's time zone, or +01 of market 8, moved
// one hour east in summer.
TEST_P(ReportWriterRunTest, CreationTimeOffset)
{
    exchangeTrade();
    openSelection();
    const QDateTime summer(QDate(2026, 7, 1), QTime(9, 15, 30));

    EXPECT_NE(fileText(press(summer).fileName).find("CreationTimeOffset=\"+02\""), std::string::npos);

    db.exec(QStringLiteral("DELETE FROM DPATVP"));
    db.market({.id = 50, .mic = QStringLiteral("XNYS"), .timeZone = QStringLiteral("-05")});
    config.Sf_Trga_Porocevalca = QStringLiteral("50");
    EXPECT_NE(fileText(press(summer).fileName).find("CreationTimeOffset=\"-04\""), std::string::npos);

    db.exec(QStringLiteral("DELETE FROM DPATVP"));
    config.fixedZoneMarkets = QStringList{QStringLiteral("50")};
    EXPECT_NE(fileText(press(summer).fileName).find("CreationTimeOffset=\"-05\""), std::string::npos);
}

// A value that breaks its field format stops the report before anything is written.
TEST_P(ReportWriterRunTest, FieldFormatErrorWritesNothing)
{
    db.exec(QStringLiteral("UPDATE SFVP SET ISIN='SI000000001X' WHERE SFVP=1"));
    exchangeTrade();
    openSelection();

    const QString message = errorOf([&] { press(); });

    EXPECT_TRUE(message.startsWith(QStringLiteral("Napaka: Za Ref.St.Transakcije 1  polje 'Identifikacija instrumenta ISIN")))
        << message.toStdString();
    EXPECT_EQ(reportFiles(), QStringList());
    EXPECT_EQ(registerRows(), 0);
}

// The user may cancel until the report is put in place: then no file is left, under the report's
// name or a temporary one, nothing is registered and the next generation makes the same report.
TEST_P(ReportWriterRunTest, ACancelBeforeTheReportIsInPlaceLeavesNothing)
{
    exchangeTrade();
    exchangeTrade(2);
    openSelection();
    for (const char* step : {"XML poročilo: šifrant instrumentov", "XML poročilo: transakcije",
                             "XML poročilo: preverjanje po XSD shemi"}) {
        SCOPED_TRACE(step);
        ScriptedInteraction ui;
        ui.cancelAtStep(QString::fromUtf8(step));
        ReportWriter writer(db.connection(), config, log, audit, programFolder());
        writer.reportProgressTo(ui);
        try {
            writer.bbGenXMLClick(rows, codeList, regeneration, ReportRequest{kDay, kDay, kNow});
            ADD_FAILURE() << "not cancelled";
        } catch (const ActionCancelled& cancelled) {
            EXPECT_EQ(cancelled.message(), ReportWriter::cancelledMessage());
        }
        EXPECT_FALSE(ui.cancellable());
        EXPECT_EQ(reportFiles(), QStringList());
        EXPECT_EQ(registerRows(), 0);
    }

    ScriptedInteraction ui;
    ReportWriter writer(db.connection(), config, log, audit, programFolder());
    writer.reportProgressTo(ui);
    const ReportOutcome outcome = writer.bbGenXMLClick(rows, codeList, regeneration, ReportRequest{kDay, kDay, kNow});
    EXPECT_TRUE(outcome.valid);
    EXPECT_EQ(outcome.fileName, kFirstReport);
    EXPECT_FALSE(ui.cancellable());
    EXPECT_EQ(registerRows(), 1);
}

TEST(NtrsSchema, KeepsASchemaFileThatIsThere)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("NTRS.xsd"));
    EXPECT_EQ(NtrsSchema::ensureInFolder(folder.path()), path);
    QFile source(sourcePath(QStringLiteral("schema/NTRS.xsd")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::ReadWrite));
    EXPECT_EQ(written.readAll(), source.readAll());
    written.resize(0);
    written.write("own");
    written.close();

    NtrsSchema::ensureInFolder(folder.path());

    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("own"));
}

INSTANTIATE_ENGINE_STORIES(ReportWriterRunTest);

}  // namespace
