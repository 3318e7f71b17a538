#pragma once

#include "listing/GroupQueries.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <QTemporaryDir>

#include <functional>
#include <memory>

class Connection;
class Dataset;

// The local copy of a dataset for the grouped view: a table "_TMP<n>" (n counting up from 0 in
// the process) in a private SQLite database file in a private temporary folder, with the field
// "N" (1 on every row) and one field per visible field of the source (labels, display widths and
// number formats copied); dates kept as day numbers, as the engine keeps them. The table, its
// database and folder go with the object.
class LocalTable {
public:
    // Copies every record of the source; progress (records done, total) returning false stops.
    explicit LocalTable(const Dataset& source,
                        const std::function<bool(int, int)>& progress = {});
    ~LocalTable();
    LocalTable(const LocalTable&) = delete;
    LocalTable& operator=(const LocalTable&) = delete;

    const QString& name() const { return name_; }
    // The connection of the local database, for queries over the table.
    Connection& connection() const { return *connection_; }
    const QList<GroupQueries::LocalField>& fields() const { return fields_; }

    // The rows of a statement over the table; throws DatabaseError with the engine's text.
    QList<QVariantList> rows(const QStringList& sql) const;

private:
    QTemporaryDir folder_;
    std::unique_ptr<Connection> connection_;
    QString name_;
    QList<GroupQueries::LocalField> fields_;
};
