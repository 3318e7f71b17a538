#pragma once

#include "exchange/CellBlock.h"
#include "exchange/DataImportSource.h"
#include "exchange/Workbook.h"

#include <optional>

// The first worksheet of a workbook (.xls or .xlsx), from row 1. Without Preload each value is
// read from its cell and the rows end at the first row whose column A is empty; with Preload
// the used range is read as one block and the rows end after its last row.
class TExcelDataImport : public TBaseDataImport {
public:
    // Preload switches IgnoreFormulaErrors off.
    TExcelDataImport(bool ignoreFormulaErrors, bool preload);

    // With Preload, a column beyond the used range throws; without it, the column must be
    // 1 to 256 as a column letter (ColumnLetters.h), and an error value of a formula gives the
    // empty text when IgnoreFormulaErrors is set.
    Cell GetValue(int index) override;
    bool Eof() override;
    void First() override { row_ = 1; }
    void Next() override { ++row_; }

protected:
    QString className() const override { return QStringLiteral("TExcelDataImport"); }
    // Throws WorkbookError for a file that is no workbook, EDataImportError "Workbook <name> is
    // empty." for a workbook without worksheets.
    void DoOpen(const QString& fileName) override;

private:
    const WorkbookSheet& sheet() const;

    bool ignoreFormulaErrors_;
    bool preload_;
    std::optional<Workbook> workbook_;
    CellBlock block_;
    int row_ = 1;
};
