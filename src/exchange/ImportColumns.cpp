#include "exchange/ImportColumns.h"

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
        {3, "CASPAS", "Časovni pas", K::Text, true},
        {4, "INDNAKPRO", "Indikator nakupa/prodaje", K::Text, true},
        {5, "TRGZMO", "Trgovalna zmogljivost", K::Text, true},
        {6, "ISIN", "Identifikacija instrumenta ISIN", K::Text, true},
        {7, "KRTVP", "Kratica VP", K::Text, true},
        {8, "CENA", "Cena enote", K::Number, true},
        {9, "ZAPCENE", "Zapis cene", K::Text, true},
        {10, "VAL", "Valuta", K::Text, true},
        {11, "KOL", "Količina", K::Number, true},
        {12, "NASSTR", "Nasprotna stranka", K::Text, true},
        {13, "OZNNASSTR", "Oznaka nasprotne stranke", K::Text, true},
        {14, "KLIENT", "Klient", K::Text, true},
        {15, "OZNKLIENTA", "Oznaka klienta", K::Text, true},
        {16, "IDENTMESTA", "Identifikacija mesta", K::Text, true},
        {17, "OZNMESTA", "Oznaka identifikacije mesta", K::Text, true},
        {18, "RAZTRANSA", "Razveljavitvena zastavica", K::Text, true},
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

std::vector<QVariant> importRowValues(const WorkbookSheet& sheet, int n)
{
    std::vector<QVariant> row(ImportColumn::kCount);
    const QDate day = SheetValues::date(sheet.cell(n, 1));
    row[ImportColumn::kDay] = day;
    const Cell& time = sheet.cell(n, 2);
    row[ImportColumn::kTime] = QDateTime(day, time.isEmpty() ? QTime(0, 0) : SheetValues::time(time));
    for (int k = 3; k <= ImportColumn::kReference; ++k) {
        const Cell& cell = sheet.cell(n, k);
        switch (importColumns()[size_t(k)].kind) {
        case ImportColumn::Kind::Number:
            row[size_t(k)] = SheetValues::number(cell);
            break;
        case ImportColumn::Kind::Integer:
            row[size_t(k)] = SheetValues::integer(cell);
            break;
        default: {
            const QString text = SheetValues::text(cell);
            if (!text.isEmpty())
                row[size_t(k)] = k == ImportColumn::kCurrency ? text.toUpper() : text;
            break;
        }
        }
    }
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
