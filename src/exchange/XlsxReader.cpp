#include "exchange/XlsxReader.h"

#include "exchange/NumberFormatKind.h"
#include "exchange/ReadBudget.h"
#include "exchange/WorkbookReadError.h"
#include "exchange/XlsxPackage.h"
#include "exchange/XlsxSheetReader.h"

#include <QHash>

#include <utility>

namespace {

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
                throw workbookReadError(package.path(), kTextTooLong);
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

    XlsxSheetReader reader(package, strings, formats, date1904, budget);
    std::vector<WorkbookSheet> sheets;
    for (const SheetEntry& entry : entries) {
        const QString partName = relationships.byId.value(entry.relationship);
        if (partName.isEmpty() || !package.hasPart(partName))
            throw workbookReadError(path, kDamaged);
        sheets.push_back(reader.read(entry.name, partName));
    }
    return sheets;
}
