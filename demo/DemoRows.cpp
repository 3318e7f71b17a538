#include "DemoRows.h"

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <cmath>

namespace demo {

namespace {

// Markets: code, MIC, standard-time offset, type (SfTrz), "S" domestic.
struct MarketDef {
    int id;
    const char* mic;
    const char* timeZone;
    const char* type;
    const char* domestic;
};
const MarketDef kMarkets[] = {
    {8, "XLJU", "+01", "2", "S"},   // the domestic exchange (segment "C" has its own MIC)
    {9, "XLJM", "+01", "2", "S"},   // domestic, keeps its offset all year (fixed zone)
    {20, "XETR", "+01", "2", "T"},
    {21, "XNYS", "-05", "2", "T"},
    {22, "XWBO", "+01", "2", "T"},
    {23, "XZAG", "+01", "2", "T"},
    {24, "XEUR", "+01", "2", "T"},  // derivatives
    {30, "", "+01", "3", "S"},      // domestic trading outside a venue
    {31, "", "+01", "3", "T"},      // foreign trading outside a venue
};

struct PersonDef {
    int id;
    const char* name;
    const char* registration;
    const char* swift;
    const char* bankCode;
    int country;
};
const PersonDef kPersons[] = {
    {2, "Borzno posredniška družba Demo d.d.", kFirmRegistration, kFirmSwift, "DEMO", 1},
    // issuers
    {20, "Zdravila Novo mesto d.d.", "5000001000", nullptr, nullptr, 1},
    {21, "Energija Sava d.d.", "5000002000", nullptr, nullptr, 1},
    {22, "Telekomunikacije Slovenije d.d.", "5000003000", nullptr, nullptr, 1},
    {23, "Zavarovalnica Podravje d.d.", "5000004000", nullptr, nullptr, 1},
    {24, "Luka Morje d.d.", "5000005000", nullptr, nullptr, 1},
    {25, "Naftna trgovina d.d.", "5000006000", nullptr, nullptr, 1},
    {26, "Mlekarna Kras d.d.", "5000007000", nullptr, nullptr, 1},
    {27, "Investicijska družba Triglav d.d.", "5000008000", nullptr, nullptr, 1},
    {28, "Gradnje Celje d.d.", "5000009000", nullptr, nullptr, 1},
    {29, "Sklad Alfa upravljanje d.o.o.", "5000010000", nullptr, nullptr, 1},
    {30, "Republika Slovenija", "1000000000", nullptr, nullptr, 1},
    {40, "Autowerke Nord AG", nullptr, nullptr, nullptr, 2},
    {41, "Chemie Rhein AG", nullptr, nullptr, nullptr, 2},
    {42, "Globe Software Inc.", nullptr, nullptr, nullptr, 3},
    {43, "Alpenbank AG", nullptr, nullptr, nullptr, 4},
    {44, "Jadran Turizam d.d.", nullptr, nullptr, nullptr, 5},
    {45, "Bundesrepublik Deutschland", nullptr, nullptr, nullptr, 2},
    {46, "Terminbörse Nord AG", nullptr, nullptr, nullptr, 2},
    // clients: funds and banks with a SWIFT code, people and a company without one
    {100, "Vzajemni sklad Alfa", "8000001000", "ALFASI2X", "ALFA", 1},
    {101, "Pokojninska družba Beta d.d.", "8000002000", "BETASI22", "BETA", 1},
    {102, "Janez Novak", nullptr, nullptr, nullptr, 1},
    {103, "Marija Kovač", nullptr, nullptr, nullptr, 1},
    {104, "Gradbeništvo Kras d.o.o.", "8000005000", nullptr, nullptr, 1},
    {105, "Nordbank AG", nullptr, "NORDDEFF", "NORD", 2},
    {106, "Wiener Makler AG", nullptr, "WMAKATWW", "WMAK", 4},
};

struct ContractDef {
    qint64 id;
    int person;
    const char* name;
    const char* kdd;
    const char* remoteMember;
};
const ContractDef kContracts[] = {
    {kOwnContract, 2, "Lastni račun", "0000010001", nullptr},
    {1100, 100, "Gospodarjenje s sredstvi - Sklad Alfa", "0000011100", nullptr},
    {1101, 101, "Komisijska pogodba - Beta", "0000011101", nullptr},
    {1102, 102, "Komisijska pogodba - Novak", "0000011102", nullptr},
    {1103, 103, "Komisijska pogodba - Kovač", "0000011103", nullptr},
    {kPlainTypePContract, 104, "Komisijska pogodba - Gradbeništvo Kras", "0000011104", nullptr},
    {1105, 105, "Custody and execution - Nordbank", nullptr, nullptr},
    {kRemoteContract, 106, "Oddaljeni član - Wiener Makler", nullptr, "WMAK"},
};

}  // namespace

struct InstrumentDef {
    int id;
    const char* isinBody;  // 11 characters, the check digit is computed; null: no ISIN
    const char* shortName;
    const char* name;
    const char* cfi;
    InstrumentKind kind;
    int issuer;
    int market;
    const char* segment;
    double price;
    double nominal;  // 0: none
    int nominalCurrency;
    double issued;
    QDate maturity;
    double strike;  // 0: none
    const char* reported;
};
namespace {

const QDate kNoDate;
const InstrumentDef kInstruments[] = {
    {1, "SI003110000", "ZDNM", "Zdravila Novo mesto d.d., redne delnice", "ESVUFR", InstrumentKind::Share, 20, 8, "P", 118.5, 0, 1, 32793448, kNoDate, 0, "D"},
    {2, "SI003110001", "ENSV", "Energija Sava d.d., redne delnice", "ESVUFR", InstrumentKind::Share, 21, 8, "P", 34.2, 0, 1, 14278354, kNoDate, 0, "D"},
    {3, "SI003110002", "TLSG", "Telekomunikacije Slovenije d.d.", "ESVUFR", InstrumentKind::Share, 22, 8, "C", 88.0, 0, 1, 6535478, kNoDate, 0, "D"},
    {4, "SI003110003", "ZVPG", "Zavarovalnica Podravje d.d.", "ESVUFR", InstrumentKind::Share, 23, 8, "C", 27.4, 0, 1, 23701391, kNoDate, 0, "D"},
    {5, "SI003110004", "LKMR", "Luka Morje d.d.", "ESVUFR", InstrumentKind::Share, 24, 8, "C", 41.0, 0, 1, 14000000, kNoDate, 0, "D"},
    {6, "SI003110005", "NFTR", "Naftna trgovina d.d.", "ESVUFR", InstrumentKind::Share, 25, 8, "P", 402.0, 0, 1, 2086301, kNoDate, 0, "D"},
    {7, "SI003110006", "MLKR", "Mlekarna Kras d.d.", "ESVUFR", InstrumentKind::Share, 26, 9, "", 12.3, 0, 1, 1750000, kNoDate, 0, "D"},
    {10, "DE000AWN100", "AWN", "Autowerke Nord AG Inhaber-Aktien", "ESVUFB", InstrumentKind::Share, 40, 20, "", 95.2, 0, 1, 630000000, kNoDate, 0, "D"},
    {11, "DE000CRH200", "CRH", "Chemie Rhein AG Namens-Aktien", "ESVUFR", InstrumentKind::Share, 41, 20, "", 47.8, 0, 1, 893000000, kNoDate, 0, "D"},
    {12, "US39500G101", "GLSW", "Globe Software Inc. Common Stock", "ESVUFR", InstrumentKind::Share, 42, 21, "", 310.5, 0, 2, 7430000000, kNoDate, 0, "D"},
    {13, "AT000ALPB00", "ALPB", "Alpenbank AG Aktien", "ESVUFB", InstrumentKind::Share, 43, 22, "", 38.6, 0, 1, 157000000, kNoDate, 0, "D"},
    {14, "HRJDRTRA000", "JDRT", "Jadran Turizam d.d. redovne dionice", "ESVUFR", InstrumentKind::Share, 44, 23, "", 52.0, 0, 1, 5900000, kNoDate, 0, "D"},
    {20, "SI000210031", "RS101", "Republika Slovenija 3,125% 2031", "DBFTFB", InstrumentKind::Bond, 30, 8, "B", 101.35, 1000, 1, 1500000, QDate(2031, 7, 7), 0, "D"},
    {21, "SI003211029", "ZDN1", "Zdravila Novo mesto 4% 2029", "DBFTFR", InstrumentKind::Bond, 20, 8, "B", 99.8, 1000, 1, 60000, QDate(2029, 3, 15), 0, "D"},
    {22, "DE000BU2034", "BUND34", "Bundesrepublik Deutschland 2,5% 2034", "DBFTFB", InstrumentKind::Bond, 45, 20, "", 98.7, 1000, 1, 25000000, QDate(2034, 2, 15), 0, "D"},
    {30, "SI003120000", "ITRG", "Investicijska družba Triglav d.d.", "ESVUFR", InstrumentKind::Share, 27, 8, "C", 6.15, 0, 1, 4200000, kNoDate, 0, "D"},
    {31, "SI003120000", "ITRG2", "Investicijska družba Triglav d.d. (po združitvi)", "ESVUFR", InstrumentKind::Share, 27, 8, "C", 6.15, 0, 1, 5100000, kNoDate, 0, "D"},
    {40, "SI003230026", "GCE1", "Gradnje Celje 5% 2026", "DBFTFR", InstrumentKind::Bond, 28, 8, "B", 99.95, 1000, 1, 20000, QDate(2026, 12, 5), 0, "D"},
    {50, nullptr, "OAWN C100 MAR27", "Nakupna opcija Autowerke Nord 100 03/2027", "OCASPS", InstrumentKind::Derivative, 46, 24, "", 4.35, 0, 1, 0, QDate(2027, 3, 19), 100, "D"},
    {51, nullptr, "FDX MAR27", "Terminska pogodba na indeks DX 03/2027", "FFICSX", InstrumentKind::Derivative, 46, 24, "", 24150, 0, 1, 0, QDate(2027, 3, 19), 0, "D"},
    {60, "SI002110000", "VSALFA", "Vzajemni sklad Alfa, enote", "CIOGEU", InstrumentKind::Fund, 29, 8, "F", 11.02, 0, 1, 0, kNoDate, 0, "N"},
};
// The successor of bond 40 under the same ISIN, carried from 7 December.
const InstrumentDef kSuccessor = {41, "SI003230026", "GCE1R", "Gradnje Celje 5% 2026 (podaljšana do 2029)", "DBFTFR", InstrumentKind::Bond, 28, 8, "B", 100.1, 1000, 1, 20000, QDate(2029, 12, 5), 0, "D"};

const InstrumentDef& definition(int instrument)
{
    if (instrument == kSuccessor.id)
        return kSuccessor;
    for (const InstrumentDef& def : kInstruments)
        if (def.id == instrument)
            return def;
    throw ZtfiError(QStringLiteral("No demo instrument %1").arg(instrument));
}

QVariant text(const char* value)
{
    return value ? QVariant(QString::fromUtf8(value)) : QVariant();
}

// The ISIN check digit: letters become two digits (A = 10), then the Luhn sum.
QString withCheckDigit(const QString& body)
{
    QString digits;
    for (QChar c : body)
        digits += c.isDigit() ? QString(c) : QString::number(c.toUpper().unicode() - 'A' + 10);
    int sum = 0;
    bool twice = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i, twice = !twice) {
        int d = digits.at(i).digitValue() * (twice ? 2 : 1);
        sum += d / 10 + d % 10;
    }
    return body + QString::number((10 - sum % 10) % 10);
}

int currencyOfMarket(int market) { return market == 21 ? 2 : 1; }

QDate nextWorkingDay(QDate day)
{
    do {
        day = day.addDays(1);
    } while (day.dayOfWeek() > 5);
    return day;
}

}  // namespace

DemoRows::DemoRows(Connection& connection, qint64 firstReference)
    : connection_(connection), nextReference_(firstReference)
{
}

void DemoRows::referenceData()
{
    const char* countries[] = {"SI", "DE", "US", "AT", "HR", "GB"};
    for (int i = 0; i < 6; ++i)
        insert("DRZ", {{"SfDrz", i + 1}, {"ISOKODA", text(countries[i])}});
    const char* currencies[] = {"EUR", "USD", "GBP", "CHF"};
    for (int i = 0; i < 4; ++i)
        insert("VLT", {{"SfVlt", i + 1}, {"KRT", text(currencies[i])}});
    for (int fin = 1; fin <= 4; ++fin)
        insert("FIN", {{"SFFIN", fin}});
    for (const PersonDef& p : kPersons)
        insert("OSB", {{"SfOsb", p.id}, {"MTS", text(p.registration)}, {"SWIFT", text(p.swift)},
                       {"KRTBNK", text(p.bankCode)}, {"NZV", text(p.name)}, {"SfDrz", p.country}});
    for (const ContractDef& c : kContracts)
        insert("POG", {{"IdPog", c.id}, {"SfOsb", c.person}, {"NZV", text(c.name)},
                       {"KRTKDD", text(c.kdd)}, {"REMOTECLAN", text(c.remoteMember)}});
    for (const MarketDef& m : kMarkets)
        insert("TRG", {{"SfTrg", m.id}, {"MIC", text(m.mic)}, {"TimeZone", text(m.timeZone)},
                       {"SfTrz", text(m.type)}, {"SfDrzTrg", text(m.domestic)}});
    for (const InstrumentDef& def : kInstruments)
        addInstrument(def, QDate(2015, 1, 5), QDate(2026, 6, 1));
}

void DemoRows::successorInstrument()
{
    addInstrument(kSuccessor, QDate(2026, 12, 7), QDate(2026, 12, 7));
}

void DemoRows::addInstrument(const InstrumentDef& def, const QDate& listed, const QDate& changed)
{
    const bool bond = def.kind == InstrumentKind::Bond;
    const int fin = 1 + int(def.kind);
    insert("SFVP", {{"SFVP", def.id},
                    {"ISIN", def.isinBody ? QVariant(isinOf(def.id)) : QVariant()},
                    {"KRT", text(def.shortName)},
                    {"NZV", text(def.name)},
                    {"CFI", text(def.cfi)},
                    {"IZVCEN", def.strike > 0 ? QVariant(def.strike) : QVariant()},
                    {"ZPDVP", def.maturity},
                    {"PorocanjeZTFI", text(def.reported)},
                    {"SFOSBIZD", def.issuer},
                    {"SFFIN", fin},
                    {"DANSPR", changed},
                    {"GLVNMN", def.nominal > 0 ? QVariant(def.nominal) : QVariant()},
                    {"SfVLTNMN", def.nominalCurrency},
                    {"LOTEMS", def.issued > 0 ? QVariant(def.issued) : QVariant()},
                    {"KOS", bond ? QStringLiteral("N") : QStringLiteral("D")},
                    {"SFGLVENT", bond ? QVariant(QStringLiteral("%")) : QVariant()}});
    // A matured instrument's listing ended on its maturity day.
    const bool matured = def.maturity.isValid() && def.maturity < QDate(2026, 12, 7);
    insert("KTC", {{"SFKTC", def.id * 10},
                   {"SFVP", def.id},
                   {"SFTRG", def.market},
                   {"Dan", listed},
                   {"DanPrk", matured ? def.maturity : QDate()},
                   {"SfSgt", *def.segment ? QVariant(QString::fromLatin1(def.segment)) : QVariant()}});
    if (bond) {
        const QDate first = std::max(QDate(2026, 1, 1), listed);
        const QDate last = matured ? def.maturity : QDate(2026, 12, 31);
        insert("KPN", {{"sfkpn", 100 + def.id},
                       {"sfvp", def.id},
                       {"GLV", def.nominal},
                       {"prvdan", first},
                       {"zdnDan", last},
                       {"sfobm", QStringLiteral("=")}});
    }
}

QString DemoRows::isinOf(int instrument)
{
    const InstrumentDef& def = definition(instrument);
    return def.isinBody ? withCheckDigit(QString::fromLatin1(def.isinBody)) : QString();
}

InstrumentKind DemoRows::kindOf(int instrument) const { return definition(instrument).kind; }

bool DemoRows::isUsInstrument(int instrument) const { return definition(instrument).market == 21; }

double DemoRows::priceAround(int instrument, double change) const
{
    const InstrumentDef& def = definition(instrument);
    const double scale = def.kind == InstrumentKind::Bond ? 1000.0 : 100.0;
    return std::round(def.price * (1.0 + change) * scale) / scale;
}

TradeRow DemoRows::tradeOn(int instrument, const QDate& day, const QTime& time, const QString& kind,
                           const QString& activity, qint64 contract, double quantity,
                           double price) const
{
    const InstrumentDef& def = definition(instrument);
    TradeRow t;
    t.day = day;
    t.time = time;
    t.kind = kind;
    t.activity = activity;
    t.instrument = instrument;
    t.market = def.market;
    t.currency = currencyOfMarket(def.market);
    t.quantity = quantity;
    t.price = price > 0 ? price : def.price;
    t.contract = contract;
    if (def.kind == InstrumentKind::Bond) {
        t.priceUnit = QStringLiteral("%");
        t.valuation = 100 + instrument;
    }
    return t;
}

qint64 DemoRows::addTrade(TradeRow t)
{
    t.id = nextTrade_++;
    auto optional = [](const auto& value) { return value ? QVariant::fromValue(*value) : QVariant(); };
    insert("PSL", {{"IdPsl", t.id},
                   {"Dan", t.day},
                   {"Cas", QDateTime(t.day, t.time)},
                   {"SfPsl", t.kind},
                   {"SfDjv", t.activity},
                   {"SfVp", t.instrument},
                   {"SfTrg", t.market},
                   {"SfVlt", t.currency},
                   {"Lot", t.quantity},
                   {"GlvTcj", t.price},
                   {"SfGlvEnt", t.priceUnit.isEmpty() ? QVariant() : QVariant(t.priceUnit)},
                   {"IdPog", t.contract},
                   {"IdPogTrp", optional(t.counterContract)},
                   {"IdPslTrp", optional(t.counterTrade)},
                   {"SfKpn", optional(t.valuation)},
                   {"SFTYPE", t.type.isEmpty() ? QVariant() : QVariant(t.type)}});
    return t.id;
}

void DemoRows::match(TradeRow buyer, TradeRow seller)
{
    const qint64 sellerId = nextTrade_ + 1;
    buyer.counterTrade = sellerId;
    buyer.counterContract = seller.contract;
    seller.counterTrade = -sellerId;
    seller.counterContract = buyer.contract;
    addTrade(buyer);
    addTrade(seller);
}

void DemoRows::specialTrades(const QDate& day)
{
    // A client without a SWIFT code buys from the firm's own account, outside the venue.
    TradeRow buyer = tradeOn(1, day, QTime(11, 2, 15), "N", "K", 1102, 250, 118.4);
    TradeRow seller = tradeOn(1, day, QTime(11, 2, 15), "P", "L", kOwnContract, 250, 118.4);
    buyer.market = seller.market = 30;
    match(buyer, seller);
    // A fund sells a government bond to a private client, matched inside the firm.
    buyer = tradeOn(20, day, QTime(13, 47, 5), "N", "K", 1103, 20, 101.28);
    seller = tradeOn(20, day, QTime(13, 47, 5), "P", "K", 1100, 20, 101.28);
    buyer.market = seller.market = 30;
    match(buyer, seller);

    // A remote member's trade, and a trade of the same type for a client that is none.
    TradeRow remote = tradeOn(3, day, QTime(10, 31, 0), "N", "K", kRemoteContract, 400, 88.1);
    remote.type = QStringLiteral("P");
    addTrade(remote);
    TradeRow notRemote = tradeOn(4, day, QTime(14, 10, 30), "P", "K", kPlainTypePContract, 150, 27.35);
    notRemote.type = QStringLiteral("P");
    addTrade(notRemote);

    // The ISIN carried by two live instruments, and the successor of the matured bond.
    addTrade(tradeOn(30, day, QTime(12, 20, 44), "N", "K", 1101, 3000, 6.18));
    addTrade(tradeOn(41, day, QTime(15, 2, 9), "N", "K", 1105, 40, 100.15));

    // The fixed-zone market, the foreign OTC market, an option and a future, and the lower-case
    // kinds of purchase and sale.
    addTrade(tradeOn(7, day, QTime(9, 41, 3), "P", "L", kOwnContract, 500, 12.25));
    TradeRow foreignOtc = tradeOn(10, day, QTime(16, 12, 0), "N", "L", kOwnContract, 1000, 95.05);
    foreignOtc.market = 31;
    addTrade(foreignOtc);
    addTrade(tradeOn(50, day, QTime(14, 33, 21), "N", "L", kOwnContract, 10, 4.4));
    addTrade(tradeOn(51, day, QTime(15, 20, 57), "P", "K", 1105, 2, 24180));
    addTrade(tradeOn(12, day, QTime(17, 5, 30), "A", "K", 1101, 60, 311.2));
    addTrade(tradeOn(13, day, QTime(10, 58, 1), "a", "K", 1100, 800, 38.7));

    // Not reported: a fund unit (not a ZTFI instrument) and a custody transfer (activity "H"
    // is in no market list).
    addTrade(tradeOn(60, day, QTime(9, 45, 0), "N", "K", 1102, 90, 11.02));
    addTrade(tradeOn(2, day, QTime(16, 0, 0), "N", "H", 1103, 100, 34.1));
}

qint64 DemoRows::replacementOf(qint64 trade, const QDate& day, const QTime& time)
{
    QSqlQuery q(connection_.database());
    q.prepare(QStringLiteral("SELECT SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, SfGlvEnt, IdPog, "
                             "SfKpn FROM PSL WHERE IdPsl = :id"));
    q.bindValue(QStringLiteral(":id"), trade);
    if (!q.exec() || !q.next())
        throw DatabaseError(QStringLiteral("No trade %1 to correct").arg(trade));
    TradeRow t;
    t.day = day;
    t.time = time;
    t.kind = q.value(0).toString();
    t.activity = q.value(1).toString();
    t.instrument = q.value(2).toInt();
    t.market = q.value(3).toInt();
    t.currency = q.value(4).toInt();
    t.quantity = q.value(5).toDouble() + 10;  // the quantity was booked wrongly
    t.price = q.value(6).toDouble();
    t.priceUnit = q.value(7).toString();
    t.contract = q.value(8).toLongLong();
    if (!q.value(9).isNull())
        t.valuation = q.value(9).toInt();
    return addTrade(t);
}

void DemoRows::cancel(qint64 trade, std::optional<qint64> replacedBy)
{
    const QString columns = QStringLiteral(
        "IdPsl, Dan, Cas, SfPsl, SfDjv, SfVp, SfTrg, SfVlt, Lot, GlvTcj, SfGlvEnt, IdPog, IdPogTrp, "
        "IdPslTrp, SfKpn, SFTYPE");
    exec(QStringLiteral("INSERT INTO DPATVPPSLSTN (%1, OZNAKAPAKETA, IDREFATVP, IDPSLEDT) "
                        "SELECT %1, :mark, (SELECT IDREFATVP FROM DPATVPPSL WHERE IDPSL = :id), "
                        ":edt FROM PSL WHERE IdPsl = :id")
             .arg(columns),
         {{"mark", QStringLiteral("STN%1").arg(trade)},
          {"id", trade},
          {"edt", replacedBy ? QVariant(*replacedBy) : QVariant()}});
    exec(QStringLiteral("DELETE FROM PSL WHERE IdPsl = :id"), {{"id", trade}});
}

void DemoRows::addSelected(qint64 reportId, qint64 trade, const QString& cancellation)
{
    insert("DPATVPPSL", {{"DPATVPID", reportId},
                         {"IDPSL", trade},
                         {"ISSTN", cancellation},
                         {"IDREFATVP", nextReference_++}});
}

void DemoRows::addReport(int reportId, const QDate& day, int status)
{
    const QString firm = QString::fromLatin1(kFirmRegistration).left(7).leftJustified(10, QLatin1Char('0'));
    const QString file = QStringLiteral("TRDAT01_%1_%2_%3.xml")
                             .arg(firm)
                             .arg(reportId, 4, 10, QLatin1Char('0'))
                             .arg(day.toString(QStringLiteral("yy")));
    insert("DPATVP", {{"DPATVPID", reportId},
                      {"DANPOROCANJA", day},
                      {"DAN", QDateTime(nextWorkingDay(day), QTime(9, 15))},
                      {"ZAPST", reportId},
                      {"XML_FILE", file},
                      {"STATUS", status},
                      {"DANOD", day}});
}

void DemoRows::finishSequences()
{
    exec(QStringLiteral("UPDATE ztfi_sequence SET value = :value WHERE name = 'DPATVPPSL_SEQ'"),
         {{"value", nextReference_ - 1}});
}

void DemoRows::insert(const char* table, const std::vector<Column>& columns)
{
    QStringList names;
    QStringList placeholders;
    for (const Column& column : columns) {
        names << QString::fromLatin1(column.first);
        placeholders << QLatin1Char(':') + QString::fromLatin1(column.first);
    }
    exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
             .arg(QString::fromLatin1(table), names.join(QStringLiteral(", ")),
                  placeholders.join(QStringLiteral(", "))),
         columns);
}

void DemoRows::exec(const QString& sql, const std::vector<Column>& params)
{
    QSqlQuery query(connection_.database());
    if (!query.prepare(sql))
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
    for (const Column& p : params)
        query.bindValue(QLatin1Char(':') + QString::fromLatin1(p.first),
                        connection_.toEngineValue(p.second));
    if (!query.exec())
        throw DatabaseError(query.lastError().text() + QStringLiteral("\n") + sql);
}

}  // namespace demo
