#include "ntrs/ReportWriterFixture.h"

using namespace fixture;
using namespace ntrsreport;

namespace {

// Counterparty and client of one report row, by the kind of the row. Market 30 is an OTC
// market (SfTrz 3), market 40 of another kind; person 20 (contract 200) is the client on the
// other side of an internal match, person 30 (contract 300) an outside party.
struct PartyCase {
    const char* name;
    void (*setup)(ReportWriterTest& t);
    bool listed;          // whether the row is reported at all
    std::string parties;  // the lines between Quantity and TradingVenue
};

void PrintTo(const PartyCase& c, std::ostream* os)
{
    *os << c.name;
}

class PartiesTest : public ReportWriterTest, public testing::WithParamInterface<PartyCase> {
protected:
    PartiesTest()
    {
        db.market({.id = 30, .mic = QStringLiteral("XOTC"), .kind = QStringLiteral("3")})
            .market({.id = 40, .mic = QStringLiteral("XOTH"), .kind = QStringLiteral("1")})
            .person({.id = 20, .name = QStringLiteral("Stranka B")})
            .contract({.id = 200, .person = 20})
            .person({.id = 30, .swift = QStringLiteral("trpysi22"), .name = QStringLiteral("Banka C")})
            .contract({.id = 300, .person = 30});
    }
};

TEST_P(PartiesTest, CounterpartyAndClient)
{
    const PartyCase& c = GetParam();
    c.setup(*this);

    const ReportOutcome outcome = generate();

    ASSERT_TRUE(outcome.valid) << outcome.errorLine.toStdString();
    const std::string text = fileText(outcome.fileName);
    ASSERT_EQ(occurrences(text, "<TransactionRecordInfo>"), c.listed ? 1 : 0);
    if (!c.listed)
        return;
    const std::size_t from = text.find("</Quantity>\n") + std::string("</Quantity>\n").size();
    const std::size_t to = text.find("      <TradingVenue>");
    EXPECT_EQ(text.substr(from, to - from), c.parties);
}

std::string parties(const std::string& counterparty, const std::string& counterpartyType,
                    const std::string& client = std::string(), const std::string& clientType = std::string())
{
    std::string lines;
    if (!counterpartyType.empty())
        lines += "      <Counterparty>" + counterparty + "</Counterparty>\n"
                 "      <CounterpartyType>" + counterpartyType + "</CounterpartyType>\n";
    if (!clientType.empty())
        lines += "      <Client>" + client + "</Client>\n"
                 "      <ClientType>" + clientType + "</ClientType>\n";
    return lines;
}

void clientSwift(ReportWriterTest& t)
{
    t.db.exec(QStringLiteral("UPDATE OSB SET SWIFT='clntsi2x' WHERE SfOsb=10"));
}

void clientBank(ReportWriterTest& t)
{
    t.db.exec(QStringLiteral("UPDATE OSB SET KRTBNK='kli' WHERE SfOsb=10"));
}

// Trade 1 of the selection against trade 2 of the other side, both on the OTC market.
void internalMatch(ReportWriterTest& t, const char* ownActivity, const char* otherActivity)
{
    t.db.trade({.id = 2, .activity = QLatin1String(otherActivity), .market = 30, .contract = 200, .counterTrade = 1})
        .trade({.id = 1, .activity = QLatin1String(ownActivity), .market = 30, .counterTrade = 2})
        .selected({.report = kReport, .trade = 1, .reference = 1});
}

INSTANTIATE_TEST_SUITE_P(
    ReportWriter, PartiesTest,
    testing::Values(
        PartyCase{"ImportedWithClient",
                  [](ReportWriterTest& t) {
                      t.importedTransaction(1, 11, QStringLiteral("123"), QStringLiteral("Internal"),
                                            QStringLiteral("cptysi22"), QStringLiteral("BIC"));
                  },
                  true, parties("CPTYSI22", "BIC", "0000000123", "Internal")},
        PartyCase{"ImportedWithoutClient",
                  [](ReportWriterTest& t) {
                      t.importedTransaction(1, 11, QString(), QString(), QStringLiteral("xlju"),
                                            QStringLiteral("MIC"));
                  },
                  true, parties("XLJU", "MIC")},
        PartyCase{"ExchangeForClientWithBic",
                  [](ReportWriterTest& t) {
                      clientSwift(t);
                      t.db.trade({.id = 1, .activity = QStringLiteral("K")}).selected({.report = kReport});
                  },
                  true, parties("XLJU", "MIC", "CLNTSI2XXXX", "BIC")},
        PartyCase{"ExchangeForClientWithoutBic",
                  [](ReportWriterTest& t) {
                      clientBank(t);
                      t.db.trade({.id = 1, .activity = QStringLiteral("K")}).selected({.report = kReport});
                  },
                  true, parties("XLJU", "MIC", "0000000KLI", "Internal")},
        PartyCase{"ExchangeOnOwnAccount", [](ReportWriterTest& t) { t.exchangeTrade(); }, true,
                  parties("XLJU", "MIC")},
        PartyCase{"MatchOwnAccountAgainstClient",
                  [](ReportWriterTest& t) {
                      t.db.exec(QStringLiteral("UPDATE OSB SET SWIFT='cptysi2x' WHERE SfOsb=20"));
                      internalMatch(t, "L", "K");
                  },
                  true, parties("CPTYSI2XXXX", "BIC")},
        PartyCase{"MatchBetweenClients",
                  [](ReportWriterTest& t) {
                      clientBank(t);
                      internalMatch(t, "K", "K");
                  },
                  true, parties("CC", "CC", "0000000KLI", "Internal")},
        PartyCase{"MatchBothOnOwnAccount", [](ReportWriterTest& t) { internalMatch(t, "L", "L"); }, true,
                  parties("", "")},
        // The client's side of a match against the firm's own account is reported by that side.
        PartyCase{"ClientAgainstOwnAccountIsLeftOut", [](ReportWriterTest& t) { internalMatch(t, "K", "L"); },
                  false, ""},
        PartyCase{"OutsidePartyWithBic",
                  [](ReportWriterTest& t) {
                      clientSwift(t);
                      t.db.trade({.id = 1, .activity = QStringLiteral("K"), .market = 30, .counterContract = 300})
                          .selected({.report = kReport});
                  },
                  true, parties("TRPYSI22XXX", "BIC", "CLNTSI2XXXX", "BIC")},
        PartyCase{"OutsidePartyWithoutBicOnOwnAccount",
                  [](ReportWriterTest& t) {
                      t.db.trade({.id = 1, .market = 30}).selected({.report = kReport});
                  },
                  true, parties("CC", "CC")},
        PartyCase{"OtherMarketKind",
                  [](ReportWriterTest& t) {
                      clientSwift(t);
                      t.db.trade({.id = 1, .activity = QStringLiteral("K"), .market = 40}).selected({.report = kReport});
                  },
                  true, parties("", "")}),
    [](const testing::TestParamInfo<PartyCase>& info) { return std::string(info.param.name); });

}  // namespace
