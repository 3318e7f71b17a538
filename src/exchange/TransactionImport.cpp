#include "exchange/TransactionImport.h"

#include "core/Error.h"
#include "core/Formats.h"
#include "core/Interaction.h"
#include "data/Identifiers.h"
#include "data/Step.h"
#include "data/dataset/AuditTrail.h"
#include "data/engine/Connection.h"
#include "data/engine/DeskLock.h"
#include "exchange/ImportColumns.h"
#include "exchange/ImportedReferences.h"
#include "exchange/ImportedRowsWriter.h"
#include "exchange/ImportRowCheck.h"
#include "exchange/ReusedStatement.h"
#include "exchange/SheetValues.h"
#include "exchange/Workbook.h"

#include <QSqlQuery>

#include <exception>
#include <vector>

namespace {

const char* const kFindInstrument =
    " select sfvp from SFVP where ((upper(ISIN) = :ISIN AND KRT = :KRT) OR (( :ISIN = 'N' OR :ISIN IS NULL OR "
    ":ISIN = '') AND KRT = :KRT)) ";

// Carriage return and line feed before every entry of the error list.
const QString kErrorBreak = QStringLiteral("\r\n");
// The line breaks of the warning that interrupts an import: line feed, carriage return.
const QString kWarningBreak = QStringLiteral("\n\r");

// The error entry of sheet row n.
QString rowError(int n, const QString& reason)
{
    return kErrorBreak + QStringLiteral("Napaka v %1. vrstici. ").arg(n) + reason;
}

}  // namespace

TransactionImport::TransactionImport(Connection& connection, SqlDialect dialect, const AuditTrail& audit,
                                     Interaction& ui)
    : connection_(connection), dialect_(dialect), audit_(audit), ui_(ui),
      references_(std::make_unique<ImportedReferences>(connection)),
      writer_(std::make_unique<ImportedRowsWriter>(connection, audit))
{
}

TransactionImport::~TransactionImport() = default;

QString TransactionImport::instrumentStatement()
{
    return QLatin1String(kFindInstrument);
}

QString TransactionImport::summary(const ImportOutcome& outcome)
{
    return QStringLiteral("Zapisanih vrstic: %1, zavrnjenih: %2, neprebranih: %3.")
        .arg(outcome.written)
        .arg(outcome.listed)
        .arg(outcome.unread);
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
    references_->clear();
    ImportOutcome outcome;
    // The rows written stay, as they would row by row, and are committed at once whatever ended
    // the reading.
    try {
        readRows(sheet, rows, day, nextId, outcome);
    } catch (...) {
        finishWriting(true);
        throw;
    }
    finishWriting(false);
    if (outcome.complete)
        listUnread(sheet, rows, outcome);
    return outcome;
}

void TransactionImport::startWriting(qint64& nextId)
{
    if (writing_)
        return;
    desk_ = std::make_unique<DeskLock>(connection_);
    connection_.startWriteTransaction();
    writing_ = true;
    // The look-ups search their indexes: DPATVPIMP grows within this transaction, where the
    // server's statistics cannot follow it, and without them it takes a set of 200 reference
    // numbers for the whole table and reads all of it for every set.
    if (connection_.engine() == Connection::Engine::PostgreSql)
        QSqlQuery(connection_.database()).exec(QStringLiteral("SET LOCAL enable_seqscan = off"));
    nextId = qMax(nextId, firstIdentifier());
}

void TransactionImport::finishWriting(bool failed)
{
    if (writing_) {
        writing_ = false;
        // The rows collected go out first: the rows before one that the database refuses stay,
        // and that refusal ends the import as it would have ended it at its row.
        std::exception_ptr refusal;
        try {
            writer_->finish();
        } catch (const ZtfiError&) {
            refusal = std::current_exception();
        }
        if (!failed && !refusal) {
            connection_.commit();
        } else {
            try {
                connection_.commit();
            } catch (const ZtfiError&) {
                rollBackQuietly(connection_);
            }
        }
        if (refusal && !failed) {
            desk_.reset();
            std::rethrow_exception(refusal);
        }
    }
    desk_.reset();
}

void TransactionImport::listUnread(const WorkbookSheet& sheet, int rows, ImportOutcome& outcome)
{
    const QString reason = QStringLiteral(": branje se konča pri vrstici %1, ki v stolpcu A nima datuma.").arg(rows + 1);
    int first = 0;
    auto listRange = [&](int last) {
        if (first == 0)
            return;
        outcome.errors += kErrorBreak
            + (first == last ? QStringLiteral("Vrstica %1 ni prebrana").arg(first)
                             : QStringLiteral("Vrstice %1 do %2 niso prebrane").arg(first).arg(last))
            + reason;
        outcome.unread += last - first + 1;
        first = 0;
    };
    for (int r = rows + 1; r <= sheet.usedRows(); ++r) {
        if (sheet.isRowEmpty(r))
            listRange(r - 1);
        else if (first == 0)
            first = r;
    }
    listRange(sheet.usedRows());
}

void TransactionImport::rowDone(int row, int rows)
{
    ui_.progress(QStringLiteral("Uvoz transakcij"), row - 1, rows - 1);
    if (onProgress)
        onProgress(row);
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
                throw ZtfiError(QStringLiteral("Datum transakcije: ") + e.message(), e.className());
            outcome.errors += rowError(n, QStringLiteral("Datum transakcije: ") + e.message());
            ++outcome.listed;
            rowDone(n, rows);
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
            startWriting(nextId);
        } else if (rowDay != day) {
            // The rows before this one are written first: a refusal of one of them ends the
            // import at its own row, before this warning.
            writer_->flush();
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
            writer_->flush();
            if (ui_.askAbortIgnore(question) == Interaction::AbortIgnore::Abort) {
                outcome.aborted = true;
                return;
            }
            outcome.errors += kErrorBreak + QStringLiteral("Za ISIN \"") + isin + QStringLiteral("\" in kratico \"")
                + shortName + QStringLiteral("\" ne najdem ustreznega fin. instrumenta!");
            ++outcome.listed;
        } else {
            try {
                importRow(sheet, n, rows, *instrument, nextId, outcome);
            } catch (const ZtfiError& e) {
                if (e.className() != QLatin1String("EConvertError"))
                    throw;
                outcome.errors += rowError(n, e.message());
                ++outcome.listed;
            }
        }
        rowDone(n, rows);
    }
    outcome.complete = true;
}

QList<qint64> TransactionImport::comingReferences(const WorkbookSheet& sheet, int n, int rows)
{
    QList<qint64> references;
    for (int r = n; r <= rows && references.size() < ImportedReferences::perStatement(); ++r) {
        try {
            const QVariant reference = SheetValues::integer(sheet.cell(r, ImportColumn::kReference));
            if (!reference.isNull())
                references << reference.toLongLong();
        } catch (const ZtfiError&) {
            // A row whose reference cannot be read is listed when it is reached.
        }
    }
    return references;
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

void TransactionImport::importRow(const WorkbookSheet& sheet, int n, int rows, qint64 instrument, qint64& nextId,
                                  ImportOutcome& outcome)
{
    const QVariant reference = SheetValues::integer(sheet.cell(n, ImportColumn::kReference));
    if (reference.isNull()) {
        outcome.errors += rowError(n, QStringLiteral("Manjka referenčna številka transakcije."));
        ++outcome.listed;
        return;
    }
    std::vector<QVariant> row = importRowValues(sheet, n);
    const QString fault = importRowFault(row);
    if (!fault.isEmpty()) {
        outcome.errors += rowError(n, fault);
        ++outcome.listed;
        return;
    }
    row[ImportColumn::kInstrument] = instrument;

    const qint64 key = reference.toLongLong();
    if (!references_->known(key))
        references_->read(comingReferences(sheet, n, rows));
    const std::optional<ImportedReferences::Row> found = references_->row(key);
    const bool exists = found.has_value();
    if (exists) {
        row[ImportColumn::kId] = found->id;
        row[ImportColumn::kReport] = found->report;
        // A reported transaction turned into a cancellation is reported again.
        if (found->cancellation.isEmpty() && row[ImportColumn::kCancellation].toString() == QLatin1String("C"))
            row[ImportColumn::kReport] = QVariant();
    } else {
        row[ImportColumn::kId] = nextId++;
    }
    references_->written(key, {row[ImportColumn::kId].toLongLong(), row[ImportColumn::kReport],
                               row[ImportColumn::kCancellation].toString()});
    if (exists)
        writer_->update(row);
    else
        writer_->insert(std::move(row));
    ++outcome.written;
}
