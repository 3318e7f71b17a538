#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Connection;

// An index of a table as the engine defines it.
struct TableIndex {
    QString name;
    QStringList fields;  // in index order, spelled as the table's columns
    bool unique = false;
};

// The indexes of a table in the order of their definition, the primary key first. The
// embedded engine reports every index (PRAGMA table_info, index_list, index_info); other
// engines report the primary key. Throws DatabaseError.
QList<TableIndex> tableIndexes(const Connection& connection, const QString& table);

// The fields of the first unique index joined by ";"; empty when there is none.
QString firstUniqueIndexFields(const QList<TableIndex>& indexes);
