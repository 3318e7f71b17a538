#include "exchange/XlsxReader.h"

#include "exchange/NumberFormatKind.h"
#include "exchange/ReadBudget.h"
#include "exchange/WorkbookReadError.h"
#include "exchange/XlsxPackage.h"

#include <QHash>

#include <utility>

namespace {

const QString kTooLong = QStringLiteral("besedilo celice je daljše od 32767 znakov");
const QString kUncalculated = QStringLiteral(
    "delovni zvezek vsebuje formule, ki niso bile nikoli izračunane; odprite ga v programu za preglednice, ga shranite "
    "in ga nato uvozite znova");

struct SheetEntry {
    QString name;
    QString relationship;
};

// The targets of a part's relationships by identifier, resolved to part names, and the
// targets by the last segment of their type ("officeDocument", "sharedStrings", "styles").
struct Relationships {
    QHash<QString, QString> byId;
    QHash<QString, QString> byType;
};

QString relationshipsPartOf(const QString& part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

Relationships readRelationships(const XlsxPackage& package, const QString& sourcePart)
{
    Relationships result;
    const QString name = relationshipsPartOf(sourcePart);
    if (!package.hasPart(name))
        return result;
    auto part = package.open(name);
    while (part->next()) {
        if (!part->isStart("Relationship"))
            continue;
        const QString target = XlsxPackage::resolve(sourcePart, part->attribute("Target"));
        result.byId.insert(part->attribute("Id"), target);
        const QString type = part->attribute("Type");
        result.byType.insert(type.mid(type.lastIndexOf(QLatin1Char('/')) + 1), target);
    }
    return result;
}

std::vector<QString> readSharedStrings(const XlsxPackage& package, const QString& name, ReadBudget& budget)
{
    std::vector<QString> strings;
    if (name.isEmpty() || !package.hasPart(name))
        return strings;
    auto part = package.open(name);
    QString current;
    bool inPhonetic = false;
    while (part->next()) {
        if (part->isStart("si") && part->isEmptyElement()) {
            budget.take(0);
            strings.push_back(QString());
        } else if (part->isStart("si")) {
            current.clear();
        } else if (part->isEnd("si")) {
            budget.take(current.size());
            strings.push_back(current);
        }
        else if (part->isStart("rPh"))
            inPhonetic = !part->isEmptyElement();
        else if (part->isEnd("rPh"))
            inPhonetic = false;
        else if (part->isStart("t") && !inPhonetic) {
            current += part->elementText();
            if (current.size() > WorkbookLimits::kTextLength)
                throw workbookReadError(package.path(), kTooLong);
        }
    }
    return strings;
}

// The kind of number shown by each cell format (index of cellXfs).
std::vector<Cell::Kind> readCellFormats(const XlsxPackage& package, const QString& name)
{
    std::vector<Cell::Kind> kinds;
    if (name.isEmpty() || !package.hasPart(name))
        return kinds;
    auto part = package.open(name);
    QHash<int, QString> codes;
    bool inCellFormats = false;
    while (part->next()) {
        if (part->isStart("numFmt"))
            codes.insert(part->attribute("numFmtId").toInt(), part->attribute("formatCode"));
        else if (part->isStart("cellXfs"))
            inCellFormats = !part->isEmptyElement();
        else if (part->isEnd("cellXfs"))
            inCellFormats = false;
        else if (inCellFormats && part->isStart("xf")) {
            const int id = part->attribute("numFmtId").toInt();
            kinds.push_back(kindOfNumberFormat(id, codes.value(id)));
        }
    }
    return kinds;
}

// "AB12" as column 28 and row 12; false when the reference is not of that form.
bool parseReference(const QString& reference, int& row, int& column)
{
    int i = 0;
    int c = 0;
    while (i < reference.size() && reference[i] >= QLatin1Char('A') && reference[i] <= QLatin1Char('Z') && c <= WorkbookLimits::kXlsxColumns)
        c = c * 26 + (reference[i++].unicode() - 'A' + 1);
    bool ok = false;
    const int r = reference.mid(i).toInt(&ok);
    if (i == 0 || !ok || r < 1)
        return false;
    row = r;
    column = c;
    return true;
}

double numberOf(const QString& text, bool& ok)
{
    return text.trimmed().toDouble(&ok);
}

class SheetReader {
public:
    SheetReader(const XlsxPackage& package, const std::vector<QString>& strings,
                const std::vector<Cell::Kind>& formats, bool date1904, ReadBudget& budget)
        : package_(package), strings_(strings), formats_(formats), date1904_(date1904), budget_(budget)
    {
    }

    WorkbookSheet read(const QString& name, const QString& partName)
    {
        WorkbookSheet sheet(name);
        auto part = package_.open(partName);
        int row = 0;
        int column = 0;
        while (part->next()) {
            if (part->isStart("row")) {
                const QString r = part->attribute("r");
                row = r.isEmpty() ? row + 1 : r.toInt();
                column = 0;
                checkPosition(row, 1);
            } else if (part->isStart("c")) {
                const QString reference = part->attribute("r");
                const QString type = part->attribute("t");
                if (reference.isEmpty())
                    ++column;
                else if (!parseReference(reference, row, column))
                    damaged();
                checkPosition(row, column);
                const Cell cell = readCell(*part);
                if (cell.kind() != Cell::Kind::Empty) {
                    budget_.take(cell.kind() == Cell::Kind::Text && type != QLatin1String("s") ? cell.toText().size() : 0);
                    sheet.setCell(row, column, cell);
                }
            }
        }
        return sheet;
    }

private:
    [[noreturn]] void damaged() const { throw workbookReadError(package_.path(), kDamaged); }

    void checkPosition(int row, int column) const
    {
        if (row < 1 || row > WorkbookLimits::kXlsxRows || column < 1 || column > WorkbookLimits::kXlsxColumns)
            damaged();
    }

    // The value of a <c> element, the reader positioned on its start.
    Cell readCell(XlsxPackage::Part& part) const
    {
        const QString type = part.attribute("t");
        const int style = part.attribute("s").toInt();
        if (part.isEmptyElement())
            return Cell();
        QString value;
        QString inlineText;
        bool hasValue = false;
        bool hasFormula = false;
        while (part.next() && !part.isEnd("c")) {
            if (part.isStart("f")) {
                hasFormula = true;
            } else if (part.isStart("v")) {
                value = part.elementText();
                hasValue = true;
            } else if (part.isStart("t")) {
                inlineText += part.elementText();
                if (inlineText.size() > WorkbookLimits::kTextLength)
                    throw workbookReadError(package_.path(), kTooLong);
            } else if (part.isStart("rPh") && !part.isEmptyElement()) {
                while (part.next() && !part.isEnd("rPh")) {
                }
            }
        }
        if (type == QLatin1String("inlineStr"))
            return Cell::text(inlineText);
        // A program that writes formulas without calculating them leaves their values out; only
        // a spreadsheet program that opens and saves the workbook stores them.
        if (hasFormula && (!hasValue || (value.isEmpty() && type != QLatin1String("str"))))
            throw workbookReadError(package_.path(), kUncalculated);
        if (!hasValue)
            return Cell();
        bool ok = true;
        if (type == QLatin1String("s")) {
            const int index = value.toInt(&ok);
            if (!ok || index < 0 || size_t(index) >= strings_.size())
                damaged();
            return Cell::text(strings_[size_t(index)]);
        }
        if (type == QLatin1String("str"))
            return Cell::text(value);
        if (type == QLatin1String("b"))
            return Cell::boolean(value.trimmed() == QLatin1String("1"));
        if (type == QLatin1String("e"))
            return Cell::error(value);
        if (type == QLatin1String("d")) {
            const QDateTime moment = QDateTime::fromString(value, Qt::ISODateWithMs);
            if (!moment.isValid())
                damaged();
            return Cell::dateTime(moment);
        }
        const double number = numberOf(value, ok);
        if (!ok)
            damaged();
        const Cell::Kind kind = style >= 0 && size_t(style) < formats_.size() ? formats_[size_t(style)] : Cell::Kind::Number;
        if (kind == Cell::Kind::Number)
            return Cell::number(number);
        return Cell::serial(kind, date1904_ ? number + k1904Offset : number);
    }

    const XlsxPackage& package_;
    const std::vector<QString>& strings_;
    const std::vector<Cell::Kind>& formats_;
    bool date1904_;
    ReadBudget& budget_;
};

}  // namespace

std::vector<WorkbookSheet> readXlsxSheets(const QString& path)
{
    XlsxPackage package(path);
    const QString workbookPart = readRelationships(package, QString()).byType.value(QStringLiteral("officeDocument"));
    if (workbookPart.isEmpty() || !package.hasPart(workbookPart))
        throw workbookReadError(path, kNotWorkbook);

    std::vector<SheetEntry> entries;
    bool date1904 = false;
    {
        auto part = package.open(workbookPart);
        while (part->next()) {
            if (part->isStart("workbookPr")) {
                const QString flag = part->attribute("date1904");
                date1904 = flag == QLatin1String("1") || flag == QLatin1String("true");
            } else if (part->isStart("sheet")) {
                entries.push_back({part->attribute("name"), part->attribute("id")});
            }
        }
    }
    const Relationships relationships = readRelationships(package, workbookPart);
    ReadBudget budget(path);
    const std::vector<QString> strings =
        readSharedStrings(package, relationships.byType.value(QStringLiteral("sharedStrings")), budget);
    const std::vector<Cell::Kind> formats = readCellFormats(package, relationships.byType.value(QStringLiteral("styles")));

    SheetReader reader(package, strings, formats, date1904, budget);
    std::vector<WorkbookSheet> sheets;
    for (const SheetEntry& entry : entries) {
        const QString partName = relationships.byId.value(entry.relationship);
        if (partName.isEmpty() || !package.hasPart(partName))
            throw workbookReadError(path, kDamaged);
        sheets.push_back(reader.read(entry.name, partName));
    }
    return sheets;
}
