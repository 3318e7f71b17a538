#include "data/engine/ServerTimeouts.h"

#include "core/Error.h"
#include "support/FixtureDb.h"
#include "support/PostgresServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct TimeoutCase {
    const char* connection;
    const char* options;
    const char* withKeepalive;
};

class ServerTimeoutsTest : public testing::TestWithParam<TimeoutCase> {};

TEST_P(ServerTimeoutsTest, DefaultsUnlessTheConnectionNamesItsOwn)
{
    const TimeoutCase& c = GetParam();
    EXPECT_EQ(ServerTimeouts::connectOptions(QString::fromLatin1(c.connection)).toStdString(), c.options);
    EXPECT_EQ(ServerTimeouts::withKeepalive(QString::fromLatin1(c.connection)).toStdString(), c.withKeepalive);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerTimeoutsTest,
    testing::Values(
        TimeoutCase{"DRIVER={PostgreSQL Unicode};Server=db;Port=5432;Database=ztfi;", "SQL_ATTR_LOGIN_TIMEOUT=10",
                    "DRIVER={PostgreSQL Unicode};Server=db;Port=5432;Database=ztfi;KeepaliveTime=30;KeepaliveInterval=10;"},
        TimeoutCase{"DRIVER={PostgreSQL Unicode};Server=db;Database=ztfi", "SQL_ATTR_LOGIN_TIMEOUT=10",
                    "DRIVER={PostgreSQL Unicode};Server=db;Database=ztfi;KeepaliveTime=30;KeepaliveInterval=10;"},
        TimeoutCase{"DRIVER={PostgreSQL Unicode};Server=db;pqopt={connect_timeout=3};KeepaliveTime=60;", "",
                    "DRIVER={PostgreSQL Unicode};Server=db;pqopt={connect_timeout=3};KeepaliveTime=60;"},
        TimeoutCase{"DRIVER={x};Server=db;LoginTimeout=5;keepalives=0;", "",
                    "DRIVER={x};Server=db;LoginTimeout=5;keepalives=0;"},
        // a data source name: its settings are the data source's
        TimeoutCase{"ztfi_prod", "SQL_ATTR_LOGIN_TIMEOUT=10", "ztfi_prod"}));

// A port of this machine that takes connections (the system completes them) and never answers.
class SilentPort {
public:
    SilentPort() : socket_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (socket_ >= 0 && ::bind(socket_, reinterpret_cast<sockaddr*>(&address), size) == 0
            && ::listen(socket_, 8) == 0 && ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) == 0)
            port_ = ntohs(address.sin_port);
    }
    ~SilentPort()
    {
        if (socket_ >= 0)
            ::close(socket_);
    }
    SilentPort(const SilentPort&) = delete;
    SilentPort& operator=(const SilentPort&) = delete;

    int port() const { return port_; }

private:
    int socket_;
    int port_ = 0;
};

// A desk of the program folder with an aliases.ini entry for the server.
class ServerWaitTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!PostgresServer::available())
            GTEST_SKIP() << "no PostgreSQL server: scripts/test starts one";
    }

    void writeAliases(const QString& entry)
    {
        QFile file(QDir(folder.path()).filePath(QStringLiteral("aliases.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(entry.toUtf8());
    }

    QTemporaryDir folder;
};

// A port that takes the connection and never answers: the desk gives up signing in, by default
// after 10 s.
TEST_F(ServerWaitTest, ASilentServerIsGivenUpWhenSigningIn)
{
    const SilentPort silent;
    ASSERT_NE(silent.port(), 0);
    writeAliases(QStringLiteral("[SILENT]\nDriver=ODBC\nServer=PostgreSQL\nConnectionString=DRIVER={PostgreSQL "
                                "Unicode};Server=127.0.0.1;Port=%1;Database=ztfi;\n")
                     .arg(silent.port()));
    QElapsedTimer waited;
    waited.start();
    EXPECT_THROW(Connection::open(folder.path(), QStringLiteral("SILENT"), PostgresServer::user(),
                                  PostgresServer::password()),
                 DatabaseError);
    EXPECT_GE(waited.elapsed(), 9000);
    EXPECT_LT(waited.elapsed(), 20000);
}

// A statement that waits longer than StatementTimeout (here for a row another desk holds) is
// ended by the server with its reason; the desk's connection goes on.
TEST_F(ServerWaitTest, AStatementThatWaitsTooLongFails)
{
    FixtureDb db(Connection::Engine::PostgreSql);
    db.basics();
    QFile aliases(QDir(db.folder()).filePath(QStringLiteral("aliases.ini")));
    ASSERT_TRUE(aliases.open(QIODevice::Append));
    aliases.write("StatementTimeout=1\n");
    aliases.close();
    auto desk = Connection::open(db.folder(), FixtureDb::alias(), PostgresServer::user(), PostgresServer::password());
    db.connection().startTransaction();
    db.exec(QStringLiteral("UPDATE FIN SET SFFIN = SFFIN"));

    QSqlQuery waiting(desk->database());
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(waiting.exec(QStringLiteral("UPDATE FIN SET SFFIN = SFFIN")));
    EXPECT_LT(waited.elapsed(), 5000);
    EXPECT_TRUE(waiting.lastError().databaseText().contains(QLatin1String("statement timeout")))
        << waiting.lastError().text().toStdString();
    db.connection().rollback();
    QSqlQuery after(desk->database());
    EXPECT_TRUE(after.exec(QStringLiteral("UPDATE FIN SET SFFIN = SFFIN")));
}

}  // namespace
