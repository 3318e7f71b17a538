#include "core/Error.h"
#include "data/engine/Connection.h"
#include "ntrs/ReportDigest.h"
#include "signing/FileSigner.h"
#include "signing/ReportSigner.h"
#include "signing/SentReports.h"
#include "signing/WaitingReports.h"
#include "support/EngineStories.h"
#include "support/SigningFixture.h"

#include <QDir>
#include <QFile>
#include <QTimer>

#include <functional>

namespace {

const QString kReport = QStringLiteral("1234567000_0001_2026.xml");
const QString kSignature = QStringLiteral("1234567000_0001_2026.sig");
const QByteArray kContent = "<?xml version=\"1.0\"?>\n<Porocilo/>\n";
const QString kOtherDigest = QString(64, u'e');

// The signing's reads and writes of the register on each engine: the waiting reports, the
// digest of the registered file, the send recorded through the audited register table, the
// sent reports' signatures.
class SigningStory : public OnEachEngine<SigningFixture> {
protected:
    void SetUp() override
    {
        OnEachEngine<SigningFixture>::SetUp();
        if (IsSkipped())
            return;
        fixture::Report row;
        row.file = kReport;
        db_.report(row);
        writeFile(inProgram(kReport), kContent);
    }

    QString failureOfSigning()
    {
        ui_.answerSigningCredentials(firmCredentials());
        try {
            ReportSigner(config_, programFolder(), ui_, db_.connection(), *register_).bSignClick(kReport);
        } catch (const ZtfiError& e) {
            return e.message();
        }
        return QString();
    }

    void registerDigest(const QString& sha256)
    {
        db_.exec(QStringLiteral("INSERT INTO DPATVPXML (DPATVPID, ZAPST, SHA256) VALUES (1, 1, '%1')").arg(sha256));
    }

    // Another desk's report takes the register row's key while this desk writes the send: a
    // trigger replaces the digest as the send date is written.
    void replaceDigestWhenSent()
    {
        if (onServer()) {
            db_.exec(QStringLiteral("CREATE FUNCTION public.replace_digest() RETURNS trigger LANGUAGE plpgsql AS "
                                    "$$BEGIN UPDATE DPATVPXML SET SHA256 = '%1'; RETURN NEW; END$$")
                         .arg(kOtherDigest));
            db_.exec(QStringLiteral("CREATE TRIGGER replace_digest AFTER UPDATE OF DAN ON DPATVP FOR EACH ROW "
                                    "EXECUTE FUNCTION public.replace_digest()"));
        } else {
            db_.exec(QStringLiteral("CREATE TRIGGER replace_digest AFTER UPDATE OF DAN ON DPATVP "
                                    "BEGIN UPDATE DPATVPXML SET SHA256 = '%1'; END")
                         .arg(kOtherDigest));
        }
    }

    QStringList serverFiles() const
    {
        return QDir(xmlServer_.path()).entryList(QDir::Files | QDir::Hidden)
            + QDir(sigServer_.path()).entryList(QDir::Files | QDir::Hidden);
    }
};

// Only a file whose digest the register holds, or a report registered before digests were kept,
// is recorded as sent.
TEST_P(SigningStory, TheSendIsRecordedOnTheRowThatHoldsTheDeliveredFile)
{
    const QString digest = ReportDigest::ofFile(inProgram(kReport));
    const QString failed = ReportSigner::registerFailureMessage() + QLatin1Char('\n');
    struct Case {
        const char* name;
        std::function<void()> before;     // before the signing starts
        std::function<void()> meanwhile;  // while gpg runs
        QString failure;
    };
    const Case cases[] = {
        {"the registered file", [&] { registerDigest(digest); }, [] {}, QString()},
        {"registered before digests were kept", [] {}, [] {}, QString()},
        {"its digest replaced while gpg runs", [&] { registerDigest(digest); },
         [&] { db_.exec(QStringLiteral("UPDATE DPATVPXML SET SHA256 = '%1'").arg(kOtherDigest)); },
         failed + ReportDigest::replacedMessage(kReport)},
        {"replaced as the send is written",
         [&] {
             registerDigest(digest);
             replaceDigestWhenSent();
         },
         [] {}, failed + ReportDigest::replacedMessage(kReport)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db_.exec(QStringLiteral("DELETE FROM DPATVPXML"));
        db_.exec(QStringLiteral("UPDATE DPATVP SET DAN = NULL"));
        db_.exec(QStringLiteral("DELETE FROM ACT"));
        writeFile(inProgram(kReport), kContent);
        QFile::remove(inXmlServer(kReport));
        QFile::remove(inSigServer(kSignature));
        ASSERT_EQ(WaitingReports::list(db_.connection(), programFolder()), QStringList{kReport});
        c.before();
        QTimer::singleShot(0, c.meanwhile);

        EXPECT_EQ(failureOfSigning(), c.failure);

        if (c.failure.isEmpty()) {
            EXPECT_TRUE(sentAt(1, 1).isValid());
            EXPECT_EQ(auditedWrites().size(), 1);
            EXPECT_EQ(serverFiles(), (QStringList{kReport, kSignature}));
            EXPECT_EQ(WaitingReports::list(db_.connection(), programFolder()), QStringList());
            EXPECT_EQ(SentReports::signatureNames(db_.connection(), SqlDialect::Oracle), QStringList{kSignature});
        } else {
            EXPECT_FALSE(sentAt(1, 1).isValid());
            EXPECT_EQ(auditedWrites(), QStringList());
            EXPECT_EQ(serverFiles(), QStringList()) << "the copies withdrawn";
            EXPECT_TRUE(QFile::exists(inProgram(kReport)));
        }
    }
}

INSTANTIATE_ENGINE_STORIES(SigningStory);

}  // namespace
