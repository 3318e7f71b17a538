#include "exchange/ImportedRowsWriter.h"

#include "core/Error.h"
#include "data/WriteBatch.h"
#include "data/dataset/AuditTrail.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"
#include "exchange/ImportColumns.h"
#include "exchange/ReusedStatement.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

QStringList storedColumns()
{
    QStringList names;
    for (const ImportColumn& column : importColumns()) {
        if (column.stored)
            names.append(QLatin1String(column.name));
    }
    return names;
}

QString insertSql()
{
    const QStringList names = storedColumns();
    QStringList values;
    for (const QString& name : names)
        values.append(QLatin1Char(':') + name);
    return QStringLiteral("INSERT INTO DPATVPIMP (") + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
        + values.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString updateSql()
{
    QStringList sets;
    for (const QString& name : storedColumns()) {
        if (name != QLatin1String("IDIMP"))
            sets.append(name + QStringLiteral(" = :") + name);
    }
    return QStringLiteral("UPDATE DPATVPIMP SET ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" WHERE IDIMP = :IDIMP");
}

void run(Connection& connection, const QString& sql)
{
    QSqlQuery query(connection.database());
    if (!query.exec(sql))
        throw DatabaseError(sqlErrorText(query.lastError()));
}

}  // namespace

ImportedRowsWriter::ImportedRowsWriter(Connection& connection, const AuditTrail& audit)
    : connection_(connection),
      audit_(audit),
      inSets_(connection.engine() == Connection::Engine::Sqlite || connection.engine() == Connection::Engine::PostgreSql)
{
}

ImportedRowsWriter::~ImportedRowsWriter() = default;

void ImportedRowsWriter::insert(std::vector<QVariant> row)
{
    if (!inSets_) {
        writeOne(row, false);
        return;
    }
    if (!batch_)
        batch_ = std::make_unique<WriteBatch>(connection_);
    pending_.push_back(std::move(row));
    if (int(pending_.size()) == WriteBatch::rowsPerStatement())
        flush();
}

void ImportedRowsWriter::update(const std::vector<QVariant>& row)
{
    flush();
    writeOne(row, true);
}

void ImportedRowsWriter::flush()
{
    const std::vector<std::vector<QVariant>> rows = std::move(pending_);
    pending_.clear();
    if (rows.empty() || writeSet(rows))
        return;
    // The batch and its statements go; the rows go one by one.
    batch_.reset();
    for (const std::vector<QVariant>& row : rows)
        writeOne(row, false);
}

void ImportedRowsWriter::finish()
{
    try {
        flush();
    } catch (...) {
        batch_.reset();
        throw;
    }
    batch_.reset();
}

bool ImportedRowsWriter::writeSet(const std::vector<std::vector<QVariant>>& rows)
{
    const QStringList columns = storedColumns();
    run(connection_, QStringLiteral("SAVEPOINT ztfi_import_set"));
    try {
        for (const std::vector<QVariant>& row : rows) {
            QVariantList values;
            for (const ImportColumn& column : importColumns()) {
                if (column.stored)
                    values.append(row[size_t(column.index)]);
            }
            batch_->insert(QStringLiteral("DPATVPIMP"), columns, values);
            audit_.LogAct(QStringLiteral("DPATVPIMP"), QStringLiteral("+"), importRowContent(row));
        }
        batch_->flush();
    } catch (const ZtfiError&) {
        // Any failure of the set, the audit identifiers' sequence too: the set goes back whole,
        // else its rows would stay without their audit rows.
        run(connection_, QStringLiteral("ROLLBACK TO SAVEPOINT ztfi_import_set"));
        run(connection_, QStringLiteral("RELEASE SAVEPOINT ztfi_import_set"));
        return false;
    }
    run(connection_, QStringLiteral("RELEASE SAVEPOINT ztfi_import_set"));
    return true;
}

void ImportedRowsWriter::writeOne(const std::vector<QVariant>& row, bool exists)
{
    std::unique_ptr<ReusedStatement>& write = exists ? update_ : insert_;
    if (!write)
        write = std::make_unique<ReusedStatement>(connection_, exists ? updateSql() : insertSql());
    for (const ImportColumn& column : importColumns()) {
        if (column.stored)
            write->bind(QLatin1String(column.name), row[size_t(column.index)]);
    }
    write->exec();
    // After the write: a write that fails leaves no audit row of a row that is not there.
    audit_.LogAct(QStringLiteral("DPATVPIMP"), exists ? QStringLiteral("^") : QStringLiteral("+"), importRowContent(row));
    // The audit row goes with its row, not with a later set that may be taken back.
    if (batch_)
        batch_->flush();
}
