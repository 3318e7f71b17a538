#pragma once

#include "data/engine/Connection.h"
#include "support/PostgresServer.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <QTime>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

// Rows of the back-office tables and of the own tables, with defaults that fit together:
// market 8 "XLJU", currency 1 "EUR", country 1 "SI", FIN 1, the firm (person 2), a client
// (person 10) with contract 100, instrument 1. A null text is stored as NULL, an empty one as ''.
namespace fixture {

struct Country {
    int id = 1;
    QString iso = QStringLiteral("SI");
};

struct Currency {
    int id = 1;
    QString iso = QStringLiteral("EUR");
};

struct Person {
    int id = 10;
    QString registration{};  // MTS
    QString swift{};
    QString bankCode{};      // KRTBNK
    QString name = QStringLiteral("Stranka d.o.o.");
    int country = 1;
};

struct Contract {
    qint64 id = 100;
    int person = 10;
    QString name = QStringLiteral("Pogodba 100");
    QString kddAccount{};    // KRTKDD
    QString remoteMember{};  // REMOTECLAN
};

struct Market {
    int id = 8;
    QString mic = QStringLiteral("XLJU");
    QString timeZone{};                      // "+01" when empty
    QString kind = QStringLiteral("2");      // SfTrz
    QString domestic = QStringLiteral("S");  // SfDrzTrg
};

struct Instrument {
    int id = 1;
    QString isin = QStringLiteral("SI0000000011");
    QString shortName = QStringLiteral("DELA");       // KRT
    QString name = QStringLiteral("Delnica A d.d.");  // NZV
    QString cfi = QStringLiteral("ESVUFR");
    std::optional<double> strikePrice{};              // IZVCEN
    QDate maturity{};                                 // ZPDVP
    QString reported = QStringLiteral("D");           // PorocanjeZTFI
    int issuer = 2;                                   // SFOSBIZD
    int fin = 1;
    QDateTime changed{};                              // DANSPR
    std::optional<double> nominal{};                  // GLVNMN
    std::optional<int> nominalCurrency = 1;           // SfVLTNMN
    std::optional<double> issued{};                   // LOTEMS
    QString pieces{};                                 // KOS
    QString priceUnit{};                              // SFGLVENT
};

struct Listing {
    int id = 1;
    int instrument = 1;
    int market = 8;
    QDate first = QDate(2000, 1, 1);
    QDate last{};       // DanPrk, empty while listed
    QString segment{};  // SfSgt
};

// A KPN row: a value of an instrument valid over a period.
struct Valuation {
    int id = 1;
    int instrument = 1;
    std::optional<double> value{};           // GLV
    QDate first{};                           // prvdan
    QDate last{};                            // zdnDan
    QString boundary = QStringLiteral("=");  // sfobm
};

struct Trade {
    qint64 id = 1;
    QDate day = QDate(2026, 3, 2);
    QTime time = QTime(10, 0);                // stored with the day as one date-time
    QString kind = QStringLiteral("N");       // SfPsl
    QString activity = QStringLiteral("L");   // SfDjv
    int instrument = 1;
    int market = 8;
    int currency = 1;
    double quantity = 100;                    // Lot
    double price = 10;                        // GlvTcj
    QString priceUnit{};                      // SfGlvEnt
    qint64 contract = 100;
    std::optional<qint64> counterContract{};  // IdPogTrp
    std::optional<qint64> counterTrade{};     // IdPslTrp
    std::optional<int> valuation{};           // SfKpn
    QString type{};                           // SFTYPE
};

// A copy of a cancelled trade (DPATVPPSLSTN).
struct Cancellation {
    Trade trade{};
    std::optional<qint64> replacedBy{};  // IDPSLEDT
    std::optional<qint64> reference{};   // IDREFATVP
    QString packageMark{};               // OZNAKAPAKETA
};

// A register row (DPATVP).
struct Report {
    qint64 id = 1;
    int serial = 1;                       // ZAPST
    QDate reportDay = QDate(2026, 3, 2);  // DANPOROCANJA
    QDateTime sentAt{};                   // DAN, empty until sent
    QString file{};                       // XML_FILE
    int status = 0;
    QDate firstDay{};                     // DANOD
};

// A row of a selection or report (DPATVPPSL).
struct SelectedTrade {
    qint64 report = 1;
    qint64 trade = 1;
    QString cancellation = QStringLiteral("N");  // ISSTN
    qint64 reference = 1;                        // IDREFATVP
};

// A date, or a date and time to the second, as an SQL expression that every engine reads.
QString dateSql(const QDate& date);
QString dateTimeSql(const QDateTime& dateTime);

}  // namespace fixture

// A fresh database opened as the program opens it (alias FIXTURE of a temporary program
// folder, Connection::open): by default an embedded one made from schema/sqlite/host.sql and
// own.sql; with Engine::PostgreSql a fresh database of the throwaway server (made from
// schema/postgresql), led to by the folder's aliases.ini.
class FixtureDb {
public:
    FixtureDb();
    explicit FixtureDb(Connection::Engine engine);
    ~FixtureDb();
    FixtureDb(const FixtureDb&) = delete;
    FixtureDb& operator=(const FixtureDb&) = delete;

    Connection& connection() { return *connection_; }
    QString folder() const { return dir_.path(); }
    static QString alias() { return QStringLiteral("FIXTURE"); }
    QString databaseFile() const;

    // Country 1, currency 1, FIN 1, the firm (person 2, MTS 1234567, SWIFT BRKRSI2X), the
    // client (person 10) with contract 100 and market 8: what the default rows refer to.
    FixtureDb& basics();

    FixtureDb& country(const fixture::Country& row);
    FixtureDb& currency(const fixture::Currency& row);
    FixtureDb& fin(int id);
    FixtureDb& person(const fixture::Person& row);
    FixtureDb& contract(const fixture::Contract& row);
    FixtureDb& market(const fixture::Market& row);
    FixtureDb& instrument(const fixture::Instrument& row);
    FixtureDb& listing(const fixture::Listing& row);
    FixtureDb& valuation(const fixture::Valuation& row);
    FixtureDb& trade(const fixture::Trade& row);
    FixtureDb& cancellation(const fixture::Cancellation& row);
    FixtureDb& report(const fixture::Report& row);
    FixtureDb& selected(const fixture::SelectedTrade& row);

    // A trigger `name` that refuses the rows of `event` ("BEFORE INSERT ON DPATVPPSL", "BEFORE
    // UPDATE OF X ON T") for which `condition` holds (every row when empty; NEW.X names the
    // new row) with the error text `message`, on either engine; allow(name) drops it again.
    void refuse(const QString& name, const QString& event, const QString& condition, const QString& message);
    void allow(const QString& name);
    // The sequence goes on after `value` (its next value is value + 1).
    void setSequence(const QString& name, qint64 value);

    // Runs a statement through the connection (made fit for the engine first).
    void exec(const QString& sql);
    // The first column of the first row of a statement; an invalid QVariant when it has none.
    QVariant value(const QString& sql);
    // Every row of a statement, its columns joined by "|" (a NULL as an empty text).
    QStringList texts(const QString& sql);

private:
    using Column = std::pair<const char*, QVariant>;
    void insert(const char* table, const std::vector<Column>& columns);
    std::vector<Column> tradeColumns(const fixture::Trade& row) const;

    QTemporaryDir dir_;
    std::map<QString, QString> refusals_;  // trigger name -> its table
    std::unique_ptr<PostgresDatabase> server_;
    std::unique_ptr<Connection> connection_;
};
