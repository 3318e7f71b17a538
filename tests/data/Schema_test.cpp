#include "support/FixtureDb.h"
#include "data/engine/Connection.h"
#include "data/SequenceReader.h"
#include "support/SqlScript.h"

#include <QDir>
#include <QProcess>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// Builds <folder>/<alias>.sqlite with the sqlite3 shell, as an administrator would.
void buildWithShell(const QString& file)
{
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"),
                {QStringLiteral("-bail"), file, QStringLiteral("PRAGMA synchronous = OFF"),
                 QStringLiteral(".read '%1'").arg(sourcePath(QStringLiteral("schema/sqlite/host.sql"))),
                 QStringLiteral(".read '%1'").arg(sourcePath(QStringLiteral("schema/sqlite/own.sql")))});
    ASSERT_TRUE(shell.waitForFinished(30000)) << shell.errorString().toStdString();
    EXPECT_EQ(shell.exitCode(), 0);
    EXPECT_EQ(shell.readAllStandardError(), QByteArray());
}

std::map<QString, QString> schemaOf(Connection& connection)
{
    std::map<QString, QString> objects;
    QSqlQuery query(connection.database());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT name, sql FROM main.sqlite_master WHERE sql IS NOT NULL")));
    while (query.next())
        objects[query.value(0).toString()] = query.value(1).toString();
    return objects;
}

bool runs(Connection& connection, const QString& sql)
{
    QSqlQuery query(connection.database());
    return query.exec(connection.prepareSql(sql));
}

}  // namespace

TEST(Schema, ShellBuildsAWorkingEmbeddedDatabase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = QDir(dir.path()).filePath(QStringLiteral("ZTFI.sqlite"));
    buildWithShell(file);
    auto connection = Connection::open(dir.path(), QStringLiteral("ZTFI"), QString(), QString());

    // The selection's reference numbers and the reader's identifiers come from the sequences.
    ASSERT_TRUE(runs(*connection, QStringLiteral("INSERT INTO DPATVPPSL (DPATVPID, IDPSL, ISSTN, IDREFATVP) "
                                                 "SELECT 1, 5, 'N', DPATVPPSL_SEQ.NEXTVAL FROM dual")));
    const SequenceReader reader(*connection, SqlDialect::Oracle);
    EXPECT_EQ(reader.next(QStringLiteral("ACT"), QStringLiteral("IdAct")), 1);
    EXPECT_EQ(reader.next(QStringLiteral("EMIRPOSEL"), QStringLiteral("ID")), 1);
    EXPECT_EQ(reader.next(QStringLiteral("EMIRPOROCILO"), QStringLiteral("ID")), 1);

    // The statement splitter of the fixture builds the same objects as the shell.
    FixtureDb fixture;
    EXPECT_EQ(schemaOf(*connection), schemaOf(fixture.connection()));
}

TEST(Schema, KeysOfTheOwnTables)
{
    FixtureDb db;
    Connection& c = db.connection();
    const std::map<QString, QString> primaryKeys = {
        {QStringLiteral("DPATVP"), QStringLiteral("DPATVPID;ZAPST")},
        {QStringLiteral("DPATVPPSL"), QStringLiteral("DPATVPID;IDPSL;ISSTN")},
        {QStringLiteral("DPATVPIMP"), QStringLiteral("IDIMP")},
        {QStringLiteral("DPATVPXML"), QStringLiteral("DPATVPID;ZAPST")},
        {QStringLiteral("EMIRPOSEL"), QStringLiteral("EMIRPoselId")},
        {QStringLiteral("EMIRPOROCILO"), QStringLiteral("EMIRPorociloId")},
    };
    for (const auto& [table, key] : primaryKeys) {
        const QSqlIndex index = c.database().driver()->primaryIndex(table);
        QStringList fields;
        for (int i = 0; i < index.count(); ++i)
            fields << index.fieldName(i);
        EXPECT_EQ(fields.join(QLatin1Char(';')), key) << table.toStdString();
    }

    // A regeneration shares the report identifier under another serial number.
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST) VALUES (1, 46000, 1)")));
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST) VALUES (1, 46000, 2)")));
    EXPECT_FALSE(runs(c, QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST) VALUES (1, 46000, 2)")));
    EXPECT_FALSE(runs(c, QStringLiteral("INSERT INTO DPATVP (DPATVPID, ZAPST) VALUES (2, 1)")));

    // A regeneration gathers the cancellation of a trade into the set that holds the trade.
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO DPATVPPSL VALUES (1, 5, 'N', 1)")));
    EXPECT_FALSE(runs(c, QStringLiteral("INSERT INTO DPATVPPSL VALUES (1, 5, 'N', 2)")));
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO DPATVPPSL VALUES (1, 5, 'D', 1)")));
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO DPATVPPSL VALUES (2, 5, 'D', 1)")));

    // Two host instruments of one ISIN may both be reported under the same instrument, and
    // several pending rows of one ISIN exist side by side.
    for (const char* row : {"('SI0000000001', 200, 100)", "('SI0000000001', 200, 200)",
                            "('SI0000000002', NULL, 300)", "('SI0000000002', NULL, 301)"})
        EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU) VALUES ")
                                + QString::fromLatin1(row)))
            << row;

    // An audit row may be posted without its identifier; identifiers stay unique.
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO ACT (IdAct, Tbl) VALUES (NULL, 'DPATVP')")));
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO ACT (IdAct, Tbl) VALUES (NULL, 'DPATVP')")));
    EXPECT_TRUE(runs(c, QStringLiteral("INSERT INTO ACT (IdAct, Tbl) VALUES (1, 'DPATVP')")));
    EXPECT_FALSE(runs(c, QStringLiteral("INSERT INTO ACT (IdAct, Tbl) VALUES (1, 'DPATVP')")));
}

// A database made before the digest table gets it, as schema/sqlite/own.sql declares it, when a
// desk opens it; a database that has it is left as it is.
TEST(Schema, AnOlderEmbeddedDatabaseGetsTheDigestTableWhenOpened)
{
    FixtureDb current;
    const QString declared = schemaOf(current.connection()).at(QStringLiteral("DPATVPXML"));
    FixtureDb older;
    older.exec(QStringLiteral("DROP TABLE DPATVPXML"));
    ASSERT_EQ(schemaOf(older.connection()).count(QStringLiteral("DPATVPXML")), 0U);

    auto desk = Connection::open(older.folder(), FixtureDb::alias(), QString(), QString());

    EXPECT_EQ(schemaOf(*desk).at(QStringLiteral("DPATVPXML")), declared);
    EXPECT_TRUE(runs(*desk, QStringLiteral("INSERT INTO DPATVPXML (DPATVPID, ZAPST, SHA256) VALUES (1, 1, 'x')")));
    EXPECT_FALSE(runs(*desk, QStringLiteral("INSERT INTO DPATVPXML (DPATVPID, ZAPST, SHA256) VALUES (1, 1, 'y')")));
}

TEST(Schema, ScriptSplitterKeepsQuotedSemicolonsAndDropsComments)
{
    EXPECT_EQ(sqlScriptStatements(QStringLiteral("-- a; comment\nCREATE TABLE A (x);\n"
                                                 "INSERT INTO A VALUES ('a;b'); -- tail\n  \n")),
              QStringList({QStringLiteral("CREATE TABLE A (x)"), QStringLiteral("INSERT INTO A VALUES ('a;b')")}));
}
