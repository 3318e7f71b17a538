#include "emir/EmirNumbers.h"

#include "data/SequenceReader.h"
#include "data/engine/ScalarQuery.h"
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

int nextSerial(Connection& connection)
{
    const QVariant max = selectValue(connection, EmirStatements::maxSerial(), QStringLiteral("ZapSt"));
    return (max.isNull() ? 0 : max.toInt()) + 1;
}

}  // namespace EmirNumbers
