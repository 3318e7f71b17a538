#include "instruments/InstrumentChoiceStatements.h"

namespace InstrumentChoiceStatements {

QStringList candidates(SqlDialect dialect)
{
    QStringList lines{
        QStringLiteral("SELECT upper(ISIN) as ISIN, SFVP, KRT FROM SFVP"),
        QStringLiteral("WHERE upper(ISIN)=:ISIN"),
        QStringLiteral("AND POROCANJEZTFI='D'"),
        QStringLiteral("AND SFVP NOT IN (select NVL(SFVP_OLD, 0) from DPATVP_SFVP)"),
    };
    for (QString& line : lines)
        line = nvlForDialect(line, dialect);
    return lines;
}

QStringList latestChosen()
{
    return {
        QStringLiteral("select * from DPATVP_SFVP F1 "),
        QStringLiteral("where F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN  AND SFVP_POROCANJE IS NOT NULL) "),
        QStringLiteral("AND F1.ISIN=:ISIN"),
    };
}

QStringList ageing()
{
    return {
        QStringLiteral("UPDATE DPATVP_SFVP SET XML=null, DANSPR=DANSPR-0.001"),
        QStringLiteral("where SFVP_OXU=:SFVP_OXU"),
        QStringLiteral("AND ISIN=:ISIN"),
    };
}

QStringList pendingRows()
{
    return {
        QStringLiteral("select * from DPATVP_SFVP"),
        QStringLiteral("where ISIN=:ISIN AND SFVP_POROCANJE IS NULL"),
        QStringLiteral("order by DANSPR"),
    };
}

QStringList currentRow()
{
    return {
        QStringLiteral("select * from DPATVP_SFVP F1"),
        QStringLiteral("where F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN)"),
        QStringLiteral("AND F1.ISIN=:ISIN"),
    };
}

}  // namespace InstrumentChoiceStatements
