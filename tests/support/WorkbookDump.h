#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// A workbook as an independent reader (Debian's python3-xlrd) sees it: each sheet's name and
// rows, each cell as "kind:value": "text:Valuta", "number:1234.5", "date:2024-03-05 15:45:10"
// ("date:0000-00-00 ..." for a time alone), "empty:".
struct DumpedSheet {
    QString name;
    QList<QStringList> rows;
};

// Fails the running test when the reader cannot open the file.
std::vector<DumpedSheet> dumpWithXlrd(const QString& path);
