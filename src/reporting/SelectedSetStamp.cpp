#include "reporting/SelectedSetStamp.h"

#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"

#include <QStringList>

SelectedSetStamp SelectedSetStamp::read(Connection& connection, const QList<qint64>& sets)
{
    if (sets.isEmpty())
        return {};
    QStringList ids;
    for (qint64 id : sets)
        ids << QString::number(id);
    TUniQuery query(connection, QStringLiteral("qNaborZig"));
    query.setSql(QStringLiteral("SELECT COUNT(*) AS N, SUM(IDPSL) AS T, SUM(IDREFATVP) AS R FROM DPATVPPSL "
                                "WHERE DPATVPID IN (")
                 + ids.join(QStringLiteral(", ")) + QLatin1Char(')'));
    query.open();
    return {query.fieldByName(QStringLiteral("N")).asInteger(), query.fieldByName(QStringLiteral("T")).asInteger(),
            query.fieldByName(QStringLiteral("R")).asInteger()};
}
