#include "EngineFixture.h"

#include "data/engine/SqlErrors.h"
#include "data/engine/SqliteStatement.h"

#include <QDateTime>
#include <QSqlQuery>

namespace {

class SqliteStatementTest : public EngineFixture {
protected:
    // The stored type and value of row k as the engine quotes them.
    QString stored(int k)
    {
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT typeof(V) || ' ' || quote(V) FROM T WHERE K = %1").arg(k)));
        return query.next() ? query.value(0).toString() : QStringLiteral("<no row>");
    }
};

// Every kind of value is stored as the driver's own binding stores it.
TEST_F(SqliteStatementTest, ValuesAreBoundAsTheDriverBindsThem)
{
    exec(QStringLiteral("CREATE TABLE T(K INTEGER, V)"));
    const QVariantList values{
        QVariant(),
        QVariant(QMetaType::fromType<QString>()),
        QVariant(QString()),
        QVariant(QStringLiteral("")),
        QVariant(QString::fromUtf8("čšž € 😀")),
        QVariant(5),
        QVariant(-7),
        QVariant(true),
        QVariant(qlonglong(-4611686018427387904LL)),
        QVariant(uint(4000000000U)),
        QVariant(qulonglong(5)),
        QVariant(0.1),
        QVariant(1.5f),
        QVariant(QByteArray()),
        QVariant(QByteArray("")),
        QVariant(QByteArray("\0\1", 2)),
        QVariant(QDateTime(QDate(2026, 3, 2), QTime(15, 45, 10, 123))),
        QVariant(QDateTime()),
        QVariant(QDate(2026, 3, 2)),
        QVariant(QDate()),
        QVariant(QTime(15, 45, 10, 5)),
        QVariant(QTime()),
        QVariant(QChar(u'Ž')),
    };
    ASSERT_TRUE(connection->database().transaction());
    QSqlQuery driver(connection->database());
    ASSERT_TRUE(driver.prepare(QStringLiteral("INSERT INTO T(K, V) VALUES (?, ?)")));
    QSqlQuery native(connection->database());
    ASSERT_TRUE(native.prepare(QStringLiteral("INSERT INTO T(K, V) VALUES (?, ?)")));
    sqlite3_stmt* statement = SqliteStatement::of(native);
    ASSERT_NE(statement, nullptr);
    for (qsizetype i = 0; i < values.size(); ++i) {
        driver.bindValue(0, int(2 * i));
        driver.bindValue(1, values[i]);
        ASSERT_TRUE(driver.exec()) << driver.lastError().text().toStdString();
        SqliteStatement::run(statement, {int(2 * i + 1), values[i]});
    }
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(stored(int(2 * i + 1)), stored(int(2 * i))) << i << ": " << values[i].toString().toStdString();
}

// A refused row raises the driver's error text, and the statement runs again afterwards.
TEST_F(SqliteStatementTest, ARefusedRowRaisesTheDriversError)
{
    exec(QStringLiteral("CREATE TABLE T(K INTEGER PRIMARY KEY, V NOT NULL)"));
    QSqlQuery driver(connection->database());
    ASSERT_TRUE(driver.prepare(QStringLiteral("INSERT INTO T(K, V) VALUES (?, ?)")));
    driver.addBindValue(1);
    driver.addBindValue(QVariant());
    ASSERT_FALSE(driver.exec());
    const QString expected = sqlErrorText(driver.lastError());

    QSqlQuery native(connection->database());
    ASSERT_TRUE(native.prepare(QStringLiteral("INSERT INTO T(K, V) VALUES (?, ?)")));
    try {
        SqliteStatement::run(SqliteStatement::of(native), {1, QVariant()});
        FAIL() << "no error for a NULL in a NOT NULL column";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.message(), expected);
        EXPECT_TRUE(expected.contains(QStringLiteral("NOT NULL"))) << expected.toStdString();
    }
    SqliteStatement::run(SqliteStatement::of(native), {1, QStringLiteral("a")});
    EXPECT_EQ(stored(1), QStringLiteral("text 'a'"));
}

}  // namespace
