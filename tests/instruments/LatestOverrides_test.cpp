#include "instruments/LatestOverrides.h"

#include "support/EngineStories.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 9);

class LatestOverridesFixture : public ::testing::Test {
protected:
    explicit LatestOverridesFixture(Connection::Engine engine = Connection::Engine::Sqlite) : db(engine) {}

    // An override row of the ISIN and host instrument, stamped `days` after kDay, with a change
    // day or none, reporting `reporting` (empty while pending).
    void row(const QString& isin, int sfvp, int days, bool changeDay, const QString& reporting)
    {
        db.exec(QStringLiteral("INSERT INTO DPATVP_SFVP (ISIN, SFVP_OXU, DANSPR, DANSPR_SFVP, SFVP_POROCANJE) "
                               "VALUES ('%1', %2, %3, %4, %5)")
                    .arg(isin)
                    .arg(sfvp)
                    .arg(fixture::dateSql(kDay.addDays(days)),
                         changeDay ? fixture::dateSql(kDay) : QStringLiteral("NULL"),
                         reporting.isEmpty() ? QStringLiteral("NULL") : reporting));
    }

    LatestOverrides::Found find(const LatestOverrides& latest, const QString& isin, qint64 sfvp,
                                LatestOverride& found)
    {
        found = LatestOverride();
        return latest.find(isin, sfvp, found);
    }

    FixtureDb db;
};

class LatestOverridesTest : public OnEachEngine<LatestOverridesFixture> {};

using Found = LatestOverrides::Found;

// What the look-up of one pair answers, for many pairs at once: the latest row of the ISIN
// (in any case) and the instrument, none for a pair without rows, and unknown where only the
// look-up of the one pair can tell.
TEST_P(LatestOverridesTest, EachPairFindsItsLatestRowAsTheLookupOfThePairWould)
{
    row(QStringLiteral("SI0000000001"), 1, 0, false, QStringLiteral("1"));
    row(QStringLiteral("si0000000001"), 1, 2, true, QString());  // the latest of the pair
    row(QStringLiteral("SI0000000001"), 1, 1, true, QStringLiteral("7"));
    row(QStringLiteral("SI0000000002"), 1, 5, false, QStringLiteral("3"));  // another ISIN of instrument 1
    row(QStringLiteral("SI0000000002"), 2, 0, false, QStringLiteral("2"));
    row(QStringLiteral("SI000000000Č"), 4, 0, true, QStringLiteral("4"));
    row(QStringLiteral("SI0000000005"), 4, 0, true, QStringLiteral("4"));

    LatestOverrides latest;
    latest.read(db.connection(), {{QStringLiteral("SI0000000001"), 1},
                                  {QStringLiteral("Si0000000002"), 2},
                                  {QStringLiteral("SI0000000003"), 3},
                                  {QStringLiteral("SI0000000005"), 4},
                                  {QStringLiteral("SI000000000Č"), 5}});

    LatestOverride found;
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000001"), 1, found), Found::Row);
    EXPECT_TRUE(found.hasChangeDay);
    EXPECT_FALSE(found.reportingInstrument);
    EXPECT_EQ(find(latest, QStringLiteral("si0000000002"), 1, found), Found::Row);
    EXPECT_EQ(found.reportingInstrument, std::optional<qint64>(3));
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000002"), 2, found), Found::Row);
    EXPECT_FALSE(found.hasChangeDay);
    EXPECT_EQ(found.reportingInstrument, std::optional<qint64>(2));
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000003"), 3, found), Found::None);
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000003"), 1, found), Found::None);
    // Not read: an instrument of no pair, an ISIN of other characters, an instrument one of
    // whose rows holds such an ISIN.
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000001"), 6, found), Found::Unknown);
    EXPECT_EQ(find(latest, QStringLiteral("SI000000000Č"), 5, found), Found::Unknown);
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000005"), 4, found), Found::Unknown);

    // A pair the run has written to is looked up again, in any case of its ISIN.
    latest.forget(QStringLiteral("si0000000001"), 1);
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000001"), 1, found), Found::Unknown);
    EXPECT_EQ(find(latest, QStringLiteral("SI0000000002"), 1, found), Found::Row);
}

INSTANTIATE_ENGINE_STORIES(LatestOverridesTest);

}  // namespace
