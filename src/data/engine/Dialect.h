#pragma once

#include <QDate>
#include <QString>

struct Config;

// The SQL dialect of the back-office database. All statements are written once in the Oracle
// dialect; the DB2 forms come from the textual rewrites below and from the few statements
// that are built in two forms.
enum class SqlDialect { Oracle, Db2 };

// "DB2" (compared exactly) in the key Tip selects DB2; every other value Oracle.
SqlDialect dialectOf(const Config& config);

// The report-row statement and the instrument code list after the start-up preparation, kept
// for the whole run. Every use starts again from these texts.
struct PreparedStatements {
    QString reportRows;
    QString codeList;

    // The report-row statement to open: the saved text, under DB2 with the DB2 rewriting
    // applied to a copy, so rewrites never accumulate over several uses.
    QString reportRowsForOpen(SqlDialect dialect) const;
};

// Start-up preparation: replaces the placeholders %null_int%, %null_char%, %TimeZone_Start%,
// %TimeZone_End% and %SegmentTrg% for the configured dialect and fixed-zone markets.
PreparedStatements prepareStatements(const QString& reportRowsTemplate,
                                     const QString& codeListTemplate, const Config& config);

// The DB2 rewriting of the report-row statement, applied each time it is opened under DB2.
QString db2Rewrite(const QString& reportRows);

// Every "NVL(" becomes "COALESCE(" (any case).
QString nvlToCoalesce(const QString& sql);
// A statement that uses NVL, in the form of the dialect (the instrument look-up by ISIN, the
// additional instrument data, the override synchronisation).
QString nvlForDialect(const QString& sql, SqlDialect dialect);

// A date inside generated SQL: TO_DATE('mm/dd/yyyy','mm/dd/yyyy') or, under DB2, 'mm/dd/yyyy'.
QString dateLiteral(const QDate& date, SqlDialect dialect);

// The next value of a sequence as a column expression: SEQ.NEXTVAL or NEXTVAL FOR SEQ.
QString nextValueExpression(const QString& sequence, SqlDialect dialect);

// A text as an SQL string literal: enclosed in single quotes, each single quote doubled.
QString sqlStringLiteral(const QString& text);

// The order of the report register: newest year first, highest serial number first. Oracle
// has no YEAR(), so its form extracts the year.
QString registerListOrder(SqlDialect dialect);
