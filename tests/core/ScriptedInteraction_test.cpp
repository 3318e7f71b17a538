#include "support/ScriptedInteraction.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(ScriptedInteraction, AnswersInOrderAndFailsWhenNoAnswerIsQueued)
{
    ScriptedInteraction ui;
    ui.answerYesNo(true);
    ui.answerYesNo(false);

    EXPECT_TRUE(ui.confirmYesNo(QStringLiteral("prvo")));
    ui.inform(QStringLiteral("vmes"));
    EXPECT_FALSE(ui.confirmYesNo(QStringLiteral("drugo")));
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(ui.confirmOkCancel(QStringLiteral("tretje"))),
                            "no answer queued for confirmOkCancel(\"tretje\")");

    EXPECT_EQ(ui.calls(), (std::vector<ScriptedInteraction::Call>{{"confirmYesNo", "prvo", {}},
                                                                   {"inform", "vmes", {}},
                                                                   {"confirmYesNo", "drugo", {}},
                                                                   {"confirmOkCancel", "tretje", {}}}));
    EXPECT_EQ(ui.messages(), QStringList{QStringLiteral("vmes")});
}

}  // namespace
