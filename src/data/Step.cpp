#include "data/Step.h"

#include "core/CancellableAction.h"
#include "core/Error.h"
#include "data/engine/Connection.h"

#include <exception>

QString stepFailureMessage(const QString& stepMessage, StepCause cause, const QString& kind,
                           const QString& message)
{
    switch (cause) {
    case StepCause::OnNextLine:
        return message.isEmpty() || message == stepMessage ? stepMessage : stepMessage + QLatin1Char('\n') + message;
    case StepCause::Appended:
        return stepMessage + message;
    case StepCause::WithKind:
        return stepMessage + QLatin1Char('\n') + kind + QLatin1Char('\n') + message;
    }
    return stepMessage;
}

void rollBackQuietly(Connection& connection)
{
    if (!connection.inTransaction())
        return;
    try {
        connection.rollback();
    } catch (const std::exception&) {
    }
}

void runStep(Connection& connection, const QString& stepMessage, const std::function<void()>& body,
             StepCause cause)
{
    bool started = false;
    try {
        connection.startTransaction();
        started = true;
        body();
        connection.commit();
    } catch (const ActionCancelled&) {
        if (started)
            rollBackQuietly(connection);
        throw;
    } catch (const ZtfiError& error) {
        if (started)
            rollBackQuietly(connection);
        throw ZtfiError(stepFailureMessage(stepMessage, cause, error.className(), error.message()));
    } catch (const std::exception& error) {
        if (started)
            rollBackQuietly(connection);
        throw ZtfiError(stepFailureMessage(stepMessage, cause, QStringLiteral("Exception"),
                                           QString::fromLocal8Bit(error.what())));
    }
}
