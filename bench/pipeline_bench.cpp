// pipeline_bench [N [M [FOLDER]]] [--history DAYS]: the daily job on a generated back-office day
// of N trades (default 100,000) over M instruments (default 5,000): the selection that writes the
// overrides of the new instruments, the same selection again over complete and current
// overrides (it must write none), the report rows and code list, the XML generation and the
// schema validation, each timed, with rows per second and the peak memory so far; beside them
// the floor: a plain scan of the same day's trades with the sqlite3 shell and xmllint validating
// the same file against the same schema, and the ratio of the daily run (the first selection
// and the report, as `ztfi-cli generate` runs them) to that floor. With --history the database
// first holds DAYS earlier reported days of 10,000 trades each (trades, selected rows, register
// rows and their audit rows), so a run on a database with a long history can be compared with
// one on a new database. With FOLDER the database and the report are made and kept there, for
// EXPLAIN QUERY PLAN. When scripts/postgres-server's environment names a throwaway server, the
// same day (the database as it was before the embedded run) is loaded into a fresh database of
// it and the daily run made there too, with the ratio of the server's time to the embedded one's.
#include "DemoDatabase.h"
#include "StepTimer.h"
#include "reporting/SelectionLists.h"

#include "app/cli/ConsoleInteraction.h"
#include "core/LocalZone.h"
#include "data/dataset/Dataset.h"
#include "data/dataset/TDMTable.h"
#include "data/engine/Connection.h"
#include "instruments/CodeList.h"
#include "ntrs/ReportWriter.h"
#include "ntrs/SchemaValidation.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstring>

#ifdef ZTFI_BENCH_SERVER
#include "ServerDay.h"
#include "support/PostgresServer.h"
#endif

namespace {

void run(Connection& c, const QString& sql)
{
    QSqlQuery q(c.database());
    if (!q.exec(c.prepareSql(sql)))
        qFatal("%s", qPrintable(sql));
}

// The demo's reference data, then M instruments (shares of the domestic exchange) and N
// trades of one day, spread over them.
void generate(Connection& c, int trades, int instruments, const QDate& day)
{
    const double d = day.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    c.startTransaction();
    run(c, QStringLiteral("DELETE FROM PSL WHERE Dan = %1").arg(d));
    run(c, QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
               "INSERT INTO SFVP (SFVP, ISIN, KRT, NZV, CFI, PorocanjeZTFI, SFOSBIZD, SFFIN, DANSPR, "
               "SfVLTNMN, KOS) SELECT 100000 + i, printf('SI9%08d%d', i, i % 10), printf('B%05d', i), "
               "printf('Benchmark d.d. %d', i), 'ESVUFR', 'D', 20, 1, 46000, 1, 'D' FROM n")
               .arg(instruments));
    run(c, QStringLiteral(
               "INSERT INTO KTC (SFKTC, SFVP, SFTRG, Dan, SfSgt) SELECT SFVP * 10, SFVP, 8, 42000, "
               "'P' FROM SFVP WHERE SFVP > 100000"));
    run(c, QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
               "INSERT INTO PSL (IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, IdPog) "
               "SELECT 2000000 + i, %2, %2 + 0.375 + (i % 30000) / 100000.0, "
               "CASE WHEN i % 2 = 0 THEN 'N' ELSE 'P' END, CASE WHEN i % 3 = 0 THEN 'L' ELSE 'K' END, "
               "100001 + i % %3, 8, 1, 10 + i % 500, 10 + (i % 1000) / 100.0, "
               "CASE WHEN i % 3 = 0 THEN 1000 ELSE 1100 + i % 6 END FROM n")
               .arg(trades)
               .arg(d)
               .arg(instruments));
    c.commit();
}

// DAYS reported days of 10,000 trades before the demo's first day, as the daily run leaves them:
// the trades, their selected rows under the day's report, the sent report in the register and
// an audit row for every selected row.
void generateHistory(Connection& c, int days, const QDate& before)
{
    const int perDay = 10000;
    const double epoch = QDate(1899, 12, 30).toJulianDay();
    c.startTransaction();
    for (int k = 0; k < days; ++k) {
        const QDate day = before.addDays(-1 - k);
        const double d = day.toJulianDay() - epoch;
        const qint64 report = 1000 + k;
        const qint64 firstTrade = 3000000 + qint64(k) * perDay;
        run(c, QStringLiteral(
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                   "INSERT INTO PSL (IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, IdPog) "
                   "SELECT %2 + i, %3, %3 + 0.375 + i / 100000.0, 'N', 'K', 100001 + i % 50, 8, 1, 10, 10.5, 1100 "
                   "FROM n")
                   .arg(perDay).arg(firstTrade).arg(d));
        run(c, QStringLiteral("INSERT INTO DPATVPPSL (DPATVPID, IDPSL, ISSTN, IDREFATVP) "
                              "SELECT %1, IdPsl, 'N', IdPsl FROM PSL WHERE IdPsl > %2 AND IdPsl <= %3")
                   .arg(report).arg(firstTrade).arg(firstTrade + perDay));
        run(c, QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, DAN, ZAPST, XML_FILE, STATUS, DANOD) "
                              "VALUES (%1, %2, %2 + 1.4, %1, 'TRDAT01_HISTORY_%1.xml', 1, %2)")
                   .arg(report).arg(d));
        run(c, QStringLiteral("INSERT INTO ACT (IdAct, Usr, SfAct, Cas, SfApp, SfOrg, Cmp, Db, Tbl, Cnt) "
                              "SELECT 10000000 + IdPsl, 'BENCH', '+', %1, 'Z', '0', 'bench', 'LB', 'DPATVPPSL', "
                              "'%2#|DPATVPID#|' || IdPsl || '#|IDPSL#|N#|ISSTN#|' || IdPsl || '#|IDREFATVP#|' "
                              "FROM PSL WHERE IdPsl > %3 AND IdPsl <= %4")
                   .arg(d + 0.5).arg(report).arg(firstTrade).arg(firstTrade + perDay));
    }
    run(c, QStringLiteral("UPDATE ztfi_sequence SET value = MAX(value, (SELECT IFNULL(MAX(IdAct), 0) FROM ACT)) "
                          "WHERE name = 'ACT_IDACT_SEQ'"));
    c.commit();
}

// The override table as a whole: a selection over current overrides leaves it as it was.
QString overrideState(Connection& c)
{
    QSqlQuery q(c.database());
    if (!q.exec(QStringLiteral("SELECT COUNT(*), MAX(DANSPR), TOTAL(DANSPR) FROM DPATVP_SFVP")) || !q.next())
        qFatal("DPATVP_SFVP cannot be read");
    return QStringLiteral("%1 rows, latest %2, %3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
}

double timeProcess(const QString& program, const QStringList& args)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitCode() != 0)
        std::fprintf(stderr, "%s: %s\n", qPrintable(program), p.readAllStandardError().constData());
    return t.nsecsElapsed() / 1e6;
}

void line(const char* step, double ms, long long rows)
{
    std::printf("%-36s %10.1f ms %12.0f rows/s\n", step, ms, rows / (ms / 1000.0));
}

// The daily run as `ztfi-cli generate` makes it: the selection, then the report. Returns the
// elapsed ms of both; report is set to the report made.
double dailyRun(ZtfiApp& ztfi, const QDate& day, const char* engine, ReportOutcome& report)
{
    Selection selection(ztfi);
    StepTimer t(36);
    selection.bbNaborClick(day, day);
    const long long rows = sharedReportRows(ztfi).query().recordCount();
    const double selectMs = t.line(qPrintable(QStringLiteral("%1: selection").arg(QLatin1String(engine))), rows);
    ReportWriter writer(ztfi.connection(), ztfi.config(), ztfi.errorLog(), ztfi.auditTrail(), ztfi.programFolder());
    report = writer.bbGenXMLClick(sharedReportRows(ztfi), sharedCodeList(ztfi), ztfi.regeneration,
                                  {day, day, QDateTime::currentDateTime()});
    return selectMs + t.line(qPrintable(QStringLiteral("%1: XML generation").arg(QLatin1String(engine))), rows);
}

#ifdef ZTFI_BENCH_SERVER
// The day of the embedded database file dayFile on a fresh database of the throwaway server; the
// daily run there. Returns its elapsed ms, or a negative value when the day could not be loaded.
double serverDay(const QString& dayFile, const QDate& day, ReportOutcome& report)
{
    const ServerDay server(dayFile);
    if (!server.loaded())
        return -1;
    QTextStream err(stderr);
    ConsoleInteraction ui(err);
    const std::unique_ptr<ZtfiApp> ztfi = server.start(ui);
    const double ms = dailyRun(*ztfi, day, "server", report);
    std::printf("server: report file %.1f MB, valid %s\n", QFileInfo(report.filePath).size() / 1048576.0,
                report.valid ? "yes" : "no");
    return ms;
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    readLocalZoneOnce();
    QCoreApplication app(argc, argv);
    QStringList positional;
    int historyDays = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--history") == 0 && i + 1 < argc)
            historyDays = std::atoi(argv[++i]);
        else
            positional << QString::fromLocal8Bit(argv[i]);
    }
    const int trades = positional.size() > 0 ? positional[0].toInt() : 100000;
    const int instruments = positional.size() > 1 ? positional[1].toInt() : 5000;
    QTemporaryDir temporary;
    QDir folder(positional.size() > 2 ? positional[2] : temporary.path());
    if (!folder.mkpath(QStringLiteral(".")) || folder.exists(QStringLiteral("BENCH.sqlite")))
        qFatal("%s: not a new folder", qPrintable(folder.path()));
    const QDate day = DemoDatabase::demoDay().addDays(1);
    DemoDatabase::create(folder.filePath(QStringLiteral("BENCH.sqlite")), QStringLiteral("BENCH"));
    {
        auto connection = Connection::open(folder.path(), QStringLiteral("BENCH"), {}, {});
        generateHistory(*connection, historyDays, DemoDatabase::reportedDays().first());
        generate(*connection, trades, instruments, day);
    }
    const QString dayFile = folder.filePath(QStringLiteral("DAY.sqlite"));
    QFile::copy(folder.filePath(QStringLiteral("BENCH.sqlite")), dayFile);
    QFile ini(folder.filePath(QStringLiteral("ZTFI.ini")));
    QFile::copy(QStringLiteral(ZTFI_SOURCE_DIR "/demo/ZTFI.ini"), ini.fileName());
    qputenv("ZTFI_HOME", folder.path().toUtf8());
    std::printf("pipeline_bench: %d trades over %d instruments, one day, after %d reported days of history\n",
                trades, instruments, historyDays);
    std::printf("peak memory before the run %.1f MB\n", peakMegabytes());

    QTextStream err(stderr);
    ConsoleInteraction ui(err);
    ZtfiApp ztfi({QStringLiteral("BENCH"), QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("BENCH")}, ui);
    ztfi.resetRunState();
    ztfi.readConfiguration();
    prepareSavedStatements(ztfi);

    Selection selection(ztfi);
    StepTimer t(36);
    const SelectionOutcome outcome = selection.bbNaborClick(day, day);
    const long long rows = sharedReportRows(ztfi).query().recordCount();
    const double selectMs = t.line("selection, overrides written", rows);
    const QString overrides = overrideState(ztfi.connection());
    t.restart();
    const SelectionOutcome again = selection.bbNaborClick(day, day);
    const double reselectMs = t.line("selection again, overrides current", rows);
    const bool overridesKept = overrideState(ztfi.connection()) == overrides;
    t.restart();
    selection.openLists(day, day);
    t.line("report rows and code list (reopen)", rows);
    ReportWriter writer(ztfi.connection(), ztfi.config(), ztfi.errorLog(), ztfi.auditTrail(), ztfi.programFolder());
    const ReportOutcome report = writer.bbGenXMLClick(sharedReportRows(ztfi), sharedCodeList(ztfi), ztfi.regeneration,
                                                      {day, day, QDateTime::currentDateTime()});
    const double generateMs = t.line("XML generation (with validation)", rows);
    const auto fault = validateFileAgainstNamedSchema(report.filePath, ztfi.programFolder());
    const double validateMs = t.line("schema validation (of the file)", rows);

    std::printf("report rows %lld, file %.1f MB, valid %s%s, stopped %s\n", rows,
                QFileInfo(report.filePath).size() / 1048576.0, report.valid ? "yes" : "no", fault ? " (fault)" : "",
                outcome.stop || again.stop ? "yes" : "no");
    std::printf("overrides %s, %s by the second selection\n", qPrintable(overrides),
                overridesKept ? "none written" : "CHANGED");
    std::printf("peak memory %.1f MB\n", peakMegabytes());

    // The floor: the day's trades joined to what their report rows need, and the schema check of
    // the same file by xmllint.
    const QString db = folder.filePath(QStringLiteral("BENCH.sqlite"));
    const double dayNumber = day.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    const double scanMs = timeProcess(QStringLiteral("sqlite3"),
        {db, QStringLiteral("SELECT P.IdPsl, P.Dan, P.Cas, P.Lot, P.GlvTcj, S.ISIN, T.MIC FROM PSL P "
                            "JOIN SFVP S ON S.SFVP = P.SfVp JOIN TRG T ON T.SfTrg = P.SfTrg "
                            "WHERE P.Dan >= %1 AND P.Dan < %2;").arg(dayNumber).arg(dayNumber + 1)});
    const double lintMs = timeProcess(QStringLiteral("xmllint"),
        {QStringLiteral("--noout"), QStringLiteral("--schema"),
         folder.filePath(QStringLiteral("NTRS.xsd")), report.filePath});
    line("floor: sqlite3 scan of the day's trades", scanMs, rows);
    line("floor: xmllint --noout --schema", lintMs, rows);
    std::printf("ratio to the floor (scan + xmllint): daily run (selection and report) %.1f\n",
                (selectMs + generateMs) / (scanMs + lintMs));
    std::printf("ratio to the scan: selection %.1f, selection again %.1f; validation / xmllint %.1f\n",
                selectMs / scanMs, reselectMs / scanMs, validateMs / lintMs);
    std::fflush(stdout);
    bool serverValid = true;
#ifdef ZTFI_BENCH_SERVER
    if (PostgresServer::available()) {
        ReportOutcome serverReport;
        const double serverMs = serverDay(dayFile, day, serverReport);
        serverValid = serverMs >= 0 && serverReport.valid;
        if (serverMs >= 0)
            std::printf("daily run (selection and report): embedded %.1f s, server %.1f s, server / embedded %.1f\n",
                        (selectMs + generateMs) / 1000.0, serverMs / 1000.0, serverMs / (selectMs + generateMs));
    } else {
        std::printf("no throwaway server (scripts/postgres-server start FOLDER, then source FOLDER/env): "
                    "the embedded engine only\n");
    }
#endif
    return overridesKept && report.valid && serverValid ? 0 : 1;
}
