#include "signing/FileLists.h"
#include "signing/FileSigner.h"
#include "signing/GpgFailure.h"
#include "signing/PdfSigner.h"
#include "support/SigningFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class PdfSignerTest : public SigningFixture {
protected:
    void SetUp() override
    {
        SigningFixture::SetUp();
        ASSERT_TRUE(pdf_.isValid());
        config_.PDF_Path = pdf_.path() + QLatin1Char('/');
        config_.PDF_Server = xmlServer_.path() + QLatin1Char('/');
        config_.PDF_SIGServer = sigServer_.path();
    }

    PdfSigner signer() { return PdfSigner(config_, programFolder(), ui_); }

    QByteArray contentOf(const QString& file) const { return "%PDF-1.4 " + file.toUtf8(); }
    void writePdf(const QString& file) { writeFile(pdf_.filePath(file), contentOf(file)); }

    void expectSigned(const QString& signatureFile, const QString& file)
    {
        const GpgTestHome::Opened opened = home_->open(signatureFile);
        EXPECT_TRUE(opened.decrypted) << opened.diagnostics.toStdString();
        EXPECT_EQ(opened.signer, GpgTestHome::firmUser());
        EXPECT_EQ(opened.content, contentOf(file));
    }

    QTemporaryDir pdf_;
};

TEST_F(PdfSignerTest, SelectedFilesAreSignedWithOneDialogAndMoved)
{
    const QStringList files{QStringLiteral("a.pdf"), QStringLiteral("REPORT.PDF"), QStringLiteral("Mesec 03.pdf")};
    for (const QString& file : files)
        writePdf(file);
    writeFile(pdf_.filePath(QStringLiteral("notes.txt")), "x");
    // Listed whatever the case of the extension, sorted by name.
    EXPECT_EQ(FileLists::LoadFilesByMask(signer().pdfFolder(), QStringLiteral("*.PDF")),
              (QStringList{QStringLiteral("a.pdf"), QStringLiteral("Mesec 03.pdf"), QStringLiteral("REPORT.PDF")}));

    ui_.answerSigningCredentials(firmCredentials());
    signer().bSignPDGClick(files);

    EXPECT_EQ(ui_.texts(QStringLiteral("askSigningCredentials")).size(), 1);
    EXPECT_EQ(ui_.messages(), QStringList());
    EXPECT_EQ(QDir(pdf_.path()).entryList(QDir::Files), QStringList{QStringLiteral("notes.txt")});
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        QFile moved(inXmlServer(file));
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
        EXPECT_EQ(moved.readAll(), contentOf(file));
        expectSigned(inSigServer(FileSigner::signatureName(file)), file);
    }
}

TEST_F(PdfSignerTest, AServerFolderThatIsThePdfFolderKeepsItsFile)
{
    writePdf(QStringLiteral("a.pdf"));
    config_.PDF_Server = pdf_.path();  // no trailing separator: the same folder all the same

    signer().SignPDF(QStringLiteral("a.pdf"), GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
                     GpgTestHome::regulatorUser());

    EXPECT_EQ(ui_.messages(), QStringList());
    EXPECT_EQ(QDir(pdf_.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.pdf")});
    expectSigned(inSigServer(QStringLiteral("a.sig")), QStringLiteral("a.pdf"));
}

TEST_F(PdfSignerTest, WithoutAPdfFolderTheProgramFolderServes)
{
    config_.PDF_Path = QStringLiteral("/");
    EXPECT_EQ(signer().pdfFolder(), programFolder());
    writeFile(inProgram(QStringLiteral("b.pdf")), contentOf(QStringLiteral("b.pdf")));

    signer().SignPDF(QStringLiteral("b.pdf"), GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
                     GpgTestHome::regulatorUser());

    EXPECT_EQ(ui_.messages(), QStringList());
    EXPECT_TRUE(QFile::exists(inXmlServer(QStringLiteral("b.pdf"))));
    expectSigned(inSigServer(QStringLiteral("b.sig")), QStringLiteral("b.pdf"));
    EXPECT_EQ(QDir(program_.path()).entryList(QDir::Files), QStringList());
}

TEST_F(PdfSignerTest, FailuresKeepTheDocument)
{
    writePdf(QStringLiteral("a.pdf"));
    writeFile(pdf_.filePath(QStringLiteral("blocker")), "");
    config_.PDF_Server = pdf_.filePath(QStringLiteral("blocker/pdf"));

    // Wrong pass phrase: no signature, nothing moves.
    signer().SignPDF(QStringLiteral("a.pdf"), GpgTestHome::firmUser(), QStringLiteral("napak"),
                     GpgTestHome::regulatorUser());
    EXPECT_EQ(ui_.texts(QStringLiteral("error")),
              QStringList{FileSigner::signingFailedMessage() + QLatin1Char('\n') + GpgFailure::badPassPhrase()});
    EXPECT_FALSE(QFile::exists(pdf_.filePath(QStringLiteral("a.sig"))));

    // The document's copy fails; the signature is delivered all the same.
    ui_.clearCalls();
    signer().SignPDF(QStringLiteral("a.pdf"), GpgTestHome::firmUser(), GpgTestHome::firmPassPhrase(),
                     GpgTestHome::regulatorUser());
    const QStringList messages = ui_.texts(QStringLiteral("error"));
    ASSERT_EQ(messages.size(), 1);
    const QString prefix = QStringLiteral("Napaka pri kopiranju ") + pdf_.filePath(QStringLiteral("a.pdf"))
                           + QStringLiteral(" file-a na ") + pdf_.filePath(QStringLiteral("blocker/pdf/a.pdf"))
                           + QStringLiteral(" !\n");
    EXPECT_TRUE(messages[0].startsWith(prefix)) << messages[0].toStdString();
    EXPECT_GT(messages[0].size(), prefix.size());
    EXPECT_TRUE(QFile::exists(pdf_.filePath(QStringLiteral("a.pdf"))));
    expectSigned(inSigServer(QStringLiteral("a.sig")), QStringLiteral("a.pdf"));

    // No selection: no dialog at all.
    ui_.clearCalls();
    signer().bSignPDGClick({});
    EXPECT_TRUE(ui_.calls().empty());
}

}  // namespace
