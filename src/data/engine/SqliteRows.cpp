#include "data/engine/SqliteRows.h"

#include "core/Error.h"
#include "data/engine/SqlErrors.h"
#include "data/engine/SqliteStatement.h"

#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>

SqliteRows::SqliteRows(QSqlQuery& query) : query_(query), statement_(SqliteStatement::of(query))
{
    // The driver reads a REAL as a double only under these policies.
    const QSql::NumericalPrecisionPolicy policy = query.numericalPrecisionPolicy();
    if (!query.isForwardOnly() || (policy != QSql::LowPrecisionDouble && policy != QSql::HighPrecision))
        statement_ = nullptr;
    if (statement_)
        lastTexts_.resize(size_t(std::max(0, sqlite3_column_count(statement_))));
}

bool SqliteRows::next()
{
    if (done_)
        return false;
    // The first row through the driver, which may hold it already from the execution; the
    // statement then stands on that row.
    if (!statement_ || !started_) {
        started_ = true;
        if (query_.next())
            return true;
        done_ = true;
        if (query_.lastError().isValid())
            throw DatabaseError(sqlErrorText(query_.lastError()));
        return false;
    }
    native_ = true;
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    done_ = true;
    if (code != SQLITE_DONE)
        SqliteStatement::fail(statement_, code);
    // Where the driver leaves a statement that has given its last row.
    sqlite3_reset(statement_);
    return false;
}

QVariant SqliteRows::value(int column)
{
    if (!native_) {
        QVariant v = query_.value(column);
        return v.isNull() ? QVariant() : v;
    }
    return nativeValue(column);
}

QVariant SqliteRows::nativeValue(int column)
{
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_NULL: return QVariant();
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                                   sqlite3_column_bytes(statement_, column)));
    default: break;
    }
    const char* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    const int bytes = sqlite3_column_bytes(statement_, column);
    if (std::any_of(utf8, utf8 + bytes, [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return QVariant(QString(reinterpret_cast<const QChar*>(sqlite3_column_text16(statement_, column)),
                                sqlite3_column_bytes16(statement_, column) / qsizetype(sizeof(QChar))));
    // Plain ASCII: the same characters as the driver's conversion gives.
    const QLatin1StringView text(utf8, bytes);
    QString& last = lastTexts_[size_t(column)];
    if (last.isNull() || last != text)
        last = QString(text);
    return QVariant(last);
}
