#include "core/Error.h"
#include "data/dataset/Queries.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/ListPrinting.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The program folder is a temporary folder for the test's life.
class ListPrintingTest : public ::testing::Test {
protected:
    ListPrintingTest()
    {
        hadHome_ = qEnvironmentVariableIsSet("ZTFI_HOME");
        savedHome_ = qgetenv("ZTFI_HOME");
        qputenv("ZTFI_HOME", QFile::encodeName(home.path()));
    }
    ~ListPrintingTest() override
    {
        if (hadHome_)
            qputenv("ZTFI_HOME", savedHome_);
        else
            qunsetenv("ZTFI_HOME");
    }

    // The register's rows printed from the print dialog to a file: the dialog's proposal is
    // returned, replaced by `path` unless that is empty.
    QString printToFile(const QString& path)
    {
        query.setSql(QStringLiteral("SELECT 233 AS DPATVPID, '07.12.2026' AS DAN UNION ALL SELECT 234, '08.12.2026'"));
        for (const auto& [name, type, size, label] : {std::tuple{"DPATVPID", FieldType::Integer, 0, "ID za DPATVP"},
                                                      std::tuple{"DAN", FieldType::String, 10, "Dan"}}) {
            FieldDef d;
            d.name = QLatin1String(name);
            d.type = type;
            d.size = size;
            d.displayLabel = QString::fromUtf8(label);
            query.addField(d);
        }
        query.open();
        QString proposed;
        QTimer::singleShot(0, [&proposed, path] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            proposed = fileName->text();
            if (!path.isEmpty())
                fileName->setText(path);
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            printers->setCurrentIndex(printers->count() - 1);  // printing to a file
            dialog->accept();
        });
        ListPrinting::print(nullptr, query, QStringLiteral("Poročila"), QFont(QStringLiteral("DejaVu Sans"), 8));
        return proposed;
    }

    QTemporaryDir home;
    FixtureDb db;
    TFQuery query{db.connection(), QStringLiteral("qDPATVP")};
    bool hadHome_ = false;
    QByteArray savedHome_;
};

TEST_F(ListPrintingTest, TheProposedPdfIsTheTitleInTheProgramFolder)
{
    const struct {
        const char* title;
        const char* name;
    } cases[] = {
        {"Poročila", "Poročila.pdf"},
        {"Šifrant finančnih instrumentov", "Šifrant finančnih instrumentov.pdf"},
        {"/tmp/x : y", "_tmp_x _ y.pdf"},
        {"Vrstice\tdneva", "Vrstice dneva.pdf"},
        {"", "Seznam.pdf"},
        {"..", "Seznam...pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListPrinting::proposedPdfPath(QString::fromUtf8(c.title)), QDir(home.path()).filePath(QString::fromUtf8(c.name)))
            << c.title;
}

// The register printed from the print dialog to the PDF file it proposes: the title on the page,
// the number and the day of a row apart.
TEST_F(ListPrintingTest, PrintToTheProposedPdf)
{
    const QString proposed = printToFile(QString());

    const QString pdf = QDir(home.path()).filePath(QStringLiteral("Poročila.pdf"));
    EXPECT_EQ(proposed, pdf);
    ASSERT_TRUE(QFile::exists(pdf));
    QProcess reader;
    reader.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(reader.waitForFinished(30000));
    const QString text = QString::fromUtf8(reader.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Poročila"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\b233\\s+07\\.12\\.2026\\b")))) << text.toStdString();
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("Poročila.pdf")}) << "no temporary file left";
}

// A file that cannot be made (its folder is a file) is refused with the system's message and
// leaves nothing behind.
TEST_F(ListPrintingTest, AFileThatCannotBeWrittenIsRefused)
{
    QFile blocker(QDir(home.path()).filePath(QStringLiteral("mapa")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        printToFile(QDir(home.path()).filePath(QStringLiteral("mapa/Poročila.pdf")));
        ADD_FAILURE() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Napaka pri pisanju datoteke "))) << e.message().toStdString();
    }
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{QStringLiteral("mapa")});
}

}  // namespace
