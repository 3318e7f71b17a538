#include "emir/EmirNumbers.h"

#include "data/SequenceReader.h"
#include "data/engine/ScalarQuery.h"
#include "data/engine/TransactionLock.h"
#include "emir/EmirStatements.h"

namespace EmirNumbers {

qint64 nextReportId(Connection& connection, SqlDialect dialect)
{
    return SequenceReader(connection, dialect).next(QStringLiteral("EMIRPOROCILO"), QStringLiteral("ID"));
}

qint64 nextDisputeId(Connection& connection, SqlDialect dialect)
{
    return SequenceReader(connection, dialect).next(QStringLiteral("EMIRPOSEL"), QStringLiteral("ID"));
}

QString serialBusyMessage()
{
    return QStringLiteral("Druga delovna postaja ravno dodaja poročilo EMIR. Poskusi znova!");
}

int nextSerial(Connection& connection)
{
    // "EMIR" in ASCII: desks number their reports one after the other.
    TransactionLock::take(connection, 1162693970, serialBusyMessage());
    const QVariant max = selectValue(connection, EmirStatements::maxSerial(), QStringLiteral("ZapSt"));
    return (max.isNull() ? 0 : max.toInt()) + 1;
}

}  // namespace EmirNumbers
