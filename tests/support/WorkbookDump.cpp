#include "support/WorkbookDump.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

std::vector<DumpedSheet> dumpWithXlrd(const QString& path)
{
    QProcess python;
    // Debian's interpreter, which python3-xlrd installs into.
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(ZTFI_SOURCE_DIR "/tests/support/dump_workbook.py"), path});
    python.waitForFinished(120000);
    const QByteArray output = python.readAllStandardOutput();
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        ADD_FAILURE() << "xlrd could not read " << path.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return {};
    }
    std::vector<DumpedSheet> sheets;
    for (const QJsonValue& sheetValue : QJsonDocument::fromJson(output).array()) {
        const QJsonObject sheet = sheetValue.toObject();
        DumpedSheet dumped{sheet.value(QStringLiteral("name")).toString(), {}};
        for (const QJsonValue& row : sheet.value(QStringLiteral("rows")).toArray()) {
            QStringList cells;
            for (const QJsonValue& cell : row.toArray())
                cells.append(cell.toString());
            dumped.rows.append(cells);
        }
        sheets.push_back(dumped);
    }
    return sheets;
}
