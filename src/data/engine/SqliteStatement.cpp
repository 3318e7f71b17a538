#include "data/engine/SqliteStatement.h"

#include "core/Error.h"
#include "data/engine/SqlErrors.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>

#include <sqlite3.h>

namespace SqliteStatement {

namespace {

bool isNullValue(const QVariant& value)
{
    if (value.isNull())
        return true;
    switch (value.typeId()) {
    case QMetaType::QString: return static_cast<const QString*>(value.constData())->isNull();
    case QMetaType::QByteArray: return static_cast<const QByteArray*>(value.constData())->isNull();
    case QMetaType::QDateTime: return !static_cast<const QDateTime*>(value.constData())->isValid();
    case QMetaType::QDate: return !static_cast<const QDate*>(value.constData())->isValid();
    case QMetaType::QTime: return !static_cast<const QTime*>(value.constData())->isValid();
    default: return false;
    }
}

int bindText(sqlite3_stmt* statement, int index, const QString& text, void (*lifetime)(void*))
{
    // unicode(), not utf16(): that one copies a text that does not end in a null character.
    return sqlite3_bind_text16(statement, index, text.unicode(), int(text.size() * qsizetype(sizeof(QChar))),
                               lifetime);
}

}  // namespace

sqlite3_stmt* of(const QSqlQuery& query)
{
    const QSqlResult* result = query.result();
    if (!result)
        return nullptr;
    const QVariant handle = result->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt* const*>(handle.constData());
}

int bind(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (isNullValue(value))
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::QByteArray: {
        const auto* bytes = static_cast<const QByteArray*>(value.constData());
        return sqlite3_bind_blob(statement, index, bytes->constData(), int(bytes->size()), SQLITE_STATIC);
    }
    case QMetaType::Int:
    case QMetaType::Bool: return sqlite3_bind_int(statement, index, value.toInt());
    case QMetaType::Double: return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong: return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::QDateTime:
        return bindText(statement, index, value.toDateTime().toString(Qt::ISODateWithMs), SQLITE_TRANSIENT);
    case QMetaType::QTime:
        return bindText(statement, index, value.toTime().toString(u"hh:mm:ss.zzz"), SQLITE_TRANSIENT);
    case QMetaType::QString:
        return bindText(statement, index, *static_cast<const QString*>(value.constData()), SQLITE_STATIC);
    default: return bindText(statement, index, value.toString(), SQLITE_TRANSIENT);
    }
}

void run(sqlite3_stmt* statement, const QVariantList& values)
{
    sqlite3_reset(statement);
    for (qsizetype i = 0; i < values.size(); ++i) {
        const int code = bind(statement, int(i) + 1, values[i]);
        if (code != SQLITE_OK) {
            sqlite3_clear_bindings(statement);
            fail(statement, code);
        }
    }
    const int code = sqlite3_step(statement);
    if (code != SQLITE_DONE && code != SQLITE_ROW) {
        sqlite3_clear_bindings(statement);
        fail(statement, code);
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

// A generic error (or a refused constraint) is known in full only after the statement is reset.
void fail(sqlite3_stmt* statement, int code)
{
    sqlite3* db = sqlite3_db_handle(statement);
    const auto message = [db] { return QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(db))); };
    QString text;
    if (code == SQLITE_ERROR || code == SQLITE_CONSTRAINT) {
        code = sqlite3_reset(statement);
        text = message();
    } else {
        text = message();
        sqlite3_reset(statement);
    }
    throw DatabaseError(sqlErrorText(QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                                               text, QSqlError::ConnectionError, QString::number(code))));
}

}  // namespace SqliteStatement
