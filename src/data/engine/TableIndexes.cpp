#include "data/engine/TableIndexes.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/SqlErrors.h"

#include <QSqlIndex>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <map>

namespace {

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\""))
           + QLatin1Char('"');
}

QSqlQuery pragma(const Connection& connection, const QString& statement)
{
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    if (!query.exec(statement))
        throw DatabaseError(sqlErrorText(query.lastError()));
    return query;
}

QList<TableIndex> sqliteIndexes(const Connection& connection, const QString& table)
{
    QList<TableIndex> indexes;

    // The primary key: table_info numbers its columns 1, 2, ... in key order.
    std::map<int, QString> keyColumns;
    QSqlQuery info = pragma(connection, QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table)));
    while (info.next()) {
        const int position = info.value(5).toInt();
        if (position > 0)
            keyColumns[position] = info.value(1).toString();
    }
    if (!keyColumns.empty()) {
        TableIndex primary{QStringLiteral("PRIMARY"), {}, true};
        for (const auto& [position, column] : keyColumns)
            primary.fields.append(column);
        indexes.append(primary);
    }

    // index_list names the most recently created index first.
    QList<TableIndex> created;
    QSqlQuery list = pragma(connection, QStringLiteral("PRAGMA index_list(%1)").arg(quotedName(table)));
    while (list.next()) {
        if (list.value(3).toString() == QLatin1String("pk"))
            continue;
        created.prepend({list.value(1).toString(), {}, list.value(2).toInt() != 0});
    }
    for (TableIndex& index : created) {
        QSqlQuery columns =
            pragma(connection, QStringLiteral("PRAGMA index_info(%1)").arg(quotedName(index.name)));
        bool plainColumns = true;
        while (columns.next()) {
            if (columns.value(2).isNull())
                plainColumns = false;  // an expression
            index.fields.append(columns.value(2).toString());
        }
        if (plainColumns && !index.fields.isEmpty())
            indexes.append(index);
    }
    return indexes;
}

QList<TableIndex> serverIndexes(const Connection& connection, const QString& table)
{
    const QSqlIndex primary = connection.database().primaryIndex(table);
    if (primary.isEmpty())
        return {};
    TableIndex index{primary.name(), {}, true};
    for (int i = 0; i < primary.count(); ++i)
        index.fields.append(primary.fieldName(i));
    return {index};
}

}  // namespace

QList<TableIndex> tableIndexes(const Connection& connection, const QString& table)
{
    return connection.engine() == Connection::Engine::Sqlite ? sqliteIndexes(connection, table)
                                                             : serverIndexes(connection, table);
}

QString firstUniqueIndexFields(const QList<TableIndex>& indexes)
{
    const auto unique = std::find_if(indexes.begin(), indexes.end(),
                                     [](const TableIndex& index) { return index.unique; });
    return unique == indexes.end() ? QString() : unique->fields.join(QLatin1Char(';'));
}
