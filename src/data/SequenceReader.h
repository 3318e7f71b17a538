#pragma once

#include "data/engine/Dialect.h"

#include <QList>
#include <QString>

#include <memory>

class Connection;
class QSqlQuery;

// Reads the next value of the sequence named table + "_" + field + "_SEQ" (the audit trail's
// ACT/IdAct, the EMIR identifiers). Runs inside whatever transaction the caller has open.
class SequenceReader {
public:
    SequenceReader(Connection& connection, SqlDialect dialect);
    ~SequenceReader();
    SequenceReader(const SequenceReader&) = delete;
    SequenceReader& operator=(const SequenceReader&) = delete;

    // The statement of a sequence: NEXTVAL FOR ... FROM SYSIBM.SYSDUMMY1 under DB2, and
    // ....NEXTVAL ... FROM dual under Oracle (which has no NEXTVAL FOR).
    static QString statement(const QString& table, const QString& field, SqlDialect dialect);

    // The next value. Any failure raises an error naming the sequence and quoting the kind
    // and the message of the underlying error. On the embedded engine the statement of the
    // sequence read last stays prepared, so a reader kept by its user (the audit trail, one
    // identifier per written row) compiles it once.
    qint64 next(const QString& table, const QString& field) const;
    // The next `count` values, in the order one call of next() per value would give them
    // (ascending), with next()'s errors. The embedded engine and PostgreSQL hand them out in one
    // statement (the embedded engine's advances the sequence by `count` in one update); another
    // server one by one.
    QList<qint64> next(const QString& table, const QString& field, int count) const;

    // The statement of `count` values in one, in the Oracle dialect as PostgreSQL runs it.
    static QString blockStatement(const QString& table, const QString& field, int count);

private:
    // The embedded engine's statement of a block: one value, the last of the block.
    static QString embeddedBlockStatement(const QString& table, const QString& field, int count);
    QVariantList read(const QString& sql) const;
    // Runs read(), which must give `count` values, and converts them; raises the errors as
    // next() describes them.
    QList<qint64> values(const QString& table, const QString& field, const QString& sql, int count) const;

    Connection& connection_;
    SqlDialect dialect_;
    mutable QString preparedSql_;
    mutable std::unique_ptr<QSqlQuery> prepared_;
};
