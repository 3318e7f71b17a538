#pragma once

#include <QList>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

class Connection;

// A statement with ":Name" placeholders prepared once and run many times with new values (an
// import runs the same few statements for every sheet row). Names match without regard to case
// and a name may occur several times; values are bound as the engine stores them. Failures
// raise DatabaseError with the engine's text.
class ReusedStatement {
public:
    ReusedStatement(Connection& connection, const QString& sql);

    // The value of every placeholder of that name; an invalid QVariant binds NULL.
    void bind(const QString& name, const QVariant& value);
    // Runs the statement with the values bound last.
    void exec();
    // After exec: moves to the next result row; false after the last one.
    bool next() { return query_.next(); }
    QVariant value(int column) const { return query_.value(column); }
    // The value of a result column by name (without regard to case).
    QVariant value(const QString& column) const { return query_.value(column); }

private:
    Connection& connection_;
    QSqlQuery query_;
    QList<QString> names_;  // the placeholder of each position, upper-cased
};
