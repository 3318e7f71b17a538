#include "exchange/Workbook.h"

#include "exchange/WorkbookError.h"
#include "exchange/WorkbookReadError.h"
#include "exchange/XlsReader.h"
#include "exchange/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

namespace {

enum class Format { Xls, Xlsx, Other };

Format formatOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw workbookReadError(path, file.errorString());
    const QByteArray head = file.read(8);
    static const QByteArray compoundFile("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (head == compoundFile)
        return Format::Xls;
    if (head.startsWith(QByteArray("PK\x03\x04", 4)))
        return Format::Xlsx;
    return Format::Other;
}

}  // namespace

const Cell& WorkbookSheet::cell(int row, int column) const
{
    static const Cell empty;
    if (row < 1 || row > int(rows_.size()))
        return empty;
    const Row& cells = rows_[size_t(row - 1)];
    const auto found = std::lower_bound(cells.begin(), cells.end(), column,
                                        [](const std::pair<int, Cell>& entry, int c) { return entry.first < c; });
    return found != cells.end() && found->first == column ? found->second : empty;
}

bool WorkbookSheet::isRowEmpty(int row) const
{
    if (row < 1 || row > int(rows_.size()))
        return true;
    const Row& cells = rows_[size_t(row - 1)];
    return std::all_of(cells.begin(), cells.end(), [](const std::pair<int, Cell>& entry) { return entry.second.isEmpty(); });
}

CellBlock WorkbookSheet::range(int rows, int columns) const
{
    CellBlock block(rows, columns);
    const int lastRow = qMin(rows, usedRows());
    for (int r = 1; r <= lastRow; ++r) {
        for (const auto& [column, value] : rows_[size_t(r - 1)]) {
            if (column > columns)
                break;
            block.at(r, column) = value;
        }
    }
    return block;
}

void WorkbookSheet::setCell(int row, int column, const Cell& value)
{
    if (value.kind() == Cell::Kind::Empty || row < 1 || column < 1)
        return;
    if (row > int(rows_.size()))
        rows_.resize(size_t(row));
    Row& cells = rows_[size_t(row - 1)];
    if (cells.empty() || cells.back().first < column) {
        cells.emplace_back(column, value);
    } else {
        const auto found = std::lower_bound(cells.begin(), cells.end(), column,
                                            [](const std::pair<int, Cell>& entry, int c) { return entry.first < c; });
        if (found != cells.end() && found->first == column)
            found->second = value;
        else
            cells.emplace(found, column, value);
    }
    usedColumns_ = qMax(usedColumns_, column);
}

void WorkbookSheet::setCells(int row, Row& cells)
{
    const bool whole = row >= 1 && !cells.empty() && cells.front().first >= 1
                       && (row > int(rows_.size()) || rows_[size_t(row - 1)].empty())
                       && std::adjacent_find(cells.begin(), cells.end(),
                                             [](const auto& a, const auto& b) { return a.first >= b.first; }) == cells.end()
                       && std::none_of(cells.begin(), cells.end(),
                                       [](const auto& entry) { return entry.second.kind() == Cell::Kind::Empty; });
    if (!whole) {
        for (const auto& [column, value] : cells)
            setCell(row, column, value);
        return;
    }
    if (row > int(rows_.size()))
        rows_.resize(size_t(row));
    rows_[size_t(row - 1)].assign(std::make_move_iterator(cells.begin()), std::make_move_iterator(cells.end()));
    usedColumns_ = qMax(usedColumns_, cells.back().first);
}

Workbook::Workbook(const QString& path, std::vector<WorkbookSheet> sheets)
    : path_(path), sheets_(std::move(sheets))
{
}

Workbook Workbook::open(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw workbookReadError(path, QStringLiteral("datoteka ne obstaja"));
    switch (formatOf(path)) {
    case Format::Xls:
        return Workbook(path, readXlsSheets(path));
    case Format::Xlsx:
        return Workbook(path, readXlsxSheets(path));
    case Format::Other:
        break;
    }
    throw workbookReadError(path, kNotWorkbook);
}

const WorkbookSheet& Workbook::sheet(int number) const
{
    if (number < 1 || number > sheetCount())
        throw WorkbookError(QStringLiteral("Delovni zvezek %1 nima lista št. %2.").arg(path_).arg(number));
    return sheets_[size_t(number - 1)];
}
