#pragma once

#include "exchange/Cell.h"
#include "exchange/CellBlock.h"

#include <QString>

#include <utility>
#include <vector>

// One worksheet of a workbook read from a file: its name, its used range and its cells.
// Rows and columns are numbered from 1.
class WorkbookSheet {
public:
    explicit WorkbookSheet(const QString& name) : name_(name) {}

    const QString& name() const { return name_; }
    // The used range from A1: the last row and the last column that hold a cell (0 and 0 for a
    // sheet without cells).
    int usedRows() const { return int(rows_.size()); }
    int usedColumns() const { return usedColumns_; }
    // The cell at (row, column); an empty cell outside the used range.
    const Cell& cell(int row, int column) const;
    // The row holds no cell with a value (an empty text is none).
    bool isRowEmpty(int row) const;
    // The values from A1 to (rows, columns) as one block.
    CellBlock range(int rows, int columns) const;

    // The cells of a row that hold something, by column in ascending order: a row takes the
    // memory of its cells, not of its width.
    using Row = std::vector<std::pair<int, Cell>>;

    // Used by the readers while they fill the sheet; an empty cell is not kept.
    void setCell(int row, int column, const Cell& value);
    // The cells a reader collected for one row, by column, each as setCell() would set it; a row
    // read in ascending columns goes in whole, in memory of its size. The cells are moved out.
    void setCells(int row, Row& cells);

private:

    QString name_;
    std::vector<Row> rows_;
    int usedColumns_ = 0;
};

// A workbook read whole from a file: a legacy .xls (BIFF8 in a compound file) or an .xlsx,
// recognised by the file's content, not by its name.
class Workbook {
public:
    // Throws WorkbookError with a message for the user naming the file and the reason when the
    // file is missing, is not a workbook, or is damaged.
    static Workbook open(const QString& path);

    int sheetCount() const { return int(sheets_.size()); }
    // The worksheet by number, from 1; throws WorkbookError for another number.
    const WorkbookSheet& sheet(int number) const;

private:
    Workbook(const QString& path, std::vector<WorkbookSheet> sheets);

    QString path_;
    std::vector<WorkbookSheet> sheets_;
};

// The limits of a worksheet in the two formats.
namespace WorkbookLimits {
inline constexpr int kXlsRows = 65536;
inline constexpr int kXlsColumns = 256;
inline constexpr int kXlsxRows = 1048576;
inline constexpr int kXlsxColumns = 16384;
inline constexpr int kTextLength = 32767;
}  // namespace WorkbookLimits
