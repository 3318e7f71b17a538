#include "core/CancellableAction.h"

#include "core/Interaction.h"

namespace {

// The message of the outermost cancellable action that runs (actions run on the thread of the
// user interface).
const QString* runningMessage = nullptr;

}  // namespace

CancellableAction::CancellableAction(Interaction& ui, const QString& cancelledMessage)
    : ui_(ui), message_(cancelledMessage), outermost_(runningMessage == nullptr)
{
    if (!outermost_)
        return;
    runningMessage = &message_;
    ui_.setCancellable(true);
}

CancellableAction::~CancellableAction()
{
    if (!outermost_)
        return;
    ui_.setCancellable(false);
    runningMessage = nullptr;
}

void CancellableAction::checkpoint(Interaction& ui)
{
    if (runningMessage && ui.cancelRequested())
        throw ActionCancelled(*runningMessage);
}

void CancellableAction::progressPoint(Interaction& ui, const QString& step, qint64 done, qint64 known)
{
    ui.progress(step, done, known);
    checkpoint(ui);
}
