// exchange_bench [N]: the spreadsheet exchange on a generated back-office day of N trades
// (default 100,000) over 5,000 instruments: the day's selection, its report rows collected and
// checked for the sheet, the sheet written as an .xlsx workbook, that workbook imported back
// for its day as manual transactions (every row new), and imported once more (every row found by
// its reference number and updated), each timed with rows per second and the peak memory. When
// scripts/postgres-server's environment names a throwaway server, the same two imports run on a
// fresh database of it holding the same day, with the ratio of the server's time to the
// embedded engine's.
#include "DemoDatabase.h"
#include "StepTimer.h"

#include "app/cli/ConsoleInteraction.h"
#include "core/LocalZone.h"
#include "data/engine/Connection.h"
#include "exchange/CellBlock.h"
#include "exchange/SelectionExport.h"
#include "exchange/TransactionImport.h"
#include "exchange/WorkbookWriter.h"
#include "reporting/ReportRows.h"
#include "reporting/Selection.h"
#include "reporting/SelectionLists.h"
#include "state/ZtfiApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

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

// 5,000 shares of the domestic exchange and N trades of the day spread over them.
void generate(Connection& c, int trades, const QDate& day)
{
    const double d = day.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    c.startTransaction();
    run(c, QStringLiteral("DELETE FROM PSL WHERE Dan = %1").arg(d));
    run(c, QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
               "INSERT INTO SFVP (SFVP, ISIN, KRT, NZV, CFI, PorocanjeZTFI, SFOSBIZD, SFFIN, DANSPR, "
               "SfVLTNMN, KOS) SELECT 100000 + i, printf('SI9%08d%d', i, i % 10), printf('B%05d', i), "
               "printf('Benchmark d.d. %d', i), 'ESVUFR', 'D', 20, 1, 46000, 1, 'D' FROM n"));
    run(c, QStringLiteral("INSERT INTO KTC (SFKTC, SFVP, SFTRG, Dan, SfSgt) SELECT SFVP * 10, SFVP, 8, 42000, "
                          "'P' FROM SFVP WHERE SFVP > 100000"));
    run(c, QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
               "INSERT INTO PSL (IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, IdPog) "
               "SELECT 2000000 + i, %2, %2 + 0.375 + (i % 30000) / 100000.0, "
               "CASE WHEN i % 2 = 0 THEN 'N' ELSE 'P' END, CASE WHEN i % 3 = 0 THEN 'L' ELSE 'K' END, "
               "100001 + i % 5000, 8, 1, 10 + i % 500, 10 + (i % 1000) / 100.0, "
               "CASE WHEN i % 3 = 0 THEN 1000 ELSE 1100 + i % 6 END FROM n")
               .arg(trades)
               .arg(d));
    c.commit();
}

}  // namespace

int main(int argc, char** argv)
{
    readLocalZoneOnce();
    QCoreApplication application(argc, argv);
    const int trades = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir folder;
    const QDate day = DemoDatabase::demoDay().addDays(1);
    DemoDatabase::create(folder.filePath(QStringLiteral("BENCH.sqlite")), QStringLiteral("BENCH"));
    {
        auto connection = Connection::open(folder.path() + QLatin1Char('/'), QStringLiteral("BENCH"), {}, {});
        generate(*connection, trades, day);
    }
    const QString dayFile = folder.filePath(QStringLiteral("DAY.sqlite"));
    QFile::copy(folder.filePath(QStringLiteral("BENCH.sqlite")), dayFile);
    QFile::copy(QStringLiteral(ZTFI_SOURCE_DIR "/demo/ZTFI.ini"), folder.filePath(QStringLiteral("ZTFI.ini")));
    qputenv("ZTFI_HOME", folder.path().toUtf8());
    QTextStream err(stderr);
    ConsoleInteraction ui(err);
    ZtfiApp ztfi({QStringLiteral("BENCH"), QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("BENCH")}, ui);
    ztfi.resetRunState();
    ztfi.readConfiguration();
    prepareSavedStatements(ztfi);
    std::printf("%d trades of %s, peak memory before the run %.1f MB\n", trades,
                qPrintable(day.toString(QStringLiteral("dd.MM.yyyy"))), peakMegabytes());

    StepTimer timer(40);
    Selection(ztfi).bbNaborClick(day, day);
    ReportRows& rows = sharedReportRows(ztfi);
    const int count = rows.query().recordCount();
    timer.line("selection (not part of the exchange)", count);

    SelectionExport selectionExport(rows);
    const CellBlock values = selectionExport.values();
    timer.line("export: values collected and checked", count);
    const QString file = folder.filePath(QStringLiteral("day.xlsx"));
    writeWorkbook(file, {SheetContent{SelectionExport::sheetTitle(), values}});
    timer.line("export: .xlsx written", count);
    std::printf("%-40s %10.1f MB\n", "workbook size", QFileInfo(file).size() / 1048576.0);

    TransactionImport import(ztfi.connection(), ztfi.dialect(), ztfi.auditTrail(), ui);
    qint64 next = import.firstIdentifier();
    ImportOutcome outcome = import.read(file, day, next);
    const double importMs = timer.line("import: every row new", outcome.written);
    next = import.firstIdentifier();
    outcome = import.read(file, day, next);
    timer.line("import again: every row updated", outcome.written);
    // The demo's cancellations of earlier days follow the day's rows and end the reading there.
    std::printf("%-40s %10s\n", "error list", outcome.errors.isEmpty() ? "empty" : "NOT EMPTY");
    std::printf("peak memory %.1f MB\n", peakMegabytes());
#ifdef ZTFI_BENCH_SERVER
    if (PostgresServer::available()) {
        const ServerDay server(dayFile);
        if (!server.loaded())
            return 1;
        const std::unique_ptr<ZtfiApp> onServer = server.start(ui);
        TransactionImport serverImport(onServer->connection(), onServer->dialect(), onServer->auditTrail(), ui);
        timer.restart();
        next = serverImport.firstIdentifier();
        const ImportOutcome serverNew = serverImport.read(file, day, next);
        const double serverMs = timer.line("server: import, every row new", serverNew.written);
        next = serverImport.firstIdentifier();
        const ImportOutcome serverAgain = serverImport.read(file, day, next);
        timer.line("server: import again, every row updated", serverAgain.written);
        std::printf("import of every row new: embedded %.1f s, server %.1f s, server / embedded %.1f\n",
                    importMs / 1000.0, serverMs / 1000.0, serverMs / importMs);
    } else {
        std::printf("no throwaway server (scripts/postgres-server start FOLDER, then source FOLDER/env): "
                    "the embedded engine only\n");
    }
#endif
    return 0;
}
