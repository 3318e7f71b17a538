#include "core/Error.h"
#include "signing/FileLists.h"
#include "signing/FileSigner.h"
#include "signing/ReportSigner.h"
#include "signing/SentReports.h"
#include "support/SigningFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

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

    ReportSigner signer() { return ReportSigner(config_, programFolder(), ui_, db_.connection(), *register_); }

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

TEST_F(ReportSignerTest, AFailedSigningLeavesNoSignatureAndTheRegisterUnchanged)
{
    QTemporaryDir emptyFolder;
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
         GpgTestHome::regulatorUser(), QString(), FileSigner::signingFailedMessage()},
        {"unknown recipient", GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
         QStringLiteral("nihce@nikjer.example"), QString(), FileSigner::signingFailedMessage()},
        {"unknown signer", QStringLiteral("nihce@nikjer.example"), GpgTestHome::firmPassPhrase(),
         GpgTestHome::regulatorUser(), QString(), FileSigner::signingFailedMessage()},
        {"no gpg in the configured folder", GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
         GpgTestHome::regulatorUser(), emptyFolder.path(), FileSigner::gpgMissingMessage()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.clearCalls();
        config_.Path = c.gnuPgPath;
        // A signature left by an earlier run must not pass for this one.
        writeFile(inProgram(kSignature), "stale");

        signer().SignAndSend(kReport, c.user, c.passPhrase, c.recipient, true);

        EXPECT_EQ(ui_.messages(), QStringList{c.message});
        if (c.message == FileSigner::signingFailedMessage()) {
            EXPECT_FALSE(QFile::exists(inProgram(kSignature)));
        }
        EXPECT_TRUE(QFile::exists(inProgram(kReport)));
        EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList());
        EXPECT_EQ(QDir(sigServer_.path()).entryList(QDir::Files), QStringList());
        EXPECT_FALSE(sentAt(1, 1).isValid());
        EXPECT_EQ(auditedWrites(), QStringList());
    }
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
        config_.XMLPath_Server = xmlServer_.path() + ending;
        config_.SIGPath_Server = sigServer_.path() + ending;

        signReport();

        EXPECT_EQ(ui_.messages(), QStringList());
        EXPECT_EQ(QDir(xmlServer_.path()).entryList(QDir::Files), QStringList{kReport});
        EXPECT_EQ(QDir(sigServer_.path()).entryList(QDir::Files), QStringList{kSignature});
        EXPECT_EQ(QDir(program_.path()).entryList(QDir::Files), QStringList());
    }
}

TEST_F(ReportSignerTest, AFailedCopyKeepsTheLocalFileAndGivesTheSystemsReason)
{
    // A server folder below a plain file cannot be written, not even by the superuser.
    writeFile(inProgram(QStringLiteral("blocker")), "");
    config_.XMLPath_Server = inProgram(QStringLiteral("blocker/xml"));
    config_.SIGPath_Server = inProgram(QStringLiteral("blocker/sig/"));

    signReport();

    const QStringList messages = ui_.messages();
    ASSERT_EQ(messages.size(), 2);
    const QString xmlPrefix = QStringLiteral("Napaka pri kopiranju ") + kReport + QStringLiteral(" file-a na ")
                              + inProgram(QStringLiteral("blocker/xml/")) + kReport + QStringLiteral(" !\n");
    const QString sigPrefix = QStringLiteral("Napaka pri kopiranju ") + inProgram(kSignature)
                              + QStringLiteral(" file-a na ") + inProgram(QStringLiteral("blocker/sig/"))
                              + kSignature + QStringLiteral(" !\n");
    EXPECT_TRUE(messages[0].startsWith(xmlPrefix)) << messages[0].toStdString();
    EXPECT_GT(messages[0].size(), xmlPrefix.size());
    EXPECT_TRUE(messages[1].startsWith(sigPrefix)) << messages[1].toStdString();
    EXPECT_GT(messages[1].size(), sigPrefix.size());

    // The send is recorded before the copies; both files stay for a repeated delivery.
    EXPECT_TRUE(sentAt(1, 1).isValid());
    EXPECT_TRUE(QFile::exists(inProgram(kReport)));
    expectSignedReport(inProgram(kSignature));
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
        EXPECT_EQ(e.message(), ReportSigner::registerFailureMessage());
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
