#include "DemoDatabase.h"

#include "DemoRows.h"

#include "core/Error.h"
#include "data/engine/Connection.h"
#include "data/engine/Dialect.h"
#include "data/engine/SqlScript.h"
#include "instruments/OverrideSync.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

#include <random>

using namespace demo;

// The schema scripts are compiled into this library; a static library's resources are
// registered by name.
static void initSchemaResources()
{
    Q_INIT_RESOURCE(demo);
}

namespace {

const QDate kFirstReported(2026, 12, 3);
const int kFirstReportId = 231;     // reports of the year so far: the next ones continue it
const qint64 kFirstReference = 48200;

// Trades of the ordinary flow of a day: instruments weighted by how often they trade.
const std::vector<int>& ordinaryInstruments()
{
    static const std::vector<int> ids = {1, 1, 1, 2, 2, 3, 3, 4, 5, 6, 6, 7, 10, 11, 12, 13, 14,
                                         20, 21, 22, 50, 51};
    return ids;
}

class DayTrades {
public:
    DayTrades(DemoRows& rows, std::mt19937& random) : rows_(rows), random_(random) {}

    // The ordinary flow: count trades of clients and of the own account at random times.
    QList<qint64> ordinary(const QDate& day, int count)
    {
        QList<qint64> ids;
        std::vector<TradeRow> trades;
        const auto& pool = ordinaryInstruments();
        for (int i = 0; i < count; ++i) {
            const int instrument = pool[pick(0, int(pool.size()) - 1)];
            const bool own = pick(0, 99) < 35;
            TradeRow t = rows_.tradeOn(instrument, day, randomTime(instrument));
            t.kind = pick(0, 1) ? QStringLiteral("N") : QStringLiteral("P");
            t.activity = own ? QStringLiteral("L") : QStringLiteral("K");
            t.contract = own ? kOwnContract : kClientContracts[pick(0, int(std::size(kClientContracts)) - 1)];
            t.quantity = randomQuantity(instrument);
            t.price = rows_.priceAround(instrument, jitter());
            trades.push_back(t);
        }
        std::sort(trades.begin(), trades.end(),
                  [](const TradeRow& a, const TradeRow& b) { return a.time < b.time; });
        for (TradeRow& t : trades)
            ids << rows_.addTrade(t);
        return ids;
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

private:
    QTime randomTime(int instrument)
    {
        // New York trades in its own hours, the rest in the European session.
        const int from = rows_.isUsInstrument(instrument) ? 15 * 3600 + 1800 : 9 * 3600;
        const int to = rows_.isUsInstrument(instrument) ? 21 * 3600 + 59 * 60 : 16 * 3600 + 59 * 60;
        return QTime(0, 0).addSecs(pick(from, to));
    }

    double randomQuantity(int instrument)
    {
        switch (rows_.kindOf(instrument)) {
        case InstrumentKind::Bond: return 5 * pick(1, 40);
        case InstrumentKind::Derivative: return pick(1, 20);
        default: return 10 * pick(1, 150);
        }
    }

    double jitter() { return std::normal_distribution<double>(0.0, 0.008)(random_); }

    DemoRows& rows_;
    std::mt19937& random_;
};

void createSchema(const QString& file)
{
    const QString name = QStringLiteral("ztfi_demo_schema");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            throw DatabaseError(db.lastError().text());
        applySqlScript(db, QStringLiteral(":/demo/schema/host.sql"));
        applySqlScript(db, QStringLiteral(":/demo/schema/own.sql"));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// What the daily job did on a reported day: its trades entered into the report, the overrides
// of their instruments written by the synchronisation, the report registered and sent.
void reportDay(DemoRows& rows, Connection& connection, const QString& auditUser, const QDate& day,
               int reportId, const QList<qint64>& trades, int status)
{
    connection.startTransaction();
    try {
        for (qint64 trade : trades)
            rows.addSelected(reportId, trade, QStringLiteral("N"));
        OverrideSync(connection, SqlDialect::Oracle, auditUser).synchronise({day, day, reportId, {}});
        rows.addReport(reportId, day, status);
        connection.commit();
    } catch (...) {
        connection.rollback();
        throw;
    }
}

}  // namespace

QString DemoDatabase::firmRegistration() { return QString::fromLatin1(kFirmRegistration); }
QString DemoDatabase::firmSwift() { return QString::fromLatin1(kFirmSwift); }
QString DemoDatabase::choiceIsin() { return DemoRows::isinOf(30); }
QList<int> DemoDatabase::choiceInstruments() { return {30, 31}; }
QString DemoDatabase::successorIsin() { return DemoRows::isinOf(41); }

QList<QDate> DemoDatabase::tradingDays()
{
    return {QDate(2026, 12, 3), QDate(2026, 12, 4), QDate(2026, 12, 7), QDate(2026, 12, 8),
            QDate(2026, 12, 9)};
}

QList<QDate> DemoDatabase::reportedDays() { return tradingDays().mid(0, 3); }

QDate DemoDatabase::demoDay() { return tradingDays().at(3); }

void DemoDatabase::create(const QString& file, const QString& auditUser)
{
    if (QFile::exists(file))
        throw ZtfiError(QStringLiteral("The database %1 exists already.").arg(file));
    initSchemaResources();
    createSchema(file);
    const QFileInfo info(file);
    auto connection = Connection::open(info.absolutePath(), info.completeBaseName(), {}, {});
    fill(*connection, auditUser);
}

void DemoDatabase::fill(Connection& connection, const QString& auditUser)
{
    Q_ASSERT(reportedDays().first() == kFirstReported);
    std::mt19937 random(20261208);
    DemoRows rows(connection, kFirstReference);
    DayTrades flow(rows, random);
    const QList<QDate> days = tradingDays();
    const QDate demo = demoDay();

    connection.startTransaction();
    rows.referenceData();
    connection.commit();

    // 3 and 4 December: reported and confirmed. The matured bond (40) still trades.
    int reportId = kFirstReportId;
    QList<qint64> reportedTrades;
    for (int d = 0; d < 2; ++d) {
        connection.startTransaction();
        QList<qint64> trades = flow.ordinary(days[d], 26 + 6 * d);
        trades << rows.addTrade(rows.tradeOn(40, days[d], QTime(11, 12, 40 + d), QStringLiteral("N"),
                                             QStringLiteral("K"), kClientContracts[1], 50, 99.95));
        connection.commit();
        reportDay(rows, connection, auditUser, days[d], reportId++, trades, 1);
        reportedTrades << trades;
    }
    const qint64 corrected = reportedTrades.at(7);  // a trade of 3 December, corrected on the demo day

    // The bond matured on 5 December; on 7 December the back office carries its successor
    // under the same ISIN.
    connection.startTransaction();
    rows.successorInstrument();
    QList<qint64> monday = flow.ordinary(days[2], 30);
    connection.commit();
    reportDay(rows, connection, auditUser, days[2], reportId++, monday, 0);
    const qint64 cancelled = monday.at(4);  // cancelled after its report was sent

    // The demo day and the day after it: not reported yet.
    connection.startTransaction();
    flow.ordinary(demo, 32);
    rows.specialTrades(demo);
    rows.cancel(cancelled, std::nullopt);
    const qint64 replacement = rows.replacementOf(corrected, demo, QTime(10, 5, 12));
    rows.cancel(corrected, replacement);
    flow.ordinary(days[4], 28);
    rows.finishSequences();
    connection.commit();
}
