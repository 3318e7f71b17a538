#include "EngineFixture.h"

#include "data/dataset/Queries.h"
#include "data/engine/SqlErrors.h"
#include "data/engine/SqliteRows.h"
#include "data/engine/SqliteStatement.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

class SqliteRowsTest : public EngineFixture {
protected:
    // Every value of every row as the driver reads it (a NULL as an invalid QVariant), and
    // the driver's error text after the rows it gave.
    std::pair<QList<QVariantList>, QString> throughDriver(const QString& sql)
    {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        EXPECT_TRUE(query.exec(connection->prepareSql(sql))) << query.lastError().text().toStdString();
        QList<QVariantList> rows;
        while (query.next()) {
            QVariantList row;
            for (int c = 0; c < query.record().count(); ++c)
                row << (query.value(c).isNull() ? QVariant() : query.value(c));
            rows << row;
        }
        return {rows, query.lastError().isValid() ? sqlErrorText(query.lastError()) : QString()};
    }

    // The same through SqliteRows.
    std::pair<QList<QVariantList>, QString> throughRows(const QString& sql)
    {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        EXPECT_TRUE(query.exec(connection->prepareSql(sql))) << query.lastError().text().toStdString();
        EXPECT_NE(SqliteStatement::of(query), nullptr);
        QList<QVariantList> rows;
        try {
            SqliteRows read(query);
            while (read.next()) {
                QVariantList row;
                for (int c = 0; c < query.record().count(); ++c)
                    row << read.value(c);
                rows << row;
            }
        } catch (const DatabaseError& error) {
            return {rows, error.message()};
        }
        return {rows, QString()};
    }

    void expectSame(const QString& sql)
    {
        SCOPED_TRACE(sql.toStdString());
        const auto [expected, expectedError] = throughDriver(sql);
        const auto [actual, actualError] = throughRows(sql);
        EXPECT_EQ(actualError, expectedError);
        ASSERT_EQ(actual.size(), expected.size());
        for (qsizetype r = 0; r < expected.size(); ++r) {
            ASSERT_EQ(actual[r].size(), expected[r].size());
            for (qsizetype c = 0; c < expected[r].size(); ++c) {
                const QVariant& e = expected[r][c];
                const QVariant& a = actual[r][c];
                SCOPED_TRACE(QStringLiteral("row %1 column %2: %3").arg(r).arg(c).arg(e.toString()).toStdString());
                EXPECT_EQ(a.metaType(), e.metaType());
                EXPECT_EQ(a, e);
                if (e.metaType() == QMetaType::fromType<QString>()) {
                    EXPECT_EQ(a.toString().isNull(), e.toString().isNull());
                }
                if (e.metaType() == QMetaType::fromType<QByteArray>()) {
                    EXPECT_EQ(a.toByteArray().isNull(), e.toByteArray().isNull());
                }
            }
        }
    }
};

// Every kind of value the engine stores, in columns of every declared type and in expressions,
// with texts repeated from row to row, comes out as the driver gives it; so do no rows, one
// row, and the rows before a row that fails, with the driver's error text.
TEST_F(SqliteRowsTest, RowsAreReadAsTheDriverReadsThem)
{
    exec(QStringLiteral("CREATE TABLE V(N NUMBER(10), F REAL, D DATE, T VARCHAR2(20), M TEXT, B BLOB, X)"));
    exec(QString::fromUtf8(
        "INSERT INTO V VALUES "
        "(1, 0.1, 46367.5444425463, 'BIC', 'ab', X'00FF', 7),"
        "(NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
        "(-4611686018427387904, 1e300, 0, '', '', X'', 'text'),"
        "(9223372036854775807, -2.5, 2.0, 'BIC', 'čšž', X'41', 2.5),"
        "(3, 4, 5, 'BIC', '€ 😀', NULL, X'FF'),"
        "('12', '1.5', 'x', 12, 1.5, 'blobtext', ''),"
        "(4, 5, 6, 'BIC', 'ab', NULL, 'a' || char(0) || 'b'),"
        "(5, 6, 7, 'bic', 'ab' || char(233), NULL, NULL),"
        "(6, 7, 8, CAST(X'41C328' AS TEXT), CAST(X'80' AS TEXT), NULL, CAST(X'F0' AS TEXT))"));
    expectSame(QStringLiteral("SELECT * FROM V"));
    expectSame(QStringLiteral("SELECT N + 1, T || M, upper(T), NVL(T, 'none'), X FROM V ORDER BY N DESC"));
    expectSame(QStringLiteral("SELECT * FROM V WHERE N = 3"));
    expectSame(QStringLiteral("SELECT * FROM V WHERE N = 42"));

    exec(QStringLiteral("CREATE TABLE S(X INTEGER, A TEXT)"));
    exec(QStringLiteral("INSERT INTO S VALUES (1, '7'), (2, '8'), (3, 'x'), (4, '9')"));
    // no sorting: the rows come one by one, the failing one after two others
    const QString failing = QStringLiteral("SELECT X, MOD(A, 2) FROM S");
    expectSame(failing);
    EXPECT_EQ(throughRows(failing).second, QStringLiteral("MOD: 'x' is not a number"));
    EXPECT_EQ(throughRows(failing).first.size(), 2);
}

// A dataset opened on the embedded engine holds what the driver reads, and a failing row
// ends its opening with the engine's error.
TEST_F(SqliteRowsTest, ADatasetHoldsTheRowsAndRaisesTheErrorOfAFailingRow)
{
    exec(QStringLiteral("CREATE TABLE S(X INTEGER, SEQ TEXT)"));
    exec(QStringLiteral("INSERT INTO S VALUES (1, 'A'), (2, 'A'), (3, 'B')"));
    TUniQuery query(*connection, QStringLiteral("qTest"));
    query.setSql(QStringLiteral("SELECT X, SEQ FROM S ORDER BY X"));
    query.open();
    QStringList seen;
    for (query.first(); !query.eof(); query.next())
        seen << query.fieldByName(QStringLiteral("X")).asString() + query.fieldByName(QStringLiteral("SEQ")).asString();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("1A"), QStringLiteral("2A"), QStringLiteral("3B")}));

    query.setSql(QStringLiteral("SELECT X, ztfi_nextval(SEQ) AS N FROM S"));
    try {
        query.open();
        FAIL() << "no error for a missing sequence";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("sequence A does not exist"));
    }
}

}  // namespace
