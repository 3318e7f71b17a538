#include "state/ZtfiApp.h"
#include "signing/FileSigner.h"
#include "signing/widgets/ATVPPage.h"
#include "signing/widgets/PDFPage.h"
#include "support/QtPrinters.h"
#include "support/SigningFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QTreeView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kReport = QStringLiteral("1234567000_0001_2026.xml");
const QString kSignature = QStringLiteral("1234567000_0001_2026.sig");

// The signing tabs over the fixture database's folder as the program folder (ZTFI_HOME), so
// the application opens that database by its alias; ZTFI.ini points at the server folders.
class SigningPagesTest : public SigningFixture {
protected:
    void SetUp() override
    {
        SigningFixture::SetUp();
        ASSERT_TRUE(pdf_.isValid() && pdfServer_.isValid());
        hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
        savedHome_ = qgetenv("ZTFI_HOME");
        qputenv("ZTFI_HOME", QFile::encodeName(db_.folder()));
        writeFile(inHome(QStringLiteral("ZTFI.ini")),
                  "[Splo\xC5\xA1no]\nXMLPath_Server=" + xmlServer_.path().toUtf8() + "\nSIGPath_Server="
                      + sigServer_.path().toUtf8() + "/\nATVP_Uporabnik=" + GpgTestHome::regulatorUser().toUtf8()
                      + "\nPDF_Path=" + pdf_.path().toUtf8() + "\nPDF_Server=" + pdfServer_.path().toUtf8()
                      + "\nPDF_SIGServer=" + sigServer_.path().toUtf8() + "\n");
        app_ = std::make_unique<ZtfiApp>(QStringList{FixtureDb::alias(), QStringLiteral("u"),
                                                     QStringLiteral("p"), QStringLiteral("ana")},
                                         ui_);
        app_->readConfiguration();
        ASSERT_EQ(ui_.messages(), QStringList());
    }

    void TearDown() override
    {
        if (hadHome_)
            qputenv("ZTFI_HOME", savedHome_);
        else
            qunsetenv("ZTFI_HOME");
    }

    QString inHome(const QString& file) const { return QDir(db_.folder()).filePath(file); }

    static QStringList texts(const QListWidget& list)
    {
        QStringList result;
        for (int row = 0; row < list.count(); ++row)
            result << list.item(row)->text();
        return result;
    }

    // Runs the event loop until the condition holds or 5 s have passed.
    static bool waitFor(const std::function<bool()>& condition)
    {
        const QDeadlineTimer deadline(5000);
        while (!condition() && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(10);
        }
        return condition();
    }

    static QStringList shown(const QTreeView& view)
    {
        QStringList names;
        auto* files = qobject_cast<QFileSystemModel*>(view.model());
        if (!files)
            return names;
        for (int row = 0; row < files->rowCount(view.rootIndex()); ++row)
            names << files->fileName(files->index(row, 0, view.rootIndex()));
        names.sort();
        return names;
    }

    QTemporaryDir pdf_;
    QTemporaryDir pdfServer_;
    std::unique_ptr<ZtfiApp> app_;
    QWidget window_;

private:
    QByteArray savedHome_;
    bool hadHome_ = false;
};

TEST_F(SigningPagesTest, ATVPListsSignsAndTicksTheSentReport)
{
    fixture::Report report;
    report.file = kReport;
    fixture::Report earlier;
    earlier.id = 0;
    earlier.reportDay = QDate(2026, 2, 27);
    earlier.sentAt = QDateTime(QDate(2026, 2, 27), QTime(17, 0));
    earlier.file = QStringLiteral("1234567000_0000_2026.xml");
    db_.report(report).report(earlier);
    writeFile(inHome(kReport), "<Porocilo/>\n");
    // Neither a report without its register row nor one sent already waits to be signed.
    writeFile(inHome(QStringLiteral("1234567000_0009_2026.xml")), "<Porocilo/>\n");
    writeFile(inHome(earlier.file), "<Porocilo/>\n");
    writeFile(inSigServer(QStringLiteral("1234567000_0000_2026.sig")), "earlier");
    writeFile(inSigServer(QStringLiteral("tuj.sig")), "not a sent report");

    ATVPPage::Controls c;
    c.lbNeposlana = new QListWidget(&window_);
    c.bbNeposlano = new QPushButton(&window_);
    c.clbPoslana = new QListWidget(&window_);
    c.bbPodpisana = new QPushButton(&window_);
    c.bSign = new QPushButton(&window_);
    ATVPPage page(c, *app_);

    page.tsATVPEnter();
    EXPECT_EQ(texts(*c.lbNeposlana), QStringList{kReport});
    ASSERT_EQ(texts(*c.clbPoslana),
              (QStringList{QStringLiteral("1234567000_0000_2026.sig"), QStringLiteral("tuj.sig")}));
    EXPECT_EQ(c.clbPoslana->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(c.clbPoslana->item(1)->checkState(), Qt::Unchecked);

    c.lbNeposlana->setCurrentRow(0);
    ui_.answerSigningCredentials(firmCredentials());
    c.bSign->click();

    EXPECT_EQ(ui_.messages(), QStringList());
    EXPECT_EQ(texts(*c.lbNeposlana), QStringList());
    ASSERT_EQ(texts(*c.clbPoslana), (QStringList{QStringLiteral("1234567000_0000_2026.sig"), kSignature,
                                                 QStringLiteral("tuj.sig")}));
    for (int row = 0; row < c.clbPoslana->count(); ++row) {
        const QListWidgetItem* item = c.clbPoslana->item(row);
        SCOPED_TRACE(item->text().toStdString());
        EXPECT_EQ(item->checkState(), item->text() == QStringLiteral("tuj.sig") ? Qt::Unchecked : Qt::Checked);
        EXPECT_FALSE(item->flags() & Qt::ItemIsEnabled);
    }
    EXPECT_TRUE(c.bSign->isEnabled());
    EXPECT_TRUE(sentAt(1, 1).isValid());
    EXPECT_EQ(auditedWrites().size(), 1);
    EXPECT_TRUE(home_->open(inSigServer(kSignature)).goodSignature);
    EXPECT_TRUE(QFile::exists(inXmlServer(kReport)));
}

TEST_F(SigningPagesTest, PDFSignsTheSelectionAndShowsExactExtensionsOnly)
{
    for (const char* name : {"a.pdf", "REPORT.PDF", "b.Pdf", "opis.txt"})
        writeFile(pdf_.filePath(QLatin1String(name)), QByteArray("%PDF ") + name);
    ASSERT_TRUE(QDir(pdfServer_.path()).mkdir(QStringLiteral("mapa.pdf")));

    PDFPage::Controls c;
    c.lbPDFPDF = new QListWidget(&window_);
    c.lbPDFPDF->setSelectionMode(QAbstractItemView::ExtendedSelection);
    c.bPDFRefreshPDF = new QPushButton(&window_);
    c.bSignPDG = new QPushButton(&window_);
    c.bPDFRefreshSIG = new QPushButton(&window_);
    c.slvPDF = new QTreeView(&window_);
    c.slvSIG = new QTreeView(&window_);
    c.pdfFiles = new QFileSystemModel(&window_);
    c.sigFiles = new QFileSystemModel(&window_);
    PDFPage page(c, *app_);

    page.tabEnter();
    ASSERT_EQ(texts(*c.lbPDFPDF),
              (QStringList{QStringLiteral("a.pdf"), QStringLiteral("b.Pdf"), QStringLiteral("REPORT.PDF")}));

    c.lbPDFPDF->selectAll();
    ui_.answerSigningCredentials(firmCredentials());
    c.bSignPDG->click();

    EXPECT_EQ(ui_.texts(QStringLiteral("askSigningCredentials")).size(), 1);
    EXPECT_EQ(ui_.messages(), QStringList());
    EXPECT_EQ(texts(*c.lbPDFPDF), QStringList());
    EXPECT_TRUE(c.bSignPDG->isEnabled());
    EXPECT_EQ(QDir(pdfServer_.path()).entryList(QDir::Files),
              (QStringList{QStringLiteral("a.pdf"), QStringLiteral("b.Pdf"), QStringLiteral("REPORT.PDF")}));
    EXPECT_TRUE(waitFor([&] { return shown(*c.slvSIG).size() == 3; }));
    EXPECT_EQ(shown(*c.slvSIG), (QStringList{QStringLiteral("REPORT.sig"), QStringLiteral("a.sig"),
                                             QStringLiteral("b.sig")}));
    // Only the exact ".pdf": REPORT.PDF and b.Pdf are delivered but not shown, nor is a folder.
    EXPECT_TRUE(waitFor([&] { return !shown(*c.slvPDF).isEmpty(); }));
    EXPECT_EQ(shown(*c.slvPDF), QStringList{QStringLiteral("a.pdf")});
}

}  // namespace
