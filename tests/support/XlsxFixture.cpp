#include "support/XlsxFixture.h"

#include <QFile>

#include <gtest/gtest.h>
#include <zip.h>

namespace XlsxFixture {

void writeParts(const QString& path, const QMap<QString, QByteArray>& parts)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr) << "zip_open " << error;
    for (auto part = parts.begin(); part != parts.end(); ++part) {
        zip_source_t* source = zip_source_buffer(archive, part.value().constData(), zip_uint64_t(part.value().size()), 0);
        ASSERT_GE(zip_file_add(archive, part.key().toUtf8().constData(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

QMap<QString, QByteArray> workbookParts(const std::vector<std::pair<QString, QByteArray>>& sheetData,
                                        const QByteArray& sharedStrings, const QByteArray& styles,
                                        const QByteArray& workbookProperties)
{
    const QByteArray main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    QMap<QString, QByteArray> parts;
    parts.insert(QStringLiteral("_rels/.rels"),
                 "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                 "<Relationship Id=\"rId1\" Type=\"" + rel + "/officeDocument\" Target=\"/xl/workbook.xml\"/></Relationships>");
    QByteArray sheets;
    QByteArray relationships;
    for (size_t i = 0; i < sheetData.size(); ++i) {
        const QByteArray n = QByteArray::number(qulonglong(i + 1));
        sheets += "<sheet name=\"" + sheetData[i].first.toUtf8() + "\" sheetId=\"" + n + "\" r:id=\"rIdS" + n + "\"/>";
        relationships += "<Relationship Id=\"rIdS" + n + "\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.insert(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1),
                     "<?xml version=\"1.0\"?><worksheet xmlns=\"" + main + "\"><sheetData>" + sheetData[i].second
                         + "</sheetData></worksheet>");
    }
    if (!sharedStrings.isEmpty()) {
        relationships += "<Relationship Id=\"rIdT\" Type=\"" + rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        parts.insert(QStringLiteral("xl/sharedStrings.xml"), "<?xml version=\"1.0\"?><sst xmlns=\"" + main + "\">" + sharedStrings + "</sst>");
    }
    if (!styles.isEmpty()) {
        relationships += "<Relationship Id=\"rIdY\" Type=\"" + rel + "/styles\" Target=\"styles.xml\"/>";
        parts.insert(QStringLiteral("xl/styles.xml"), "<?xml version=\"1.0\"?><styleSheet xmlns=\"" + main + "\">" + styles + "</styleSheet>");
    }
    parts.insert(QStringLiteral("xl/workbook.xml"), "<?xml version=\"1.0\"?><workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel + "\">"
                                                        + workbookProperties + "<sheets>" + sheets + "</sheets></workbook>");
    parts.insert(QStringLiteral("xl/_rels/workbook.xml.rels"),
                 "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                     + relationships + "</Relationships>");
    return parts;
}

void writeWorkbook(const QString& path, const std::vector<std::pair<QString, QByteArray>>& sheetData,
                   const QByteArray& sharedStrings, const QByteArray& styles, const QByteArray& workbookProperties)
{
    writeParts(path, workbookParts(sheetData, sharedStrings, styles, workbookProperties));
}

}  // namespace XlsxFixture
