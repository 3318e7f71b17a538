#include "app/cli/CliInterrupt.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Real signals, each case in a child process of its own.
TEST(CliInterruptDeathTest, ASignalStopsACancellableActionFirstAndEndsTheProgramAfterItsCleanUp)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // Outside a cancellable action: the end, at once.
    EXPECT_EXIT(
        {
            CliInterrupt::install();
            std::raise(SIGTERM);
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
    // Inside one: the action is asked to stop; the program ends by the signal once it cleaned up.
    EXPECT_EXIT(
        {
            CliInterrupt::install();
            CliInterrupt::setCancellable(true);
            std::raise(SIGINT);
            if (!CliInterrupt::requested())
                std::exit(3);
            CliInterrupt::setCancellable(false);
            std::fputs("cleaned up\n", stderr);
            CliInterrupt::endByReceivedSignal();
            std::exit(0);
        },
        testing::KilledBySignal(SIGINT), "cleaned up");
    // A second signal does not wait for the clean-up.
    EXPECT_EXIT(
        {
            CliInterrupt::install();
            CliInterrupt::setCancellable(true);
            std::raise(SIGINT);
            std::raise(SIGTERM);
            std::exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
    // A signal the caller had ignored stays ignored.
    EXPECT_EXIT(
        {
            std::signal(SIGINT, SIG_IGN);
            CliInterrupt::install();
            std::raise(SIGINT);
            std::exit(CliInterrupt::requested() ? 6 : 5);
        },
        testing::ExitedWithCode(5), "");
    // Without a signal the program ends as it would.
    EXPECT_EXIT(
        {
            CliInterrupt::install();
            CliInterrupt::setCancellable(true);
            CliInterrupt::setCancellable(false);
            CliInterrupt::endByReceivedSignal();
            std::exit(4);
        },
        testing::ExitedWithCode(4), "");
}

}  // namespace
