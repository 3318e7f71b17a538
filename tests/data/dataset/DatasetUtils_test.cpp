#include "data/dataset/DatasetUtils.h"
#include "data/dataset/Queries.h"
#include "support/FixtureDb.h"

#include <gtest/gtest.h>

namespace {

TEST(DatasetUtils, QuotedCharListQuotesEveryCharacter)
{
    struct Case {
        QString text;
        QString separator;
        QString list;
    };
    const Case cases[] = {
        {QStringLiteral("ABC"), QStringLiteral(","), QStringLiteral("'A','B','C'")},
        {QStringLiteral("L"), QStringLiteral(","), QStringLiteral("'L'")},
        {QString(), QStringLiteral(","), QString()},
        {QStringLiteral("A'"), QStringLiteral(", "), QStringLiteral("'A', ''''")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuotedCharList(c.text, c.separator), c.list) << c.text.toStdString();
}

TEST(DatasetUtils, SetParamIfPresentSetsOnlyExistingParameters)
{
    FixtureDb db;
    db.exec(QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST) VALUES (7, 46027, 1)"));
    db.exec(QStringLiteral("INSERT INTO DPATVP (DPATVPID, DANPOROCANJA, ZAPST) VALUES (8, 46028, 1)"));
    TQueryDM q(db.connection(), QStringLiteral("qDPATVP"));
    q.setSql(QStringLiteral("SELECT DPATVPID FROM DPATVP WHERE DPATVPID >= :Id AND DANPOROCANJA = :dan"));
    EXPECT_TRUE(SetIntParamIfPresent(q, QStringLiteral("ID"), 7));
    EXPECT_TRUE(SetDateParamIfPresent(q, QStringLiteral("Dan"), QDate(2026, 1, 6)));
    EXPECT_FALSE(SetIntParamIfPresent(q, QStringLiteral("FMaxDpAtvpId"), 9));
    EXPECT_FALSE(SetDateParamIfPresent(q, QStringLiteral("DanDo"), QDate(2026, 1, 6)));
    q.open();
    ASSERT_EQ(q.recordCount(), 1);
    EXPECT_EQ(q.fieldByName(QStringLiteral("DPATVPID")).asInteger(), 8);
}

TEST(DatasetUtils, MonthBoundaries)
{
    struct Case {
        QDate date;
        int days;
    };
    const Case cases[] = {
        {QDate(2026, 1, 31), 31}, {QDate(2026, 2, 14), 28}, {QDate(2024, 2, 1), 29},
        {QDate(2000, 2, 29), 29}, {QDate(2100, 2, 10), 28}, {QDate(2026, 4, 30), 30},
        {QDate(2026, 12, 5), 31},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DaysInMonth(c.date), c.days) << c.date.toString().toStdString();
        EXPECT_EQ(FirstDayOfMonth(c.date), QDate(c.date.year(), c.date.month(), 1));
    }
}

}  // namespace
