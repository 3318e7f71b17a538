// Times the embedded engine through Connection: filling a table of 100,000 rows, opening a
// SELECT of all of them and walking it, with and without the Oracle functions in the statement.
#include "data/engine/Connection.h"
#include "data/engine/OleDate.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <cstdlib>

namespace {

constexpr int kRows = 100000;

void check(bool ok, const QSqlQuery& query, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", what, qPrintable(query.lastError().text()));
        std::exit(1);
    }
}

void fill(Connection& connection)
{
    QSqlQuery query(connection.database());
    check(query.exec(QStringLiteral(
              "CREATE TABLE PSL(IdPsl INTEGER PRIMARY KEY, Dan REAL, Cas REAL, Krt TEXT, "
              "Cena REAL, Lot INTEGER)")),
          query, "create");
    check(query.exec(QStringLiteral("INSERT INTO ztfi_sequence(name, value) VALUES ('PSL_SEQ', 0)")),
          query, "sequence");
    connection.startTransaction();
    check(query.prepare(QStringLiteral(
              "INSERT INTO PSL VALUES (:IdPsl, :Dan, :Cas, :Krt, :Cena, :Lot)")),
          query, "prepare insert");
    const QDate first(2014, 1, 1);
    for (int i = 1; i <= kRows; ++i) {
        const QDateTime moment(first.addDays(i % 365), QTime(9, 0).addSecs(i % 28800));
        query.bindValue(QStringLiteral(":IdPsl"), i);
        query.bindValue(QStringLiteral(":Dan"), connection.toEngineValue(moment.date()));
        query.bindValue(QStringLiteral(":Cas"), connection.toEngineValue(moment));
        query.bindValue(QStringLiteral(":Krt"), QStringLiteral("KRKG%1").arg(i % 500));
        query.bindValue(QStringLiteral(":Cena"), 10.0 + (i % 1000) / 100.0);
        query.bindValue(QStringLiteral(":Lot"), i % 300 + 1);
        check(query.exec(), query, "insert");
    }
    connection.commit();
}

// Opens the statement and walks every row, reading every column; prints the two times.
void openAndWalk(Connection& connection, const char* title, const QString& sql)
{
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    check(query.exec(connection.prepareSql(sql)), query, title);
    const qint64 opened = timer.nsecsElapsed();
    qint64 rows = 0;
    double checksum = 0;
    const int columns = query.record().count();
    while (query.next()) {
        for (int c = 0; c < columns; ++c)
            checksum += query.value(c).toString().size();
        ++rows;
    }
    const qint64 walked = timer.nsecsElapsed();
    const double cpu = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    std::printf("%-40s rows %7lld  open %7.2f ms  open+walk %8.2f ms  (cpu %8.2f ms)  [%.0f]\n",
                title, static_cast<long long>(rows), opened / 1e6, walked / 1e6, cpu, checksum);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("BENCH.sqlite")));
    if (!folder.isValid() || !file.open(QIODevice::WriteOnly))
        return 1;
    file.close();

    auto connection = Connection::open(folder.path(), QStringLiteral("BENCH"), {}, {});
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    fill(*connection);
    std::printf("%-40s rows %7d  %8.2f ms  (cpu %8.2f ms)\n", "insert in one transaction", kRows,
                timer.nsecsElapsed() / 1e6,
                double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC);

    openAndWalk(*connection, "plain SELECT",
                QStringLiteral("SELECT IdPsl, Dan, Cas, Krt, Cena, Lot FROM PSL"));
    openAndWalk(*connection, "SELECT with Oracle functions",
                QStringLiteral("SELECT IdPsl, NVL(Krt, ' '), TO_CHAR(Cas, 'HH24:MI:SS'), "
                               "TRUNC(Cena, 1), EXTRACT(Year FROM Dan), MOD(Lot, 7) FROM PSL"));
    // A sequence value is a write: outside a transaction every value would be committed (and
    // synced) by itself, so it runs inside one, as every writing step does.
    connection->startTransaction();
    openAndWalk(*connection, "SELECT with a sequence value per row",
                QStringLiteral("SELECT PSL_SEQ.NEXTVAL, IdPsl FROM PSL"));
    connection->commit();
    return 0;
}
