#include "app/widgets/TfZTFI.h"

#include "state/ZtfiApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "support/ScriptedInteraction.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

void writeFile(const QString& path, const QByteArray& content = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList texts(const QListWidget* list)
{
    QStringList result;
    for (int row = 0; list && row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

// The main window over the fixture database's folder as the program folder.
class SigningTabsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(servers_.isValid());
        hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
        savedHome_ = qgetenv("ZTFI_HOME");
        qputenv("ZTFI_HOME", QFile::encodeName(db_.folder()));
        ASSERT_TRUE(QDir(servers_.path()).mkpath(QStringLiteral("pdf")));
        ASSERT_TRUE(QDir(servers_.path()).mkpath(QStringLiteral("sig")));
        writeFile(home(QStringLiteral("ZTFI.ini")),
                  "[Splo\xC5\xA1no]\nATVP_Uporabnik=ATVP\nSIGPath_Server=" + server("sig").toUtf8()
                      + "\nPDF_Server=" + server("pdf").toUtf8() + "\nPDF_SIGServer=" + server("sig").toUtf8() + "\n");
        app_ = std::make_unique<ZtfiApp>(QStringList{FixtureDb::alias(), QStringLiteral("u"), QStringLiteral("p"),
                                                     QStringLiteral("ana")},
                                         ui_);
    }
    void TearDown() override
    {
        window_.reset();
        app_.reset();
        if (hadHome_)
            qputenv("ZTFI_HOME", savedHome_);
        else
            qunsetenv("ZTFI_HOME");
    }

    QString home(const QString& file) const { return QDir(db_.folder()).filePath(file); }
    QString server(const char* folder) const { return servers_.filePath(QLatin1String(folder)); }

    FixtureDb db_;
    QTemporaryDir servers_;
    ScriptedInteraction ui_;
    std::unique_ptr<ZtfiApp> app_;
    std::unique_ptr<TfZTFI> window_;

private:
    QByteArray savedHome_;
    bool hadHome_ = false;
};

TEST_F(SigningTabsTest, EnteringATabReadsItsFilesAgain)
{
    fixture::Report sent;
    sent.sentAt = QDateTime(QDate(2026, 3, 2), QTime(17, 0));
    sent.file = QStringLiteral("poslano.xml");
    fixture::Report waiting;
    waiting.id = 2;
    waiting.serial = 2;
    waiting.file = QStringLiteral("novo.xml");
    db_.report(sent).report(waiting);
    window_ = std::make_unique<TfZTFI>(*app_);
    auto* pcMain = window_->findChild<QTabWidget*>(QStringLiteral("pcMain"));
    auto* lbNeposlana = window_->findChild<QListWidget*>(QStringLiteral("lbNeposlana"));
    auto* clbPoslana = window_->findChild<QListWidget*>(QStringLiteral("clbPoslana"));
    auto* lbPDFPDF = window_->findChild<QListWidget*>(QStringLiteral("lbPDFPDF"));
    ASSERT_TRUE(pcMain && lbNeposlana && clbPoslana && lbPDFPDF);

    // Files that arrive while the window is open show when their tab is entered.
    writeFile(home(QStringLiteral("novo.xml")));
    writeFile(server("sig") + QStringLiteral("/poslano.sig"));
    writeFile(server("sig") + QStringLiteral("/tuj.sig"));
    writeFile(home(QStringLiteral("Dokument.PDF")));

    pcMain->setCurrentWidget(window_->findChild<QWidget*>(QStringLiteral("tsATVP")));
    EXPECT_EQ(texts(lbNeposlana), QStringList{QStringLiteral("novo.xml")});
    ASSERT_EQ(texts(clbPoslana), (QStringList{QStringLiteral("poslano.sig"), QStringLiteral("tuj.sig")}));
    EXPECT_EQ(clbPoslana->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(clbPoslana->item(1)->checkState(), Qt::Unchecked);

    pcMain->setCurrentWidget(window_->findChild<QWidget*>(QStringLiteral("TabSheet1")));
    EXPECT_EQ(texts(lbPDFPDF), QStringList{QStringLiteral("Dokument.PDF")});
    EXPECT_EQ(ui_.texts(QStringLiteral("error")), QStringList());
}

}  // namespace
