#include "exchange/SelectionExport.h"

#include "core/CancellableAction.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "data/dataset/Field.h"
#include "data/engine/OleDate.h"
#include "exchange/WorkbookWriter.h"
#include "reporting/ReportCodes.h"
#include "reporting/ReportRows.h"

#include <QDir>

#include <optional>

namespace {

const char* const kHeaders[SelectionExport::kColumns] = {
    "Datum transakcije",
    "Čas transakcije",
    "Časovni pas",
    "Indikator nakupa/prodaje",
    "Trgovalna zmogljivost",
    "Identifikacija instrumenta ISIN",
    "Kratica VP",
    "Cena enote",
    "Zapis cene",
    "Valuta",
    "Količina",
    "Nasprotna stranka",
    "Oznaka nasprotne stranke",
    "Klient",
    "Oznaka klienta",
    "Identifikacija mesta",
    "Oznaka ident. mesta",
    "Razveljavitvena zastavica",
    "Referenčna št. transakcije",
};

// Sheet columns, numbered from 1.
enum Column {
    kCounterparty = 12,
    kCounterpartyKind = 13,
    kClient = 14,
    kClientKind = 15,
};

QString zeros(const QString& code)
{
    return QString(qMax<qsizetype>(0, 10 - code.size()), QLatin1Char('0'));
}

qint64 referenceNumber(const QString& text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok)
        throw ZtfiError(QStringLiteral("'%1' is not a valid integer value").arg(text), QStringLiteral("EConvertError"));
    return value;
}

}  // namespace

QString SelectionExport::sheetTitle()
{
    return QStringLiteral("ZTFI Export");
}

QString SelectionExport::text(const char* column) const
{
    return rows_.query().fieldByName(QLatin1String(column)).asString();
}

QString SelectionExport::checked(const char* column, const char* format, const QString& prefix) const
{
    const Field* field = column ? &rows_.query().fieldByName(QLatin1String(column)) : nullptr;
    return rows_.ProveraFormata(field, QLatin1String(format), QString(), prefix);
}

void SelectionExport::requireRows() const
{
    if (!rows_.query().isActive() || rows_.query().isEmpty())
        throw ZtfiError(QStringLiteral("Nabor je prazen! Izvoz ni možen!"));
}

CellBlock SelectionExport::values()
{
    TQueryDM& query = rows_.query();
    const int count = query.isActive() ? query.recordCount() : 0;
    CellBlock block(count + 1, kColumns);
    for (int c = 0; c < kColumns; ++c)
        block.at(1, c + 1) = Cell::text(QString::fromUtf8(kHeaders[c]));
    if (count == 0)
        return block;
    query.disableControls();
    try {
        int row = 2;
        for (query.first(); !query.eof(); query.next()) {
            if (progress_)
                CancellableAction::progressPoint(*progress_, QStringLiteral("Izvoz nabora"), row - 2, count);
            fillRow(block, row++);
        }
    } catch (...) {
        query.enableControls();
        throw;
    }
    query.enableControls();
    return block;
}

void SelectionExport::fillRow(CellBlock& block, int row)
{
    auto put = [&block, row](int column, const QString& value) {
        if (!value.isEmpty())
            block.at(row, column) = Cell::text(value);
    };
    // Days, times, prices and quantities as the spreadsheet's own dates, times and numbers, so
    // that they sort and sum; texts that such a conversion would change ("+01", codes with
    // leading zeros) stay texts.
    const Field& day = rows_.query().fieldByName(QStringLiteral("Dan"));
    if (!day.isNull())
        block.at(row, 1) = Cell::date(day.asDate());
    const Field& time = rows_.query().fieldByName(QStringLiteral("Cas"));
    if (!time.isNull())
        block.at(row, 2) = Cell::serial(Cell::Kind::Time, OleDate::fromTime(time.asDateTime().time()));
    // A spreadsheet keeps "+01" as a text only with its apostrophe marker; the cell is a text.
    put(3, text("Offset"));
    put(4, text("IndNakProd"));
    put(5, text("TrgZmog"));
    put(6, text("ISIN"));
    put(7, text("SFVP_KRT"));
    putNumber(block, row, 8, "CenaEnote");
    put(9, text("ZapisCene"));
    put(10, text("Valuta"));
    putNumber(block, row, 11, "Lot");
    fillParties(block, row);
    const bool onVenue = text("SFTRZ") == QLatin1String("2");
    put(16, onVenue ? checked("IDENTMESTA", "20(x)") : QStringLiteral("OTC"));
    put(17, onVenue ? checked("OZNAKAIDENTMESTA", "4(a)") : QStringLiteral("XOFF"));
    put(18, text("ISSTN") == QLatin1String("D") ? QStringLiteral("C") : QString());
    block.at(row, 19) = Cell::number(double(referenceNumber(text("RefStTransaC"))));
}

void SelectionExport::putNumber(CellBlock& block, int row, int column, const char* field) const
{
    const Field& value = rows_.query().fieldByName(QLatin1String(field));
    if (!value.isNull())
        block.at(row, column) = Cell::number(value.asFloat());
}

void SelectionExport::fillParties(CellBlock& block, int row)
{
    auto put = [&block, row](int column, const QString& value) {
        if (!value.isEmpty())
            block.at(row, column) = Cell::text(value);
    };
    const QString market = text("SFTRZ");
    const bool ownAccount = text("SFDJV") == QLatin1String("L");
    const bool otherSideOwnAccount = text("NS_SFDJV") == QLatin1String("L");
    if (text("VRSTA") == QLatin1String("I")) {
        put(kCounterparty, text("NS_KRTBNK"));
        put(kCounterpartyKind, text("NS_OznakaKlijenta"));
        const QString bank = text("KRTBNK");
        if (!bank.isEmpty()) {
            put(kClient, zeros(bank) + bank);
            put(kClientKind, text("OznakaKlijenta"));
        }
    } else if (market == QLatin1String("2")) {
        put(kCounterparty, checked("MIC", "4(x)"));
        put(kCounterpartyKind, QStringLiteral("MIC"));
        if (!ownAccount)
            fillClient(block, row);
    } else if (market == QLatin1String("3")
               && rows_.query().fieldByName(QStringLiteral("IDPSLTRP")).asInteger() == 0) {
        fillCounterpartyBic(block, row, "TRP_SWIFT");
        if (!ownAccount)
            fillClient(block, row);
    } else if (market == QLatin1String("3") && !otherSideOwnAccount) {
        fillCounterpartyBic(block, row, "NS_SWIFT");
        if (!ownAccount)
            fillClient(block, row);
    }
}

void SelectionExport::fillCounterpartyBic(CellBlock& block, int row, const char* column)
{
    if (text(column).trimmed().isEmpty()) {
        block.at(row, kCounterparty) = Cell::text(QStringLiteral("CC"));
        block.at(row, kCounterpartyKind) = Cell::text(QStringLiteral("CC"));
        return;
    }
    block.at(row, kCounterparty) = Cell::text(checked(column, "11(x)"));
    block.at(row, kCounterpartyKind) = Cell::text(QStringLiteral("BIC"));
}

void SelectionExport::fillClient(CellBlock& block, int row)
{
    if (!text("SWIFT").trimmed().isEmpty()) {
        block.at(row, kClient) =
            Cell::text(FormatToLength(checked("SWIFT", "11(x)"), 11, false, QStringLiteral("X")));
        block.at(row, kClientKind) = Cell::text(QStringLiteral("BIC"));
        return;
    }
    const QString bank = text("KRTBNK");
    block.at(row, kClient) = Cell::text(checked("KRTBNK", "10(x)", zeros(bank)));
    block.at(row, kClientKind) = Cell::text(QStringLiteral("Internal"));
}

QString SelectionExport::cancelledMessage()
{
    return QStringLiteral("Izvoz nabora je prekinjen! Datoteka ni zapisana.");
}

void SelectionExport::write(const QString& sheetTitle, const QString& fileName)
{
    // Until the workbook is written nothing is: the user may cancel while the values are
    // collected.
    std::optional<CancellableAction> cancellable;
    if (progress_)
        cancellable.emplace(*progress_, cancelledMessage());
    std::vector<SheetContent> sheets;
    sheets.push_back(SheetContent{sheetTitle, values()});
    if (progress_)
        CancellableAction::progressPoint(*progress_, QStringLiteral("Izvoz nabora: zapis datoteke"), 0, 0);
    writeWorkbook(fileName, sheets);
}

void exportSelectionToChosenFile(ReportRows& rows, Interaction& ui, const QString& programFolder,
                                 const QDate& today)
{
    SelectionExport selectionExport(rows);
    selectionExport.requireRows();
    selectionExport.reportProgressTo(ui);
    const QString fileName = ui.chooseFileToSave(
        programFolder, QStringLiteral("ZTFIExport") + today.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".xls"),
        QStringLiteral("Excel file|*.xls|Excel 2007 file|*.xlsx"), QStringLiteral("Izvoz datoteka v !"),
        QStringLiteral("xls"));
    if (fileName.isEmpty())
        return;
    selectionExport.write(SelectionExport::sheetTitle(), fileName);
    ui.openWithDefaultApplication(QDir::cleanPath(QDir(programFolder).absoluteFilePath(fileName)));
}
