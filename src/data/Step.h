#pragma once

#include <QString>

#include <functional>

class Connection;

// How the message of a failed step quotes the error that made it fail.
enum class StepCause {
    OnNextLine,  // the step's message, a line break, the error's message
    Appended,    // the step's message followed directly by the error's message
    WithKind,    // the step's message, a line break, the error's kind, a line break, its message
};

// One step of a writing action: starts a transaction, runs the body and commits. When anything
// fails (the start, the body or the commit) the step rolls back its own transaction and raises
// a new error with the step's message; steps committed before stay committed. A cancel
// (ActionCancelled) rolls back as well and passes on as it is.
void runStep(Connection& connection, const QString& stepMessage, const std::function<void()>& body,
             StepCause cause = StepCause::OnNextLine);

// The message of a failed step, quoting the error (its kind and message) as cause says. An error
// without a message, or with the step's own, adds no line.
QString stepFailureMessage(const QString& stepMessage, StepCause cause, const QString& kind,
                           const QString& message);

// Rolls back the connection's open transaction, if any; a failing rollback is not reported (the
// failure that made it necessary is what the user needs, and the connection fails again on its
// next use).
void rollBackQuietly(Connection& connection);
