#include "data/dataset/DisplayFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayFormat, Numbers)
{
    struct Case {
        const char* format;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {",0.00", 1234.5, "1.234,50"},
        {",0.00", -1234567.125, "-1.234.567,13"},
        {"0", 2.5, "3"},
        {"0", 0, "0"},
        {"0.00", -0.001, "0,00"},
        {"#,##0.###", 1234567.1234, "1.234.567,123"},
        {"#.##", 0.5, ",5"},
        {"0.0 %", 12.34, "12,3 %"},
        {"0.00;(0.00)", 3, "3,00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayFormat::formatNumber(QString::fromLatin1(c.format), c.value), QString::fromUtf8(c.text))
            << c.format << " " << c.value;
}

TEST(DisplayFormat, DatesAndTimes)
{
    const QDateTime moment(QDate(2026, 1, 5), QTime(15, 4, 9, 7));
    struct Case {
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {"dd.mm.yyyy", "05.01.2026"},
        {"d/m/yy", "5.1.26"},
        {"dd.mm.yyyy hh:nn", "05.01.2026 15:04"},
        {"hh:mm:ss", "15:04:09"},
        {"hh:nn:ss.zzz", "15:04:09.007"},
        {"'Dan' dd", "Dan 05"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayFormat::formatDateTime(QString::fromLatin1(c.format), moment), QString::fromUtf8(c.text))
            << c.format;
}

}  // namespace
