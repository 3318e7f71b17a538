#include "app/cli/CliArguments.h"

#include <gtest/gtest.h>

namespace {

QStringList words(const char* line)
{
    return QString::fromUtf8(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

struct UsageCase {
    const char* line;
    bool valid;
};

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, AcceptsOnlyKnownCommandsWithTheirArguments)
{
    QString error;
    const auto parsed = CliArguments::parse(words(GetParam().line), error);
    EXPECT_EQ(parsed.has_value(), GetParam().valid) << GetParam().line << ": " << error.toStdString();
    EXPECT_EQ(error.isEmpty(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CliUsage,
    ::testing::Values(UsageCase{"ZTFI u p ana select 08.12.2026 08.12.2026", true},
                      UsageCase{"ZTFI u p ana generate 01.02.2026 28.02.2026", true},
                      UsageCase{"ZTFI u p ana choose SI0031200007 30", true},
                      UsageCase{"ZTFI u p ana sign TRDAT01_1_0001_26.xml firm", true},
                      UsageCase{"ZTFI u p ana confirm 234 234", true},
                      UsageCase{"ZTFI u p ana delete-selection 08.12.2026 08.12.2026", true},
                      UsageCase{"", false},                                       // no parameters
                      UsageCase{"ZTFI u p ana", false},                           // no command
                      UsageCase{"ZTFI u p ana nabor 08.12.2026 08.12.2026", false},
                      UsageCase{"ZTFI u p ana select 08.12.2026", false},         // one date
                      UsageCase{"ZTFI u p ana select 2026-12-08 08.12.2026", false},
                      UsageCase{"ZTFI u p ana select 31.02.2026 31.02.2026", false},
                      UsageCase{"ZTFI u p ana choose SI0031200007 ab", false},    // SFVP a number
                      UsageCase{"ZTFI u p ana reject 234", false},
                      UsageCase{"ZTFI u p ana register 01.12.2026 31.12.2026 x", false},
                      // Options: only those of the command, after or among its arguments.
                      UsageCase{"ZTFI u p ana import 08.12.2026 day.xls", true},
                      UsageCase{"ZTFI u p ana import 08.12.2026 day.xls --ignore-unknown", true},
                      UsageCase{"ZTFI u p ana import 08.12.2026 day.xls --ignore", false},
                      UsageCase{"ZTFI u p ana imports 08.12.2026 --ignore-unknown", false},
                      UsageCase{"ZTFI u p ana import 08.12.2026 --ignore-unknown", false}));

TEST(CliArguments, SplitsStartupParametersCommandAndTypedArguments)
{
    QString error;
    const auto parsed = CliArguments::parse(words("ztfi USER pass ana regenerate 234 235"), error);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->startup, words("ztfi USER pass ana"));
    EXPECT_EQ(parsed->command, QStringLiteral("regenerate"));
    EXPECT_EQ(parsed->number(0), 234);
    EXPECT_EQ(parsed->number(1), 235);

    const auto dates = CliArguments::parse(words("Z u p a select 01.12.2026 31.12.2026"), error);
    ASSERT_TRUE(dates);
    EXPECT_EQ(dates->date(0), QDate(2026, 12, 1));
    EXPECT_EQ(dates->date(1), QDate(2026, 12, 31));
    EXPECT_FALSE(dates->hasFlag(QStringLiteral("--ignore-unknown")));

    const auto import = CliArguments::parse(words("Z u p a import --ignore-unknown 08.12.2026 day.xls"), error);
    ASSERT_TRUE(import);
    EXPECT_EQ(import->args, words("08.12.2026 day.xls"));
    EXPECT_TRUE(import->hasFlag(QStringLiteral("--ignore-unknown")));
    EXPECT_FALSE(import->progress);

    // --progress among or after the arguments of any command, --out FILE of a listing after it.
    for (const char* line : {"Z u p a generate --progress 01.12.2026 31.12.2026",
                             "Z u p a check 01.12.2026 31.12.2026 --out list.txt --progress",
                             "Z u p a check 01.12.2026 --progress 31.12.2026 --out list.txt"}) {
        const auto progress = CliArguments::parse(words(line), error);
        ASSERT_TRUE(progress) << line << ": " << error.toStdString();
        EXPECT_TRUE(progress->progress) << line;
        EXPECT_EQ(progress->args, words("01.12.2026 31.12.2026")) << line;
        EXPECT_EQ(progress->out, progress->command == QLatin1String("check") ? QStringLiteral("list.txt") : QString());
    }
}

}  // namespace
