#include "app/widgets/TfZTFI.h"

#include "exchange/CellBlock.h"
#include "exchange/WorkbookWriter.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "ui/TFwwDBGrid.h"
#include "ui/TPTypedEdit.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QDate kDay(2026, 3, 2);

// The tab "Import .xls" of the main window over a fixture database with instrument 1 (DELA).
class ImportXLSTabTest : public testing::Test {
protected:
    ImportXLSTabTest() : fixture(db)
    {
        db.basics().instrument({});
        fixture.writeIni();
        window = std::make_unique<TfZTFI>(fixture.app());
        window->findChild<TPTypedEdit*>(QStringLiteral("pteImpDan"))->setAsDate(kDay);
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // A sheet of a header and one row per short name, all on 2.3.2026.
    QString sheet(const QStringList& shortNames)
    {
        CellBlock values(int(shortNames.size()) + 1, 19);
        values.at(1, 1) = Cell::text(QStringLiteral("Datum transakcije"));
        for (int r = 0; r < shortNames.size(); ++r) {
            values.at(r + 2, 1) = Cell::text(QStringLiteral("02.03.2026"));
            values.at(r + 2, 2) = Cell::text(QStringLiteral("10:00:00"));
            values.at(r + 2, 6) = Cell::text(QStringLiteral("SI0000000011"));
            values.at(r + 2, 7) = Cell::text(shortNames[r]);
            values.at(r + 2, 19) = Cell::number(100 + r);
        }
        const QString path = db.folder() + QStringLiteral("/manual.xls");
        writeWorkbook(path, {SheetContent{QStringLiteral("ZTFI Export"), values}});
        return path;
    }

    FixtureDb db;
    FixtureApp fixture;
    std::unique_ptr<TfZTFI> window;
};

// An import with an error keeps every correct row, shows the error list above a higher top
// area and lists the day's rows.
TEST_F(ImportXLSTabTest, AnImportWithErrorsShowsTheErrorListAndKeepsTheCorrectRows)
{
    fixture.ui().answerFileToOpen(sheet({"DELA", "NIC", "DELA"}));
    fixture.ui().answerOkCancel(true);
    fixture.ui().answerAbortIgnore(Interaction::AbortIgnore::Ignore);

    child<QPushButton>("bbImportXLS")->click();

    auto* errors = child<QPlainTextEdit>("mImportXLSNapake");
    EXPECT_EQ(errors->toPlainText(),
              QStringLiteral("Za ISIN \"SI0000000011\" in kratico \"NIC\" ne najdem ustreznega fin. instrumenta!"));
    EXPECT_FALSE(child<QWidget>("pnlImportXLSNapake")->isHidden());
    EXPECT_EQ(child<QWidget>("pnlImportTop")->height(), 186);
    EXPECT_EQ(child<TFwwDBGrid>("dbgImport")->model()->rowCount(), 2);
    EXPECT_TRUE(child<QProgressBar>("pbImportXLS")->isHidden());

    // A clean import hides the list of errors again; "Brisanje nabora" empties the day.
    fixture.ui().answerFileToOpen(sheet({"DELA"}));
    fixture.ui().answerOkCancel(true);
    child<QPushButton>("bbImportXLS")->click();
    EXPECT_TRUE(child<QWidget>("pnlImportXLSNapake")->isHidden());
    EXPECT_EQ(child<QWidget>("pnlImportTop")->height(), 26);
    fixture.ui().answerOkCancel(true);
    child<QPushButton>("bbImpBrisi")->click();
    EXPECT_EQ(child<TFwwDBGrid>("dbgImport")->model()->rowCount(), 0);
    EXPECT_EQ(db.value(QStringLiteral("SELECT COUNT(*) FROM DPATVPIMP")).toInt(), 0);
}

}  // namespace
