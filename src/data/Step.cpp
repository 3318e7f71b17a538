#include "data/Step.h"

#include "core/Error.h"
#include "data/engine/Connection.h"

#include <exception>

namespace {

QString failureMessage(const QString& stepMessage, StepCause cause, const QString& kind,
                       const QString& message)
{
    switch (cause) {
    case StepCause::Omitted:
        return stepMessage;
    case StepCause::Appended:
        return stepMessage + message;
    case StepCause::WithKind:
        return stepMessage + QLatin1Char('\n') + kind + QLatin1Char('\n') + message;
    }
    return stepMessage;
}

void rollBackQuietly(Connection& connection, bool started)
{
    if (!started || !connection.inTransaction())
        return;
    try {
        connection.rollback();
    } catch (const std::exception&) {
        // The step's own message is what the user needs; a connection that cannot even roll
        // back fails again on its next use.
    }
}

}  // namespace

void runStep(Connection& connection, const QString& stepMessage, const std::function<void()>& body,
             StepCause cause)
{
    bool started = false;
    try {
        connection.startTransaction();
        started = true;
        body();
        connection.commit();
    } catch (const ZtfiError& error) {
        rollBackQuietly(connection, started);
        throw ZtfiError(failureMessage(stepMessage, cause, error.className(), error.message()));
    } catch (const std::exception& error) {
        rollBackQuietly(connection, started);
        throw ZtfiError(failureMessage(stepMessage, cause, QStringLiteral("Exception"),
                                       QString::fromLocal8Bit(error.what())));
    }
}
