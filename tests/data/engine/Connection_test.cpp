#include "EngineFixture.h"

#include "data/engine/AliasResolver.h"
#include "data/engine/OleDate.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <sqlite3.h>

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// A database file made by the engine itself, holding one marker row.
void createMarkedDatabase(const QString& path, const char* marker)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    const QByteArray sql = QByteArray("CREATE TABLE MARKER(V TEXT); INSERT INTO MARKER VALUES('")
        + marker + "');";
    EXPECT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class ConnectionTest : public EngineFixture {};

TEST_F(ConnectionTest, OpensTheAliasFileOfTheProgramFolder)
{
    EXPECT_EQ(connection->engine(), Connection::Engine::Sqlite);
    EXPECT_EQ(connection->driverName(), QStringLiteral("QSQLITE"));
    EXPECT_TRUE(connection->database().isOpen());
    // aliases are not case sensitive
    auto again = Connection::open(folder.path(), QStringLiteral("test"), {}, {});
    EXPECT_EQ(QFileInfo(again->database().databaseName()).fileName(), QStringLiteral("TEST.sqlite"));
}

TEST_F(ConnectionTest, MissingDatabaseFileIsAnErrorNamingTheFile)
{
    const QString expected = QDir(folder.path()).absoluteFilePath(QStringLiteral("NOPE.sqlite"));
    try {
        Connection::open(folder.path(), QStringLiteral("NOPE"), {}, {});
        FAIL() << "opened a database that does not exist";
    } catch (const DatabaseError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Database file does not exist: ") + expected);
    }
    EXPECT_FALSE(QFile::exists(expected));  // no empty database left in its place
}

TEST_F(ConnectionTest, AliasesIniLeadsToAnotherFile)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("data")));
    createMarkedDatabase(folder.filePath(QStringLiteral("data/prod.db")), "prod");
    writeFile(folder.filePath(QStringLiteral("aliases.ini")),
              "; databases of the workstation\r\n"
              "[Other]\r\nDriver=SQLITE\r\nDatabase=elsewhere.db\r\n"
              "[prod]\r\n Driver = sqlite \r\nDatabase=data/prod.db\r\n");
    auto prod = Connection::open(folder.path(), QStringLiteral("PROD"), {}, {});
    QSqlQuery query(prod->database());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT V FROM MARKER")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), QStringLiteral("prod"));
    // the functions are there too
    ASSERT_TRUE(query.exec(prod->prepareSql(QStringLiteral("SELECT NVL(NULL, 7) FROM dual"))));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 7);

    // an entry whose file is missing is the same error, naming that file
    try {
        Connection::open(folder.path(), QStringLiteral("other"), {}, {});
        FAIL() << "opened a missing file";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("/elsewhere.db"))) << e.message().toStdString();
    }
}

TEST_F(ConnectionTest, AliasesIniEntriesOfServers)
{
    writeFile(folder.filePath(QStringLiteral("aliases.ini")),
              "[ORA]\nDriver=ODBC\nDSN=ztfi_prod\n"
              "[DB2]\nDriver=odbc\nConnectionString=DRIVER={IBM DB2};HOSTNAME=h,1;DATABASE=LB\n"
              "[BARE]\nDriver=ODBC\n"
              "[LB]\nDriver=ODBC\nServer=PostgreSQL\n"
              "ConnectionString=DRIVER={PostgreSQL Unicode};Server=localhost;Port=5432;Database=ztfi;\n"
              "[PGDSN]\nDriver=ODBC\nServer=postgresql\nDSN=ztfi_pg\n"
              "[NAMED]\nDriver=ODBC\nServer=Oracle\nDSN=ora\n"
              "[WRONG]\nDriver=BDE\n"
              "[WRONGSERVER]\nDriver=ODBC\nServer=MySQL\n");
    struct Case {
        const char* alias;
        Connection::Engine engine;
        const char* database;
    };
    const Case cases[] = {
        {"ora", Connection::Engine::Odbc, "ztfi_prod"},
        {"DB2", Connection::Engine::Odbc, "DRIVER={IBM DB2};HOSTNAME=h,1;DATABASE=LB"},
        {"BARE", Connection::Engine::Odbc, "BARE"},
        {"lb", Connection::Engine::PostgreSql,
         "DRIVER={PostgreSQL Unicode};Server=localhost;Port=5432;Database=ztfi;"},
        {"PGDSN", Connection::Engine::PostgreSql, "ztfi_pg"},
        {"NAMED", Connection::Engine::Odbc, "ora"},
    };
    for (const Case& c : cases) {
        const AliasTarget target = AliasResolver::resolve(folder.path(), QString::fromUtf8(c.alias));
        EXPECT_EQ(target.engine, c.engine) << c.alias;
        EXPECT_EQ(target.database.toStdString(), c.database) << c.alias;
    }
    EXPECT_THROW(AliasResolver::resolve(folder.path(), QStringLiteral("WRONG")), DatabaseError);
    EXPECT_THROW(AliasResolver::resolve(folder.path(), QStringLiteral("WRONGSERVER")), DatabaseError);
    // a server that cannot be reached reports the driver's text
    try {
        Connection::open(folder.path(), QStringLiteral("ORA"), QStringLiteral("u"), QStringLiteral("p"));
        FAIL() << "reached a data source that does not exist";
    } catch (const DatabaseError& e) {
        EXPECT_FALSE(e.message().trimmed().isEmpty());
    }
}

TEST_F(ConnectionTest, TransactionsCommitAndRollBack)
{
    exec(QStringLiteral("CREATE TABLE T(V INTEGER)"));
    connection->startTransaction();
    EXPECT_TRUE(connection->inTransaction());
    exec(QStringLiteral("INSERT INTO T VALUES (1)"));
    connection->commit();
    EXPECT_FALSE(connection->inTransaction());

    connection->startTransaction();
    exec(QStringLiteral("INSERT INTO T VALUES (2)"));
    // a second start inside the open transaction is refused with the engine's text
    try {
        connection->startTransaction();
        FAIL() << "nested transaction started";
    } catch (const DatabaseError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("within a transaction")))
            << e.message().toStdString();
    }
    connection->rollback();
    EXPECT_FALSE(connection->inTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(V) FROM T")).toString(), QStringLiteral("1"));

    // rolling back without a transaction does nothing; committing without one is an error
    EXPECT_NO_THROW(connection->rollback());
    EXPECT_THROW(connection->commit(), DatabaseError);
}

TEST_F(ConnectionTest, SequenceValuesOfARolledBackStepAreGivenBack)
{
    exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('EMIRPOSEL_ID_SEQ', 0)"));
    connection->startTransaction();
    EXPECT_EQ(scalar(QStringLiteral("SELECT NEXTVAL FOR EMIRPOSEL_ID_SEQ AS NewId FROM SYSIBM.SYSDUMMY1"))
                  .toInt(),
              1);
    connection->rollback();
    EXPECT_EQ(scalar(QStringLiteral("SELECT EMIRPOSEL_ID_SEQ.NEXTVAL FROM dual")).toInt(), 1);
}

TEST_F(ConnectionTest, DatesRoundTripThroughTheEngine)
{
    exec(QStringLiteral("CREATE TABLE D(Dan DATE, Cas DATE)"));
    const QDateTime moment(QDate(2014, 3, 31), QTime(15, 45, 10));
    QSqlQuery insert(connection->database());
    ASSERT_TRUE(insert.prepare(QStringLiteral("INSERT INTO D VALUES (:Dan, :Cas)")));
    insert.bindValue(QStringLiteral(":Dan"), connection->toEngineValue(moment.date()));
    insert.bindValue(QStringLiteral(":Cas"), connection->toEngineValue(moment));
    ASSERT_TRUE(insert.exec());
    insert.bindValue(QStringLiteral(":Dan"), connection->toEngineValue(QVariant(QDate())));
    insert.bindValue(QStringLiteral(":Cas"), connection->toEngineValue(QVariant(QMetaType::fromType<QDateTime>())));
    ASSERT_TRUE(insert.exec());

    QSqlQuery read(connection->database());
    read.setForwardOnly(true);
    ASSERT_TRUE(read.exec(QStringLiteral("SELECT Dan, Cas FROM D ORDER BY Dan DESC")));
    ASSERT_TRUE(read.next());
    EXPECT_EQ(OleDate::toDate(read.value(0).toDouble()), moment.date());
    EXPECT_EQ(OleDate::toDateTime(read.value(1).toDouble()), moment);
    ASSERT_TRUE(read.next());
    EXPECT_TRUE(read.value(0).isNull());
    EXPECT_TRUE(read.value(1).isNull());

    // a bound date meets the same day written in the statement
    QSqlQuery find(connection->database());
    ASSERT_TRUE(find.prepare(connection->prepareSql(
        QStringLiteral("SELECT count(*) FROM D WHERE Dan = :Dan AND Dan = TO_DATE('03/31/2014','mm/dd/yyyy') "
                       "AND TO_CHAR(Cas, 'HH24:MI:SS') = '15:45:10'"))));
    find.bindValue(QStringLiteral(":Dan"), connection->toEngineValue(QDate(2014, 3, 31)));
    ASSERT_TRUE(find.exec());
    ASSERT_TRUE(find.next());
    EXPECT_EQ(find.value(0).toInt(), 1);
}

TEST_F(ConnectionTest, OtherValuesAreBoundUnchanged)
{
    const QVariant values[] = {QVariant(42), QVariant(1.5), QVariant(QStringLiteral("besedilo")),
                               QVariant()};
    for (const QVariant& v : values)
        EXPECT_EQ(connection->toEngineValue(v), v);
}

}  // namespace
