#include "ServerDay.h"

#include "reporting/SelectionLists.h"
#include "state/ZtfiApp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>

ServerDay::ServerDay(const QString& dayFile)
{
    QProcess load;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PGPASSWORD"), PostgresServer::password());
    load.setProcessEnvironment(environment);
    load.start(QStringLiteral("bash"),
               {QStringLiteral("-o"), QStringLiteral("pipefail"), QStringLiteral("-c"),
                QStringLiteral("python3 \"$1/tests/support/sqlite_to_postgres.py\" \"$2\" \"$1/schema/postgresql\" | "
                               "psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p \"$ZTFI_PG_PORT\" -U \"$3\" -d \"$4\" "
                               "-c 'SET search_path = public, oracle' -f - -c 'ANALYZE' >/dev/null"),
                QStringLiteral("load"), QStringLiteral(ZTFI_SOURCE_DIR), dayFile, PostgresServer::user(),
                database_.name()});
    QElapsedTimer t;
    t.start();
    if (!load.waitForFinished(-1) || load.exitCode() != 0) {
        std::fprintf(stderr, "the day was not loaded into the server: %s\n", load.readAllStandardError().constData());
        return;
    }
    std::printf("server: day loaded in %.1f s\n", t.elapsed() / 1000.0);
    QFile::copy(QStringLiteral(ZTFI_SOURCE_DIR "/demo/ZTFI.ini"), home_.filePath(QStringLiteral("ZTFI.ini")));
    QFile aliases(home_.filePath(QStringLiteral("aliases.ini")));
    if (!aliases.open(QIODevice::WriteOnly) || aliases.write(database_.aliasEntry(QStringLiteral("BENCH")).toUtf8()) < 0)
        qFatal("aliases.ini cannot be written");
    loaded_ = true;
}

std::unique_ptr<ZtfiApp> ServerDay::start(Interaction& ui) const
{
    qputenv("ZTFI_HOME", home_.path().toUtf8());
    auto ztfi = std::make_unique<ZtfiApp>(
        QStringList{QStringLiteral("BENCH"), PostgresServer::user(), PostgresServer::password(), QStringLiteral("BENCH")},
        ui);
    ztfi->resetRunState();
    ztfi->readConfiguration();
    prepareSavedStatements(*ztfi);
    return ztfi;
}
