#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

#include <utility>
#include <vector>

// .xlsx files written part by part, as another program would write them: the package's
// relationships, a workbook of the named sheets, and the given parts (sheet XML, shared
// strings, styles) as they are.
namespace XlsxFixture {

// Writes the parts into a zip archive at path.
void writeParts(const QString& path, const QMap<QString, QByteArray>& parts);

// A package of one workbook "xl/workbook.xml" whose sheets are "xl/worksheets/sheetN.xml" with
// the given names and <sheetData> contents, in order, and optional shared strings (<sst> content) and styles
// (<styleSheet> content). workbookProperties is the <workbookPr> element or empty.
QMap<QString, QByteArray> workbookParts(const std::vector<std::pair<QString, QByteArray>>& sheetData,
                                        const QByteArray& sharedStrings = QByteArray(),
                                        const QByteArray& styles = QByteArray(),
                                        const QByteArray& workbookProperties = QByteArray());
// The parts of workbookParts written as a package at path.
void writeWorkbook(const QString& path, const std::vector<std::pair<QString, QByteArray>>& sheetData,
                   const QByteArray& sharedStrings = QByteArray(), const QByteArray& styles = QByteArray(),
                   const QByteArray& workbookProperties = QByteArray());

}  // namespace XlsxFixture
