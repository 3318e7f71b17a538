#include "data/PendingSets.h"

#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "data/engine/ScalarQuery.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace PendingSets {

QList<qint64> ids(Connection& connection)
{
    TUniQuery reports(connection, QStringLiteral("qPorocila"));
    reports.setSql(QStringLiteral("SELECT DPATVPID FROM DPATVP"));
    reports.open();
    QSet<qint64> reported;
    const Field& reportId = reports.fieldByName(QStringLiteral("DPATVPID"));
    for (reports.first(); !reports.eof(); reports.next())
        reported.insert(reportId.asInteger());
    reports.close();

    QList<qint64> pending;
    QString sql = QStringLiteral("SELECT MIN(DPATVPID) AS NextSet FROM DPATVPPSL");
    for (;;) {
        const QVariant next = selectValue(connection, sql, QStringLiteral("NextSet"));
        if (next.isNull())
            break;
        const qint64 id = next.toLongLong();
        if (!reported.contains(id))
            pending.append(id);
        sql = QStringLiteral("SELECT MIN(DPATVPID) AS NextSet FROM DPATVPPSL WHERE DPATVPID > ")
            + QString::number(id);
    }
    return pending;
}

QString narrowed(const QString& sql, const QList<qint64>& ids)
{
    static const QRegularExpression condition(
        QStringLiteral(R"(\b((?:\w+\.)?dpatvpid)\s+not\s+in\s*\(\s*select\s+dpatvpid\s+from\s+dpatvp\s*\))"),
        QRegularExpression::CaseInsensitiveOption);
    QString list;
    if (ids.isEmpty()) {
        list = QStringLiteral("\\1 is null");
    } else {
        QStringList numbers;
        for (qint64 id : ids)
            numbers << QString::number(id);
        list = QStringLiteral("\\1 in (") + numbers.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    QString result = sql;
    result.replace(condition, list);
    return result;
}

QStringList narrowed(const QStringList& lines, const QList<qint64>& ids)
{
    QStringList result;
    result.reserve(lines.size());
    for (const QString& line : lines)
        result << narrowed(line, ids);
    return result;
}

}  // namespace PendingSets
