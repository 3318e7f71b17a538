#include "instruments/CodeList.h"

#include "core/Config.h"
#include "data/dataset/Field.h"
#include "instruments/OverrideFixture.h"
#include "support/EngineStories.h"

#include <gtest/gtest.h>

#include <map>

using namespace overrides;

namespace {

class CodeListTest : public EngineStoryTest {
protected:
    void SetUp() override
    {
        EngineStoryTest::SetUp();
        db.basics();
    }

    // Opens the list as the selection does and returns its rows by IntIdent.
    std::map<qint64, QVariantMap> open(std::optional<qint64> regeneratedReport = std::nullopt)
    {
        const PreparedStatements saved =
            prepareStatements(QString(), CodeList::statementTemplate(), Config());
        CodeList list(db.connection());
        list.open(saved, kDay, kDay, kPending, regeneratedReport);
        std::map<qint64, QVariantMap> rows;
        TQueryDM& q = list.query();
        for (q.first(); !q.eof(); q.next()) {
            QVariantMap row;
            for (Field* field : q.fields())
                row.insert(field->name(), field->isNull() ? QVariant() : field->value());
            const qint64 key = q.fieldByName(QStringLiteral("IntIdent")).asInteger();
            EXPECT_EQ(rows.count(key), 0u) << "IntIdent " << key << " listed twice";
            rows[key] = row;
        }
        return rows;
    }

    FixtureDb db{storyEngine()};
};

TEST_P(CodeListTest, HostValuesWithoutOverride)
{
    fixture::Instrument row = instrument(1, QStringLiteral("si0031102120"));
    row.name = QStringLiteral("Krka, tovarna zdravil, d.d., Novo mesto - redne delnice");
    row.cfi = QStringLiteral("esvufr");
    row.maturity = QDate(2030, 5, 31);
    row.strikePrice = 3.5;
    row.pieces = QStringLiteral("D");
    addTraded(db, row);
    db.market({.id = 9, .mic = QStringLiteral("XETR")});
    db.listing({.id = 20, .instrument = 1, .market = 9});  // the latest listing names the venue

    const auto rows = open();

    ASSERT_EQ(rows.size(), 1u);
    const QVariantMap& r = rows.at(1);
    EXPECT_EQ(r.value("Swift_BPH"), QVariant(QStringLiteral("BRKRSI2X")));
    EXPECT_EQ(r.value("ISIN"), QVariant(QStringLiteral("SI0031102120")));
    EXPECT_EQ(r.value("SFVP").toInt(), 1);
    EXPECT_EQ(r.value("ImeInstrumenta"), QVariant(row.name.left(40)));
    EXPECT_EQ(r.value("ImeIzdajatelja"), QVariant(QStringLiteral("Borzni posrednik d.d.")));
    EXPECT_EQ(r.value("ISOKODA"), QVariant(QStringLiteral("SI")));
    EXPECT_EQ(r.value("TipInstr"), QVariant(QStringLiteral("ESVUFR")));
    EXPECT_EQ(r.value("OznakaTipaInstr"), QVariant(QStringLiteral("CFI")));
    EXPECT_EQ(r.value("DanSPR").toDateTime(), row.changed);
    EXPECT_EQ(r.value("NomVredEnote").toDouble(), 1.5);
    EXPECT_EQ(r.value("GLVNMN").toDouble(), 1.5);
    EXPECT_EQ(r.value("Valuta"), QVariant(QStringLiteral("EUR")));
    EXPECT_EQ(r.value("VLT"), QVariant(QStringLiteral("EUR")));
    EXPECT_EQ(r.value("LotEms").toDouble(), 1000);
    EXPECT_EQ(r.value("DatumIzdaje").toString(), QString());
    EXPECT_EQ(r.value("DatumPrenehanja").toDateTime(), QDateTime(QDate(2030, 5, 31), QTime(0, 0)));
    EXPECT_EQ(r.value("KOS"), QVariant(QStringLiteral("D")));
    EXPECT_FALSE(r.value("Referenca").isValid());
    EXPECT_EQ(r.value("Trg_MIC"), QVariant(QStringLiteral("XETR")));
    EXPECT_EQ(r.value("KRT"), QVariant(QStringLiteral("KRT1")));
    EXPECT_EQ(r.value("IzvCen").toDouble(), 3.5);
}

TEST_P(CodeListTest, IsinNAndKindOfInstrumentCode)
{
    struct Case {
        int id;
        QString isin;
        QString cfi;
        const char* kind;
        const char* listedIsin;
    };
    const Case cases[] = {
        {1, QStringLiteral("SI0000000001"), QStringLiteral("ESVUFR"), "CFI", "SI0000000001"},
        {2, QStringLiteral("SI0000000002"), QStringLiteral("ESVUF"), "Custom", "SI0000000002"},
        {3, QStringLiteral("SI0000000003"), QStringLiteral(" ESVU "), "Custom", "SI0000000003"},
        {4, QStringLiteral("SI0000000004"), QString(), "Custom", "SI0000000004"},
        {5, QStringLiteral("SI0000000005"), QStringLiteral(""), "Custom", "SI0000000005"},
        {6, QString(), QStringLiteral("ESVUFR"), "CFI", "N"},
    };
    for (const Case& c : cases) {
        fixture::Instrument row = instrument(c.id, c.isin);
        row.cfi = c.cfi;
        addTraded(db, row);
    }

    const auto rows = open();

    ASSERT_EQ(rows.size(), std::size(cases));
    for (const Case& c : cases) {
        EXPECT_EQ(rows.at(c.id).value("OznakaTipaInstr").toString(), QString::fromLatin1(c.kind)) << c.id;
        EXPECT_EQ(rows.at(c.id).value("ISIN").toString(), QString::fromLatin1(c.listedIsin)) << c.id;
    }
}

TEST_P(CodeListTest, IdentityOverrideInForceShowsTheFrozenData)
{
    fixture::Instrument row = instrument(1, QStringLiteral("SI0000000001"));
    row.cfi = QStringLiteral("ESVUF");
    addTraded(db, row);
    db.currency({.id = 2, .iso = QStringLiteral("USD")});
    const QDateTime frozenChange(QDate(2024, 2, 1), QTime(8, 0));
    addOverride(db, {{"ISIN", QStringLiteral("SI0000000001")},
                     {"SFVP_OXU", 1},
                     {"SFVP_POROCANJE", 1},
                     {"DANSPR", QDateTime(QDate(2026, 1, 1), QTime(10, 0))},
                     {"DANSPR_SFVP", frozenChange},
                     {"INSTRUMENTNAME", QStringLiteral("Zamrznjeno ime")},
                     {"IZD", QStringLiteral("Zamrznjen izdajatelj")},
                     {"DRZ_IZD", QStringLiteral("AT")},
                     {"AII_CFI", QStringLiteral("DBFTFB")},
                     {"GLVNMN", 100.0},
                     {"VLT", QStringLiteral("USD")},
                     {"LOTEMS", 77.0},
                     {"AII_EXPIRY", QDateTime(QDate(2029, 1, 31), QTime(0, 0))},
                     {"AII_MIC", QStringLiteral("XWBO")},
                     {"AII_PRODUCT", QStringLiteral("ZAMRZ")},
                     {"AII_STRIKEPRICE", 4.25}});

    const auto rows = open();

    ASSERT_EQ(rows.size(), 1u);
    const QVariantMap& r = rows.at(1);
    EXPECT_EQ(r.value("ImeInstrumenta"), QVariant(QStringLiteral("Zamrznjeno ime")));
    EXPECT_EQ(r.value("ImeIzdajatelja"), QVariant(QStringLiteral("Zamrznjen izdajatelj")));
    EXPECT_EQ(r.value("ISOKODA"), QVariant(QStringLiteral("AT")));
    EXPECT_EQ(r.value("TipInstr"), QVariant(QStringLiteral("DBFTFB")));
    EXPECT_EQ(r.value("DanSPR").toDateTime(), frozenChange);
    EXPECT_EQ(r.value("NomVredEnote").toDouble(), 100.0);
    EXPECT_EQ(r.value("GLVNMN").toDouble(), 100.0);
    EXPECT_EQ(r.value("Valuta"), QVariant(QStringLiteral("USD")));
    EXPECT_EQ(r.value("LotEms").toDouble(), 77.0);
    EXPECT_EQ(r.value("DatumPrenehanja").toDateTime(), QDateTime(QDate(2029, 1, 31), QTime(0, 0)));
    EXPECT_EQ(r.value("Trg_MIC"), QVariant(QStringLiteral("XWBO")));
    EXPECT_EQ(r.value("KRT"), QVariant(QStringLiteral("ZAMRZ")));
    EXPECT_EQ(r.value("IzvCen").toDouble(), 4.25);
    // Still the host's: the currency of the nominal and the kind of the instrument code.
    EXPECT_EQ(r.value("VLT"), QVariant(QStringLiteral("EUR")));
    EXPECT_EQ(r.value("OznakaTipaInstr"), QVariant(QStringLiteral("Custom")));
}

TEST_P(CodeListTest, ReferencaOnlyWhileTheReplacementIsToBeAnnounced)
{
    struct Case {
        int id;
        QVariant xml;
        QVariant referenca;
    };
    const Case cases[] = {
        {1, QStringLiteral("D"), 91},
        {2, QVariant(), QVariant()},
    };
    for (const Case& c : cases) {
        const QString isin = QStringLiteral("SI000000000%1").arg(c.id);
        addTraded(db, instrument(c.id, isin));
        addOverride(db, {{"ISIN", isin},
                         {"SFVP_OXU", c.id},
                         {"SFVP_POROCANJE", c.id},
                         {"SFVP_OLD", 90 + c.id},
                         {"XML", c.xml},
                         {"DANSPR", QDateTime(QDate(2026, 1, 1), QTime(10, 0))}});
    }

    const auto rows = open();

    ASSERT_EQ(rows.size(), std::size(cases));
    for (const Case& c : cases) {
        const QVariant referenca = rows.at(c.id).value("Referenca");
        EXPECT_EQ(referenca.isValid(), c.referenca.isValid()) << c.id;
        EXPECT_EQ(referenca.toLongLong(), c.referenca.toLongLong()) << c.id;
    }
}

TEST_P(CodeListTest, CurrentReplacementRowReportsItsInstrumentWithThatInstrumentsChangeDay)
{
    const QString isin = QStringLiteral("SI0000000100");
    db.instrument(instrument(100, isin));
    db.listing({.id = 100, .instrument = 100});
    addTraded(db, instrument(200, isin));
    const QDateTime changeOf100(QDate(2024, 5, 5), QTime(5, 5, 5));
    addOverride(db, {{"ISIN", isin}, {"SFVP_OXU", 100}, {"SFVP_POROCANJE", 100},
                     {"DANSPR", QDateTime(QDate(2026, 1, 1), QTime(10, 0))},
                     {"DANSPR_SFVP", changeOf100}, {"INSTRUMENTNAME", QStringLiteral("Sto")}});
    addOverride(db, {{"ISIN", isin}, {"SFVP_OXU", 200}, {"SFVP_POROCANJE", 100},
                     {"DANSPR", QDateTime(QDate(2026, 1, 1), QTime(10, 0, 1))},
                     {"DANSPR_SFVP", QDateTime(QDate(2025, 9, 9), QTime(9, 9, 9))},
                     {"INSTRUMENTNAME", QStringLiteral("Dvesto pod sto")}});

    const auto rows = open();

    ASSERT_EQ(rows.size(), 1u);
    const QVariantMap& r = rows.at(100);
    EXPECT_EQ(r.value("SFVP").toInt(), 100);
    EXPECT_EQ(r.value("ImeInstrumenta"), QVariant(QStringLiteral("Dvesto pod sto")));
    EXPECT_EQ(r.value("DanSPR").toDateTime(), changeOf100);
}

TEST_P(CodeListTest, RowSourceTakesRegularRowsAndImportsButNeitherStornoNorCancelledImports)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    // A storno row of the selection.
    db.instrument(instrument(2, QStringLiteral("SI0000000002")));
    db.listing({.id = 2, .instrument = 2});
    db.trade({.id = 2, .instrument = 2});
    db.selected({.report = kPending, .trade = 2, .cancellation = QStringLiteral("D"), .reference = 2});
    // Imported transactions of the day: one taken, one cancellation.
    for (int id : {3, 4}) {
        db.instrument(instrument(id, QStringLiteral("SI000000000%1").arg(id)));
        db.listing({.id = id, .instrument = id});
    }
    db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, INTINDINSTR, DPATVPID, RAZTRANSA) "
                           "VALUES (1, %1, 3, %2, 'N'), (2, %1, 4, %2, 'C')")
                .arg(fixture::dateSql(kDay))
                .arg(kPending));
    // A reportable instrument without any listing has no code-list row.
    db.instrument(instrument(5, QStringLiteral("SI0000000005")));
    db.trade({.id = 5, .instrument = 5});
    db.selected({.report = kPending, .trade = 5, .reference = 5});

    const auto rows = open();

    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.count(1), 1u);
    EXPECT_EQ(rows.count(3), 1u);
}

TEST_P(CodeListTest, RegeneratedReportListsTheInstrumentsOfItsRows)
{
    addTraded(db, instrument(1, QStringLiteral("SI0000000001")));
    db.report({.id = kPending});
    // A later pending selection with another instrument.
    db.instrument(instrument(2, QStringLiteral("SI0000000002")));
    db.listing({.id = 2, .instrument = 2});
    db.trade({.id = 2, .instrument = 2});
    db.selected({.report = kPending + 1, .trade = 2, .reference = 2});

    EXPECT_EQ(open().count(2), 1u);
    const auto regenerated = open(kPending);
    ASSERT_EQ(regenerated.size(), 1u);
    EXPECT_EQ(regenerated.count(1), 1u);
}

INSTANTIATE_ENGINE_STORIES(CodeListTest);

}  // namespace
