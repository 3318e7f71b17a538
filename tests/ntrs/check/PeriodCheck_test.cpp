#include "ntrs/check/PeriodCheck.h"

#include "core/CancellableAction.h"
#include "ntrs/check/IsoCodes.h"
#include "reporting/Selection.h"
#include "state/ZtfiApp.h"
#include "support/EngineStories.h"
#include "support/FixtureApp.h"
#include "support/FixtureDb.h"
#include "support/ScriptedInteraction.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fixture;

namespace {

const QDate kDay(2026, 3, 2);

// Level, reference, field, value and rule of a finding, one text for comparisons.
QString line(const CheckFinding& f)
{
    return QStringList{f.levelText(), f.reference, f.field, f.value, f.rule}.join(QLatin1Char('|'));
}

QStringList lines(const PeriodCheckResult& result)
{
    QStringList all;
    for (const CheckFinding& f : result.findings)
        all << line(f);
    return all;
}

// The same in an order of their own (the report rows leave the order of trades open).
QStringList sortedLines(const PeriodCheckResult& result)
{
    QStringList all = lines(result);
    all.sort();
    return all;
}

// A day of two exchange trades on own account and one manual transaction, with ISINs whose
// check digits are right unless a test says otherwise.
class PeriodCheckTest : public EngineStoryTest {
protected:
    PeriodCheckTest() : db(storyEngine()), fixture(db)
    {
        db.basics().currency({.id = 2, .iso = QStringLiteral("USD")});
        db.instrument({.id = 1, .isin = QStringLiteral("SI0000000016")}).listing({.id = 1, .instrument = 1});
        db.instrument({.id = 2, .isin = QStringLiteral("SI0000000024"), .shortName = QStringLiteral("DELB")})
            .listing({.id = 2, .instrument = 2});
        db.trade({.id = 1, .day = kDay, .currency = 2});
        db.trade({.id = 2, .day = kDay, .instrument = 2});
        importedTransaction(7, QStringLiteral("S"));
    }

    void importedTransaction(int id, const QString& buySell)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP, DATUM, CAS, CASPAS, INDNAKPRO, TRGZMO, ISIN, KRTVP, "
                               "CENA, ZAPCENE, VAL, KOL, NASSTR, OZNNASSTR, KLIENT, OZNKLIENTA, IDENTMESTA, "
                               "OZNMESTA, RAZTRANSA, REFSTTRANSA, INTINDINSTR, DPATVPID) VALUES (%1, "
                               "TO_DATE('02.03.2026','dd.mm.yyyy'), TO_DATE('02.03.2026 09:30:00',"
                               "'dd.mm.yyyy hh24:mi:ss'), '+01', '%2', 'A', 'SI0000000016', 'DELA', 12.5, 'C', "
                               "'eur', 3, 'XLJU', 'MIC', '123', 'Internal', 'XLJU', 'MIC', NULL, 900, 1, NULL)")
                    .arg(id)
                    .arg(buySell));
    }

    ZtfiApp& start()
    {
        fixture.writeIni();
        return fixture.started();
    }

    // Every row of every table, by table, in an order of their own.
    QStringList snapshot()
    {
        const QStringList tables = db.texts(
            onServer() ? QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = "
                                        "'public' AND table_type = 'BASE TABLE' ORDER BY 1")
                       : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY 1"));
        QStringList rows;
        for (const QString& table : tables) {
            QStringList content = db.texts(QStringLiteral("SELECT * FROM ") + table);
            content.sort();
            rows << QStringLiteral("== ") + table << content;
        }
        return rows;
    }

    FixtureDb db;
    FixtureApp fixture;
};

TEST_P(PeriodCheckTest, ListsEveryErrorAndTheWarningAndChangesNothing)
{
    ZtfiApp& app = start();
    // A pending selection of the day, and an unsent report of the day with rows of its own.
    Selection(app).bbNaborClick(kDay, kDay);
    db.report({.id = 9, .serial = 4, .reportDay = kDay, .file = QStringLiteral("TRDAT01_1234567000_0004_26.xml")});
    db.selected({.report = 9, .trade = 1, .reference = 41});
    // Two values that break their formats, one ISIN whose check digit is wrong.
    db.exec(QStringLiteral("UPDATE VLT SET KRT = 'US1' WHERE SfVlt = 2"));
    db.exec(QStringLiteral("UPDATE DPATVPIMP SET INDNAKPRO = '1' WHERE IDIMP = 7"));
    db.exec(QStringLiteral("UPDATE SFVP SET ISIN = 'SI0000000025' WHERE SFVP = 2"));
    const QStringList before = snapshot();
    const QString rangeKey = app.selection.rangeKey;

    const PeriodCheckResult found = PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay);

    EXPECT_EQ(lines(found), (QStringList{
                                "Napaka|1|Valuta|US1|ni formata 3(a)",
                                "Napaka|900|Indikator nakupa/prodaje|1|ni formata 1(a)",
                                "Opozorilo|2|Identifikacija instrumenta ISIN|SI0000000025|"
                                "napačna kontrolna števka ISIN (ISO 6166)",
                            }));
    EXPECT_TRUE(found.hasErrors());
    EXPECT_TRUE(found.notices.isEmpty());
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(app.selection.rangeKey, rangeKey);

    // Fixed, the warning stays alone.
    db.exec(QStringLiteral("UPDATE VLT SET KRT = 'USD' WHERE SfVlt = 2"));
    db.exec(QStringLiteral("UPDATE DPATVPIMP SET INDNAKPRO = 'S' WHERE IDIMP = 7"));
    const PeriodCheckResult fixed = PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay);
    EXPECT_EQ(lines(fixed), (QStringList{"Opozorilo|2|Identifikacija instrumenta ISIN|SI0000000025|"
                                         "napačna kontrolna števka ISIN (ISO 6166)"}));
    EXPECT_FALSE(fixed.hasErrors());
}

TEST_P(PeriodCheckTest, ACancelAtAnyStepLeavesTheDatabaseAsItWas)
{
    ZtfiApp& app = start();
    Selection(app).bbNaborClick(kDay, kDay);
    const QStringList before = snapshot();
    ScriptedInteraction& ui = fixture.ui();

    // Between the selection's steps, amid the rows one writes, amid the report, before the schema.
    for (const char* step : {"Nabor: stornirane transakcije", "Nabor: nove transakcije, vrstice",
                             "XML poročilo: transakcije", "Preverjanje: XSD shema"}) {
        SCOPED_TRACE(step);
        ui.cancelAtStep(QString::fromUtf8(step));
        try {
            PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay);
            ADD_FAILURE() << "not cancelled";
        } catch (const ActionCancelled& cancelled) {
            EXPECT_EQ(cancelled.message(), PeriodCheck::cancelledMessage());
        }
        EXPECT_FALSE(ui.cancellable());
        EXPECT_EQ(snapshot(), before);
    }

    ui.cancelAtStep(QString());
    EXPECT_FALSE(PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay).hasErrors());
    EXPECT_EQ(snapshot(), before);
}

TEST_P(PeriodCheckTest, AValueTheSchemaRefusesIsNamedWithItsRow)
{
    db.exec(QStringLiteral("UPDATE DPATVPIMP SET TRGZMO = 'Z' WHERE IDIMP = 7"));
    ZtfiApp& app = start();

    const PeriodCheckResult found = PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay);

    ASSERT_EQ(found.findings.size(), 1) << lines(found).join(QLatin1Char('\n')).toStdString();
    const CheckFinding& fault = found.findings.first();
    EXPECT_EQ(fault.level, CheckFinding::Level::Error);
    EXPECT_EQ(fault.reference, QStringLiteral("900"));
    EXPECT_EQ(fault.field, QStringLiteral("TradingCapacity"));
    EXPECT_EQ(fault.value, QStringLiteral("Z"));
}

TEST_P(PeriodCheckTest, WithoutTheCodesTheCountryAndCurrencyWarningsAreOffWithOneLine)
{
    db.person({.id = 11, .swift = QStringLiteral("BANKQQ2X")});
    db.contract({.id = 101, .person = 11});
    db.exec(QStringLiteral("UPDATE VLT SET KRT = 'ABC' WHERE SfVlt = 2"));
    db.trade({.id = 3, .day = kDay, .activity = QStringLiteral("K"), .contract = 101});
    ZtfiApp& app = start();
    const QTemporaryDir empty;

    const PeriodCheckResult without = PeriodCheck(app, empty.path()).run(kDay, kDay);
    EXPECT_TRUE(without.findings.isEmpty()) << lines(without).join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(without.notices, QStringList{PeriodCheck::missingCodesNotice(empty.path())});

    const PeriodCheckResult with = PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay);
    EXPECT_EQ(sortedLines(with), (QStringList{"Opozorilo|1|Valuta|ABC|valuta ni v ISO 4217",
                                        "Opozorilo|3|SWIFT|BANKQQ2X|znaka 5-6 kode BIC nista država po ISO 3166"}));
}

TEST_P(PeriodCheckTest, ReportsTheStepsOfTheSelectionAndOfTheReport)
{
    ZtfiApp& app = start();

    PeriodCheck(app, IsoCodes::debianFolder()).run(kDay, kDay);

    EXPECT_EQ(fixture.ui().progressSteps(),
              (QStringList{"Nabor: brisanje nabora", "Nabor: nove transakcije", "Nabor: nove transakcije, vrstice",
                           "Nabor: stornirane transakcije",
                           "Nabor: popravljene transakcije", "Nabor: uvožene transakcije",
                           "Nabor: finančni instrumenti", "XML poročilo: šifrant instrumentov",
                           "XML poročilo: transakcije", "Preverjanje: XSD shema"}));
}

INSTANTIATE_ENGINE_STORIES(PeriodCheckTest);

}  // namespace
