#pragma once

#include "exchange/Cell.h"

#include <vector>

// A rectangle of cell values, rows first, indexed from 1 as a worksheet numbers its rows and
// columns: at(1, 1) is the top left value. Written to a sheet at once, or read from one.
class CellBlock {
public:
    CellBlock() = default;
    CellBlock(int rows, int columns);

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    // Throws WorkbookError outside 1..rows() and 1..columns().
    const Cell& at(int row, int column) const;
    Cell& at(int row, int column);

private:
    int index(int row, int column) const;

    int rows_ = 0;
    int columns_ = 0;
    std::vector<Cell> cells_;
};
