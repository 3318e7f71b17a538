#include "core/CancellableAction.h"

#include "core/ActionGuard.h"
#include "support/ScriptedInteraction.h"

#include <gtest/gtest.h>

namespace {

const QString kStep = QStringLiteral("Izvoz nabora");

// A checkpoint stops only a cancellable action the user asked to stop, with the message of the
// outermost; the offer to cancel lasts as long as the outermost action.
TEST(CancellableAction, AskedToStopOnlyInsideACancellableActionWithTheOutermostsMessage)
{
    ScriptedInteraction ui;
    ui.cancelAtStep(kStep);
    CancellableAction::progressPoint(ui, kStep, 0, 1);
    ASSERT_TRUE(ui.cancelRequested());
    // An action that cannot stop cleanly goes on.
    EXPECT_NO_THROW(CancellableAction::checkpoint(ui));

    {
        const CancellableAction outer(ui, QStringLiteral("Zunanje je prekinjeno!"));
        EXPECT_TRUE(ui.cancellable());
        {
            const CancellableAction inner(ui, QStringLiteral("Notranje je prekinjeno!"));
            try {
                CancellableAction::progressPoint(ui, kStep, 1, 1);
                ADD_FAILURE() << "not cancelled";
            } catch (const ActionCancelled& cancelled) {
                EXPECT_EQ(cancelled.message(), QStringLiteral("Zunanje je prekinjeno!"));
            }
        }
        EXPECT_TRUE(ui.cancellable());
    }
    EXPECT_FALSE(ui.cancellable());
    EXPECT_NO_THROW(CancellableAction::checkpoint(ui));
}

// A cancelled action is told plainly, as information; an error stays an error.
TEST(CancellableAction, TheGuardOfAnActionTellsACancelAsInformation)
{
    ScriptedInteraction ui;
    EXPECT_FALSE(runGuarded(ui, [] { throw ActionCancelled(QStringLiteral("Izvoz nabora je prekinjen!")); }));
    EXPECT_FALSE(runGuarded(ui, [] { throw ZtfiError(QStringLiteral("Napaka!")); }));
    EXPECT_EQ(ui.calls(), (std::vector<ScriptedInteraction::Call>{
                              {QStringLiteral("inform"), QStringLiteral("Izvoz nabora je prekinjen!"), {}},
                              {QStringLiteral("error"), QStringLiteral("Napaka!"), {}},
                          }));
}

}  // namespace
