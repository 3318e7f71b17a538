#include "reporting/ReportRows.h"

#include "core/Config.h"
#include "core/Error.h"
#include "data/dataset/Field.h"
#include "data/engine/OleDate.h"
#include "reporting/ReportRowsStatement.h"
#include "reporting/TimeZones.h"
#include "state/ZtfiApp.h"
#include "support/EngineStories.h"
#include "support/FixtureDb.h"
#include "support/QtPrinters.h"

#include <QSqlQuery>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <map>

using namespace fixture;

namespace {

using Row = std::map<QString, QString>;

// The report rows of a fixture database, opened as the selection opens them.
class ReportRowsTest : public EngineStoryTest {
protected:
    ReportRowsTest()
    {
        config.Posli_OXU_Prefiks = QStringLiteral("9");
        config.Posli_Import_Prefiks = QStringLiteral("7");
        db.basics();
    }

    ReportRows& open(const QDate& first, const QDate& last, qint64 reportId,
                     std::optional<qint64> regenerated = std::nullopt)
    {
        rows = std::make_unique<ReportRows>(db.connection(), config, selection);
        const PreparedStatements saved = prepareStatements(reportRowsTemplate(), QString(), config);
        rows->open(saved, SqlDialect::Oracle, first, last, reportId, regenerated);
        return *rows;
    }

    // Every column of every row as text, by the row's RefStTransa.
    std::map<QString, Row> readAll()
    {
        std::map<QString, Row> result;
        TQueryDM& q = rows->query();
        for (q.first(); !q.eof(); q.next()) {
            Row row;
            for (Field* f : q.fields())
                row[f->name()] = f->asString();
            result[row[QStringLiteral("RefStTransa")]] = row;
        }
        return result;
    }

    // Compares the named columns; the rest of the row is not looked at.
    static void expectColumns(const Row& actual, const Row& expected)
    {
        for (const auto& [name, value] : expected) {
            const auto it = actual.find(name);
            ASSERT_NE(it, actual.end()) << name.toStdString();
            EXPECT_EQ(it->second, value) << name.toStdString();
        }
    }

    // A row of DPATVPIMP; dates as dd.mm.yyyy.
    void imported(int id, const QString& day, qint64 reference, const QString& cancellation, qint64 report,
                  int instrument = 1)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS, CASPAS, INDNAKPRO, TRGZMO, ISIN, KRTVP, CENA, "
                               "ZAPCENE, VAL, KOL, NASSTR, OZNNASSTR, KLIENT, OZNKLIENTA, IDENTMESTA, OZNMESTA, "
                               "RAZTRANSA, REFSTTRANSA, INTINDINSTR, DPATVPID) VALUES (%1, TO_DATE('%2','dd.mm.yyyy'), "
                               "TO_DATE('%2 09:30:00','dd.mm.yyyy hh24:mi:ss'), '+02', 'S', 'A', 'si0000000011', "
                               "'DELA', 12.5, 'C', 'eur', 3, 'cptysi22', 'BIC', 'klntsi22', 'BIC', 'XLJU', 'MIC', %3, "
                               "%4, %5, %6)")
                    .arg(id)
                    .arg(day, cancellation.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + cancellation + QLatin1Char('\''))
                    .arg(reference)
                    .arg(instrument)
                    .arg(report));
    }

    // A row of DPATVP_SFVP.
    void override(const QString& isin, int reportedAs, int own, const QString& stamp)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_POROCANJE, SFVP_OXU, DANSPR, AII_MIC, AII_PRODUCT, "
                               "AII_CFI, AII_EXPIRY, AII_STRIKEPRICE) VALUES ('%1', %2, %3, "
                               "TO_DATE('%4','dd.mm.yyyy hh24:mi:ss'), 'XOVR', 'PRODUCT%2', 'DBXXXX', "
                               "TO_DATE('30.06.2030','dd.mm.yyyy'), 99.5)")
                    .arg(isin)
                    .arg(reportedAs)
                    .arg(own)
                    .arg(stamp));
    }

    FixtureDb db{storyEngine()};
    Config config;
    SelectionContext selection;
    std::unique_ptr<ReportRows> rows;
};

const QDate k31March(2014, 3, 31);

TEST_P(ReportRowsTest, DomesticExchangeTradeInSegmentC)
{
    config.MIC_LJSE_C = QStringLiteral("XLJC");
    db.exec(QStringLiteral("UPDATE OSB SET SWIFT='clntsi2x', KRTBNK='kli' WHERE SfOsb=10"));
    db.exec(QStringLiteral("UPDATE POG SET KRTKDD='KDD100' WHERE IdPog=100"));
    db.market({.id = 20, .mic = QStringLiteral("XETR"), .timeZone = QStringLiteral("+01"), .domestic = QStringLiteral("N")})
        .instrument({.id = 1, .isin = QStringLiteral("si0031102120"), .shortName = QStringLiteral("KRKG"),
                     .cfi = QStringLiteral("esvufr")})
        .listing({.id = 1, .instrument = 1, .market = 8, .segment = QStringLiteral("C")})
        .listing({.id = 2, .instrument = 1, .market = 20, .segment = QStringLiteral("A")})
        .valuation({.id = 5, .instrument = 1, .value = 42.5})
        .trade({.id = 1001, .day = k31March, .time = QTime(10, 15, 30), .kind = QStringLiteral("B"),
                .activity = QStringLiteral("K"), .quantity = 100, .price = 50.5, .valuation = 5})
        .selected({.report = 1, .trade = 1001, .reference = 77});

    open(k31March, k31March, 1);
    const auto all = readAll();
    ASSERT_EQ(all.size(), 1u);
    expectColumns(all.at(QStringLiteral("1001")),
                  {{"POGNZV", "Pogodba 100"}, {"POGKDD", "KDD100"}, {"SFVP_OXU", "KRKG"}, {"MTS_BPH", "1234567"},
                   {"MTS_BPHCalc", "1234567"}, {"SWIFT_BPH", "BRKRSI2X"}, {"Dan", "31.03.2014"}, {"Cas", "10:15:30"},
                   {"Offset", "+02"}, {"SFVP_KRT", "KRKG"}, {"IndNakProd", "B"}, {"TrgZmog", "A"},
                   {"ISIN", "SI0031102120"}, {"IntIndInstr", "1"}, {"CenaEnote", "50,5"}, {"ZapisCene", "C"},
                   {"Valuta", "EUR"}, {"Lot", "100"}, {"SfTRZ", "2"}, {"MIC", "XLJC"}, {"SfTrg", "8"},
                   {"SWIFT", "CLNTSI2X"}, {"KRTBNK", "KLI"}, {"OznakaNaspStranke", "BIC"}, {"IdPsl", "1001"},
                   {"SfDjv", "K"}, {"IDPSLTRP", ""}, {"NS_SFDJV", ""}, {"NS_SWIFT", ""}, {"NS_KRTBNK", ""},
                   {"NS_OznakaKlijenta", "Internal"}, {"OznakaKlijenta", "BIC"}, {"IdentMesta", "XLJC"},
                   {"OznakaIdentMesta", "MIC"}, {"RefStTransa", "1001"}, {"DPATVPID", "1"}, {"ISSTN", "N"},
                   {"IDREFATVP", "77"}, {"TRP_SWIFT", ""}, {"VRSTA", "Q"}, {"RefStTransaC", "900000001001"},
                   {"Trg_MIC", "XETR"}, {"IZVCEN", ""}, {"ZPDVP", ""}, {"CFI", "ESVUFR"}, {"KPN_GLV", "42,5"}});
    EXPECT_TRUE(selection.hasRegularRows);

    // The format check names the reference of the current row.
    EXPECT_EQ(rows->ProveraFormata(&rows->query().fieldByName(QStringLiteral("CenaEnote")), QStringLiteral("1(d)")),
              QStringLiteral("50.5"));
    try {
        rows->ProveraFormata(nullptr, QStringLiteral("1(S)2(n)"), QString(), QStringLiteral("1"));
        FAIL() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Napaka: Za Ref.St.Transakcije 900000001001  polje TRG.OFFSET podatek '1' ni formata 1(S)2(n)!"));
    }
}

TEST_P(ReportRowsTest, ForeignTradeOfAClientWithoutSwift)
{
    config.MatStev = QStringLiteral("5012345678");
    config.Posli_OXU_Prefiks.clear();
    const QDate day(2014, 10, 26);
    db.market({.id = 20, .mic = QStringLiteral("xetr"), .timeZone = QStringLiteral("+01"), .domestic = QStringLiteral("N")})
        .instrument({})
        .listing({.id = 1, .instrument = 1, .market = 8, .segment = QStringLiteral("C")})
        .trade({.id = 1002, .day = day, .kind = QStringLiteral("a"), .activity = QStringLiteral("K"), .market = 20})
        .selected({.report = 1, .trade = 1002});

    open(day, day, 1);
    const auto all = readAll();
    ASSERT_EQ(all.size(), 1u);
    expectColumns(all.at(QStringLiteral("1002")),
                  {{"MTS_BPHCalc", "5012345"}, {"Offset", "+01"}, {"IndNakProd", "S"}, {"MIC", "XETR"},
                   {"IdentMesta", "XETR"}, {"OznakaIdentMesta", "MIC"}, {"SWIFT", ""}, {"OznakaNaspStranke", "MIC"},
                   {"OznakaKlijenta", "Internal"}, {"RefStTransaC", "1002"}, {"Trg_MIC", "XLJU"}, {"KPN_GLV", "0"}});
}

TEST_P(ReportRowsTest, OtcMatchOfAClientWithTheFirmsOwnAccount)
{
    const QDate day(2014, 4, 2);
    db.market({.id = 30, .mic = QStringLiteral("xotc"), .kind = QStringLiteral("3"), .domestic = QStringLiteral("S")})
        .person({.id = 11, .swift = QStringLiteral("ownxsi22"), .bankCode = QStringLiteral("own")})
        .contract({.id = 101, .person = 11})
        .instrument({})
        .listing({})
        // The client's trade points at the own-account trade; that one points back negatively.
        .trade({.id = 2001, .day = day, .kind = QStringLiteral("P"), .activity = QStringLiteral("K"), .market = 30,
                .quantity = 5, .contract = 100, .counterContract = 101, .counterTrade = 2002})
        .trade({.id = 2002, .day = day, .kind = QStringLiteral("N"), .activity = QStringLiteral("L"), .market = 30,
                .quantity = 7, .contract = 101, .counterContract = 100, .counterTrade = -2002})
        .selected({.report = 1, .trade = 2001, .reference = 1})
        .selected({.report = 1, .trade = 2002, .reference = 2});

    open(day, day, 1);
    const auto all = readAll();
    ASSERT_EQ(all.size(), 2u);
    expectColumns(all.at(QStringLiteral("2001")),
                  {{"IndNakProd", "S"}, {"TrgZmog", "A"}, {"Lot", "7"}, {"MIC", "XOTC"}, {"IdentMesta", ""},
                   {"OznakaIdentMesta", "XOFF"}, {"OznakaNaspStranke", "MIC"}, {"IDPSLTRP", "2002"},
                   {"NS_SFDJV", "L"}, {"NS_SWIFT", "OWNXSI22"}, {"NS_KRTBNK", "OWN"}, {"NS_OznakaKlijenta", ""},
                   {"OznakaKlijenta", "Internal"}, {"TRP_SWIFT", "OWNXSI22"}});
    expectColumns(all.at(QStringLiteral("2002")),
                  {{"IndNakProd", "B"}, {"TrgZmog", "P"}, {"Lot", "5"}, {"SWIFT", "OWNXSI22"},
                   {"OznakaNaspStranke", "BIC"}, {"IDPSLTRP", "-2002"}, {"NS_SFDJV", "K"}, {"NS_SWIFT", ""},
                   {"NS_OznakaKlijenta", "Internal"}, {"OznakaKlijenta", ""}, {"TRP_SWIFT", ""}});

    // The client side of the match is the row the report writer skips.
    TQueryDM& q = rows->query();
    for (int r = 0; r < q.recordCount(); ++r) {
        q.setRecNo(r);
        const bool clientSide = q.fieldByName(QStringLiteral("IdPsl")).asInteger() == 2001;
        EXPECT_EQ(rows->rowColour(r, day),
                  clientSide ? ReportRowColour::SkippedInternalMatch : ReportRowColour::Normal);
    }
}

TEST_P(ReportRowsTest, BondQuotedInPerCent)
{
    db.instrument({.id = 3, .isin = QStringLiteral("SI0002103164"), .shortName = QStringLiteral("RS65"),
                   .cfi = QStringLiteral("dbftfr"), .strikePrice = 0.0, .maturity = QDate(2020, 5, 15)})
        .listing({.id = 3, .instrument = 3})
        .valuation({.id = 9, .instrument = 3, .value = 1000})
        .trade({.id = 1003, .day = k31March, .kind = QStringLiteral("A"), .instrument = 3, .quantity = 20000,
                .price = 101.25, .priceUnit = QStringLiteral("%"), .valuation = 9})
        .selected({.report = 1, .trade = 1003});

    open(k31March, k31March, 1);
    const auto all = readAll();
    ASSERT_EQ(all.size(), 1u);
    expectColumns(all.at(QStringLiteral("1003")),
                  {{"IndNakProd", "B"}, {"TrgZmog", "P"}, {"ZapisCene", "P"}, {"CenaEnote", "101,25"},
                   {"Lot", "20000"}, {"ISIN", "SI0002103164"}, {"CFI", "DBFTFR"}, {"ZPDVP", "15.05.2020"},
                   {"IZVCEN", "0"}, {"KPN_GLV", "1000"}, {"OznakaKlijenta", ""}});
}

TEST_P(ReportRowsTest, OverridesReplaceTheReportedInstrument)
{
    // Instrument 4 matured; the ISIN is reported as instrument 5 from the latest choice on.
    db.instrument({.id = 4, .isin = QStringLiteral("SI0000000044"), .shortName = QStringLiteral("OLD")})
        .instrument({.id = 5, .isin = QStringLiteral("SI0000000044"), .shortName = QStringLiteral("NEW")})
        .listing({.id = 4, .instrument = 4})
        .listing({.id = 5, .instrument = 5})
        .trade({.id = 1004, .day = k31March, .instrument = 4})
        .cancellation({.trade = {.id = 1005, .day = QDate(2014, 3, 20), .instrument = 4}})
        .report({.id = 1, .reportDay = QDate(2014, 3, 20), .sentAt = QDateTime(QDate(2014, 3, 21), QTime(9, 0))})
        .selected({.report = 1, .trade = 1005, .reference = 40})
        .selected({.report = 2, .trade = 1004, .reference = 41})
        .selected({.report = 2, .trade = 1005, .cancellation = QStringLiteral("D"), .reference = 40});
    override(QStringLiteral("SI0000000044"), 4, 4, QStringLiteral("01.01.2014 10:00:00"));
    override(QStringLiteral("SI0000000044"), 5, 4, QStringLiteral("01.03.2014 10:00:00"));
    override(QStringLiteral("SI0000000044"), 5, 5, QStringLiteral("01.03.2014 10:00:01"));

    open(k31March, k31March, 2);
    const auto all = readAll();
    ASSERT_EQ(all.size(), 2u);
    // The replacement row and the current identity row name the same instrument: one row.
    expectColumns(all.at(QStringLiteral("1004")),
                  {{"IntIndInstr", "5"}, {"SFVP_KRT", "PRODUCT5"}, {"SFVP_OXU", "PRODUCT5"}, {"Trg_MIC", "XOVR"},
                   {"CFI", "DBXXXX"}, {"ZPDVP", "30.06.2030"}, {"IZVCEN", "99,5"}, {"ISSTN", "N"}});
    // The cancellation takes the current row only, and carries the reference of its first report.
    expectColumns(all.at(QStringLiteral("1005")),
                  {{"IntIndInstr", "5"}, {"SFVP_KRT", "PRODUCT5"}, {"ISSTN", "D"}, {"IDREFATVP", "40"},
                   {"Dan", "20.03.2014"}});
}

TEST_P(ReportRowsTest, CancellationsAndImportedRowsInTheirOrder)
{
    const QDate day(2014, 4, 2);
    db.instrument({})
        .listing({})
        .trade({.id = 3000, .day = day})
        .trade({.id = 3002, .day = day.addDays(1)})  // after the period
        .cancellation({.trade = {.id = 3001, .day = QDate(2014, 3, 28)}})
        .cancellation({.trade = {.id = 3003, .day = day}})
        .report({.id = 1, .reportDay = QDate(2014, 3, 28), .sentAt = QDateTime(QDate(2014, 3, 28), QTime(16, 0))})
        .selected({.report = 1, .trade = 3001, .reference = 55})
        .selected({.report = 2, .trade = 3000, .reference = 60})
        .selected({.report = 2, .trade = 3002, .reference = 61})
        .selected({.report = 2, .trade = 3001, .cancellation = QStringLiteral("D"), .reference = 55})
        .selected({.report = 2, .trade = 3003, .cancellation = QStringLiteral("D"), .reference = 56});
    imported(1, QStringLiteral("02.04.2014"), 123456789012LL, QString(), 2);
    imported(2, QStringLiteral("02.04.2014"), 42, QStringLiteral("C"), 2);
    imported(3, QStringLiteral("02.04.2014"), 43, QString(), 1);  // taken by another report

    open(day, day, 2);
    TQueryDM& q = rows->query();
    QStringList order;
    std::map<QString, ReportRowColour> colours;
    for (q.first(); !q.eof(); q.next()) {
        const QString ref = q.fieldByName(QStringLiteral("RefStTransaC")).asString();
        order << q.fieldByName(QStringLiteral("VRSTA")).asString() + q.fieldByName(QStringLiteral("ISSTN")).asString()
                     + QLatin1Char(':') + ref;
        colours[ref] = rows->rowColour(q.recNo(), day);
    }
    // Host rows before imported rows, regular rows before cancellations.
    ASSERT_EQ(order.size(), 5);
    EXPECT_EQ(order[0], QStringLiteral("QN:900000003000"));
    EXPECT_EQ(QStringList({order[1], order[2]}).contains(QStringLiteral("QD:900000003001")), true);
    EXPECT_EQ(QStringList({order[1], order[2]}).contains(QStringLiteral("QD:900000003003")), true);
    EXPECT_EQ(order.mid(3), QStringList({QStringLiteral("IN:123456789012"), QStringLiteral("ID:700000000042")}));
    EXPECT_EQ(colours[QStringLiteral("900000003000")], ReportRowColour::Normal);
    EXPECT_EQ(colours[QStringLiteral("900000003001")], ReportRowColour::CancelledEarlier);
    EXPECT_EQ(colours[QStringLiteral("900000003003")], ReportRowColour::CancelledOnFirstDay);
    EXPECT_EQ(colours[QStringLiteral("700000000042")], ReportRowColour::CancelledOnFirstDay);

    const auto all = readAll();
    expectColumns(all.at(QStringLiteral("123456789012")),
                  {{"POGNZV", ""}, {"SFVP_OXU", ""}, {"MTS_BPHCalc", "1234567"}, {"SWIFT_BPH", "BRKRSI2X"},
                   {"Dan", "02.04.2014"}, {"Cas", "09:30:00"}, {"Offset", "+02"}, {"SFVP_KRT", "DELA"},
                   {"IndNakProd", "S"}, {"TrgZmog", "A"}, {"ISIN", "SI0000000011"}, {"IntIndInstr", "1"},
                   {"CenaEnote", "12,5"}, {"ZapisCene", "C"}, {"Valuta", "EUR"}, {"Lot", "3"}, {"SfTRZ", ""},
                   {"MIC", "KLNTSI22"}, {"SfTrg", "0"}, {"SWIFT", "KLNTSI22"}, {"KRTBNK", "KLNTSI22"},
                   {"OznakaNaspStranke", "BIC"}, {"IdPsl", "123456789012"}, {"SfDjv", ""}, {"IDPSLTRP", ""},
                   {"NS_SWIFT", "CPTYSI22"}, {"NS_KRTBNK", "CPTYSI22"}, {"NS_OznakaKlijenta", "BIC"},
                   {"OznakaKlijenta", "BIC"}, {"IdentMesta", "XLJU"}, {"OznakaIdentMesta", "MIC"},
                   {"DPATVPID", "2"}, {"ISSTN", "N"}, {"IDREFATVP", ""}, {"VRSTA", "I"}, {"Trg_MIC", "XLJU"},
                   {"CFI", "ESVUFR"}});
}

TEST_P(ReportRowsTest, FlagOfRegularRows)
{
    db.instrument({})
        .listing({})
        .cancellation({.trade = {.id = 3001, .day = QDate(2014, 3, 28)}})
        .trade({.id = 3001, .day = QDate(2014, 3, 28)})
        .report({.id = 1, .reportDay = QDate(2014, 3, 28), .sentAt = QDateTime(QDate(2014, 3, 28), QTime(16, 0))})
        .selected({.report = 1, .trade = 3001, .reference = 55})
        .selected({.report = 2, .trade = 3001, .cancellation = QStringLiteral("D"), .reference = 55});

    selection.hasRegularRows = true;  // left from an earlier selection
    open(QDate(2014, 4, 2), QDate(2014, 4, 2), 2);
    EXPECT_EQ(rows->query().recordCount(), 1);
    EXPECT_FALSE(selection.hasRegularRows);

    imported(1, QStringLiteral("02.04.2014"), 5, QString(), 2);
    open(QDate(2014, 4, 2), QDate(2014, 4, 2), 2);
    EXPECT_EQ(rows->query().recordCount(), 2);
    EXPECT_TRUE(selection.hasRegularRows);
}

TEST_P(ReportRowsTest, RegenerationOpensTheRowsOfTheReport)
{
    const QDate day(2014, 4, 2);
    db.instrument({})
        .listing({})
        .trade({.id = 4001, .day = day})
        .report({.id = 3, .reportDay = day, .sentAt = QDateTime(day, QTime(16, 0)), .status = 2})
        .selected({.report = 3, .trade = 4001, .reference = 70});

    open(day, day, 3);
    EXPECT_EQ(rows->query().recordCount(), 0);
    open(day, day, 3, 3);
    ASSERT_EQ(rows->query().recordCount(), 1);
    EXPECT_EQ(rows->query().fieldByName(QStringLiteral("IDREFATVP")).asString(), QStringLiteral("70"));
}

TEST_P(ReportRowsTest, ReferenceThatIsNoNumberStopsTheReading)
{
    db.instrument({});
    imported(1, QStringLiteral("02.04.2014"), -5, QString(), 2);
    try {
        open(QDate(2014, 4, 2), QDate(2014, 4, 2), 2);
        FAIL() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Napaka: Za Ref.St.Transakcije   polje 'Referenčna št. transakcije\r\n"
                                              "' podatek '7000000000-5' ni formata 12(n)!"));
    }
}

// Summer time of the trading day, with and without a fixed-zone market.
TEST_P(ReportRowsTest, SummerTimeBoundariesOf2014)
{
    db.market({.id = 40, .mic = QStringLiteral("XNYS"), .timeZone = QStringLiteral("-05"), .domestic = QStringLiteral("N")})
        .instrument({})
        .listing({});
    const QDate days[] = {QDate(2014, 3, 30), QDate(2014, 3, 31), QDate(2014, 10, 25), QDate(2014, 10, 26)};
    qint64 id = 5000;
    for (const QDate& day : days) {
        for (int market : {8, 40}) {
            db.trade({.id = ++id, .day = day, .time = QTime(12, 0), .market = market})
                .selected({.report = 1, .trade = id, .reference = id});
        }
    }
    const auto offsets = [&](const QString& fixedZoneMarkets) {
        config.FiksniTimeZoneZaTrg = fixedZoneMarkets;
        open(days[0], days[3], 1);
        QStringList result;
        const auto all = readAll();
        for (const auto& [ref, row] : all)
            result << row.at(QStringLiteral("Offset"));
        return result;
    };
    // Trades by day, market 8 then market 40.
    EXPECT_EQ(offsets(QString()), QStringList({"+01", "-05", "+02", "-04", "+02", "-04", "+01", "-05"}));
    EXPECT_EQ(offsets(QStringLiteral("8")), QStringList({"+01", "-05", "+01", "-04", "+01", "-04", "+01", "-05"}));
    EXPECT_EQ(offsets(QStringLiteral("8,40")), QStringList({"+01", "-05", "+01", "-05", "+01", "-05", "+01", "-05"}));
}

// The statement's rule against the system's time-zone database, for every day of March and
// October (the months of the switches) of 1996..2099.
TEST_P(ReportRowsTest, SqlRuleMatchesTheTimeZoneDatabaseInTheSwitchMonths)
{
    const QTimeZone zone(QByteArrayLiteral("Europe/Ljubljana"));
    ASSERT_TRUE(zone.isValid());
    const QDate first(1996, 1, 1);
    const QDate last(2099, 12, 31);

    QString offset;
    for (const ReportRowColumn& c : reportRowColumns()) {
        if (c.name == QLatin1String("Offset"))
            offset = c.hostExpression;
    }
    const QString sql = prepareStatements(
                            QStringLiteral("WITH RECURSIVE days(Dan) AS (SELECT %1+0 UNION ALL SELECT Dan+1 FROM days "
                                           "WHERE Dan<%2) SELECT P.Dan, %3 as Offset FROM days P, TRG T WHERE T.SfTrg=8 "
                                           "AND TO_CHAR(P.Dan, 'MM') IN ('03', '10')")
                                .arg(fixture::dateSql(first), fixture::dateSql(last))
                                .arg(offset),
                            QString(), config)
                            .reportRows;
    QSqlQuery query(db.connection().database());
    ASSERT_TRUE(query.exec(db.connection().prepareSql(sql)));
    int count = 0;
    while (query.next()) {
        const QVariant dan = query.value(0);
        const QDate day = dan.typeId() == QMetaType::Double ? OleDate::toDate(dan.toDouble()) : dan.toDate();
        // The day is in summer time from its start to its end in the time-zone database.
        const bool summer = zone.isDaylightTime(QDateTime(day, QTime(0, 0), zone))
            && zone.isDaylightTime(QDateTime(day, QTime(23, 59), zone));
        ASSERT_EQ(query.value(1).toString(), summer ? QStringLiteral("+02") : QStringLiteral("+01"))
            << day.toString(Qt::ISODate).toStdString();
        ++count;
    }
    EXPECT_EQ(count, (2099 - 1996 + 1) * (31 + 31));
}

INSTANTIATE_ENGINE_STORIES(ReportRowsTest);

}  // namespace
