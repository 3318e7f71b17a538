#include "emir/EmirTransaction.h"

#include "data/Step.h"
#include "data/engine/Connection.h"

void runInTransaction(Connection& connection, const std::function<void()>& body)
{
    if (connection.inTransaction()) {
        body();
        return;
    }
    connection.startTransaction();
    try {
        body();
        connection.commit();
    } catch (...) {
        rollBackQuietly(connection);
        throw;
    }
}
