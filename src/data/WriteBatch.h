#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class Connection;
class SequenceReader;

// Rows written in sets instead of one statement each. While a WriteBatch is open on a
// connection, the inserts of the table components and the rows of the audit trail are
// collected per table and written as multi-row INSERTs of up to rowsPerStatement() rows, each
// size of set prepared once. The rows of a table reach it in the order they were added; a row
// whose identifier comes from a sequence gets it when its set is written, the set taking its
// identifiers in one statement, in the order of its rows, so the numbers are those that one
// statement per row would have taken. Nothing of the batch is visible to a statement before it
// is written: open one only around a run of writes that reads none of them back.
//
// Every write runs inside the caller's transaction and raises DatabaseError (a sequence's own
// error as SequenceReader::next raises it). Rows not written when the batch ends are dropped:
// the step that failed rolls back what was written.
class WriteBatch {
public:
    // Opens the batch on the connection. On the embedded engine and PostgreSQL only (another
    // server gets its rows one statement each, as without a batch); within a batch already open
    // on the connection, this one adds nothing and the outer one writes the rows.
    explicit WriteBatch(Connection& connection);
    ~WriteBatch();

    // The batch open on the connection; nullptr when there is none. For the connection's own
    // thread.
    static WriteBatch* openOn(const Connection& connection);
    WriteBatch(const WriteBatch&) = delete;
    WriteBatch& operator=(const WriteBatch&) = delete;

    static int rowsPerStatement() { return 200; }

    // A row of table: its columns and their values. A row of other columns than the table's
    // rows collected so far writes those first.
    void insert(const QString& table, const QStringList& columns, const QVariantList& values);
    // The same for a row whose first column, idColumn, takes the next value of the sequence
    // that ids reads for (table, idColumn) when the row is written; values lack that column.
    void insertIdentified(const QString& table, const QString& idColumn, const QStringList& columns,
                          const QVariantList& values, const SequenceReader& ids);
    // Writes every row collected so far.
    void flush();

private:
    class TableRows;
    TableRows& rowsOf(const QString& table, const QStringList& columns, const QString& idColumn,
                      const SequenceReader* ids);

    Connection& connection_;
    bool open_ = false;
    std::vector<std::unique_ptr<TableRows>> tables_;
};
