#include "data/WriteBatch.h"

#include "data/SequenceReader.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlStatement.h"
#include "data/engine/SqliteStatement.h"

#include <QSqlQuery>

#include <map>

namespace {

// The batch open on each connection.
std::map<const Connection*, WriteBatch*>& openBatches()
{
    static std::map<const Connection*, WriteBatch*> batches;
    return batches;
}

}  // namespace

// The rows of one table and one list of columns that wait to be written.
class WriteBatch::TableRows {
public:
    TableRows(Connection& connection, const QString& table, const QStringList& columns, const QString& idColumn,
              const SequenceReader* ids)
        : connection_(connection), table_(table), columns_(columns), idColumn_(idColumn), ids_(ids)
    {
    }

    bool holds(const QString& table, const QStringList& columns, const QString& idColumn) const
    {
        return table_ == table && columns_ == columns && idColumn_ == idColumn;
    }
    const QString& table() const { return table_; }

    void add(const QVariantList& values)
    {
        pending_ += values;
        if (++count_ == rowsPerStatement())
            write();
    }

    void write()
    {
        if (count_ == 0)
            return;
        QVariantList values;
        if (ids_) {
            const QList<qint64> numbers = ids_->next(table_, idColumn_, count_);
            const qsizetype width = columns_.size();
            values.reserve(pending_.size() + count_);
            for (int r = 0; r < count_; ++r) {
                values.append(numbers.at(r));
                for (qsizetype c = 0; c < width; ++c)
                    values.append(pending_.at(r * width + c));
            }
        } else {
            values = pending_;
        }
        const int rows = count_;
        pending_.clear();
        count_ = 0;
        for (QVariant& value : values)
            value = connection_.toEngineValue(value);
        std::unique_ptr<QSqlQuery> fresh;
        QSqlQuery* query = rows == rowsPerStatement() ? full_.get() : nullptr;
        if (!query) {
            fresh = std::make_unique<QSqlQuery>(connection_.database());
            SqlStatement::prepare(*fresh, connection_, sql(rows), QVariantList());
            query = fresh.get();
        }
        // The embedded engine takes the values straight, without the driver's copy of each.
        if (sqlite3_stmt* statement = SqliteStatement::of(*query)) {
            SqliteStatement::run(statement, values);
        } else {
            for (qsizetype i = 0; i < values.size(); ++i)
                query->bindValue(int(i), values[i]);
            SqlStatement::exec(*query);
        }
        if (fresh && rows == rowsPerStatement())
            full_ = std::move(fresh);
    }

private:
    QString sql(int rows) const
    {
        QStringList names = columns_;
        if (ids_)
            names.prepend(idColumn_);
        const QString row = QLatin1Char('(') + QStringList(names.size(), QStringLiteral("?")).join(QStringLiteral(", "))
            + QLatin1Char(')');
        return QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                   .arg(table_, names.join(QStringLiteral(", ")))
            + QStringList(rows, row).join(QStringLiteral(", "));
    }

    Connection& connection_;
    QString table_;
    QStringList columns_;
    QString idColumn_;
    const SequenceReader* ids_;
    QVariantList pending_;
    int count_ = 0;
    // The statement of a full set, kept for the next one.
    std::unique_ptr<QSqlQuery> full_;
};

WriteBatch::WriteBatch(Connection& connection) : connection_(connection)
{
    const Connection::Engine engine = connection.engine();
    if ((engine == Connection::Engine::Sqlite || engine == Connection::Engine::PostgreSql) && !openOn(connection)) {
        openBatches()[&connection] = this;
        open_ = true;
    }
}

WriteBatch::~WriteBatch()
{
    if (open_)
        openBatches().erase(&connection_);
}

WriteBatch* WriteBatch::openOn(const Connection& connection)
{
    const auto found = openBatches().find(&connection);
    return found == openBatches().end() ? nullptr : found->second;
}

WriteBatch::TableRows& WriteBatch::rowsOf(const QString& table, const QStringList& columns, const QString& idColumn,
                                          const SequenceReader* ids)
{
    for (auto it = tables_.begin(); it != tables_.end(); ++it) {
        if ((*it)->holds(table, columns, idColumn))
            return **it;
        if ((*it)->table() == table) {
            // The rows of other columns go first, so the table's rows keep their order.
            (*it)->write();
            tables_.erase(it);
            break;
        }
    }
    tables_.push_back(std::make_unique<TableRows>(connection_, table, columns, idColumn, ids));
    return *tables_.back();
}

void WriteBatch::insert(const QString& table, const QStringList& columns, const QVariantList& values)
{
    rowsOf(table, columns, QString(), nullptr).add(values);
}

void WriteBatch::insertIdentified(const QString& table, const QString& idColumn, const QStringList& columns,
                                  const QVariantList& values, const SequenceReader& ids)
{
    rowsOf(table, columns, idColumn, &ids).add(values);
}

void WriteBatch::flush()
{
    for (const auto& rows : tables_)
        rows->write();
}
