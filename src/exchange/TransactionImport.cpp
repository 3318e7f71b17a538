#include "exchange/TransactionImport.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "core/Interaction.h"
#include "data/Identifiers.h"
#include "data/Step.h"
#include "data/dataset/AuditTrail.h"
#include "data/engine/Connection.h"
#include "exchange/ImportColumns.h"
#include "exchange/ReusedStatement.h"
#include "exchange/SheetValues.h"
#include "exchange/Workbook.h"

#include <vector>

namespace {

const char* const kFindInstrument =
    " select sfvp from SFVP where ((upper(ISIN) = :ISIN AND KRT = :KRT) OR (( :ISIN = 'N' OR :ISIN IS NULL OR "
    ":ISIN = '') AND KRT = :KRT)) ";
const char* const kFindReference = " select * from DPATVPIMP where RefStTransa=:RefStTransa ";

// Carriage return and line feed before every entry of the error list.
const QString kErrorBreak = QStringLiteral("\r\n");
// The line breaks of the warning that interrupts an import: line feed, carriage return.
const QString kWarningBreak = QStringLiteral("\n\r");

QString insertSql()
{
    QStringList names;
    QStringList values;
    for (const ImportColumn& column : importColumns()) {
        if (!column.stored)
            continue;
        names.append(QLatin1String(column.name));
        values.append(QLatin1Char(':') + QLatin1String(column.name));
    }
    return QStringLiteral("INSERT INTO DPATVPIMP (") + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
        + values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString updateSql()
{
    QStringList sets;
    for (const ImportColumn& column : importColumns()) {
        if (column.stored && QLatin1String(column.name) != QLatin1String("IDIMP"))
            sets.append(QLatin1String(column.name) + QStringLiteral(" = :") + QLatin1String(column.name));
    }
    return QStringLiteral("UPDATE DPATVPIMP SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE IDIMP = :IDIMP");
}

// The error entry of sheet row n.
QString rowError(int n, const QString& reason)
{
    return kErrorBreak + QStringLiteral("Napaka v %1. vrstici. ").arg(n) + reason;
}

}  // namespace

TransactionImport::TransactionImport(Connection& connection, SqlDialect dialect, const AuditTrail& audit,
                                     Interaction& ui)
    : connection_(connection), dialect_(dialect), audit_(audit), ui_(ui)
{
}

TransactionImport::~TransactionImport() = default;

QString TransactionImport::instrumentStatement()
{
    return QLatin1String(kFindInstrument);
}

QString TransactionImport::referenceStatement()
{
    return QLatin1String(kFindReference);
}

qint64 TransactionImport::firstIdentifier()
{
    return Identifiers::nextImportId(connection_, dialect_);
}

int TransactionImport::countRows(const WorkbookSheet& sheet)
{
    int rows = 0;
    while (!sheet.cell(rows + 1, 1).isEmpty())
        ++rows;
    return rows;
}

ImportOutcome TransactionImport::read(const QString& fileName, const QDate& day, qint64& nextId)
{
    const Workbook workbook = Workbook::open(fileName);
    const WorkbookSheet& sheet = workbook.sheet(1);
    const int rows = countRows(sheet);
    if (onStart)
        onStart(rows);
    instruments_.clear();
    ImportOutcome outcome;
    // One transaction for the whole reading, committed at its end whatever ended it: the rows
    // written stay, as they would row by row, and the engine writes them at once.
    connection_.startTransaction();
    try {
        readRows(sheet, rows, day, nextId, outcome);
    } catch (...) {
        try {
            connection_.commit();
        } catch (const ZtfiError&) {
            rollBackQuietly(connection_);
        }
        throw;
    }
    connection_.commit();
    return outcome;
}

void TransactionImport::readRows(const WorkbookSheet& sheet, int rows, const QDate& day, qint64& nextId,
                                 ImportOutcome& outcome)
{
    const QString dayText = Formats::dateText(day);
    bool confirmed = false;
    for (int n = 2; n <= rows; ++n) {
        const Cell& first = sheet.cell(n, 1);
        QDate rowDay;
        try {
            rowDay = SheetValues::date(first);
        } catch (const ZtfiError& e) {
            if (!confirmed)
                throw;
            outcome.errors += rowError(n, e.message());
            if (onProgress)
                onProgress(n);
            continue;
        }
        if (!confirmed) {
            if (rowDay != day) {
                ui_.inform(QStringLiteral("Datum v Excelu ne ustreza izbranemu dnevu ") + dayText + QStringLiteral(" !"));
                return;
            }
            if (!ui_.confirmOkCancel(QStringLiteral("Prosim potrdi import podatkov na dan ") + dayText + QStringLiteral(" !")))
                return;
            confirmed = true;
        } else if (rowDay != day) {
            ui_.warn(QStringLiteral("Datum v Excelu ") + SheetValues::text(first) + QStringLiteral(" ne ustreza izbranemu dnevu ")
                     + dayText + QStringLiteral(" !") + kWarningBreak + QStringLiteral("Napaka v %1. vrstici.").arg(n)
                     + kWarningBreak + kWarningBreak + QStringLiteral("Prekinjen import!"));
            return;
        }
        const QString isin = SheetValues::text(sheet.cell(n, 6));
        const QString shortName = SheetValues::text(sheet.cell(n, 7));
        const std::optional<qint64> instrument = instrumentOf(isin.toUpper(), shortName);
        if (!instrument) {
            const QString question = QStringLiteral("Vrednostni papir za isin %1 in kratico %2 v šifrantu VP ne obstaja!")
                                         .arg(isin, shortName);
            if (ui_.askAbortIgnore(question) == Interaction::AbortIgnore::Abort) {
                outcome.aborted = true;
                return;
            }
            outcome.errors += kErrorBreak + QStringLiteral("Za ISIN \"") + isin + QStringLiteral("\" in kratico \"")
                + shortName + QStringLiteral("\" ne najdem ustreznega fin. instrumenta!");
        } else {
            try {
                importRow(sheet, n, *instrument, nextId, outcome);
            } catch (const ZtfiError& e) {
                if (e.className() != QLatin1String("EConvertError"))
                    throw;
                outcome.errors += rowError(n, e.message());
            }
        }
        if (onProgress)
            onProgress(n);
    }
    outcome.complete = true;
}

std::optional<qint64> TransactionImport::instrumentOf(const QString& isin, const QString& shortName)
{
    const QString key = isin + QChar(0) + shortName;
    const auto known = instruments_.constFind(key);
    if (known != instruments_.constEnd())
        return known.value();
    if (!findInstrument_)
        findInstrument_ = std::make_unique<ReusedStatement>(connection_, instrumentStatement());
    findInstrument_->bind(QStringLiteral("ISIN"), isin);
    findInstrument_->bind(QStringLiteral("KRT"), shortName);
    findInstrument_->exec();
    std::optional<qint64> found;
    if (findInstrument_->next())
        found = findInstrument_->value(0).toLongLong();
    instruments_.insert(key, found);
    return found;
}

void TransactionImport::importRow(const WorkbookSheet& sheet, int n, qint64 instrument, qint64& nextId,
                                  ImportOutcome& outcome)
{
    const QVariant reference = SheetValues::integer(sheet.cell(n, ImportColumn::kReference));
    if (reference.isNull()) {
        outcome.errors += rowError(n, QStringLiteral("Manjka referenčna številka transakcije."));
        return;
    }
    std::vector<QVariant> row = importRowValues(sheet, n);
    row[ImportColumn::kInstrument] = instrument;

    if (!findReference_)
        findReference_ = std::make_unique<ReusedStatement>(connection_, referenceStatement());
    findReference_->bind(QStringLiteral("RefStTransa"), reference);
    findReference_->exec();
    const bool exists = findReference_->next();
    if (exists) {
        row[ImportColumn::kId] = findReference_->value(QStringLiteral("IDIMP")).toLongLong();
        row[ImportColumn::kReport] = findReference_->value(QStringLiteral("DPATVPID"));
        const QString wasCancellation = findReference_->value(QStringLiteral("RAZTRANSA")).toString();
        // A reported transaction turned into a cancellation is reported again.
        if (wasCancellation.isEmpty() && row[ImportColumn::kCancellation].toString() == QLatin1String("C"))
            row[ImportColumn::kReport] = QVariant();
    } else {
        row[ImportColumn::kId] = nextId++;
    }
    while (findReference_->next()) {
    }

    audit_.LogAct(QStringLiteral("DPATVPIMP"), exists ? QStringLiteral("^") : QStringLiteral("+"), importRowContent(row));
    std::unique_ptr<ReusedStatement>& write = exists ? update_ : insert_;
    if (!write)
        write = std::make_unique<ReusedStatement>(connection_, exists ? updateSql() : insertSql());
    for (const ImportColumn& column : importColumns()) {
        if (column.stored)
            write->bind(QLatin1String(column.name), row[size_t(column.index)]);
    }
    write->exec();
    ++outcome.written;
}
