// pipeline_bench [N [M]]: the daily job on a generated back-office day of N trades (default
// 100,000) over M instruments (default 5,000): the selection, the report rows and code list, the
// XML generation and the schema validation, each timed, with rows per second and peak memory;
// beside them the floor: a plain scan of the same trades with the sqlite3 shell and xmllint
// validating the same file against the same schema.
#include "DemoDatabase.h"

#include "app/ConsoleInteraction.h"
#include "app/ZtfiApp.h"
#include "data/Connection.h"
#include "data/Dataset.h"
#include "data/TDMTable.h"
#include "instruments/CodeList.h"
#include "ntrs/ReportWriter.h"
#include "ntrs/SchemaValidation.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <sys/resource.h>

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

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
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

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int trades = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int instruments = argc > 2 ? std::atoi(argv[2]) : 5000;
    QTemporaryDir folder;
    const QDate day = DemoDatabase::demoDay().addDays(1);
    DemoDatabase::create(QDir(folder.path()).filePath(QStringLiteral("BENCH.sqlite")), QStringLiteral("BENCH"));
    {
        auto connection = Connection::open(folder.path(), QStringLiteral("BENCH"), {}, {});
        generate(*connection, trades, instruments, day);
    }
    QFile ini(QDir(folder.path()).filePath(QStringLiteral("ZTFI.ini")));
    QFile::copy(QStringLiteral(ZTFI_SOURCE_DIR "/demo/ZTFI.ini"), ini.fileName());
    qputenv("ZTFI_HOME", folder.path().toUtf8());
    std::printf("pipeline_bench: %d trades over %d instruments, one day\n", trades, instruments);

    QTextStream err(stderr);
    ConsoleInteraction ui(err);
    ZtfiApp ztfi({QStringLiteral("BENCH"), QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("BENCH")}, ui);
    ztfi.resetRunState();
    ztfi.readConfiguration();
    ztfi.prepareSavedStatements();

    QElapsedTimer t;
    t.start();
    Selection selection(ztfi);
    const SelectionOutcome outcome = selection.bbNaborClick(day, day);
    const double selectMs = t.nsecsElapsed() / 1e6;
    const long long rows = ztfi.reportRows().query().recordCount();
    t.restart();
    selection.openLists(day, day);
    const double listsMs = t.nsecsElapsed() / 1e6;
    t.restart();
    ReportWriter writer(ztfi.connection(), ztfi.config(), ztfi.errorLog(), ztfi.auditTrail(), ztfi.programFolder());
    const ReportOutcome report = writer.bbGenXMLClick(ztfi.reportRows(), ztfi.codeList(), ztfi.regeneration,
                                                      {day, day, QDateTime::currentDateTime()});
    const double generateMs = t.nsecsElapsed() / 1e6;
    QFile file(report.filePath);
    file.open(QIODevice::ReadOnly);
    const QByteArray xml = file.readAll();
    t.restart();
    const auto fault = validateAgainstNamedSchema(xml, ztfi.programFolder());
    const double validateMs = t.nsecsElapsed() / 1e6;

    line("selection (with rows and code list)", selectMs, rows);
    line("report rows and code list (reopen)", listsMs, rows);
    line("XML generation (with validation)", generateMs, rows);
    line("schema validation (re-parse)", validateMs, rows);
    std::printf("report rows %lld, file %.1f MB, valid %s%s, stopped %s\n", rows, xml.size() / 1048576.0,
                report.valid ? "yes" : "no", fault ? " (fault)" : "", outcome.stop ? "yes" : "no");
    std::printf("peak memory %.1f MB\n", peakMegabytes());

    const QString db = QDir(folder.path()).filePath(QStringLiteral("BENCH.sqlite"));
    const double scanMs = timeProcess(QStringLiteral("sqlite3"),
        {db, QStringLiteral("SELECT P.IdPsl, P.Dan, P.Cas, P.Lot, P.GlvTcj, S.ISIN, T.MIC FROM PSL P "
                            "JOIN SFVP S ON S.SFVP = P.SfVp JOIN TRG T ON T.SfTrg = P.SfTrg;")});
    const double lintMs = timeProcess(QStringLiteral("xmllint"),
        {QStringLiteral("--noout"), QStringLiteral("--schema"),
         QDir(folder.path()).filePath(QStringLiteral("NTRS.xsd")), report.filePath});
    line("floor: sqlite3 scan of the trades", scanMs, rows);
    line("floor: xmllint --noout --schema", lintMs, rows);
    std::printf("ratio selection+rows / scan %.1f, validation / xmllint %.1f\n",
                (selectMs) / scanMs, validateMs / lintMs);
    return 0;
}
