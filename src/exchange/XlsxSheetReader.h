#pragma once

#include "exchange/Cell.h"
#include "exchange/Workbook.h"
#include "exchange/XlsxPartParser.h"

#include <QString>

#include <string>
#include <utility>
#include <vector>

class ReadBudget;

// The cells of the worksheet parts of one .xlsx workbook, each part read in one pass with
// XlsxPartParser. Rows and cells are taken where they stand, from their references ("B7") or,
// without one, after the row or cell before. Throws WorkbookError.
class XlsxSheetReader : private XlsxPartParser::Handler {
public:
    // strings: the shared strings; formats: the kind of number of each cell format.
    XlsxSheetReader(const XlsxPackage& package, const std::vector<QString>& strings,
                    const std::vector<Cell::Kind>& formats, bool date1904, ReadBudget& budget);

    WorkbookSheet read(const QString& name, const QString& partName);

private:
    // The element whose characters are being collected: a cell's <v> or a text's <t>.
    enum class Collecting { Nothing, Value, Text };

    void startElement(std::string_view localName, const XlsxPartParser::Attributes& attributes, bool isEmpty) override;
    void endElement(std::string_view localName) override;
    void characters(std::string_view text) override;

    void startCell(const XlsxPartParser::Attributes& attributes, bool isEmpty);
    void endCell();
    Cell cellValue();
    // The text of a cell in a column; one equal to the text before in that column shares its string.
    const QString& textOf(int column, const std::string& bytes);
    void flushRow();
    [[noreturn]] void damaged() const;
    void checkPosition(int row, int column) const;

    const XlsxPackage& package_;
    const std::vector<QString>& strings_;
    const std::vector<Cell::Kind>& formats_;
    bool date1904_;
    ReadBudget& budget_;

    WorkbookSheet* sheet_ = nullptr;
    int row_ = 0;
    int column_ = 0;
    int depth_ = 0;
    bool inCell_ = false;
    bool skippingPhonetic_ = false;
    Collecting collecting_ = Collecting::Nothing;
    int collectingDepth_ = 0;

    // The cell being read.
    std::string type_;
    int style_ = 0;
    std::string value_;
    bool hasValue_ = false;
    bool hasFormula_ = false;
    std::string inlineText_;
    qsizetype inlineLength_ = 0;  // in UTF-16 units, as a QString counts them

    // The cells of the row being read, handed to the sheet in one piece.
    int pendingRow_ = 0;
    WorkbookSheet::Row pending_;
    // The last text of each column, as bytes and as the string the cells share.
    std::vector<std::pair<std::string, QString>> lastText_;
};
