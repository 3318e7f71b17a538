#pragma once

#include <QString>
#include <QVariant>

#include <vector>

class QSqlQuery;
struct sqlite3_stmt;

// The rows of an executed forward-only query, read as QSqlQuery::next() and value() read them,
// with the same values and types (a NULL as an invalid QVariant). On the embedded engine the
// rows after the first are read straight from the statement instead of through the driver's
// copy of every value, and a text equal to the one of the row before in its column shares that
// row's string. Whoever reads the query this way reads it to its end, and no other way.
class SqliteRows {
public:
    explicit SqliteRows(QSqlQuery& query);

    // The next row; false after the last. An error of the engine raises DatabaseError with its
    // text as sqlErrorText gives it for the driver's error.
    bool next();
    QVariant value(int column);

private:
    QVariant nativeValue(int column);

    QSqlQuery& query_;
    sqlite3_stmt* statement_;
    bool started_ = false;
    bool done_ = false;
    bool native_ = false;
    std::vector<QString> lastTexts_;
};
