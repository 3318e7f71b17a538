#include "EngineFixture.h"

#include "data/engine/OleDate.h"

#include <QSqlQuery>

#include <cmath>
#include <vector>

namespace {

class SqliteCompatTest : public EngineFixture {};

// The value as text, "<null>" for NULL.
std::string text(const QVariant& value)
{
    return value.isNull() ? "<null>" : value.toString().toStdString();
}

TEST_F(SqliteCompatTest, OracleFunctions)
{
    struct Case {
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"NVL(NULL, 5)", "5"},
        {"NVL('a', 'b')", "a"},
        {"NVL(NULL, NULL)", "<null>"},
        {"YEAR(41729.5)", "2014"},
        {"YEAR(NULL)", "<null>"},
        {"EXTRACT(Year FROM TO_DATE('12/31/2013','mm/dd/yyyy'))", "2013"},
        {"MOD(2521, 7)", "1"},
        {"MOD(-11, 4)", "-3"},
        {"MOD(11, -4)", "3"},
        {"MOD(5, 0)", "5"},
        {"MOD(11.5, 4)", "3.5"},
        {"MOD(14.0, 7) || ''", "0"},
        {"MOD(NULL, 3)", "<null>"},
        {"TRUNC(2.7)", "2"},
        {"TRUNC(-2.7)", "-2"},
        {"TRUNC(41729.75)", "41729"},
        {"TRUNC(1.15, 2)", "1.15"},
        {"TRUNC(1.159, 2)", "1.15"},
        {"TRUNC(-1.159, 1)", "-1.1"},
        {"TRUNC(1.9999, 0)", "1"},
        {"TRUNC(1234.5, -2)", "1200"},
        {"TRUNC(NULL)", "<null>"},
        // a whole result turns into text without a decimal point
        {"CAST(TRUNC(5*2014/4.0+4) as VARCHAR2(4))", "2521"},
        {"CAST(31-(mod(trunc(5*CAST(2014 as INTEGER)/4+4),7)) as VARCHAR2(2))", "30"},
        {"TO_DATE('03/31/2014','mm/dd/yyyy')", "41729"},
        {"TO_DATE('31.03.2014','dd.mm.yyyy')", "41729"},
        {"TO_DATE('5.3.2014','dd.mm.yyyy')", "41703"},
        {"TO_DATE('12/30/1899','mm/dd/yyyy')", "0"},
        {"TO_DATE(NULL,'mm/dd/yyyy')", "<null>"},
        {"TO_CHAR(TO_DATE(' 31.3.2014 15:45:10 ','dd.mm.yyyy hh24:mi:ss'), 'DD.MM.YYYY HH24:MI:SS')",
         "31.03.2014 15:45:10"},
        {"TO_CHAR(TO_DATE('01/02/2014','mm/dd/yyyy'), 'YYYY')", "2014"},
        {"TO_CHAR(41729.5, 'yyyy-mm-dd hh24:mi')", "2014-03-31 12:00"},
        {"TO_CHAR(41729.5, 'MM')", "03"},
        {"TO_CHAR(41729.5, 'YY')", "14"},
        {"TO_CHAR(41729.5, '\"leto \"YYYY')", "leto 2014"},
        {"TO_CHAR(NULL, 'YYYY')", "<null>"},
        {"TO_CHAR(42)", "42"},
        {"TO_CHAR(1.5)", "1.5"},
        {"TO_CHAR(0.25)", ".25"},
        {"TO_CHAR(-0.5)", "-.5"},
        {"TO_CHAR(1e20)", "100000000000000000000"},
        {"TO_CHAR(0.1+0.2)", ".3"},
        {"TO_CHAR('abc')", "abc"},
        {"(select DUMMY from dual)", "X"},
        {"(SELECT IBMREQD FROM SYSIBM.SYSDUMMY1)", "Y"},
    };
    for (const Case& c : cases) {
        const QString sql = QStringLiteral("SELECT ") + QString::fromUtf8(c.expression);
        try {
            EXPECT_EQ(text(scalar(sql)), c.expected) << c.expression;
        } catch (const DatabaseError& e) {
            ADD_FAILURE() << c.expression << ": " << e.message().toStdString();
        }
    }
}

TEST_F(SqliteCompatTest, ErrorsOfTheFunctions)
{
    struct Case {
        const char* sql;
        const char* message;
    };
    const Case cases[] = {
        {"SELECT TO_DATE('31.02.2014','dd.mm.yyyy')",
         "TO_DATE: '31.02.2014' does not match the date format 'dd.mm.yyyy'"},
        {"SELECT TO_DATE('2014-03-31','dd.mm.yyyy')", "does not match the date format"},
        {"SELECT TO_DATE('31.03.2014x','dd.mm.yyyy')", "does not match the date format"},
        {"SELECT TO_CHAR(41729, 'YYYY Q')", "TO_CHAR: date format 'YYYY Q' not recognized at 'Q'"},
        {"SELECT TO_CHAR(5, '999')", "not recognized"},
        {"SELECT MOD('abc', 2)", "MOD: 'abc' is not a number"},
        {"SELECT YEAR('31.03.2014')", "YEAR: '31.03.2014' is not a number"},
        {"SELECT NEXTVAL FOR NO_SUCH_SEQ AS NewId FROM SYSIBM.SYSDUMMY1",
         "sequence NO_SUCH_SEQ does not exist"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(errorOf(QString::fromUtf8(c.sql)).contains(QString::fromUtf8(c.message)))
            << c.sql << " gave: " << errorOf(QString::fromUtf8(c.sql)).toStdString();
}

// A format is compiled once per statement; a format that changes from row to row still counts.
TEST_F(SqliteCompatTest, DateFormatsThatDifferFromRowToRow)
{
    exec(QStringLiteral("CREATE TABLE F(N INTEGER, Fmt TEXT, Txt TEXT)"));
    exec(QStringLiteral("INSERT INTO F VALUES (1, 'YYYY', '2014'), (2, 'MM', '3'), "
                        "(3, 'DD.MM.YYYY', '31.03.2014'), (4, 'mm/dd/yyyy', '03/31/2014')"));
    QSqlQuery query(connection->database());
    query.setForwardOnly(true);
    ASSERT_TRUE(query.exec(QStringLiteral(
        "SELECT TO_CHAR(41729.5, Fmt), TO_CHAR(TO_DATE(Txt, Fmt), 'DD.MM.YYYY') FROM F ORDER BY N")));
    // an element left out of the format takes the current year or month, or day 1
    const QDate today = QDate::currentDate();
    const QString expected[][2] = {
        {QStringLiteral("2014"), QStringLiteral("01.%1.2014").arg(today.month(), 2, 10, QLatin1Char('0'))},
        {QStringLiteral("03"), QStringLiteral("01.03.%1").arg(today.year())},
        {QStringLiteral("31.03.2014"), QStringLiteral("31.03.2014")},
        {QStringLiteral("03/31/2014"), QStringLiteral("31.03.2014")},
    };
    for (const auto& row : expected) {
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), row[0]);
        EXPECT_EQ(query.value(1).toString(), row[1]);
    }
}

TEST_F(SqliteCompatTest, CurrentDateIsNowAndCurrentDayIsToday)
{
    const double before = OleDate::fromDateTime(QDateTime::currentDateTime());
    const double now = scalar(QStringLiteral("select CURRENT_DATE from dual")).toDouble();
    const double after = OleDate::fromDateTime(QDateTime::currentDateTime());
    EXPECT_GE(now, before - 1e-8);
    EXPECT_LE(now, after + 1e-8);

    const double today = scalar(QStringLiteral("SELECT Current DATE FROM SYSIBM.SYSDUMMY1")).toDouble();
    EXPECT_EQ(today, std::trunc(today));
    EXPECT_TRUE(OleDate::toDate(today) == QDate::currentDate()
                || OleDate::toDate(today) == QDate::currentDate().addDays(-1));  // midnight passed
}

// The summer period of a year lies strictly between the last Sundays of March and October,
// computed in SQL with the constructs of the report rows.
TEST_F(SqliteCompatTest, SummerTimeExpressionOfTheReportRows)
{
    exec(QStringLiteral("CREATE TABLE PSL(Dan REAL)"));
    const QString year = QStringLiteral("CAST(EXTRACT(Year FROM P.Dan) as INTEGER)");
    const QString march = QStringLiteral(
        "TO_DATE(CAST(31-(mod(trunc(5*%1/4+4),7)) as VARCHAR2(2)) || '.03.' || CAST(%1 as "
        "VARCHAR2(4)),'dd.mm.yyyy')").arg(year);
    const QString october = QStringLiteral(
        "TO_DATE(CAST(31-(mod(trunc(5*%1/4+1),7)) as VARCHAR2(2)) || '.10.' || CAST(%1 as "
        "VARCHAR2(4)),'dd.mm.yyyy')").arg(year);
    const QString offset = QStringLiteral(
        "SELECT CASE WHEN P.Dan > %1 AND P.Dan < %2 THEN '+02' ELSE '+01' END "
        " FROM PSL P WHERE P.Dan = :Dan").arg(march, october);

    struct Case {
        QDate day;
        const char* expected;
    };
    const Case cases[] = {
        {QDate(2014, 3, 30), "+01"}, {QDate(2014, 3, 31), "+02"},  {QDate(2014, 10, 25), "+02"},
        {QDate(2014, 10, 26), "+01"}, {QDate(2015, 3, 29), "+01"}, {QDate(2015, 3, 30), "+02"},
        {QDate(2024, 10, 27), "+01"}, {QDate(2024, 1, 15), "+01"},
    };
    for (const Case& c : cases) {
        QSqlQuery insert(connection->database());
        insert.prepare(QStringLiteral("INSERT INTO PSL VALUES(:Dan)"));
        insert.bindValue(QStringLiteral(":Dan"), connection->toEngineValue(c.day));
        ASSERT_TRUE(insert.exec());
        QSqlQuery query(connection->database());
        ASSERT_TRUE(query.prepare(connection->prepareSql(offset))) << query.lastError().text().toStdString();
        query.bindValue(QStringLiteral(":Dan"), connection->toEngineValue(c.day));
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString().toStdString(), c.expected)
            << c.day.toString(Qt::ISODate).toStdString();
    }
}

TEST_F(SqliteCompatTest, SequenceHandsOutValuesInsideARunningStatement)
{
    exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('DPATVPPSL_SEQ', 0)"));
    exec(QStringLiteral("CREATE TABLE SRC(X INTEGER)"));
    exec(QStringLiteral("INSERT INTO SRC VALUES (10), (20), (30)"));
    exec(QStringLiteral("CREATE TABLE DPATVPPSL(IDREFATVP INTEGER, X INTEGER)"));

    exec(QStringLiteral("INSERT INTO DPATVPPSL SELECT DPATVPPSL_SEQ.NEXTVAL, X FROM SRC"));
    std::vector<qint64> values;
    QSqlQuery read(connection->database());
    ASSERT_TRUE(read.exec(QStringLiteral("SELECT IDREFATVP FROM DPATVPPSL ORDER BY X")));
    while (read.next())
        values.push_back(read.value(0).toLongLong());
    EXPECT_EQ(values, (std::vector<qint64>{1, 2, 3}));

    // while a reading statement walks its rows, in the DB2 form and in another letter case
    values.clear();
    QSqlQuery walk(connection->database());
    walk.setForwardOnly(true);
    ASSERT_TRUE(walk.exec(connection->prepareSql(
        QStringLiteral("SELECT NEXTVAL FOR dpatvppsl_seq, X FROM SRC ORDER BY X"))));
    while (walk.next())
        values.push_back(walk.value(0).toLongLong());
    EXPECT_EQ(values, (std::vector<qint64>{4, 5, 6}));
}

// The update of a sequence is kept with the running statement while the statement names that
// one sequence; every call still hands out its own value, whichever sequence a call names.
TEST_F(SqliteCompatTest, EverySequenceCallHandsOutItsOwnValue)
{
    exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('A_SEQ', 0), ('B_SEQ', 100)"));
    exec(QStringLiteral("CREATE TABLE SRC(X INTEGER, SEQ TEXT)"));
    exec(QStringLiteral("INSERT INTO SRC VALUES (1, 'A_SEQ'), (2, 'B_SEQ'), (3, 'a_seq'), (4, 'NO_SEQ')"));
    const auto rows = [&](const QString& sql) {
        QStringList values;
        QSqlQuery query(connection->database());
        query.setForwardOnly(true);
        if (!query.exec(connection->prepareSql(sql)))
            return QStringList{query.lastError().databaseText()};
        while (query.next())
            values << query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString();
        if (query.lastError().isValid())
            values << query.lastError().databaseText();
        return values;
    };

    // two sequences in one statement, each call site with its own
    EXPECT_EQ(rows(QStringLiteral("SELECT A_SEQ.NEXTVAL, NEXTVAL FOR B_SEQ FROM SRC WHERE X < 4 ORDER BY X")),
              (QStringList{QStringLiteral("1 101"), QStringLiteral("2 102"), QStringLiteral("3 103")}));
    // a sequence named by the row itself, and a row naming none (the rows in the order stored)
    EXPECT_EQ(rows(QStringLiteral("SELECT ztfi_nextval(SEQ), X FROM SRC")),
              (QStringList{QStringLiteral("4 1"), QStringLiteral("104 2"), QStringLiteral("5 3"),
                           QStringLiteral("sequence NO_SEQ does not exist")}));

    // a statement kept prepared goes on with the sequence, and the connection closes while it
    // is halfway through its rows
    {
        QSqlQuery kept(connection->database());
        kept.setForwardOnly(true);
        ASSERT_TRUE(kept.prepare(connection->prepareSql(QStringLiteral("SELECT A_SEQ.NEXTVAL, X FROM SRC WHERE X < 3"))));
        ASSERT_TRUE(kept.exec());
        while (kept.next()) {
        }
        ASSERT_TRUE(kept.exec());
        ASSERT_TRUE(kept.next());
        EXPECT_EQ(kept.value(0).toInt(), 8);
        QSqlDatabase db = connection->database();
        db.close();
        EXPECT_FALSE(db.lastError().isValid()) << db.lastError().text().toStdString();
    }
    connection.reset();
    connection = Connection::open(folder.path(), QStringLiteral("TEST"), {}, {});
    EXPECT_EQ(scalar(QStringLiteral("SELECT A_SEQ.NEXTVAL FROM dual")).toInt(), 9);
}

// The statement that advances the sequences stays prepared with the connection: it follows a
// sequence table that is made again, reports a missing one, and does not keep the connection
// from closing.
TEST_F(SqliteCompatTest, SequenceAdvanceFollowsItsTable)
{
    exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('ACT_IDACT_SEQ', 0)"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ACT_IDACT_SEQ.NEXTVAL FROM dual")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT ACT_IDACT_SEQ.NEXTVAL FROM dual")).toInt(), 2);

    exec(QStringLiteral("DROP TABLE ztfi_sequence"));
    EXPECT_TRUE(errorOf(QStringLiteral("SELECT ACT_IDACT_SEQ.NEXTVAL FROM dual"))
                    .contains(QStringLiteral("ztfi_sequence")));
    exec(QStringLiteral("CREATE TABLE ztfi_sequence("
                        "name TEXT PRIMARY KEY COLLATE NOCASE, value INTEGER NOT NULL DEFAULT 0)"));
    exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('ACT_IDACT_SEQ', 40)"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT ACT_IDACT_SEQ.NEXTVAL FROM dual")).toInt(), 41);
    EXPECT_TRUE(errorOf(QStringLiteral("SELECT OTHER_SEQ.NEXTVAL FROM dual"))
                    .contains(QStringLiteral("sequence OTHER_SEQ does not exist")));

    QSqlDatabase db = connection->database();
    db.close();
    EXPECT_FALSE(db.lastError().isValid()) << db.lastError().text().toStdString();
    connection.reset();
    connection = Connection::open(folder.path(), QStringLiteral("TEST"), {}, {});
    EXPECT_EQ(scalar(QStringLiteral("SELECT ACT_IDACT_SEQ.NEXTVAL FROM dual")).toInt(), 42);
}

TEST_F(SqliteCompatTest, SequenceValuesSurviveReopening)
{
    exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('ACT_IDACT_SEQ', 41)"));
    EXPECT_EQ(scalar(QStringLiteral("select ACT_IDACT_SEQ.NEXTVAL FROM dual")).toLongLong(), 42);
    connection.reset();
    connection = Connection::open(folder.path(), QStringLiteral("TEST"), {}, {});
    EXPECT_EQ(scalar(QStringLiteral("SELECT NEXTVAL FOR ACT_IdAct_SEQ AS NewId FROM SYSIBM.SYSDUMMY1"))
                  .toLongLong(),
              43);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from dual")).toInt(), 1);
}

}  // namespace
