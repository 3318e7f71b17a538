#include "app/cli/ConsoleInteraction.h"

#include <gtest/gtest.h>

namespace {

// The lines a run of progress reports leaves on standard error, with progress shown or not.
QString linesOf(bool shown)
{
    QString text;
    QTextStream err(&text);
    ConsoleInteraction ui(err);
    ui.setProgressShown(shown);
    for (int row = 0; row < 1000; ++row)
        ui.progress(QStringLiteral("XML poročilo: transakcije"), row, 1000);
    ui.progress(QStringLiteral("XML poročilo: preverjanje po XSD shemi"), 0, 0);
    err.flush();
    return text;
}

TEST(ConsoleInteraction, ProgressLinesOnlyWhenShownAtAChangeOfStepAndTheLastRow)
{
    EXPECT_EQ(linesOf(false), QString());
    // Within a second a step's rows between its first and its last make no line.
    EXPECT_EQ(linesOf(true), QStringLiteral("XML poročilo: transakcije: 1 / 1000\n"
                                            "XML poročilo: transakcije: 1000 / 1000\n"
                                            "XML poročilo: preverjanje po XSD shemi\n"));
}

}  // namespace
