#pragma once

#include <QVariant>

#include <memory>
#include <vector>

class AuditTrail;
class Connection;
class ReusedStatement;
class WriteBatch;

// The writes of an import of manual transactions: a row of DPATVPIMP inserted or updated, then
// its audit row ("+" or "^"). On the embedded engine and PostgreSQL the new rows are collected
// and written in sets of up to WriteBatch::rowsPerStatement(), the rows and their audit rows as
// one multi-row INSERT each (a WriteBatch open from the first new row to finish()), inside a
// savepoint; a set that the database refuses is taken back to its savepoint and written row by
// row, so that the rows before the refused one stay with their audit rows and the refused one
// raises its error, as when every row goes by itself. A changed row is written at once, after
// the new rows before it. Runs inside the caller's write transaction; errors raise
// DatabaseError.
class ImportedRowsWriter {
public:
    ImportedRowsWriter(Connection& connection, const AuditTrail& audit);
    ~ImportedRowsWriter();
    ImportedRowsWriter(const ImportedRowsWriter&) = delete;
    ImportedRowsWriter& operator=(const ImportedRowsWriter&) = delete;

    // The values of a row, in the order of importColumns().
    void insert(std::vector<QVariant> row);
    void update(const std::vector<QVariant>& row);
    // Writes the new rows collected so far.
    void flush();
    // Writes them and closes the batch: the end of the import's writing.
    void finish();

private:
    // One row and its audit row, each by itself.
    void writeOne(const std::vector<QVariant>& row, bool exists);
    // The new rows as sets; false (and nothing of them written) when the database refused one.
    bool writeSet(const std::vector<std::vector<QVariant>>& rows);

    Connection& connection_;
    const AuditTrail& audit_;
    bool inSets_;
    std::unique_ptr<WriteBatch> batch_;
    std::vector<std::vector<QVariant>> pending_;
    std::unique_ptr<ReusedStatement> insert_;
    std::unique_ptr<ReusedStatement> update_;
};
