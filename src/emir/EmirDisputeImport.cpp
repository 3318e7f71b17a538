#include "emir/EmirDisputeImport.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "emir/EmirAmount.h"
#include "emir/EmirDisputeEditor.h"
#include "emir/EmirTransaction.h"
#include "exchange/DataImport.h"
#include "exchange/Workbook.h"

namespace {

void addItem(TDataImport& import, const char* name, int column, TDataImportDataType type, bool check)
{
    TDataImportStructureItem& item = import.Structure().Add();
    item.Name = QLatin1String(name);
    item.Column = column;
    item.DataType = type;
    item.CheckDataType = check;
}

QString rowFailure(int n, const QString& message)
{
    return QStringLiteral("Prišlo je do napake pri uvozu vrstice ") + QString::number(n) + QStringLiteral(": ") + message;
}

// The reading ends at the first row without a party; a row with values below it would be left
// out without a word, and a retry after adding it would add the rows before it twice.
void refuseUnreadRows(const QString& file, int rowsRead)
{
    const Workbook book = Workbook::open(file);
    const WorkbookSheet& sheet = book.sheet(1);
    const int end = rowsRead + 2;  // the sheet row after the header and the rows read
    for (int r = end + 1; r <= sheet.usedRows(); ++r) {
        if (!sheet.isRowEmpty(r))
            throw ZtfiError(rowFailure(r - 1, QStringLiteral("vrstica ni prebrana, ker se branje konča pri vrstici %1, "
                                                             "ki v stolpcu A nima stranke; uvoz ni izveden.")
                                                  .arg(end - 1)));
    }
}

}  // namespace

EmirDisputeImport::EmirDisputeImport(Connection& connection, SqlDialect dialect, Interaction& ui)
    : connection_(connection), dialect_(dialect), ui_(ui)
{
}

QString EmirDisputeImport::fileFilter()
{
    return QStringLiteral("Excel files (*.xls)|*.xls");
}

QString EmirDisputeImport::finishedMessage(const QString& file)
{
    return QStringLiteral("Uvoz podatkov iz datoteke ") + QLatin1Char('"') + file + QLatin1Char('"')
        + QStringLiteral(" je končan.");
}

int EmirDisputeImport::importFile(const QString& file, qint64 reportId)
{
    TDataImport import(ui_);
    import.setDataSource(didsExcel);
    import.setFirstRow(1);
    import.Structure().Clear();
    addItem(import, "Stranka", 0, didtString, false);
    addItem(import, "NasprotnaStranka", 1, didtString, false);
    addItem(import, "DatZacetkaSpora", 2, didtDate, true);
    addItem(import, "DatZakljuckaSpora", 3, didtDate, false);
    addItem(import, "Vrednost", 4, didtFloat, true);
    addItem(import, "Opombe", 5, didtString, false);
    import.setFileName(file);
    try {
        import.Load();
    } catch (const ZtfiError& e) {
        // A value that does not convert ends the reading in the row after those read.
        if (e.className() != QLatin1String("EConvertError"))
            throw;
        throw ZtfiError(rowFailure(import.Count() + 1, e.message()));
    }
    refuseUnreadRows(file, import.Count());

    EmirDisputeEditor editor(connection_, dialect_, reportId);
    runInTransaction(connection_, [&] {
        for (int n = 1; n <= import.Count(); ++n) {
            try {
                const TDataImportItem& row = import.Items(n - 1);
                EmirDisputeValues values;
                values.party = row.Value(QStringLiteral("Stranka"));
                values.counterparty = row.Value(QStringLiteral("NasprotnaStranka"));
                values.firstDay = Formats::parseDate(row.Value(QStringLiteral("DatZacetkaSpora")));
                values.lastDay = Formats::parseDate(row.Value(QStringLiteral("DatZakljuckaSpora")));
                values.amount = parseEmirAmount(row.Value(QStringLiteral("Vrednost"))).value_or(0);
                values.notes = row.Value(QStringLiteral("Opombe"));
                editor.save(values, 0);
            } catch (const ZtfiError& e) {
                throw ZtfiError(rowFailure(n, e.message()));
            }
        }
    });
    return import.Count();
}
