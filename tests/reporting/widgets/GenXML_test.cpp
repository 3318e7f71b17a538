#include "app/widgets/TfZTFI.h"

#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"
#include "ui/TPTypedEdit.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);

// "Nabor" then "Generiranje XML poročila" in the main window over a fixture database whose
// folder is the program folder.
class GenXMLTest : public testing::Test {
protected:
    GenXMLTest() : fixture(db)
    {
        db.basics();
        db.instrument({}).listing({});
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window_->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void selectAndGenerate()
    {
        fixture.writeIni();
        window_ = std::make_unique<TfZTFI>(fixture.app());
        child<TPTypedEdit>("dtpDan")->setAsDate(kDay);
        child<TPTypedEdit>("dtpDanDo")->setAsDate(kDay);
        child<QPushButton>("bbNabor")->click();
        ASSERT_TRUE(child<QPushButton>("bbGenXML")->isEnabled());
        child<QPushButton>("bbGenXML")->click();
    }

    // The name of the first report of the current year.
    static QString firstReport(const char* extension)
    {
        return QStringLiteral("TRDAT01_1234567000_0001_") + QDate::currentDate().toString(QStringLiteral("yy"))
            + QLatin1String(extension);
    }

    bool errorsShown(const char* name) { return !child<QWidget>(name)->isHidden(); }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window_;
};

TEST_F(GenXMLTest, ValidReportIsListedOnTheTabATVP)
{
    db.trade({.id = 7, .day = kDay});

    selectAndGenerate();

    EXPECT_EQ(fixture.ui().messages(), QStringList());
    EXPECT_TRUE(QFileInfo::exists(QDir(db.folder()).filePath(firstReport(".xml"))));
    EXPECT_EQ(child<QTabWidget>("pcMain")->currentWidget(), child<QWidget>("tsATVP"));
    EXPECT_FALSE(errorsShown("Label1"));
    EXPECT_FALSE(errorsShown("eXMLFile"));
    EXPECT_FALSE(errorsShown("mXMLNapake"));
    const QList<QListWidgetItem*> listed =
        child<QListWidget>("lbNeposlana")->findItems(firstReport(".xml"), Qt::MatchContains);
    EXPECT_EQ(listed.size(), 1);
}

TEST_F(GenXMLTest, SchemaFaultIsShownOnTheTabATVP)
{
    // A kind of trade that is neither a buy nor a sell leaves the indicator empty.
    db.trade({.id = 7, .day = kDay, .kind = QStringLiteral("Z")});

    selectAndGenerate();

    EXPECT_EQ(fixture.ui().messages(), QStringList());
    EXPECT_EQ(child<QTabWidget>("pcMain")->currentWidget(), child<QWidget>("tsATVP"));
    EXPECT_TRUE(errorsShown("Label1"));
    EXPECT_TRUE(errorsShown("eXMLFile"));
    EXPECT_TRUE(errorsShown("mXMLNapake"));
    EXPECT_EQ(child<QLineEdit>("eXMLFile")->text(), QDir(db.folder()).filePath(firstReport(".xml")));
    EXPECT_EQ(child<QPlainTextEdit>("mXMLNapake")->toPlainText(),
              QStringLiteral(",Element 'BuySellIndicator': [facet 'enumeration'] The value '' is not an element "
                             "of the set {'B', 'S'}."));
    EXPECT_TRUE(QFileInfo::exists(QDir(db.folder()).filePath(firstReport(".bad"))));
    EXPECT_FALSE(QFileInfo::exists(QDir(db.folder()).filePath(firstReport(".xml"))));
}

}  // namespace
