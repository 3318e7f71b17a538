#pragma once

#include <QString>

#include <functional>

class Connection;

// How the message of a failed step quotes the error that made it fail.
enum class StepCause {
    Omitted,   // the step's message alone
    Appended,  // the step's message followed directly by the error's message
    WithKind,  // the step's message, a line break, the error's kind, a line break, its message
};

// One step of a writing action: starts a transaction, runs the body and commits. When anything
// fails (the start, the body or the commit) the step rolls back its own transaction and raises
// a new error with the step's message; steps committed before stay committed.
void runStep(Connection& connection, const QString& stepMessage, const std::function<void()>& body,
             StepCause cause = StepCause::Omitted);
