// ztfi-demo-db FOLDER [ALIAS]: writes the demo back-office database FOLDER/<ALIAS>.sqlite
// (alias ZTFI by default) and prints what it holds.
#include "DemoDatabase.h"

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlQuery>

#include <cstdio>

namespace {

long long count(Connection& connection, const QString& sql)
{
    QSqlQuery q(connection.database());
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() > 2) {
        std::fprintf(stderr, "usage: ztfi-demo-db FOLDER [ALIAS]\n");
        return 2;
    }
    const QString alias = args.size() > 1 ? args.at(1).toUpper() : QStringLiteral("ZTFI");
    const QString folder = QDir(args.at(0)).absolutePath();
    const QString file = QDir(folder).filePath(alias + QStringLiteral(".sqlite"));
    try {
        QDir().mkpath(folder);
        DemoDatabase::create(file, QStringLiteral("DEMO"));
        auto connection = Connection::open(folder, alias, {}, {});
        std::printf("demo database %s\n", qPrintable(file));
        for (const QDate& day : DemoDatabase::tradingDays()) {
            const double d = day.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
            const bool reported = DemoDatabase::reportedDays().contains(day);
            std::printf("  %s  %3lld trades%s\n", qPrintable(day.toString(QStringLiteral("dd.MM.yyyy"))),
                        count(*connection, QStringLiteral("SELECT count(*) FROM PSL WHERE Dan = %1").arg(d)),
                        reported ? "  (reported)" : day == DemoDatabase::demoDay() ? "  (demo day)" : "");
        }
        std::printf("  %lld instruments, %lld persons, %lld reports, %lld override rows\n",
                    count(*connection, QStringLiteral("SELECT count(*) FROM SFVP")),
                    count(*connection, QStringLiteral("SELECT count(*) FROM OSB")),
                    count(*connection, QStringLiteral("SELECT count(*) FROM DPATVP")),
                    count(*connection, QStringLiteral("SELECT count(*) FROM DPATVP_SFVP")));
    } catch (const ZtfiError& e) {
        std::fprintf(stderr, "ztfi-demo-db: %s\n", e.what());
        return 1;
    }
    return 0;
}
