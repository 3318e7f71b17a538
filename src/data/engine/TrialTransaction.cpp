#include "data/engine/TrialTransaction.h"

#include "data/engine/Connection.h"

#include <exception>

TrialTransaction::TrialTransaction(Connection& connection) : connection_(connection)
{
    connection_.beginTrial();
}

TrialTransaction::~TrialTransaction()
{
    try {
        connection_.endTrial();
    } catch (const std::exception&) {
        // A connection that cannot roll back has lost its transaction with the session.
    }
}
