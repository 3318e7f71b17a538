#pragma once

#include "core/Error.h"

#include <QString>

class Interaction;

// An action that the user stopped where it could stop cleanly. Its message says what was
// stopped and that nothing of it was kept.
class ActionCancelled : public ZtfiError {
public:
    explicit ActionCancelled(const QString& message) : ZtfiError(message, QStringLiteral("EAbort")) {}
};

// The stretch of an action that can stop at any of its checkpoints leaving nothing half-done:
// what it did till then goes with the unwinding (a transaction rolled back, a file never put in
// place). While the outermost one lives, the user interface offers to cancel (Interaction::
// setCancellable); a checkpoint then throws ActionCancelled with that one's message.
class CancellableAction {
public:
    CancellableAction(Interaction& ui, const QString& cancelledMessage);
    ~CancellableAction();
    CancellableAction(const CancellableAction&) = delete;
    CancellableAction& operator=(const CancellableAction&) = delete;

    // Throws ActionCancelled when the user asked to stop a cancellable action that runs; nothing
    // outside one.
    static void checkpoint(Interaction& ui);
    // The progress of a step (Interaction::progress), then a checkpoint.
    static void progressPoint(Interaction& ui, const QString& step, qint64 done, qint64 known);

private:
    Interaction& ui_;
    QString message_;
    bool outermost_;
};
