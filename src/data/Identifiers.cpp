#include "data/Identifiers.h"

#include "core/Formats.h"
#include "data/engine/ScalarQuery.h"

namespace Identifiers {

QString nextReportIdSql(SqlDialect dialect)
{
    return dialect == SqlDialect::Db2
        ? QStringLiteral(" select COALESCE(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP")
        : QStringLiteral(" select NVL(max(DpAtvpId), 0)+1 as MaxDpAtvpId from DPATVP");
}

QString nextImportIdSql(SqlDialect dialect)
{
    return dialect == SqlDialect::Db2
        ? QStringLiteral(" select COALESCE(max(IDImp), 0)+1 as MaxIDImp from DPATVPIMP ")
        : QStringLiteral(" select NVL(max(IDImp),0)+1 as MaxIDImp from DPATVPIMP ");
}

QString serialNumberSql(const QDate& day, SqlDialect dialect)
{
    if (dialect == SqlDialect::Db2)
        return QStringLiteral(" select COALESCE(max(ZapSt), 0)+1 as MaxZapSt from DPATVP WHERE YEAR(CAST('")
            + Formats::dateText(day) + QStringLiteral("' as DATE))=YEAR(Dan)");
    return QStringLiteral(" select NVL(max(ZapSt), 0)+1 as MaxZapSt from DPATVP WHERE TO_CHAR(TO_DATE('")
        + Formats::monthDayYearText(day) + QStringLiteral("','mm/dd/yyyy'), 'YYYY')=TO_CHAR(Dan, 'YYYY')");
}

qint64 nextReportId(Connection& connection, SqlDialect dialect)
{
    return selectValue(connection, nextReportIdSql(dialect), QStringLiteral("MaxDpAtvpId")).toLongLong();
}

qint64 nextImportId(Connection& connection, SqlDialect dialect)
{
    return selectValue(connection, nextImportIdSql(dialect), QStringLiteral("MaxIDImp")).toLongLong();
}

int nextSerialNumber(Connection& connection, SqlDialect dialect, const QDate& day)
{
    const QDate when = day.isValid() ? day : QDate::currentDate();
    return selectValue(connection, serialNumberSql(when, dialect), QStringLiteral("MaxZapSt")).toInt();
}

}  // namespace Identifiers
