#include "exchange/WorkbookWriter.h"

#include "core/Error.h"
#include "exchange/Workbook.h"
#include "exchange/XlsWriter.h"
#include "exchange/XlsxWriter.h"
#include "core/AtomicFile.h"

#include <QRegularExpression>

namespace {

ZtfiError writeError(const QString& path, const QString& reason)
{
    return ZtfiError(QStringLiteral("Napaka pri pisanju datoteke ") + path + QStringLiteral(": ") + reason,
                     QStringLiteral("EInOutError"));
}

void checkLimits(const QString& path, const std::vector<SheetContent>& sheets, bool xlsx)
{
    const int maxRows = xlsx ? WorkbookLimits::kXlsxRows : WorkbookLimits::kXlsRows;
    const int maxColumns = xlsx ? WorkbookLimits::kXlsxColumns : WorkbookLimits::kXlsColumns;
    const QString format = xlsx ? QStringLiteral(".xlsx") : QStringLiteral(".xls");
    static const QRegularExpression forbidden(QStringLiteral(R"([\[\]:*?/\\])"));
    QStringList names;
    for (const SheetContent& sheet : sheets) {
        const QString quoted = QLatin1Char('"') + sheet.name + QLatin1Char('"');
        if (sheet.name.isEmpty() || sheet.name.size() > 31 || sheet.name.contains(forbidden)
            || sheet.name.startsWith(QLatin1Char('\'')) || sheet.name.endsWith(QLatin1Char('\'')))
            throw writeError(path, QStringLiteral("ime lista %1 ni dovoljeno (1 do 31 znakov, brez [ ] : * ? / \\)").arg(quoted));
        if (names.contains(sheet.name, Qt::CaseInsensitive))
            throw writeError(path, QStringLiteral("ime lista %1 se ponovi").arg(quoted));
        names.append(sheet.name);
        if (sheet.values.rows() > maxRows)
            throw writeError(path, QStringLiteral("list %1 ima %2 vrstic, datoteka %3 jih sprejme največ %4")
                                       .arg(quoted)
                                       .arg(sheet.values.rows())
                                       .arg(format)
                                       .arg(maxRows)
                                   + (xlsx ? QString() : QStringLiteral(" (shranite jo kot .xlsx)")));
        if (sheet.values.columns() > maxColumns)
            throw writeError(path, QStringLiteral("list %1 ima %2 stolpcev, datoteka %3 jih sprejme največ %4")
                                       .arg(quoted)
                                       .arg(sheet.values.columns())
                                       .arg(format)
                                       .arg(maxColumns));
        for (int r = 1; r <= sheet.values.rows(); ++r)
            for (int c = 1; c <= sheet.values.columns(); ++c) {
                const Cell& cell = sheet.values.at(r, c);
                if (cell.kind() == Cell::Kind::Text && cell.toText().size() > WorkbookLimits::kTextLength)
                    throw writeError(path, QStringLiteral("besedilo v vrstici %1, stolpcu %2 lista %3 je daljše od %4 znakov")
                                               .arg(r)
                                               .arg(c)
                                               .arg(quoted)
                                               .arg(WorkbookLimits::kTextLength));
            }
    }
}

}  // namespace

bool isXlsxName(const QString& path)
{
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
}

void writeWorkbook(const QString& path, const std::vector<SheetContent>& sheets)
{
    const bool xlsx = isXlsxName(path);
    checkLimits(path, sheets, xlsx);
    AtomicFile file(path);
    if (xlsx) {
        const QString failure = writeXlsxFile(file.descriptorPath(), sheets);
        if (!failure.isEmpty())
            file.fail(failure);
    } else {
        const QByteArray bytes = xlsBytes(sheets);
        file.write(bytes.constData(), bytes.size());
    }
    file.putInPlace();
}
