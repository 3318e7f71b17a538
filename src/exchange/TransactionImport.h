#pragma once

#include "data/engine/Dialect.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class AuditTrail;
class Connection;
class DeskLock;
class ImportedReferences;
class ImportedRowsWriter;
class Interaction;
class ReusedStatement;
class WorkbookSheet;

// What an import of manual transactions did.
struct ImportOutcome {
    // The error list: every entry starts on a new line (carriage return, line feed). It names
    // the rows listed and, last, the rows left unread, by their sheet row numbers.
    QString errors;
    // Rows written (new or changed).
    int written = 0;
    // Rows listed in the error list and not written.
    int listed = 0;
    // Rows that hold values below the end of the reading (the first row without a day in column
    // A), which the import does not read.
    int unread = 0;
    // Every row up to the first row without a day was read (no refusal, no interruption, no
    // Abort).
    bool complete = false;
    // Abort on an instrument that was not found: the caller leaves the list as it is.
    bool aborted = false;
};

// The import of a sheet of manual transactions (the layout of "Izvoz nabora") for a chosen day
// into DPATVPIMP: a row is matched by its transaction reference number and inserted or updated,
// each write followed by its audit row. The first dated row must be of the chosen day and the
// user confirms the import; a later row of another day interrupts it. A row whose instrument is
// not in the instrument list asks Abort or Ignore. A row whose values do not fit their columns
// is listed with the reason and not written. Rows written stay written whatever happens later
// (they are committed together when the reading ends, also after an Abort or an error).
//
// The writing starts after the confirmation, in one write transaction (on a server under the
// desk lock), and takes the first identifier inside it: two imports of one database at once
// run one after the other.
class TransactionImport {
public:
    TransactionImport(Connection& connection, SqlDialect dialect, const AuditTrail& audit, Interaction& ui);
    ~TransactionImport();

    // The progress of the reading: the number of sheet rows, then the row reached.
    std::function<void(int rows)> onStart;
    std::function<void(int row)> onProgress;

    // The look-up of the instrument of a sheet row by ISIN and short name (parameters ISIN and
    // KRT); the imported rows are looked up by their reference numbers (ImportedReferences).
    static QString instrumentStatement();

    // What the import did: "Zapisanih vrstic: <written>, zavrnjenih: <listed>, neprebranih:
    // <unread>."
    static QString summary(const ImportOutcome& outcome);

    // " select NVL(max(IDImp),0)+1 ... from DPATVPIMP ": the first identifier of an import.
    qint64 firstIdentifier();

    // Reads the first worksheet of the workbook; nextId is the identifier of the next new row
    // (raised to the first identifier when the writing starts) and is advanced by every new row.
    // A file that is not a readable workbook throws its message before anything is written.
    ImportOutcome read(const QString& fileName, const QDate& day, qint64& nextId);

private:
    // Sheet row `row` of rows (the header is row 1) is read: its progress.
    void rowDone(int row, int rows);
    // The rows of the sheet whose column 1 is filled from row 1 on.
    static int countRows(const WorkbookSheet& sheet);
    // Lists the rows that hold values below the rows read, by ranges of sheet row numbers.
    static void listUnread(const WorkbookSheet& sheet, int rows, ImportOutcome& outcome);
    // The write transaction (and on a server the desk lock), started once per import.
    void startWriting(qint64& nextId);
    void finishWriting(bool failed);
    void readRows(const WorkbookSheet& sheet, int rows, const QDate& day, qint64& nextId, ImportOutcome& outcome);
    // Inserts or updates sheet row n by its reference number, with its audit row.
    void importRow(const WorkbookSheet& sheet, int n, int rows, qint64 instrument, qint64& nextId,
                   ImportOutcome& outcome);
    // The reference numbers of sheet rows n on (up to one look-up's worth), read ahead.
    static QList<qint64> comingReferences(const WorkbookSheet& sheet, int n, int rows);
    std::optional<qint64> instrumentOf(const QString& isin, const QString& shortName);

    Connection& connection_;
    SqlDialect dialect_;
    const AuditTrail& audit_;
    Interaction& ui_;
    std::unique_ptr<ReusedStatement> findInstrument_;
    std::unique_ptr<ImportedReferences> references_;
    std::unique_ptr<ImportedRowsWriter> writer_;
    std::unique_ptr<DeskLock> desk_;
    bool writing_ = false;
    // Instruments found (or not) by ISIN and short name during one import.
    QHash<QString, std::optional<qint64>> instruments_;
};
