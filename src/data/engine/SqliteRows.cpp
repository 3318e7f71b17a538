#include "data/engine/SqliteRows.h"

#include "core/Error.h"
#include "data/engine/SqlErrors.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>

#include <sqlite3.h>

#include <algorithm>

sqlite3_stmt* sqliteStatement(const QSqlQuery& query)
{
    const QSqlResult* result = query.result();
    if (!result)
        return nullptr;
    const QVariant handle = result->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

SqliteRows::SqliteRows(QSqlQuery& query) : query_(query), statement_(sqliteStatement(query))
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
    // The first row through the driver, which may hold it already from the execution; the
    // statement then stands on that row.
    if (!statement_ || !started_) {
        started_ = true;
        if (query_.next())
            return true;
        if (query_.lastError().isValid())
            throw DatabaseError(sqlErrorText(query_.lastError()));
        statement_ = nullptr;
        return false;
    }
    native_ = true;
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code != SQLITE_DONE)
        fail(code);
    // Where the driver leaves a statement that has given its last row.
    sqlite3_reset(statement_);
    statement_ = nullptr;
    return false;
}

// The driver's error of a failed row: a generic error (or a refused constraint) is known in
// full only after the statement is reset.
void SqliteRows::fail(int code)
{
    sqlite3* db = sqlite3_db_handle(statement_);
    const auto message = [db] { return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(db))); };
    QString text;
    if (code == SQLITE_ERROR || code == SQLITE_CONSTRAINT) {
        code = sqlite3_reset(statement_);
        text = message();
    } else {
        text = message();
        sqlite3_reset(statement_);
    }
    statement_ = nullptr;
    throw DatabaseError(sqlErrorText(QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                                               text, QSqlError::ConnectionError, QString::number(code))));
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
