#include "exchange/ImportColumns.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "exchange/SheetValues.h"
#include "exchange/Workbook.h"

#include <QDateTime>

const std::vector<ImportColumn>& importColumns()
{
    using K = ImportColumn::Kind;
    static const std::vector<ImportColumn> columns = {
        {0, "IDIMP", "ID Importa", K::Integer, true},
        {1, "DATUM", "Datum transakcije", K::Date, true},
        {2, "CAS", "Čas transakcije", K::DateTime, true},
        {3, "CASPAS", "Časovni pas", K::Text, true, 3},
        {4, "INDNAKPRO", "Indikator nakupa/prodaje", K::Text, true, 1},
        {5, "TRGZMO", "Trgovalna zmogljivost", K::Text, true, 1},
        {6, "ISIN", "Identifikacija instrumenta ISIN", K::Text, true, 12},
        {7, "KRTVP", "Kratica VP", K::Text, true, 40},
        {8, "CENA", "Cena enote", K::Number, true},
        {9, "ZAPCENE", "Zapis cene", K::Text, true, 1},
        {10, "VAL", "Valuta", K::Text, true, 3},
        {11, "KOL", "Količina", K::Number, true},
        {12, "NASSTR", "Nasprotna stranka", K::Text, true, 11},
        {13, "OZNNASSTR", "Oznaka nasprotne stranke", K::Text, true, 3},
        {14, "KLIENT", "Klient", K::Text, true, 11},
        {15, "OZNKLIENTA", "Oznaka klienta", K::Text, true, 8},
        {16, "IDENTMESTA", "Identifikacija mesta", K::Text, true, 20},
        {17, "OZNMESTA", "Oznaka identifikacije mesta", K::Text, true, 4},
        {18, "RAZTRANSA", "Razveljavitvena zastavica", K::Text, true, 1},
        {19, "REFSTTRANSA", "Referenčna številka transakcije", K::Integer, true},
        {20, "INTINDINSTR", "", K::Integer, true},
        {21, "Trg_MIC", "", K::Text, false},
        {22, "IZVCEN", "", K::Number, false},
        {23, "ZPDVP", "", K::DateTime, false},
        {24, "CFI", "", K::Text, false},
        {25, "KPN_GLV", "", K::Number, false},
        {26, "DPATVPID", "", K::Integer, true},
    };
    return columns;
}

namespace {

// The value of sheet column k of row n for list column k; a conversion error names the column.
QVariant sheetValue(const WorkbookSheet& sheet, int n, int k, const QDate& day)
{
    const ImportColumn& column = importColumns()[size_t(k)];
    const Cell& cell = sheet.cell(n, k);
    try {
        switch (column.kind) {
        case ImportColumn::Kind::Date:
            return SheetValues::date(cell);
        case ImportColumn::Kind::DateTime:
            return QDateTime(day, cell.isEmpty() ? QTime(0, 0) : SheetValues::time(cell));
        case ImportColumn::Kind::Number:
            return SheetValues::number(cell);
        case ImportColumn::Kind::Integer:
            return SheetValues::integer(cell);
        case ImportColumn::Kind::Text:
            break;
        }
    } catch (const ZtfiError& e) {
        throw ZtfiError(QString::fromUtf8(column.label) + QStringLiteral(": ") + e.message(), e.className());
    }
    const QString text = SheetValues::text(cell);
    if (text.isEmpty())
        return QVariant();
    return k == ImportColumn::kCurrency ? text.toUpper() : text;
}

}  // namespace

std::vector<QVariant> importRowValues(const WorkbookSheet& sheet, int n)
{
    std::vector<QVariant> row(ImportColumn::kCount);
    const QDate day = sheetValue(sheet, n, ImportColumn::kDay, QDate()).toDate();
    row[ImportColumn::kDay] = day;
    for (int k = ImportColumn::kTime; k <= ImportColumn::kReference; ++k)
        row[size_t(k)] = sheetValue(sheet, n, k, day);
    return row;
}

QString importRowContent(const std::vector<QVariant>& row)
{
    QString content;
    for (const ImportColumn& column : importColumns()) {
        const QVariant& value = row[size_t(column.index)];
        QString text;
        if (value.isValid() && !value.isNull()) {
            switch (column.kind) {
            case ImportColumn::Kind::Date:
                text = Formats::dateText(value.toDate());
                break;
            case ImportColumn::Kind::DateTime:
                text = Formats::dateTimeText(value.toDateTime());
                break;
            case ImportColumn::Kind::Number:
                text = Formats::numberText(value.toDouble());
                break;
            default:
                text = value.toString();
            }
        }
        content += text + QStringLiteral("#|") + QLatin1String(column.name) + QStringLiteral("#|");
    }
    return content;
}
