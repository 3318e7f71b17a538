#include "exchange/ExcelDataImport.h"

#include "exchange/ColumnLetters.h"
#include "exchange/DataImportError.h"

TExcelDataImport::TExcelDataImport(bool ignoreFormulaErrors, bool preload)
    : ignoreFormulaErrors_(ignoreFormulaErrors && !preload), preload_(preload)
{
}

void TExcelDataImport::DoOpen(const QString& fileName)
{
    workbook_.reset();
    workbook_.emplace(Workbook::open(fileName));
    if (workbook_->sheetCount() == 0) {
        workbook_.reset();
        throw EDataImportError(QStringLiteral("Workbook %1 is empty.").arg(fileName));
    }
    if (preload_)
        block_ = sheet().range(sheet().usedRows(), sheet().usedColumns());
    row_ = 1;
}

const WorkbookSheet& TExcelDataImport::sheet() const
{
    if (!workbook_)
        throw EDataImportError(className() + QStringLiteral(": data not loaded."));
    return workbook_->sheet(1);
}

Cell TExcelDataImport::GetValue(int index)
{
    if (preload_) {
        sheet();
        return block_.at(row_, index + 1);
    }
    columnLetters(index + 1);
    const Cell& cell = sheet().cell(row_, index + 1);
    if (ignoreFormulaErrors_ && cell.isError())
        return Cell::text(QString());
    return cell;
}

bool TExcelDataImport::Eof()
{
    if (preload_) {
        sheet();
        return row_ > block_.rows();
    }
    return sheet().cell(row_, 1).toText().isEmpty();
}
