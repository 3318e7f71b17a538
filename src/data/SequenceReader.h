#pragma once

#include "data/Dialect.h"

#include <QString>

class Connection;

// Reads the next value of the sequence named table + "_" + field + "_SEQ" (the audit trail's
// ACT/IdAct, the EMIR identifiers). Runs inside whatever transaction the caller has open.
class SequenceReader {
public:
    SequenceReader(Connection& connection, SqlDialect dialect);

    // The statement of a sequence: NEXTVAL FOR ... FROM SYSIBM.SYSDUMMY1 under DB2, and
    // ....NEXTVAL ... FROM dual under Oracle (which has no NEXTVAL FOR).
    static QString statement(const QString& table, const QString& field, SqlDialect dialect);

    // The next value. Any failure raises an error naming the sequence and quoting the kind
    // and the message of the underlying error.
    qint64 next(const QString& table, const QString& field) const;

private:
    Connection& connection_;
    SqlDialect dialect_;
};
