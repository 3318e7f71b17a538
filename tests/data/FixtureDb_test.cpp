#include "support/FixtureDb.h"
#include "data/engine/OleDate.h"

#include <gtest/gtest.h>

using namespace fixture;

// A trade added with the defaults meets every row it refers to, as the report rows join them.
TEST(FixtureDb, DefaultTradeJoinsItsReferences)
{
    FixtureDb db;
    db.basics().instrument({}).listing({}).trade({.id = 1201, .time = QTime(15, 45, 10)});
    EXPECT_EQ(db.value(QStringLiteral(
                           "SELECT count(*) FROM PSL P JOIN SFVP S ON P.SFVP=S.SFVP JOIN TRG T ON P.SfTrg=T.SfTrg "
                           "JOIN VLT V ON P.SfVlt=V.SfVlt JOIN POG G ON P.IdPog=G.IdPog JOIN OSB O ON G.SfOsb=O.SfOsb "
                           "JOIN OSB I ON S.SFOSBIZD=I.SfOsb JOIN DRZ D ON I.SfDrz=D.SfDrz JOIN FIN F ON S.SFFIN=F.SFFIN "
                           "JOIN KTC K ON K.SFVP=S.SFVP WHERE S.PorocanjeZTFI='D' AND O.SfOsb=10"))
                  .toInt(),
              1);
    EXPECT_EQ(OleDate::toDate(db.value(QStringLiteral("SELECT Dan FROM PSL")).toDouble()), QDate(2026, 3, 2));
    EXPECT_EQ(OleDate::toDateTime(db.value(QStringLiteral("SELECT Cas FROM PSL")).toDouble()),
              QDateTime(QDate(2026, 3, 2), QTime(15, 45, 10)));
    EXPECT_EQ(db.value(QStringLiteral("SELECT MTS FROM OSB WHERE SfOsb=2")).toString(), QStringLiteral("1234567"));
}

TEST(FixtureDb, NullTextsAndOptionalValuesStayNull)
{
    FixtureDb db;
    db.basics()
        .market({.id = 9, .mic = QStringLiteral("XWBO"), .timeZone = QString(""), .domestic = QStringLiteral("T")})
        .cancellation({.trade = {.id = 5, .type = QStringLiteral("P")}, .replacedBy = 6});
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM TRG WHERE TimeZone IS NULL")).toInt(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT count(*) FROM TRG WHERE TimeZone = ''")).toInt(), 1);
    EXPECT_EQ(db.value(QStringLiteral("SELECT IDPSLEDT FROM DPATVPPSLSTN WHERE IdPsl=5")).toInt(), 6);
    EXPECT_TRUE(db.value(QStringLiteral("SELECT IdPslTrp FROM DPATVPPSLSTN WHERE IdPsl=5")).isNull());
    EXPECT_EQ(db.value(QStringLiteral("SELECT SFTYPE FROM DPATVPPSLSTN WHERE IdPsl=5")).toString(), QStringLiteral("P"));
}
