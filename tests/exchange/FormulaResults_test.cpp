#include "exchange/Workbook.h"

#include "support/SqlScript.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// formulas.xls was saved by LibreOffice from formulas.fods: a sheet of manual transactions whose
// day, time, short name, price, quantity and reference number are formulas, one price dividing
// by zero, and a comparison in column U.
const QString kSaved = QStringLiteral("tests/exchange/fixtures/formulas.xls");

// Row r's cells of columns A to U as "kind:text".
QStringList cellsOf(const WorkbookSheet& sheet, int row)
{
    QStringList cells;
    for (int c = 1; c <= 21; ++c) {
        const Cell& cell = sheet.cell(row, c);
        cells.append(QString::number(int(cell.kind())) + QLatin1Char(':') + cell.toText());
    }
    return cells;
}

TEST(FormulaResultsTest, FormulaCellsOfASavedXlsGiveTheResultsTheSpreadsheetStored)
{
    const Workbook book = Workbook::open(sourcePath(kSaved));
    const WorkbookSheet& sheet = book.sheet(1);
    EXPECT_EQ(sheet.name(), QStringLiteral("ZTFI Export"));

    const Cell& day = sheet.cell(2, 1);
    EXPECT_EQ(day.kind(), Cell::Kind::Date);
    EXPECT_EQ(day.toText(), QStringLiteral("02.03.2026"));
    EXPECT_EQ(sheet.cell(2, 2).kind(), Cell::Kind::Time);
    EXPECT_EQ(sheet.cell(2, 2).toText(), QStringLiteral("09:30:15"));
    EXPECT_EQ(sheet.cell(2, 7), Cell::text(QStringLiteral("DELA")));
    EXPECT_EQ(sheet.cell(2, 8), Cell::number(12.5));
    EXPECT_EQ(sheet.cell(2, 11), Cell::number(1500));
    EXPECT_EQ(sheet.cell(2, 19), Cell::number(11));
    EXPECT_EQ(sheet.cell(2, 21), Cell::boolean(true));
    EXPECT_EQ(sheet.cell(3, 1).toText(), QStringLiteral("02.03.2026"));
    EXPECT_EQ(sheet.cell(3, 8), Cell::error(QStringLiteral("#DIV/0!")));
    EXPECT_EQ(sheet.cell(3, 19), Cell::number(12));
    EXPECT_EQ(sheet.cell(2, 10), Cell::text(QStringLiteral("eur")));
}

// The fixture's source saved again by the LibreOffice of this machine, as .xls and .xlsx, reads
// as the saved fixture does. Skipped where LibreOffice is not installed.
TEST(FormulaResultsTest, WorkbooksThatLibreOfficeSavesReadAsTheFixture)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    QTemporaryDir folder;
    const Workbook saved = Workbook::open(sourcePath(kSaved));
    for (const QString& format : {QStringLiteral("xls"), QStringLiteral("xlsx")}) {
        SCOPED_TRACE(format.toStdString());
        QProcess convert;
        convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + folder.path() + QStringLiteral("/profile"),
                               QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                               QStringLiteral("--outdir"), folder.path(),
                               sourcePath(QStringLiteral("tests/exchange/fixtures/formulas.fods"))});
        ASSERT_TRUE(convert.waitForFinished(180000));
        const QString converted = QDir(folder.path()).filePath(QStringLiteral("formulas.") + format);
        ASSERT_TRUE(QFileInfo::exists(converted)) << convert.readAllStandardError().toStdString();
        const Workbook book = Workbook::open(converted);
        for (int row = 1; row <= 3; ++row)
            EXPECT_EQ(cellsOf(book.sheet(1), row), cellsOf(saved.sheet(1), row)) << "row " << row;
    }
}

}  // namespace
