#include "support/FixtureDb.h"

#include "core/Error.h"
#include "support/SqlScript.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

using namespace fixture;

namespace {

QVariant text(const QString& value)
{
    return value.isNull() ? QVariant() : QVariant(value);
}

template <typename T>
QVariant optional(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

void createDatabase(const QString& file)
{
    const QString name = QStringLiteral("ztfi_fixture_builder");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open())
            throw DatabaseError(db.lastError().text());
        applySqlScript(db, sourcePath(QStringLiteral("schema/sqlite/host.sql")));
        applySqlScript(db, sourcePath(QStringLiteral("schema/sqlite/own.sql")));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

QString fixture::dateSql(const QDate& date)
{
    return QStringLiteral("TO_DATE('%1','dd.mm.yyyy')").arg(date.toString(QStringLiteral("dd.MM.yyyy")));
}

QString fixture::dateTimeSql(const QDateTime& dateTime)
{
    return QStringLiteral("TO_DATE('%1','dd.mm.yyyy hh24:mi:ss')")
        .arg(dateTime.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")));
}

FixtureDb::FixtureDb() : FixtureDb(Connection::Engine::Sqlite) {}

FixtureDb::FixtureDb(Connection::Engine engine)
{
    if (!dir_.isValid())
        throw ZtfiError(QStringLiteral("No temporary folder: ") + dir_.errorString());
    if (engine == Connection::Engine::PostgreSql) {
        server_ = std::make_unique<PostgresDatabase>();
        QFile aliases(QDir(folder()).filePath(QStringLiteral("aliases.ini")));
        if (!aliases.open(QIODevice::WriteOnly) || aliases.write(server_->aliasEntry(alias()).toUtf8()) < 0)
            throw ZtfiError(QStringLiteral("Cannot write ") + aliases.fileName());
        aliases.close();
        connection_ = Connection::open(folder(), alias(), PostgresServer::user(), PostgresServer::password());
        return;
    }
    createDatabase(databaseFile());
    connection_ = Connection::open(folder(), alias(), QString(), QString());
    // A test database needs no protection against power loss; without it every insert of a
    // fixture row is not a disk flush.
    exec(QStringLiteral("PRAGMA synchronous = OFF"));
}

FixtureDb::~FixtureDb() = default;

QString FixtureDb::databaseFile() const
{
    return QDir(folder()).filePath(alias() + QStringLiteral(".sqlite"));
}

FixtureDb& FixtureDb::basics()
{
    country({});
    currency({});
    fin(1);
    person({.id = 2,
            .registration = QStringLiteral("1234567"),
            .swift = QStringLiteral("BRKRSI2X"),
            .bankCode = QStringLiteral("BRKR"),
            .name = QStringLiteral("Borzni posrednik d.d.")});
    person({});
    contract({});
    market({});
    return *this;
}

FixtureDb& FixtureDb::country(const Country& row)
{
    insert("DRZ", {{"SfDrz", row.id}, {"ISOKODA", text(row.iso)}});
    return *this;
}

FixtureDb& FixtureDb::currency(const Currency& row)
{
    insert("VLT", {{"SfVlt", row.id}, {"KRT", text(row.iso)}});
    return *this;
}

FixtureDb& FixtureDb::fin(int id)
{
    insert("FIN", {{"SFFIN", id}});
    return *this;
}

FixtureDb& FixtureDb::person(const Person& row)
{
    insert("OSB", {{"SfOsb", row.id},
                   {"MTS", text(row.registration)},
                   {"SWIFT", text(row.swift)},
                   {"KRTBNK", text(row.bankCode)},
                   {"NZV", text(row.name)},
                   {"SfDrz", row.country}});
    return *this;
}

FixtureDb& FixtureDb::contract(const Contract& row)
{
    insert("POG", {{"IdPog", row.id},
                   {"SfOsb", row.person},
                   {"NZV", text(row.name)},
                   {"KRTKDD", text(row.kddAccount)},
                   {"REMOTECLAN", text(row.remoteMember)}});
    return *this;
}

FixtureDb& FixtureDb::market(const Market& row)
{
    insert("TRG", {{"SfTrg", row.id},
                   {"MIC", text(row.mic)},
                   {"TimeZone", text(row.timeZone)},
                   {"SfTrz", text(row.kind)},
                   {"SfDrzTrg", text(row.domestic)}});
    return *this;
}

FixtureDb& FixtureDb::instrument(const Instrument& row)
{
    insert("SFVP", {{"SFVP", row.id},
                    {"ISIN", text(row.isin)},
                    {"KRT", text(row.shortName)},
                    {"NZV", text(row.name)},
                    {"CFI", text(row.cfi)},
                    {"IZVCEN", optional(row.strikePrice)},
                    {"ZPDVP", row.maturity},
                    {"PorocanjeZTFI", text(row.reported)},
                    {"SFOSBIZD", row.issuer},
                    {"SFFIN", row.fin},
                    {"DANSPR", row.changed},
                    {"GLVNMN", optional(row.nominal)},
                    {"SfVLTNMN", optional(row.nominalCurrency)},
                    {"LOTEMS", optional(row.issued)},
                    {"KOS", text(row.pieces)},
                    {"SFGLVENT", text(row.priceUnit)}});
    return *this;
}

FixtureDb& FixtureDb::listing(const Listing& row)
{
    insert("KTC", {{"SFKTC", row.id},
                   {"SFVP", row.instrument},
                   {"SFTRG", row.market},
                   {"Dan", row.first},
                   {"DanPrk", row.last},
                   {"SfSgt", text(row.segment)}});
    return *this;
}

FixtureDb& FixtureDb::valuation(const Valuation& row)
{
    insert("KPN", {{"sfkpn", row.id},
                   {"sfvp", row.instrument},
                   {"GLV", optional(row.value)},
                   {"prvdan", row.first},
                   {"zdnDan", row.last},
                   {"sfobm", text(row.boundary)}});
    return *this;
}

std::vector<FixtureDb::Column> FixtureDb::tradeColumns(const Trade& row) const
{
    return {{"IdPsl", row.id},
            {"Dan", row.day},
            {"Cas", row.day.isValid() && row.time.isValid() ? QVariant(QDateTime(row.day, row.time))
                                                            : QVariant(row.time)},
            {"SfPsl", text(row.kind)},
            {"SfDjv", text(row.activity)},
            {"SfVp", row.instrument},
            {"SfTrg", row.market},
            {"SfVlt", row.currency},
            {"Lot", row.quantity},
            {"GlvTcj", row.price},
            {"SfGlvEnt", text(row.priceUnit)},
            {"IdPog", row.contract},
            {"IdPogTrp", optional(row.counterContract)},
            {"IdPslTrp", optional(row.counterTrade)},
            {"SfKpn", optional(row.valuation)},
            {"SFTYPE", text(row.type)}};
}

FixtureDb& FixtureDb::trade(const Trade& row)
{
    insert("PSL", tradeColumns(row));
    return *this;
}

FixtureDb& FixtureDb::cancellation(const Cancellation& row)
{
    std::vector<Column> columns = tradeColumns(row.trade);
    columns.push_back({"IDPSLEDT", optional(row.replacedBy)});
    columns.push_back({"IDREFATVP", optional(row.reference)});
    columns.push_back({"OZNAKAPAKETA", text(row.packageMark)});
    insert("DPATVPPSLSTN", columns);
    return *this;
}

FixtureDb& FixtureDb::report(const Report& row)
{
    insert("DPATVP", {{"DPATVPID", row.id},
                      {"DANPOROCANJA", row.reportDay},
                      {"DAN", row.sentAt},
                      {"ZAPST", row.serial},
                      {"XML_FILE", text(row.file)},
                      {"STATUS", row.status},
                      {"DANOD", row.firstDay}});
    return *this;
}

FixtureDb& FixtureDb::selected(const SelectedTrade& row)
{
    insert("DPATVPPSL", {{"DPATVPID", row.report},
                         {"IDPSL", row.trade},
                         {"ISSTN", text(row.cancellation)},
                         {"IDREFATVP", row.reference}});
    return *this;
}

void FixtureDb::refuse(const QString& name, const QString& event, const QString& condition,
                       const QString& message)
{
    const QString table = event.section(QStringLiteral(" ON "), -1).trimmed();
    if (connection_->engine() == Connection::Engine::PostgreSql) {
        exec(QStringLiteral("CREATE FUNCTION public.%1_refusal() RETURNS trigger LANGUAGE plpgsql AS "
                            "$$BEGIN RAISE EXCEPTION '%2'; END$$")
                 .arg(name, message));
        exec(QStringLiteral("CREATE TRIGGER %1 %2 FOR EACH ROW %3 EXECUTE FUNCTION public.%1_refusal()")
                 .arg(name, event,
                      condition.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condition)));
    } else {
        exec(QStringLiteral("CREATE TRIGGER %1 %2 %3 BEGIN SELECT RAISE(ABORT, '%4'); END")
                 .arg(name, event, condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition,
                      message));
    }
    refusals_[name] = table;
}

void FixtureDb::allow(const QString& name)
{
    if (connection_->engine() == Connection::Engine::PostgreSql) {
        exec(QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, refusals_[name]));
        exec(QStringLiteral("DROP FUNCTION public.%1_refusal").arg(name));
    } else {
        exec(QStringLiteral("DROP TRIGGER ") + name);
    }
    refusals_.erase(name);
}

void FixtureDb::setSequence(const QString& name, qint64 value)
{
    if (connection_->engine() == Connection::Engine::PostgreSql)
        exec(QStringLiteral("SELECT setval('%1', %2)").arg(name).arg(value));
    else
        exec(QStringLiteral("UPDATE ztfi_sequence SET value=%2 WHERE name='%1'").arg(name).arg(value));
}

void FixtureDb::exec(const QString& sql)
{
    QSqlQuery query(connection_->database());
    if (!query.exec(connection_->prepareSql(sql)))
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
}

QVariant FixtureDb::value(const QString& sql)
{
    QSqlQuery query(connection_->database());
    if (!query.exec(connection_->prepareSql(sql)))
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
    return query.next() ? query.value(0) : QVariant();
}

QStringList FixtureDb::texts(const QString& sql)
{
    QSqlQuery query(connection_->database());
    if (!query.exec(connection_->prepareSql(sql)))
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
    QStringList rows;
    while (query.next()) {
        QStringList columns;
        for (int i = 0; i < query.record().count(); ++i)
            columns << (query.isNull(i) ? QString() : query.value(i).toString());
        rows << columns.join(QLatin1Char('|'));
    }
    return rows;
}

void FixtureDb::insert(const char* table, const std::vector<Column>& columns)
{
    QStringList names;
    QStringList placeholders;
    for (const Column& column : columns) {
        names << QString::fromLatin1(column.first);
        placeholders << QLatin1Char(':') + QString::fromLatin1(column.first);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(QString::fromLatin1(table), names.join(QStringLiteral(", ")),
                                 placeholders.join(QStringLiteral(", ")));
    QSqlQuery query(connection_->database());
    if (!query.prepare(sql))
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
    for (const Column& column : columns)
        query.bindValue(QLatin1Char(':') + QString::fromLatin1(column.first),
                        connection_->toEngineValue(column.second));
    if (!query.exec())
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
}
