#include "exchange/XlsReader.h"

#include "data/engine/OleDate.h"
#include "exchange/ReadBudget.h"
#include "exchange/WorkbookReadError.h"
#include "exchange/XlsFormulaResults.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QTime>

#include <freexl.h>

namespace {

constexpr qint64 kDeclaredCells = 8388608;

QString reasonOf(int code)
{
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QStringLiteral("datoteka ne obstaja");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QStringLiteral("premalo pomnilnika");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
    case FREEXL_BIFF_INVALID_BOF:
        return QStringLiteral("datoteka ni Excelov delovni zvezek (.xls ali .xlsx)");
    default:
        return QStringLiteral("datoteka je poškodovana ali nepopolna (FreeXL %1)").arg(code);
    }
}

// Closes the FreeXL handle however the reading ends.
class Handle {
public:
    Handle() = default;
    ~Handle()
    {
        if (handle_)
            freexl_close(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    const void** out() { return &handle_; }
    const void* get() const { return handle_; }

private:
    const void* handle_ = nullptr;
};

// FreeXL gives dates as "YYYY-MM-DD", date-times as "YYYY-MM-DD HH:MM:SS", times "HH:MM:SS".
Cell dateCell(unsigned char type, const char* text)
{
    const QString value = QString::fromLatin1(text);
    switch (type) {
    case FREEXL_CELL_DATE:
        return Cell::serial(Cell::Kind::Date, OleDate::fromDate(QDate::fromString(value, QStringLiteral("yyyy-MM-dd"))));
    case FREEXL_CELL_DATETIME:
        return Cell::serial(Cell::Kind::DateTime,
                            OleDate::fromDateTime(QDateTime::fromString(value, QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    default:
        return Cell::serial(Cell::Kind::Time, OleDate::fromTime(QTime::fromString(value, QStringLiteral("HH:mm:ss"))));
    }
}

}  // namespace

std::vector<WorkbookSheet> readXlsSheets(const QString& path)
{
    // FreeXL takes 16 bytes for every cell a sheet declares: at most half a full sheet's worth.
    if (declaredXlsCells(path) > kDeclaredCells)
        throw workbookReadError(path, QStringLiteral("delovni zvezek je prevelik za uvoz (listi obsegajo več kot "
                                                     "8.388.608 celic)"));
    Handle handle;
    const QByteArray name = QFile::encodeName(path);
    int rc = freexl_open(name.constData(), handle.out());
    if (rc != FREEXL_OK)
        throw workbookReadError(path, reasonOf(rc));
    // FreeXL gives up on some workbooks (a text spread over more than two records of the shared
    // string table) without an error code, leaving no handle.
    if (!handle.get())
        throw workbookReadError(path, QStringLiteral("FreeXL ne zna prebrati tega delovnega zvezka"));
    unsigned int info = 0;
    if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        throw workbookReadError(path, QStringLiteral("delovni zvezek je zaščiten z geslom"));
    unsigned int sheetCount = 0;
    rc = freexl_get_info(handle.get(), FREEXL_BIFF_SHEET_COUNT, &sheetCount);
    if (rc != FREEXL_OK)
        throw workbookReadError(path, reasonOf(rc));

    // FreeXL gives formula cells no value: their stored results are read from the stream.
    ReadBudget budget(path);
    const QHash<QString, std::vector<FormulaResult>> formulas = readXlsFormulaResults(path, budget);
    std::vector<WorkbookSheet> sheets;
    sheets.reserve(sheetCount);
    // FreeXL hands out a string of the shared table at the same address for every cell that uses
    // it, so each shared text is converted once and its copies share one QString.
    QHash<const char*, QString> sharedTexts;
    for (unsigned short index = 0; index < sheetCount; ++index) {
        const char* sheetName = nullptr;
        if ((rc = freexl_get_worksheet_name(handle.get(), index, &sheetName)) != FREEXL_OK
            || (rc = freexl_select_active_worksheet(handle.get(), index)) != FREEXL_OK)
            throw workbookReadError(path, reasonOf(rc));
        unsigned int rows = 0;
        unsigned short columns = 0;
        if ((rc = freexl_worksheet_dimensions(handle.get(), &rows, &columns)) != FREEXL_OK)
            throw workbookReadError(path, reasonOf(rc));
        WorkbookSheet sheet(QString::fromUtf8(sheetName));
        for (unsigned int r = 0; r < rows; ++r) {
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if ((rc = freexl_get_cell_value(handle.get(), r, c, &value)) != FREEXL_OK)
                    throw workbookReadError(path, reasonOf(rc));
                Cell cell;
                switch (value.type) {
                case FREEXL_CELL_INT:
                    budget.take(0);
                    cell = Cell::number(value.value.int_value);
                    break;
                case FREEXL_CELL_DOUBLE:
                    budget.take(0);
                    cell = Cell::number(value.value.double_value);
                    break;
                case FREEXL_CELL_SST_TEXT: {
                    auto shared = sharedTexts.find(value.value.text_value);
                    if (shared == sharedTexts.end()) {
                        shared = sharedTexts.insert(value.value.text_value, QString::fromUtf8(value.value.text_value));
                        budget.take(shared->size());
                    }
                    budget.take(0);
                    cell = Cell::text(*shared);
                    break;
                }
                case FREEXL_CELL_TEXT:
                    cell = Cell::text(QString::fromUtf8(value.value.text_value));
                    budget.take(cell.toText().size());
                    break;
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    budget.take(0);
                    cell = dateCell(value.type, value.value.text_value);
                    break;
                default:
                    continue;
                }
                sheet.setCell(int(r) + 1, int(c) + 1, cell);
            }
        }
        const auto results = formulas.constFind(sheet.name());
        if (results != formulas.constEnd()) {
            for (const FormulaResult& formula : *results)
                sheet.setCell(formula.row, formula.column, formula.value);
        }
        sheets.push_back(std::move(sheet));
    }
    return sheets;
}
