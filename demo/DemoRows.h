#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

#include <optional>
#include <utility>
#include <vector>

class Connection;

namespace demo {

inline constexpr const char* kFirmRegistration = "5912345000";
inline constexpr const char* kFirmSwift = "DEMOSI22";
// The firm's own-account contract and the contracts of its clients.
inline constexpr qint64 kOwnContract = 1000;
inline constexpr qint64 kClientContracts[] = {1100, 1101, 1102, 1103, 1104, 1105};
// A remote member's contract, and a client contract of the same trade type without it.
inline constexpr qint64 kRemoteContract = 1106;
inline constexpr qint64 kPlainTypePContract = 1104;

enum class InstrumentKind { Share, Bond, Derivative, Fund };
struct InstrumentDef;

// A trade (PSL row).
struct TradeRow {
    qint64 id = 0;  // given by addTrade
    QDate day;
    QTime time;
    QString kind;      // SfPsl
    QString activity;  // SfDjv
    int instrument = 0;
    int market = 0;
    int currency = 1;
    double quantity = 0;
    double price = 0;
    QString priceUnit;  // "%" for bonds
    qint64 contract = 0;
    std::optional<qint64> counterContract;
    std::optional<qint64> counterTrade;
    std::optional<int> valuation;  // SfKpn
    QString type;                  // SFTYPE
};

// Writes the rows of the demo database through the connection.
class DemoRows {
public:
    DemoRows(Connection& connection, qint64 firstReference);

    // Countries, currencies, persons, contracts, markets, instruments, listings and KPN rows.
    void referenceData();
    // The instrument that replaces the matured bond under the same ISIN (from 7 December).
    void successorInstrument();

    // The ISIN of a demo instrument (with its check digit); empty for those without one.
    static QString isinOf(int instrument);
    InstrumentKind kindOf(int instrument) const;
    bool isUsInstrument(int instrument) const;
    // The instrument's usual price moved by the relative change, rounded as it is quoted.
    double priceAround(int instrument, double change) const;

    // A trade of the instrument on its main market in the market's currency.
    TradeRow tradeOn(int instrument, const QDate& day, const QTime& time,
                     const QString& kind = QStringLiteral("N"),
                     const QString& activity = QStringLiteral("K"), qint64 contract = 1100,
                     double quantity = 100, double price = 0) const;
    qint64 addTrade(TradeRow trade);
    // The trades of the demo day that the ordinary flow does not make: internal matches, the
    // remote member, the ISIN choice, the successor bond, trades that are not reported.
    void specialTrades(const QDate& day);
    // A corrected copy of a trade (quantity changed) entered on another day; returns its id.
    qint64 replacementOf(qint64 trade, const QDate& day, const QTime& time);
    // Moves a trade into DPATVPPSLSTN (with the trade replacing it, if any) and out of PSL.
    void cancel(qint64 trade, std::optional<qint64> replacedBy);

    // A DPATVPPSL row with the next reference number.
    void addSelected(qint64 reportId, qint64 trade, const QString& cancellation);
    // A register row of a report sent on the next working day.
    void addReport(int reportId, const QDate& day, int status);
    // Sets the sequences past the values used.
    void finishSequences();

private:
    using Column = std::pair<const char*, QVariant>;
    // SFVP row, its listing and for a bond its KPN row.
    void addInstrument(const InstrumentDef& def, const QDate& listed, const QDate& changed);
    void insert(const char* table, const std::vector<Column>& columns);
    void exec(const QString& sql, const std::vector<Column>& params = {});
    // An internal match: the buyer's trade points to the seller's, the seller's points back
    // with the negative of its own id.
    void match(TradeRow buyer, TradeRow seller);

    Connection& connection_;
    qint64 nextTrade_ = 610001;
    qint64 nextReference_;
    std::vector<qint64> references_;
};

}  // namespace demo
