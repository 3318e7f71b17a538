#include "support/FixtureDb.h"
#include "data/Identifiers.h"

#include <gtest/gtest.h>

using namespace fixture;

TEST(Identifiers, StatementsOfBothDialects)
{
    EXPECT_EQ(Identifiers::nextReportIdSql(SqlDialect::Oracle),
              QStringLiteral(" select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP"));
    EXPECT_EQ(Identifiers::nextReportIdSql(SqlDialect::Db2),
              QStringLiteral(" select COALESCE(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP"));
    EXPECT_EQ(Identifiers::nextImportIdSql(SqlDialect::Oracle),
              QStringLiteral(" select NVL(max(IDImp),0)+1 as MaxIDImp from DPATVPIMP "));
    EXPECT_EQ(Identifiers::nextImportIdSql(SqlDialect::Db2),
              QStringLiteral(" select COALESCE(max(IDImp), 0)+1 as MaxIDImp from DPATVPIMP "));
    EXPECT_EQ(Identifiers::serialNumberSql(QDate(2026, 1, 2), SqlDialect::Oracle),
              QStringLiteral(" select NVL(max(ZapSt), 0)+1 as MaxZapSt from DPATVP WHERE "
                             "TO_CHAR(TO_DATE('01/02/2026','mm/dd/yyyy'), 'YYYY')=TO_CHAR(Dan, 'YYYY')"));
    EXPECT_EQ(Identifiers::serialNumberSql(QDate(2026, 1, 2), SqlDialect::Db2),
              QStringLiteral(" select COALESCE(max(ZapSt), 0)+1 as MaxZapSt from DPATVP WHERE "
                             "YEAR(CAST('02.01.2026' as DATE))=YEAR(Dan)"));
}

TEST(Identifiers, ReportAndImportIdentifiersAreLargestPlusOne)
{
    FixtureDb db;
    EXPECT_EQ(Identifiers::nextReportId(db.connection(), SqlDialect::Oracle), 1);
    EXPECT_EQ(Identifiers::nextImportId(db.connection(), SqlDialect::Oracle), 1);

    db.report({.id = 7, .serial = 1}).report({.id = 3, .serial = 2}).report({.id = 7, .serial = 3});
    db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP) VALUES (41)"));
    db.exec(QStringLiteral("INSERT INTO DPATVPIMP (IDIMP) VALUES (12)"));
    EXPECT_EQ(Identifiers::nextReportId(db.connection(), SqlDialect::Oracle), 8);
    EXPECT_EQ(Identifiers::nextImportId(db.connection(), SqlDialect::Oracle), 42);
}

TEST(Identifiers, SerialNumberCountsOnlyReportsSentInTheYear)
{
    FixtureDb db;
    const QDate secondOfJanuary(2026, 1, 2);
    EXPECT_EQ(Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle, secondOfJanuary), 1);

    db.report({.id = 1, .serial = 40, .sentAt = QDateTime(QDate(2025, 6, 30), QTime(9, 0))})
        .report({.id = 2, .serial = 41, .sentAt = QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59))})
        .report({.id = 3, .serial = 90});  // generated, never sent: no sending day
    EXPECT_EQ(Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle, secondOfJanuary), 1);
    EXPECT_EQ(Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle, QDate(2025, 12, 31)), 42);

    db.report({.id = 4, .serial = 1, .sentAt = QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1))});
    EXPECT_EQ(Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle, secondOfJanuary), 2);
    EXPECT_EQ(Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle, QDate(2025, 1, 1)), 42);
}

TEST(Identifiers, SerialNumberWithoutDayUsesToday)
{
    FixtureDb db;
    const QDate today = QDate::currentDate();
    db.report({.id = 1, .serial = 5, .sentAt = QDateTime(today, QTime(8, 0))})
        .report({.id = 2, .serial = 9, .sentAt = QDateTime(today.addYears(-1), QTime(8, 0))});
    EXPECT_EQ(Identifiers::nextSerialNumber(db.connection(), SqlDialect::Oracle), 6);
}
