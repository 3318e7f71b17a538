#include "core/Error.h"
#include "data/engine/Connection.h"
#include "signing/FileLists.h"
#include "signing/FileSigner.h"
#include "signing/GpgFailure.h"
#include "signing/ReportSigner.h"
#include "signing/FileCopy.h"
#include "signing/FileDelivery.h"
#include "signing/SendRecording.h"
#include "signing/SentReports.h"
#include "signing/SigningLock.h"
#include "signing/WaitingReports.h"
#include "support/FaultyCopyWriter.h"
#include "support/SigningFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>

namespace {

const QString kReport = QStringLiteral("1234567000_0001_2026.xml");
const QString kSignature = QStringLiteral("1234567000_0001_2026.sig");
const QByteArray kContent = "<?xml version=\"1.0\"?>\n<Porocilo/>\n";

class ReportSignerTest : public SigningFixture {
protected:
    void SetUp() override
    {
        SigningFixture::SetUp();
        fixture::Report row;
        row.file = kReport;
        db_.report(row);
        writeFile(inProgram(kReport), kContent);
    }

    ReportSigner signer(const CopyWriterFactory& writers = {})
    {
        return ReportSigner(config_, programFolder(), ui_, db_.connection(), *register_, writers);
    }

    // The message of the error a signing raised; empty when it raised none.
    QString failureOf(const std::function<void()>& signing)
    {
        try {
            signing();
        } catch (const ZtfiError& e) {
            return e.message();
        }
        return QString();
    }

    // Every file of a folder, hidden ones too.
    static QStringList filesIn(const QTemporaryDir& dir)
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    void signReport(const QString& file = kReport)
    {
        ui_.answerSigningCredentials(firmCredentials());
        signer().bSignClick(file);
    }

    // The signature opens with the regulator's key and carries the firm's signature.
    void expectSignedReport(const QString& signatureFile)
    {
        const GpgTestHome::Opened opened = home_->open(signatureFile);
        EXPECT_TRUE(opened.decrypted) << opened.diagnostics.toStdString();
        EXPECT_TRUE(opened.goodSignature) << opened.diagnostics.toStdString();
        EXPECT_EQ(opened.signer, GpgTestHome::firmUser());
        EXPECT_EQ(opened.content, kContent);
    }
};

// The firm's pass phrase holds double quotes and blanks; it reaches gpg unchanged.
TEST_F(ReportSignerTest, SignsRecordsTheSendAndDeliversBothFiles)
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    signReport();

    EXPECT_EQ(ui_.messages(), QStringList());
    expectSignedReport(inSigServer(kSignature));
    EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList{kReport});
    EXPECT_FALSE(QFile::exists(inProgram(kReport)));
    EXPECT_FALSE(QFile::exists(inProgram(kSignature)));

    const QDateTime sent = sentAt(1, 1);
    EXPECT_GE(sent, before);
    EXPECT_LE(sent, QDateTime::currentDateTime().addSecs(1));
    // One audited change of the register row, with its new send date.
    const QStringList audited = auditedWrites();
    ASSERT_EQ(audited.size(), 1);
    EXPECT_TRUE(audited[0].startsWith(QStringLiteral("^1#|DPATVPID#|02.03.2026#|DANPOROCANJA#|")
                                      + sent.toString(QStringLiteral("dd.MM.yyyy"))))
        << audited[0].toStdString();
    EXPECT_TRUE(audited[0].endsWith(QStringLiteral("#|DAN#|1#|ZAPST#|") + kReport
                                    + QStringLiteral("#|XML_FILE#|0#|STATUS#|#|DANOD#|")))
        << audited[0].toStdString();

    // The delivered signature is one of a sent report.
    EXPECT_TRUE(SentReports::signatureNames(db_.connection(), SqlDialect::Oracle).contains(kSignature));
    EXPECT_EQ(FileLists::LoadFilesByMask(config_.SIGPath_Server, QStringLiteral("*.sig")), QStringList{kSignature});
}

// The failure is an error that names gpg's reason, in Slovenian where the system has a text.
TEST_F(ReportSignerTest, AFailedSigningLeavesNoSignatureAndTheRegisterUnchanged)
{
    QTemporaryDir emptyFolder;
    const QString failed = FileSigner::signingFailedMessage() + QLatin1Char('\n');
    const QString nobody = QStringLiteral("nihce@nikjer.example");
    struct Case {
        const char* name;
        QString user;
        QString passPhrase;
        QString recipient;
        QString gnuPgPath;
        QString message;
    };
    const Case cases[] = {
        {"wrong pass phrase", GpgTestHome::firmUser(), QStringLiteral("tajno \"geslo\" 43"),
         GpgTestHome::regulatorUser(), QString(), failed + GpgFailure::badPassPhrase()},
        {"unknown recipient", GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(), nobody, QString(),
         failed + GpgFailure::unknownRecipient(nobody)},
        {"unknown signer", nobody, GpgTestHome::firmPassPhrase(), GpgTestHome::regulatorUser(), QString(),
         failed + GpgFailure::unknownSigner(nobody)},
        {"expired recipient", GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
         GpgTestHome::expiredRegulatorUser(), QString(),
         failed + GpgFailure::expiredRecipient(GpgTestHome::expiredRegulatorUser())},
        {"expired signer", GpgTestHome::expiredFirmUser(), GpgTestHome::firmPassPhrase(),
         GpgTestHome::regulatorUser(), QString(), failed + GpgFailure::unusableSigner(GpgTestHome::expiredFirmUser())},
        {"no gpg in the configured folder", GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
         GpgTestHome::regulatorUser(), emptyFolder.path(), FileSigner::gpgMissingMessage()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        config_.Path = c.gnuPgPath;
        // A signature left by an earlier run must not pass for this one.
        writeFile(inProgram(kSignature), "stale");

        EXPECT_EQ(failureOf([&] { signer().SignAndSend(kReport, c.user, c.passPhrase, c.recipient, true); }),
                  c.message);

        if (c.gnuPgPath.isEmpty()) {
            EXPECT_FALSE(QFile::exists(inProgram(kSignature)));
        }
        EXPECT_TRUE(QFile::exists(inProgram(kReport)));
        EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList());
        EXPECT_EQ(QDir(sigServer_.path()).entryList(QDir::Files), QStringList());
        EXPECT_FALSE(sentAt(1, 1).isValid());
        EXPECT_EQ(auditedWrites(), QStringList());
    }
    EXPECT_EQ(ui_.messages(), QStringList());
}

TEST_F(ReportSignerTest, EmirFilesAreSignedButNeitherRegisteredNorDelivered)
{
    int serial = 0;
    for (const QString& file : {QStringLiteral("EMIR_1234567000_5.xml"), QStringLiteral("emir_6.xml"),
                                QStringLiteral("EmIr7.xml")}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_FALSE(ReportSigner::isDelivered(file));
        fixture::Report row;
        row.id = 50;
        row.serial = ++serial;
        row.file = file;
        db_.report(row);
        writeFile(inProgram(file), kContent);

        signReport(file);

        EXPECT_EQ(ui_.messages(), QStringList());
        expectSignedReport(inProgram(FileSigner::signatureName(file)));
        EXPECT_TRUE(QFile::exists(inProgram(file)));
        EXPECT_FALSE(sentAt(50, row.serial).isValid());
    }
    EXPECT_TRUE(ReportSigner::isDelivered(QStringLiteral("EMI.xml")));
    EXPECT_TRUE(ReportSigner::isDelivered(QStringLiteral("XEMIR.xml")));
    EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(sigServer_.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(auditedWrites(), QStringList());
}

TEST_F(ReportSignerTest, ServerFoldersMayEndWithEitherSeparatorOrNone)
{
    for (const QString& ending : {QString(), QStringLiteral("/"), QStringLiteral("\\")}) {
        SCOPED_TRACE(ending.toStdString());
        writeFile(inProgram(kReport), kContent);
        db_.exec(QStringLiteral("UPDATE DPATVP SET DAN = NULL"));
        config_.XMLPath_Server = xmlServer_.path() + ending;
        config_.SIGPath_Server = sigServer_.path() + ending;

        signReport();

        EXPECT_EQ(ui_.messages(), QStringList());
        EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList{kReport});
        EXPECT_EQ(QDir(sigServer_.path()).entryList(QDir::Files), QStringList{kSignature});
        EXPECT_EQ(QDir(program_.path()).entryList(QDir::Files), QStringList());
    }
}

// A delivery is whole or not at all: a copy that fails leaves the report and its signature in
// the program folder, no file under either name in the server folders, and no send recorded.
TEST_F(ReportSignerTest, AFailedCopyKeepsTheReportLocalAndUnrecorded)
{
    using Fault = FaultyCopyWriter::Fault;
    const QString noSpace = qt_error_string(ENOSPC);
    struct Case {
        const char* name;
        CopyWriterFactory writers;
        QString xmlServer;
        QString sigServer;
        bool signatureFails;  // else the report's copy
        QString reason;       // empty: any text of the system
    };
    const Case cases[] = {
        {"short writes, then the disk is full", FaultyCopyWriter::factory(Fault::ShortWritesThenFull), {}, {},
         false, noSpace},
        {"the disk is full when the copy is synced", FaultyCopyWriter::factory(Fault::FullWhenSynced), {}, {},
         false, noSpace},
        {"bytes lost on the way", FaultyCopyWriter::factory(Fault::LosesBytes), {}, {}, false,
         QStringLiteral("the copy holds 7 of %1 bytes").arg(kContent.size())},
        {"a missing server folder", {}, inProgram(QStringLiteral("missing")), {}, false, QString()},
        // Not even the superuser can write below a plain file.
        {"a server folder below a plain file", {}, inProgram(QStringLiteral("blocker/xml")), {}, false, QString()},
        {"the signature's disk is full", FaultyCopyWriter::factory(Fault::FullWhenSynced, QStringLiteral(".sig")),
         {}, {}, true, noSpace},
        // The report's copy is in place already when the signature's cannot take its name.
        {"the signature's name taken by a folder", {}, {}, {}, true, qt_error_string(EISDIR)},
    };
    writeFile(inProgram(QStringLiteral("blocker")), "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        config_.XMLPath_Server = c.xmlServer.isEmpty() ? xmlServer_.path() : c.xmlServer;
        config_.SIGPath_Server = c.sigServer.isEmpty() ? sigServer_.path() + QLatin1Char('/') : c.sigServer;
        const bool folderTaken = QString::fromLatin1(c.name).contains(QLatin1String("taken"));
        if (folderTaken) {
            ASSERT_TRUE(QDir(sigServer_.path()).mkdir(kSignature));
        }
        ui_.answerSigningCredentials(firmCredentials());

        const QString message = failureOf([&] { signer(c.writers).bSignClick(kReport); });

        const QString prefix = c.signatureFails
            ? QStringLiteral("Napaka pri kopiranju ") + inProgram(kSignature) + QStringLiteral(" file-a na ")
                  + sigServer_.filePath(kSignature) + QStringLiteral(" !\n")
            : QStringLiteral("Napaka pri kopiranju ") + kReport + QStringLiteral(" file-a na ")
                  + QDir(config_.XMLPath_Server).filePath(kReport) + QStringLiteral(" !\n");
        EXPECT_TRUE(message.startsWith(prefix)) << message.toStdString();
        if (c.reason.isEmpty()) {
            EXPECT_GT(message.size(), prefix.size());
        } else {
            EXPECT_EQ(message.mid(prefix.size()), c.reason);
        }

        EXPECT_TRUE(QFile::exists(inProgram(kReport)));
        expectSignedReport(inProgram(kSignature));
        EXPECT_EQ(filesIn(xmlServer_), QStringList());
        EXPECT_EQ(filesIn(sigServer_), QStringList());
        EXPECT_FALSE(sentAt(1, 1).isValid());
        EXPECT_EQ(auditedWrites(), QStringList());
        if (folderTaken) {
            ASSERT_TRUE(QDir(sigServer_.path()).rmdir(kSignature));
        }
    }
    EXPECT_EQ(ui_.messages(), QStringList());
}

// Only what the tab lists is signed: a report file of the program folder with a register row
// that is not sent yet (or an EMIR report file). Anything else is refused before gpg runs.
TEST_F(ReportSignerTest, OnlyAReportWaitingInTheProgramFolderIsSigned)
{
    const QString orphan = QStringLiteral("1234567000_0002_2026.xml");
    const QString sent = QStringLiteral("1234567000_0003_2026.xml");
    fixture::Report sentRow;
    sentRow.id = 2;
    sentRow.serial = 3;
    sentRow.file = sent;
    sentRow.sentAt = QDateTime(QDate(2026, 3, 3), QTime(9, 0));
    db_.report(sentRow);
    for (const QString& file : {QStringLiteral("ZTFI.sqlite"), QStringLiteral("ZTFI.ini"), orphan, sent})
        writeFile(inProgram(file), kContent);
    const QStringList before = filesIn(program_);

    EXPECT_EQ(WaitingReports::list(db_.connection(), programFolder()), QStringList{kReport});
    for (const QString& file : {QStringLiteral("ZTFI.sqlite"), QStringLiteral("ZTFI.ini"), orphan, sent,
                                QStringLiteral("../ZTFI.sqlite"), QStringLiteral("missing.xml")}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(failureOf([&] {
                      signer().SignAndSend(file, GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
                                           GpgTestHome::regulatorUser(), true);
                  }),
                  WaitingReports::notWaitingMessage(file));
    }
    EXPECT_EQ(filesIn(program_), before);
    EXPECT_EQ(filesIn(xmlServer_), QStringList());
    EXPECT_EQ(filesIn(sigServer_), QStringList());
    EXPECT_EQ(auditedWrites(), QStringList());
}

// The window keeps processing events while gpg runs, so a second signing of the report can
// start then; it is refused, and the one delivered signature is whole.
TEST_F(ReportSignerTest, ASecondSigningOfAReportWhileTheFirstRunsIsRefused)
{
    QString second = QStringLiteral("not run");
    QTimer::singleShot(0, [&] {
        second = failureOf([&] {
            signer().SignAndSend(kReport, GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
                                 GpgTestHome::regulatorUser(), true);
        });
    });
    signReport();

    EXPECT_EQ(second, SigningLock::busyMessage(kReport));
    expectSignedReport(inSigServer(kSignature));
    EXPECT_EQ(filesIn(program_), QStringList());
    EXPECT_EQ(filesIn(xmlServer_), QStringList{kReport});
    EXPECT_EQ(auditedWrites().size(), 1);
}

TEST_F(ReportSignerTest, AFailedRegisterUpdateRollsBackAndCopiesNothing)
{
    fixture::Report regenerated;
    regenerated.id = 1;
    regenerated.serial = 2;
    regenerated.status = 3;
    regenerated.file = kReport;
    db_.report(regenerated);
    // The audit of the second row fails, as it does when the audit sequence is unusable.
    int writes = 0;
    const auto audit = register_->beforePost;
    register_->beforePost = [&](TDMTable& table, bool inserting) {
        audit(table, inserting);
        if (++writes == 2)
            throw ZtfiError(QStringLiteral("sequence ACT missing"));
    };
    ui_.answerSigningCredentials(firmCredentials());

    try {
        signer().bSignClick(kReport);
        ADD_FAILURE() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), ReportSigner::registerFailureMessage() + QStringLiteral("\nsequence ACT missing"));
    }

    EXPECT_EQ(writes, 2);
    EXPECT_EQ(auditedWrites(), QStringList());
    EXPECT_FALSE(sentAt(1, 1).isValid());
    EXPECT_FALSE(sentAt(1, 2).isValid());
    EXPECT_EQ(register_->state(), Dataset::State::Browse);
    EXPECT_TRUE(QFile::exists(inProgram(kReport)));
    expectSignedReport(inProgram(kSignature));
    EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList());
    EXPECT_EQ(QDir(sigServer_.path()).entryList(QDir::Files), QStringList());
}

TEST_F(ReportSignerTest, WithoutAServerFolderTheFileStaysWhereItIs)
{
    struct Case {
        const char* name;
        QString xmlServer;
        QString sigServer;
    };
    const Case cases[] = {
        {"not configured", QString(), QString()},
        // The same folder spelled otherwise: copying it onto itself must not delete it.
        {"the program folder itself", program_.path(), program_.path() + QStringLiteral("/./")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(inProgram(kReport), kContent);
        db_.exec(QStringLiteral("UPDATE DPATVP SET DAN = NULL"));
        config_.XMLPath_Server = c.xmlServer;
        config_.SIGPath_Server = c.sigServer;

        signReport();

        EXPECT_EQ(ui_.messages(), QStringList());
        EXPECT_EQ(FileLists::LoadFilesByMask(programFolder(), QStringLiteral("*.xml")), QStringList{kReport});
        expectSignedReport(inProgram(kSignature));
        EXPECT_TRUE(sentAt(1, 1).isValid());
    }
}

TEST_F(ReportSignerTest, TheDialogStartsFromTheRememberedValuesAndNeedsBothInputs)
{
    config_.User = QStringLiteral("podpisnik");
    config_.PassPhrase = QStringLiteral("abc");
    Interaction::SigningCredentials empty;
    empty.rememberUser = true;
    ui_.answerSigningCredentials(std::nullopt);  // cancelled
    ui_.answerSigningCredentials(empty);
    Interaction::SigningCredentials noPassPhrase = firmCredentials();
    noPassPhrase.passPhrase.clear();
    ui_.answerSigningCredentials(noPassPhrase);
    ui_.answerSigningCredentials(firmCredentials());  // confirmed, but no file selected

    for (int run = 0; run < 4; ++run)
        signer().bSignClick(run < 3 ? kReport : QString());

    EXPECT_EQ(ui_.messages(), (QStringList{QStringLiteral("Manjka Uporabnik!"), QStringLiteral("Manjka Geslo!"),
                                           QStringLiteral("Manjka Geslo!")}));
    const ScriptedInteraction::Call& first = ui_.calls().front();
    EXPECT_EQ(first.arguments, (QStringList{QStringLiteral("podpisnik"), QStringLiteral("abc"),
                                            QStringLiteral("1"), QStringLiteral("1")}));
    EXPECT_EQ(QDir(program_.path()).entryList(QDir::Files), QStringList{kReport});
    EXPECT_FALSE(sentAt(1, 1).isValid());

    config_ = Config();
    ui_.clearCalls();
    ui_.answerSigningCredentials(std::nullopt);
    signer().bSignClick(kReport);
    EXPECT_EQ(ui_.calls().front().arguments,
              (QStringList{QString(), QString(), QStringLiteral("0"), QStringLiteral("0")}));
}

TEST_F(ReportSignerTest, SentSignaturesAreThoseOfRowsWithASendDate)
{
    db_.exec(QStringLiteral("DELETE FROM DPATVP"));
    const QDateTime sent(QDate(2026, 3, 3), QTime(9, 0));
    const auto row = [](qint64 id, int serial, const QDate& day, const QDateTime& sentAt, const char* file) {
        fixture::Report r;
        r.id = id;
        r.serial = serial;
        r.reportDay = day;
        r.sentAt = sentAt;
        r.file = QLatin1String(file);
        return r;
    };
    db_.report(row(1, 1, QDate(2026, 3, 2), sent, "A.xml"))
        .report(row(2, 2, QDate(2026, 3, 3), QDateTime(), "B.xml"))
        .report(row(3, 7, QDate(2025, 12, 30), sent, "C.xml"))
        .report(row(4, 3, QDate(2026, 3, 4), sent, "D"));

    // Oracle has no YEAR(): its form orders by EXTRACT, as the register list does.
    EXPECT_EQ(SentReports::sql(SqlDialect::Oracle),
              QStringLiteral(" select * from DPATVP  order by EXTRACT(Year FROM DanPorocanja) desc, ZapSt desc "));
    EXPECT_EQ(SentReports::sql(SqlDialect::Db2),
              QStringLiteral(" select * from DPATVP  order by YEAR(DanPorocanja) desc, ZapSt desc "));
    for (const SqlDialect dialect : {SqlDialect::Oracle, SqlDialect::Db2}) {
        EXPECT_EQ(SentReports::signatureNames(db_.connection(), dialect),
                  (QStringList{QStringLiteral("D.sig"), QStringLiteral("A.sig"), QStringLiteral("C.sig")}));
    }
}

// A server folder that does not answer: the copy runs with no transaction open, so another desk
// writes to the database meanwhile; the signing gives up after CakanjeStreznik seconds, and
// what the copy does when it ends at last is taken back.
TEST_F(ReportSignerTest, AHangingServerFolderKeepsNoDeskWaiting)
{
    config_.CakanjeStreznik = 1;
    const auto desk = Connection::open(db_.folder(), FixtureDb::alias(), QStringLiteral("u"), QStringLiteral("p"));
    QString deskWrite = QStringLiteral("not run");
    QElapsedTimer hung;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!FaultyCopyWriter::hanging() || hung.isValid())
            return;
        hung.start();
        QSqlQuery write(desk->database());
        deskWrite = write.exec(QStringLiteral("UPDATE DPATVP SET STATUS = STATUS")) ? QString() : write.lastError().text();
    });
    watch.start();
    ui_.answerSigningCredentials(firmCredentials());

    const QString message =
        failureOf([&] { signer(FaultyCopyWriter::factory(FaultyCopyWriter::Fault::Hangs)).bSignClick(kReport); });

    ASSERT_TRUE(hung.isValid());
    EXPECT_LT(hung.elapsed(), 1000 * FaultyCopyWriter::kHangSeconds - 1000);
    EXPECT_EQ(deskWrite, QString());
    EXPECT_EQ(message, FileDelivery::copyFailedMessage(kReport, inXmlServer(kReport), FileCopy::noAnswerText(1)));
    EXPECT_TRUE(QFile::exists(inProgram(kReport)));
    EXPECT_FALSE(sentAt(1, 1).isValid());
    // The copy ends while nobody waits for it any more, and leaves nothing.
    QElapsedTimer after;
    after.start();
    while (FaultyCopyWriter::hanging() && after.elapsed() < 10000)
        QThread::msleep(50);
    QThread::msleep(500);
    EXPECT_EQ(filesIn(xmlServer_), QStringList());
    EXPECT_EQ(filesIn(sigServer_), QStringList());
}

// The send cannot be recorded after the copies are in place: they are withdrawn, and the copies
// that the server folders held before come back under their names.
TEST_F(ReportSignerTest, AFailedRecordingRestoresTheEarlierServerCopies)
{
    struct Case {
        const char* name;
        std::function<void()> meanwhile;  // while gpg runs
        QString reason;
    };
    const Case cases[] = {
        {"sent from another desk meanwhile",
         [&] { db_.exec(QStringLiteral("UPDATE DPATVP SET DAN = 46000")); }, SendRecording::noUnsentRowText(kReport)},
        {"its register row removed meanwhile", [&] { db_.exec(QStringLiteral("DELETE FROM DPATVP")); },
         SendRecording::noUnsentRowText(kReport)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db_.exec(QStringLiteral("DELETE FROM DPATVP"));
        fixture::Report row;
        row.file = kReport;
        db_.report(row);
        writeFile(inXmlServer(kReport), "earlier report");
        writeFile(inSigServer(kSignature), "earlier signature");
        QTimer::singleShot(0, c.meanwhile);
        ui_.answerSigningCredentials(firmCredentials());

        EXPECT_EQ(failureOf([&] { signer().bSignClick(kReport); }),
                  ReportSigner::registerFailureMessage() + QLatin1Char('\n') + c.reason);

        EXPECT_EQ(filesIn(xmlServer_), QStringList{kReport});
        EXPECT_EQ(filesIn(sigServer_), QStringList{kSignature});
        QFile report(inXmlServer(kReport));
        ASSERT_TRUE(report.open(QIODevice::ReadOnly));
        EXPECT_EQ(report.readAll(), QByteArray("earlier report"));
        QFile signature(inSigServer(kSignature));
        ASSERT_TRUE(signature.open(QIODevice::ReadOnly));
        EXPECT_EQ(signature.readAll(), QByteArray("earlier signature"));
        EXPECT_TRUE(QFile::exists(inProgram(kReport)));
        expectSignedReport(inProgram(kSignature));
    }
    EXPECT_EQ(auditedWrites(), QStringList());
}

// A report that took the name of a sent one (made before such names were refused): signing it
// records the send on its own row only; the sent report keeps its send date.
TEST_F(ReportSignerTest, TheSendIsRecordedOnTheSignedReportOnly)
{
    fixture::Report earlier;
    earlier.id = 7;
    earlier.serial = 1;
    earlier.reportDay = QDate(2025, 12, 30);
    earlier.sentAt = QDateTime(QDate(2026, 1, 2), QTime(9, 0));
    earlier.file = kReport;
    earlier.status = 2;
    db_.report(earlier);

    signReport();

    EXPECT_EQ(ui_.messages(), QStringList());
    EXPECT_TRUE(sentAt(1, 1).isValid());
    EXPECT_EQ(sentAt(7, 1), earlier.sentAt);
    EXPECT_EQ(auditedWrites().size(), 1);
}

}  // namespace
