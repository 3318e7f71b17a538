#include "instruments/PendingChoices.h"

#include "data/engine/Connection.h"

#include <QSqlQuery>

QStringList isinsAwaitingChoice(Connection& connection)
{
    QSqlQuery q(connection.database());
    q.exec(QStringLiteral("SELECT DISTINCT ISIN FROM DPATVP_SFVP WHERE SFVP_POROCANJE IS NULL ORDER BY ISIN"));
    QStringList isins;
    while (q.next())
        isins << q.value(0).toString();
    return isins;
}
