#include "exchange/CellBlock.h"

#include "exchange/WorkbookError.h"

CellBlock::CellBlock(int rows, int columns)
    : rows_(qMax(rows, 0)), columns_(qMax(columns, 0)), cells_(size_t(rows_) * size_t(columns_))
{
}

const Cell& CellBlock::at(int row, int column) const
{
    return cells_[size_t(index(row, column))];
}

Cell& CellBlock::at(int row, int column)
{
    return cells_[size_t(index(row, column))];
}

int CellBlock::index(int row, int column) const
{
    if (row < 1 || row > rows_ || column < 1 || column > columns_)
        throw WorkbookError(QStringLiteral("Cell (%1, %2) is outside the block of %3 rows and %4 columns.")
                                .arg(row)
                                .arg(column)
                                .arg(rows_)
                                .arg(columns_));
    return (row - 1) * columns_ + (column - 1);
}
