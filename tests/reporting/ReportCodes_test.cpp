#include "reporting/ReportCodes.h"

#include "core/Error.h"
#include "reporting/ReportRowColour.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportCodes, FormatToLengthFillsUntilLongEnough)
{
    struct Case {
        const char* text;
        int length;
        bool atFront;
        const char* fill;
        const char* expected;
    };
    const Case cases[] = {
        {"LJBASI2X", 11, false, "X", "LJBASI2XXXX"},
        {"LJBASI2XXXX", 11, false, "X", "LJBASI2XXXX"},
        {"LJBASI2XABCD", 11, false, "X", "LJBASI2XABCD"},  // longer stays
        {"12", 5, true, "0", "00012"},
        {"AB", 5, false, "", "AB"},                      // no fill
        {"AB", 5, false, "xy", "ABxyxy"},                // a longer fill may pass the length
        {"", 3, false, "X", "XXX"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatToLength(QString::fromLatin1(c.text), c.length, c.atFront, QString::fromLatin1(c.fill)),
                  QLatin1String(c.expected))
            << c.text << "/" << c.fill;
}

TEST(ReportCodes, FirmRegistrationAndIdentifier)
{
    EXPECT_EQ(firmRegistration(QStringLiteral("5012345678"), QStringLiteral("1234567")), QStringLiteral("5012345"));
    EXPECT_EQ(firmRegistration(QString(), QStringLiteral("1234567000")), QStringLiteral("1234567"));
    EXPECT_EQ(firmIdentifier(QStringLiteral("1234567")), QStringLiteral("1234567000"));
    EXPECT_EQ(firmIdentifier(QStringLiteral("12345678901")), QStringLiteral("12345678901"));
    EXPECT_EQ(firmIdentifier(firmRegistration(QString(), QStringLiteral("98"))), QStringLiteral("9800000000"));
}

TEST(ReportCodes, TransactionReference)
{
    struct Case {
        const char* vrsta;
        const char* ref;
        const char* oxuPrefix;
        const char* importPrefix;
        const char* expected;
    };
    const Case cases[] = {
        {"Q", "12345", "9", "7", "900000012345"},
        {"Q", "12345", "", "7", "12345"},
        {"Q", "123456", "12345678", "", "123456781234"},    // 14 characters cut to 12
        {"I", "12345", "9", "7", "700000012345"},
        {"I", "123456789012", "", "7", "123456789012"},      // already 12 digits: no prefix
        {"I", "12345", "9", "", "12345"},
        {"Q", "1234567890123", "", "", "123456789012"},      // too long without a prefix: cut
    };
    for (const Case& c : cases)
        EXPECT_EQ(transactionReference(QLatin1String(c.vrsta), QLatin1String(c.ref), QLatin1String(c.oxuPrefix),
                                       QLatin1String(c.importPrefix)),
                  QLatin1String(c.expected))
            << c.vrsta << " " << c.ref;
}

TEST(ReportCodes, ReferenceThatIsNoNumberStopsWithTheFormatError)
{
    try {
        transactionReference(QStringLiteral("I"), QStringLiteral("-5"), QString(), QStringLiteral("9"));
        FAIL() << "no error";
    } catch (const ZtfiError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Napaka: Za Ref.St.Transakcije   polje 'Referenčna št. transakcije\r\n"
                                              "' podatek '9000000000-5' ni formata 12(n)!"));
    }
}

TEST(ReportRowColour, LaterRuleWins)
{
    const QDate first(2014, 4, 2);
    struct Case {
        ReportRowColourInput row;
        ReportRowColour expected;
    };
    const Case cases[] = {
        {{"N", first, 0, "K", ""}, ReportRowColour::Normal},
        {{"D", first, 0, "K", ""}, ReportRowColour::CancelledOnFirstDay},
        {{"D", first.addDays(-3), 0, "K", ""}, ReportRowColour::CancelledEarlier},
        {{"N", first, 12, "K", "L"}, ReportRowColour::SkippedInternalMatch},
        {{"D", first, 12, "K", "L"}, ReportRowColour::SkippedInternalMatch},
        {{"N", first, 12, "L", "K"}, ReportRowColour::Normal},   // the own-account side is reported
        {{"N", first, 12, "L", "L"}, ReportRowColour::Normal},
        {{"N", first, 0, "K", "L"}, ReportRowColour::Normal},    // no counter trade
    };
    for (const Case& c : cases)
        EXPECT_EQ(reportRowColour(c.row, first), c.expected)
            << c.row.ISSTN.toStdString() << " " << c.row.IDPSLTRP << " " << c.row.SfDjv.toStdString();
}

}  // namespace
