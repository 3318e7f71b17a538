#include "exchange/XlsxSheetReader.h"

#include "exchange/ReadBudget.h"
#include "exchange/WorkbookReadError.h"
#include "exchange/XlsxBytes.h"

#include <QDateTime>

#include <libxml/parserInternals.h>

namespace {

// The most bytes the value of one cell may hold: the parser's own limit of one text when it
// builds nodes (a number is far shorter; inline texts are held to 32767 characters).
constexpr size_t kValueBytes = XML_MAX_TEXT_LENGTH;

const QString kUncalculated = QStringLiteral(
    "delovni zvezek vsebuje formule, ki niso bile nikoli izračunane; odprite ga v programu za preglednice, ga shranite "
    "in ga nato uvozite znova");

// The UTF-16 units of well-formed UTF-8 (the parser hands over nothing else): one for each
// sequence, two for one of four bytes.
qsizetype utf16Length(std::string_view text)
{
    qsizetype units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80;
        units += byte >= 0xF0;
    }
    return units;
}

// "AB12" as column 28 and row 12; false when the reference is not of that form.
bool parseReference(std::string_view reference, int& row, int& column)
{
    size_t i = 0;
    int c = 0;
    while (i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z' && c <= WorkbookLimits::kXlsxColumns)
        c = c * 26 + (reference[i++] - 'A' + 1);
    bool ok = false;
    const int r = xlsxInteger(reference.substr(i), ok);
    if (i == 0 || !ok || r < 1)
        return false;
    row = r;
    column = c;
    return true;
}

}  // namespace

XlsxSheetReader::XlsxSheetReader(const XlsxPackage& package, const std::vector<QString>& strings,
                                 const std::vector<Cell::Kind>& formats, bool date1904, ReadBudget& budget)
    : package_(package), strings_(strings), formats_(formats), date1904_(date1904), budget_(budget)
{
}

WorkbookSheet XlsxSheetReader::read(const QString& name, const QString& partName)
{
    WorkbookSheet sheet(name);
    sheet_ = &sheet;
    row_ = 0;
    column_ = 0;
    depth_ = 0;
    inCell_ = false;
    skippingPhonetic_ = false;
    collecting_ = Collecting::Nothing;
    pendingRow_ = 0;
    pending_.clear();
    lastText_.clear();
    XlsxPartParser::parse(package_, partName, *this);
    flushRow();
    sheet_ = nullptr;
    return sheet;
}

void XlsxSheetReader::damaged() const
{
    throw workbookReadError(package_.path(), kDamaged);
}

void XlsxSheetReader::checkPosition(int row, int column) const
{
    if (row < 1 || row > WorkbookLimits::kXlsxRows || column < 1 || column > WorkbookLimits::kXlsxColumns)
        damaged();
}

void XlsxSheetReader::startElement(std::string_view localName, const XlsxPartParser::Attributes& attributes, bool isEmpty)
{
    ++depth_;
    if (collecting_ != Collecting::Nothing)
        return;  // the text of a <v> or <t> takes in whatever it holds
    if (skippingPhonetic_) {
        skippingPhonetic_ = !(localName == "rPh" && isEmpty);
        return;
    }
    if (!inCell_) {
        if (localName == "row") {
            const std::string_view r = attributes.value("r");
            bool ok = false;
            row_ = r.empty() ? row_ + 1 : xlsxInteger(r, ok);
            column_ = 0;
            checkPosition(row_, 1);
        } else if (localName == "c") {
            startCell(attributes, isEmpty);
        }
        return;
    }
    if (localName == "f") {
        hasFormula_ = true;
    } else if (localName == "v") {
        value_.clear();
        hasValue_ = true;
        collecting_ = Collecting::Value;
        collectingDepth_ = depth_;
    } else if (localName == "t") {
        collecting_ = Collecting::Text;
        collectingDepth_ = depth_;
    } else if (localName == "rPh") {
        skippingPhonetic_ = !isEmpty;
    } else if (localName == "c" && isEmpty) {
        endCell();
    }
}

void XlsxSheetReader::endElement(std::string_view localName)
{
    const int depth = depth_--;
    if (collecting_ != Collecting::Nothing) {
        if (depth != collectingDepth_)
            return;
        collecting_ = Collecting::Nothing;
    } else if (skippingPhonetic_) {
        skippingPhonetic_ = localName != "rPh";
    } else if (inCell_ && localName == "c") {
        endCell();
    }
}

void XlsxSheetReader::characters(std::string_view text)
{
    // The limits hold while the text arrives: the parser hands over a text of any length in
    // pieces, and a small archive may inflate to gigabytes of one cell.
    if (collecting_ == Collecting::Value) {
        if (value_.size() + text.size() > kValueBytes)
            damaged();
        value_ += text;
    } else if (collecting_ == Collecting::Text) {
        inlineLength_ += utf16Length(text);
        if (inlineLength_ > WorkbookLimits::kTextLength)
            throw workbookReadError(package_.path(), kTextTooLong);
        inlineText_ += text;
    }
}

void XlsxSheetReader::startCell(const XlsxPartParser::Attributes& attributes, bool isEmpty)
{
    const std::string_view reference = attributes.value("r");
    if (reference.empty())
        ++column_;
    else if (!parseReference(reference, row_, column_))
        damaged();
    checkPosition(row_, column_);
    bool ok = false;
    style_ = xlsxInteger(attributes.value("s"), ok);
    if (isEmpty)
        return;  // no value
    type_ = attributes.value("t");
    value_.clear();
    inlineText_.clear();
    inlineLength_ = 0;
    hasValue_ = false;
    hasFormula_ = false;
    inCell_ = true;
}

void XlsxSheetReader::endCell()
{
    inCell_ = false;
    const Cell cell = cellValue();
    if (cell.kind() == Cell::Kind::Empty)
        return;
    budget_.take(cell.kind() == Cell::Kind::Text && type_ != "s" ? cell.toText().size() : 0);
    if (row_ != pendingRow_)
        flushRow();
    pendingRow_ = row_;
    pending_.emplace_back(column_, cell);
}

void XlsxSheetReader::flushRow()
{
    if (!pending_.empty())
        sheet_->setCells(pendingRow_, pending_);
    pending_.clear();
}

const QString& XlsxSheetReader::textOf(int column, const std::string& bytes)
{
    if (size_t(column) > lastText_.size())
        lastText_.resize(size_t(column));
    auto& [lastBytes, text] = lastText_[size_t(column - 1)];
    if (text.isNull() || lastBytes != bytes) {
        lastBytes = bytes;
        text = xlsxText(bytes);
    }
    return text;
}

Cell XlsxSheetReader::cellValue()
{
    if (type_ == "inlineStr")
        return Cell::text(textOf(column_, inlineText_));
    // A program that writes formulas without calculating them leaves their values out; only
    // a spreadsheet program that opens and saves the workbook stores them.
    if (hasFormula_ && (!hasValue_ || (value_.empty() && type_ != "str")))
        throw workbookReadError(package_.path(), kUncalculated);
    if (!hasValue_)
        return Cell();
    bool ok = true;
    if (type_ == "s") {
        const int index = xlsxInteger(value_, ok);
        if (!ok || index < 0 || size_t(index) >= strings_.size())
            damaged();
        return Cell::text(strings_[size_t(index)]);
    }
    if (type_ == "str")
        return Cell::text(textOf(column_, value_));
    if (type_ == "b")
        return Cell::boolean(xlsxText(value_).trimmed() == QLatin1String("1"));
    if (type_ == "e")
        return Cell::error(xlsxText(value_));
    if (type_ == "d") {
        const QDateTime moment = QDateTime::fromString(xlsxText(value_), Qt::ISODateWithMs);
        if (!moment.isValid())
            damaged();
        return Cell::dateTime(moment);
    }
    const double number = xlsxNumber(value_, ok);
    if (!ok)
        damaged();
    const Cell::Kind kind = style_ >= 0 && size_t(style_) < formats_.size() ? formats_[size_t(style_)] : Cell::Kind::Number;
    if (kind == Cell::Kind::Number)
        return Cell::number(number);
    return Cell::serial(kind, date1904_ ? number + k1904Offset : number);
}
