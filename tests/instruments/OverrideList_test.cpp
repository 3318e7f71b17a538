#include "instruments/OverrideList.h"

#include "instruments/OverrideFixture.h"

#include <gtest/gtest.h>

using namespace overrides;

namespace {

class OverrideListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.basics();
        // Two live host instruments of SI1000000002, one live and one matured of SI2000000005.
        db.instrument(instrument(21, QStringLiteral("SI1000000002")));
        db.instrument(instrument(22, QStringLiteral("SI1000000002")));
        fixture::Instrument matured = instrument(51, QStringLiteral("SI2000000005"));
        matured.maturity = QDate(2020, 1, 31);
        db.instrument(matured);
        db.instrument(instrument(52, QStringLiteral("SI2000000005")));

        // SI1000000001: an older version and the current one, which replaced 11.
        row(QStringLiteral("SI1000000001"), 11, 11, QVariant(), QTime(9, 0));
        row(QStringLiteral("SI1000000001"), 12, 12, 11, QTime(9, 1));
        row(QStringLiteral("SI1000000002"), 21, 21, QVariant(), QTime(9, 2));
        row(QStringLiteral("SI2000000003"), 31, 31, QVariant(), QTime(9, 3));
        row(QStringLiteral("SI2000000004"), 41, QVariant(), QVariant(), QTime(9, 4));
        row(QStringLiteral("SI2000000005"), 52, 52, QVariant(), QTime(9, 5));
    }

    void row(const QString& isin, int oxu, const QVariant& reporting, const QVariant& old,
             const QTime& stamp)
    {
        addOverride(db, {{"ISIN", isin},
                         {"SFVP_OXU", oxu},
                         {"SFVP_POROCANJE", reporting},
                         {"SFVP_OLD", old},
                         {"DANSPR", QDateTime(QDate(2026, 1, 1), stamp)}});
    }

    // The listed rows as ISIN/SFVP_OXU.
    QStringList listed(OverrideList& list, const QString& typed)
    {
        list.open(typed);
        QStringList rows;
        TQueryDM& q = list.query();
        for (q.first(); !q.eof(); q.next())
            rows << q.fieldByName(QStringLiteral("ISIN")).asString() + QLatin1Char('/')
                    + q.fieldByName(QStringLiteral("SFVP_OXU")).asString();
        rows.sort();
        return rows;
    }

    FixtureDb db;
};

TEST_F(OverrideListTest, ListsCurrentRowsOfSeveralVersionsIsinsOfSeveralLiveInstrumentsAndPendingRows)
{
    OverrideList list(db.connection());

    EXPECT_EQ(listed(list, QString()),
              (QStringList{QStringLiteral("SI1000000001/12"), QStringLiteral("SI1000000002/21"),
                           QStringLiteral("SI2000000004/41")}));
    EXPECT_EQ(listed(list, QStringLiteral("SI1")),
              (QStringList{QStringLiteral("SI1000000001/12"), QStringLiteral("SI1000000002/21")}));
    EXPECT_EQ(listed(list, QStringLiteral("SI2")), QStringList{QStringLiteral("SI2000000004/41")});
}

TEST_F(OverrideListTest, ReturnButtonShownExactlyWhenNoListedRowIsPending)
{
    OverrideList list(db.connection());

    list.open(QString());
    EXPECT_FALSE(list.returnButtonVisible());
    list.open(QStringLiteral("SI1"));
    EXPECT_TRUE(list.returnButtonVisible());

    db.exec(QStringLiteral("UPDATE DPATVP_SFVP SET SFVP_POROCANJE = 41 WHERE SFVP_OXU = 41"));
    list.open(QString());
    EXPECT_TRUE(list.returnButtonVisible());
}

TEST_F(OverrideListTest, RowColours)
{
    using Colour = OverrideList::RowColour;
    EXPECT_EQ(OverrideList::rowColour(12, QVariant()), Colour::Normal);
    EXPECT_EQ(OverrideList::rowColour(QVariant(), QVariant()), Colour::Pending);
    EXPECT_EQ(OverrideList::rowColour(12, 11), Colour::Replaced);
    EXPECT_EQ(OverrideList::rowColour(QVariant(), 11), Colour::Replaced);

    OverrideList list(db.connection());
    list.open(QStringLiteral("SI2000000004"));
    ASSERT_EQ(list.query().recordCount(), 1);
    EXPECT_EQ(list.rowColour(0), Colour::Pending);
    list.open(QStringLiteral("SI1000000001"));
    ASSERT_EQ(list.query().recordCount(), 1);
    EXPECT_EQ(list.rowColour(0), Colour::Replaced);
}

}  // namespace
