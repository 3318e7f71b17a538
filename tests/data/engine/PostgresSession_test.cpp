#include "core/Error.h"
#include "data/dataset/Queries.h"
#include "data/engine/EngineColumns.h"
#include "data/SequenceReader.h"
#include "support/FixtureDb.h"
#include "support/PostgresServer.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A fresh database of the throwaway server, opened as the program opens an alias.
class PostgresSessionTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!PostgresServer::available())
            GTEST_SKIP() << "no PostgreSQL server: scripts/test starts one";
        db = std::make_unique<FixtureDb>(Connection::Engine::PostgreSql);
    }

    QStringList columnNames(const QString& sql)
    {
        QSqlQuery query(db->connection().database());
        EXPECT_TRUE(query.exec(db->connection().prepareSql(sql))) << sql.toStdString();
        QStringList names;
        for (const EngineColumn& column : engineColumns(query))
            names << column.name;
        return names;
    }

    std::unique_ptr<FixtureDb> db;
};

// What the statements rely on: Oracle's DATE with the time of day, CURRENT_DATE as the local
// date and time now, dates written day first, sequences through the Oracle form.
TEST_F(PostgresSessionTest, TheSessionRunsTheOracleDialect)
{
    // to the second, rounded
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime now = db->value(QStringLiteral("select CURRENT_DATE from dual")).toDateTime();
    EXPECT_GE(now, before);
    EXPECT_LE(now, QDateTime::currentDateTime().addMSecs(500));
    EXPECT_EQ(now.time().msec(), 0);
    EXPECT_EQ(db->value(QStringLiteral("select NVL(CAST(null as DATE), '30.12.1899') from dual")).toDateTime(),
              QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    EXPECT_EQ(db->value(QStringLiteral("select TO_DATE('03/02/2026 10:30','mm/dd/yyyy hh24:mi') from dual"))
                  .toDateTime(),
              QDateTime(QDate(2026, 3, 2), QTime(10, 30)));
    // the last Sunday of March by the report rows' formula
    EXPECT_EQ(db->value(QStringLiteral("select 31-(mod(trunc(5*CAST(EXTRACT(Year FROM TO_DATE('02.03.2026',"
                                       "'dd.mm.yyyy')) as INTEGER)/4+4),7)) from dual"))
                  .toInt(),
              29);
    const SequenceReader ids(db->connection(), SqlDialect::Oracle);
    EXPECT_EQ(ids.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 1);
    EXPECT_EQ(ids.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 2);
}

// The session's settings are the desk's, whatever the database's defaults say.
TEST_F(PostgresSessionTest, TheDeskSetsItsSession)
{
    db->exec(QStringLiteral("DO $$BEGIN EXECUTE format('ALTER DATABASE %I SET TimeZone = %L', current_database(), "
                            "'Pacific/Chatham'); EXECUTE format('ALTER DATABASE %I SET DateStyle = %L', "
                            "current_database(), 'SQL, MDY'); END$$"));
    auto desk = Connection::open(db->folder(), FixtureDb::alias(), PostgresServer::user(), PostgresServer::password());
    const auto setting = [&](const char* name) {
        QSqlQuery query(desk->database());
        EXPECT_TRUE(query.exec(QStringLiteral("SHOW ") + QLatin1String(name)));
        return query.next() ? query.value(0).toString() : QString();
    };
    EXPECT_EQ(setting("TimeZone"), QString::fromUtf8(QTimeZone::systemTimeZoneId()));
    EXPECT_EQ(setting("DateStyle"), QStringLiteral("ISO, DMY"));
    EXPECT_EQ(setting("search_path"), QStringLiteral("oracle, pg_catalog, public"));
}

// Column names come back as the program wrote them, not folded to lower case.
TEST_F(PostgresSessionTest, ColumnsKeepTheirDeclaredNames)
{
    EXPECT_EQ(columnNames(QStringLiteral(" select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP")),
              QStringList{QStringLiteral("MaxDpAtvpId")});
    EXPECT_EQ(columnNames(QStringLiteral("SELECT * FROM DPATVP WHERE 1=0")),
              (QStringList{QStringLiteral("DPATVPID"), QStringLiteral("DANPOROCANJA"), QStringLiteral("DAN"),
                           QStringLiteral("ZAPST"), QStringLiteral("XML_FILE"), QStringLiteral("STATUS"),
                           QStringLiteral("DANOD")}));
}

// A refused statement reports the server's message, not the driver's words around it.
TEST_F(PostgresSessionTest, ErrorsCarryTheServersMessage)
{
    TUniQuery query(db->connection(), QStringLiteral("qMissing"));
    query.setSql(QStringLiteral("select * from NIKJER where X = :X"));
    query.paramByName(QStringLiteral("X")).setAsInteger(1);
    try {
        query.open();
        FAIL() << "a missing table was read";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("relation \"nikjer\" does not exist")) << e.message().toStdString();
    }
}

// The user and password of the start-up parameters sign in; a wrong password is the server's
// refusal.
TEST_F(PostgresSessionTest, TheStartUpParametersSignIn)
{
    try {
        Connection::open(db->folder(), FixtureDb::alias(), PostgresServer::user(), QStringLiteral("wrong"));
        FAIL() << "signed in with a wrong password";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("password authentication failed for user \"%1\"")
                                             .arg(PostgresServer::user())))
            << e.message().toStdString();
    }
}

}  // namespace
