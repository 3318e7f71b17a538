#include "data/engine/SqliteCompat.h"

#include "core/Error.h"
#include "data/engine/OleDate.h"
#include "data/engine/OracleFormat.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <optional>

namespace SqliteCompat {

namespace {

void resultText(sqlite3_context* ctx, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const QString& message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

QString argText(sqlite3_value* value)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)),
                             sqlite3_value_bytes(value));
}

bool isNull(sqlite3_value* value)
{
    return sqlite3_value_type(value) == SQLITE_NULL;
}

// A numeric argument; a text that is not a number is an error, as in the dialect.
bool argNumber(sqlite3_context* ctx, sqlite3_value* value, const char* function, double* out)
{
    const int type = sqlite3_value_numeric_type(value);
    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
        resultError(ctx, QStringLiteral("%1: '%2' is not a number")
                             .arg(QLatin1String(function), argText(value)));
        return false;
    }
    *out = sqlite3_value_double(value);
    return true;
}

// A whole number comes back as an integer, so that it turns into text without a ".0".
void resultNumber(sqlite3_context* ctx, double value)
{
    if (value == std::trunc(value) && std::fabs(value) < 9.0e18)
        sqlite3_result_int64(ctx, sqlite3_int64(value));
    else
        sqlite3_result_double(ctx, value);
}

void nvl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_value(ctx, isNull(argv[0]) ? argv[1] : argv[0]);
}

void year(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double days = 0;
    if (isNull(argv[0]) || !argNumber(ctx, argv[0], "YEAR", &days))
        return;
    sqlite3_result_int(ctx, OleDate::toDate(days).year());
}

// MOD(m, n): m - n * trunc(m / n), with the sign of m; m itself when n is 0.
void mod(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    double m = 0, n = 0;
    if (isNull(argv[0]) || isNull(argv[1]) || !argNumber(ctx, argv[0], "MOD", &m)
        || !argNumber(ctx, argv[1], "MOD", &n))
        return;
    if (sqlite3_value_numeric_type(argv[0]) == SQLITE_INTEGER
        && sqlite3_value_numeric_type(argv[1]) == SQLITE_INTEGER) {
        const sqlite3_int64 a = sqlite3_value_int64(argv[0]);
        const sqlite3_int64 b = sqlite3_value_int64(argv[1]);
        sqlite3_result_int64(ctx, b == 0 ? a : (b == -1 ? 0 : a % b));
        return;
    }
    resultNumber(ctx, n == 0 ? m : std::fmod(m, n));
}

// TRUNC(x) toward zero (for a date: its day); TRUNC(x, n) to n decimals.
void trunc(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    double x = 0, decimals = 0;
    if (isNull(argv[0]) || (argc == 2 && isNull(argv[1])) || !argNumber(ctx, argv[0], "TRUNC", &x)
        || (argc == 2 && !argNumber(ctx, argv[1], "TRUNC", &decimals)))
        return;
    if (sqlite3_value_numeric_type(argv[0]) == SQLITE_INTEGER && decimals >= 0) {
        sqlite3_result_int64(ctx, sqlite3_value_int64(argv[0]));
        return;
    }
    const double places = std::trunc(decimals);
    const double factor = std::pow(10.0, std::fabs(places));
    const double scaled = places >= 0 ? x * factor : x / factor;
    // A value a hair below a whole number is that number: 1.15 is stored as 1.149999...,
    // and TRUNC(1.15, 2) is 1.15 as with exact decimals.
    const double nearest = std::round(scaled);
    const bool wholeInTruth = std::fabs(scaled - nearest) <= std::fabs(scaled) * 1e-13;
    const double whole = wholeInTruth ? nearest : std::trunc(scaled);
    resultNumber(ctx, places >= 0 ? whole / factor : whole * factor);
}

// The compiled date format of the argument `index`, kept by the engine with the statement
// while the argument stays the same, so that a format is compiled once per statement.
class CachedFormat {
public:
    CachedFormat(sqlite3_context* ctx, sqlite3_value* format, int index) : ctx_(ctx), index_(index)
    {
        format_ = static_cast<OracleFormat::DateFormat*>(sqlite3_get_auxdata(ctx, index));
        if (!format_) {
            fresh_ = new OracleFormat::DateFormat(argText(format));
            format_ = fresh_;
        }
    }
    ~CachedFormat()
    {
        if (fresh_)  // the engine may delete it at once, so it is handed over last
            sqlite3_set_auxdata(ctx_, index_, fresh_, [](void* p) {
                delete static_cast<OracleFormat::DateFormat*>(p);
            });
    }
    CachedFormat(const CachedFormat&) = delete;
    CachedFormat& operator=(const CachedFormat&) = delete;

    const OracleFormat::DateFormat& operator*() const { return *format_; }
    const OracleFormat::DateFormat* operator->() const { return format_; }

private:
    sqlite3_context* ctx_;
    int index_;
    OracleFormat::DateFormat* format_ = nullptr;
    OracleFormat::DateFormat* fresh_ = nullptr;
};

void toDate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]) || isNull(argv[1]))
        return;
    const CachedFormat format(ctx, argv[1], 1);
    QString error = format->error();
    QDate date;
    QTime time;
    if (format->isValid() && format->parse(argText(argv[0]), &date, &time, &error))
        sqlite3_result_double(ctx, OleDate::fromDateAndTime(date, time));
    else
        resultError(ctx, QStringLiteral("TO_DATE: ") + error);
}

void toChar(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0]) || (argc == 2 && isNull(argv[1])))
        return;
    const int type = sqlite3_value_numeric_type(argv[0]);
    const bool number = type == SQLITE_INTEGER || type == SQLITE_FLOAT;
    if (argc == 1) {
        if (!number)
            sqlite3_result_value(ctx, argv[0]);
        else if (type == SQLITE_INTEGER)
            resultText(ctx, QString::number(sqlite3_value_int64(argv[0])));
        else
            resultText(ctx, OracleFormat::numberText(sqlite3_value_double(argv[0])));
        return;
    }
    double days = 0;
    if (!argNumber(ctx, argv[0], "TO_CHAR", &days))
        return;
    const CachedFormat format(ctx, argv[1], 1);
    if (!format->isValid())
        resultError(ctx, QStringLiteral("TO_CHAR: ") + format->error());
    else
        resultText(ctx, format->format(OleDate::toDate(days), OleDate::toTime(days)));
}

void currentDate(sqlite3_context* ctx, int, sqlite3_value**)
{
    sqlite3_result_double(ctx, OleDate::fromDateTime(QDateTime::currentDateTime()));
}

void currentDay(sqlite3_context* ctx, int, sqlite3_value**)
{
    sqlite3_result_double(ctx, OleDate::fromDate(QDate::currentDate()));
}

// A sequence advances by a plain update of its row and is read back by a second statement:
// an update that returned the value itself would have the engine build a table for the
// returned row and a journal of the statement, on every call.
constexpr const char* kAdvance = "UPDATE main.ztfi_sequence SET value = value + ? WHERE name = ?";
constexpr const char* kValue = "SELECT value FROM main.ztfi_sequence WHERE name = ?";

sqlite3_stmt* prepareNative(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    return stmt;
}

// A statement of a connection, prepared once when the connection is set up, so that handing
// out a value compiles nothing (the audit trail takes one for every written row, each by a
// statement of its own). It is a query of the connection's driver, which finalizes it when
// the connection closes, as the engine requires.
class KeptStatement {
public:
    void prepare(const QSqlDatabase& db, const char* sql)
    {
        query_.emplace(db);
        if (query_->prepare(QString::fromLatin1(sql))) {
            const QVariant v = query_->result()->handle();
            if (v.isValid() && qstrcmp(v.typeName(), "sqlite3_stmt*") == 0)
                stmt_ = *static_cast<sqlite3_stmt* const*>(v.data());
        }
    }

    // The kept statement; nullptr when there is none, or when it is running (a sequence
    // advanced from inside the advance itself).
    sqlite3_stmt* kept() const { return stmt_ && !sqlite3_stmt_busy(stmt_) ? stmt_ : nullptr; }

private:
    std::optional<QSqlQuery> query_;
    sqlite3_stmt* stmt_ = nullptr;
};

// The two statements of an advance, the connection's kept ones or, while those run, new ones
// of this advance alone. Parameters are bound by position (the driver renames numbered ones).
class SequenceStatements {
public:
    SequenceStatements(sqlite3* db, const KeptStatement* kept)
        : advance_(kept[0].kept()), value_(kept[1].kept()), own_(!advance_ || !value_)
    {
        if (own_) {
            advance_ = prepareNative(db, kAdvance);
            value_ = advance_ ? prepareNative(db, kValue) : nullptr;
        }
    }
    ~SequenceStatements()
    {
        for (sqlite3_stmt* stmt : {advance_, value_}) {
            if (!stmt)
                continue;
            sqlite3_reset(stmt);
            sqlite3_clear_bindings(stmt);
            if (own_)
                sqlite3_finalize(stmt);
        }
    }
    SequenceStatements(const SequenceStatements&) = delete;
    SequenceStatements& operator=(const SequenceStatements&) = delete;

    bool prepared() const { return advance_ && value_; }

    // Advances the sequence by count: SQLITE_ROW with its new value, SQLITE_DONE when there is
    // no such sequence, otherwise the engine's error.
    int advance(sqlite3_value* name, sqlite3_int64 count, sqlite3_int64* value)
    {
        int rc = sqlite3_bind_int64(advance_, 1, count);
        if (rc == SQLITE_OK)
            rc = sqlite3_bind_value(advance_, 2, name);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(advance_);
        if (rc != SQLITE_DONE)
            return rc;
        rc = sqlite3_bind_value(value_, 1, name);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(value_);
        if (rc == SQLITE_ROW)
            *value = sqlite3_column_int64(value_, 0);
        return rc;
    }

private:
    sqlite3_stmt* advance_;
    sqlite3_stmt* value_;
    bool own_;
};

// The kept statements of a connection's sequences: the advance and the read of the value.
struct SequenceAdvance {
    KeptStatement statements[2];

    void prepare(const QSqlDatabase& db)
    {
        statements[0].prepare(db, kAdvance);
        statements[1].prepare(db, kValue);
    }
};

// Hands out the next value of a sequence: the row is updated by a statement of its own on the
// same connection, inside whatever statement and transaction is running. With a count, the
// sequence advances by that many values at once and the last of them is the result.
void nextval(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (isNull(argv[0])) {
        resultError(ctx, QStringLiteral("sequence name is null"));
        return;
    }
    sqlite3_int64 count = 1;
    if (argc == 2) {
        if (sqlite3_value_numeric_type(argv[1]) != SQLITE_INTEGER || (count = sqlite3_value_int64(argv[1])) < 1) {
            resultError(ctx, QStringLiteral("sequence %1: '%2' is not a count of values")
                                 .arg(argText(argv[0]), argText(argv[1])));
            return;
        }
    }
    sqlite3* db = sqlite3_context_db_handle(ctx);
    SequenceStatements statements(db, static_cast<SequenceAdvance*>(sqlite3_user_data(ctx))->statements);
    sqlite3_int64 value = 0;
    const int rc = statements.prepared() ? statements.advance(argv[0], count, &value) : SQLITE_ERROR;
    if (rc == SQLITE_ROW)
        sqlite3_result_int64(ctx, value);
    else if (rc == SQLITE_DONE)
        resultError(ctx, QStringLiteral("sequence %1 does not exist").arg(argText(argv[0])));
    else
        resultError(ctx, QString::fromUtf8(sqlite3_errmsg(db)));
}

using Function = void (*)(sqlite3_context*, int, sqlite3_value**);

struct Registration {
    const char* name;
    int arguments;
    bool deterministic;
    Function function;
};

constexpr Registration kFunctions[] = {
    {"NVL", 2, true, nvl},
    {"YEAR", 1, true, year},
    {"MOD", 2, true, mod},
    {"TRUNC", 1, true, trunc},
    {"TRUNC", 2, true, trunc},
    {"TO_DATE", 2, true, toDate},
    {"TO_CHAR", 1, true, toChar},
    {"TO_CHAR", 2, true, toChar},
    {"ztfi_current_date", 0, false, currentDate},
    {"ztfi_current_day", 0, false, currentDay},
};

// dual only when the database has none of its own; SYSIBM lives in memory, beside it.
constexpr const char* kSetup =
    "CREATE TABLE IF NOT EXISTS main.ztfi_sequence("
    "  name TEXT PRIMARY KEY COLLATE NOCASE, value INTEGER NOT NULL DEFAULT 0);"
    "ATTACH DATABASE ':memory:' AS SYSIBM;"
    "CREATE TABLE SYSIBM.SYSDUMMY1(IBMREQD CHAR(1));"
    "INSERT INTO SYSIBM.SYSDUMMY1 VALUES('Y');";

constexpr const char* kDual =
    "CREATE TEMP TABLE dual(DUMMY VARCHAR2(1));"
    "INSERT INTO temp.dual VALUES('X');";

void exec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message ? message : sqlite3_errmsg(db));
        sqlite3_free(message);
        throw DatabaseError(text);
    }
}

bool hasOwnDual(sqlite3* db)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT 1 FROM main.sqlite_master WHERE type IN ('table', 'view') "
                           "AND name = 'dual' COLLATE NOCASE",
                           -1, &stmt, nullptr)
        != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    return rc == SQLITE_ROW;
}

}  // namespace

sqlite3* handle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.data());
}

void install(const QSqlDatabase& db)
{
    sqlite3* native = handle(db);
    if (!native)
        throw DatabaseError(QStringLiteral("The connection is not an open SQLite database"));
    for (const Registration& f : kFunctions) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        if (sqlite3_create_function_v2(native, f.name, f.arguments, flags, nullptr, f.function,
                                       nullptr, nullptr, nullptr)
            != SQLITE_OK)
            throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(native)));
    }
    // Never deterministic: every call must hand out a new value. Both forms share the kept
    // statement, which the one-argument form's registration owns.
    auto* advance = new SequenceAdvance;
    if (sqlite3_create_function_v2(native, "ztfi_nextval", 1, SQLITE_UTF8, advance, nextval, nullptr,
                                   nullptr, [](void* p) { delete static_cast<SequenceAdvance*>(p); })
            != SQLITE_OK
        || sqlite3_create_function_v2(native, "ztfi_nextval", 2, SQLITE_UTF8, advance, nextval, nullptr,
                                      nullptr, nullptr)
            != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(native)));
    exec(native, kSetup);
    if (!hasOwnDual(native))
        exec(native, kDual);
    advance->prepare(db);
}

}  // namespace SqliteCompat
