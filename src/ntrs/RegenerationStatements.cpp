#include "ntrs/RegenerationStatements.h"

#include "reporting/SelectionStatements.h"

#include <stdexcept>

namespace {

// The selection statement with one of its lines replaced (an empty replacement drops the line).
// The lines are those of the selection's statements; a line that is not there is a fault of
// this program, never of the data.
QStringList replaced(QStringList lines, const QString& line, const QStringList& replacement)
{
    const qsizetype at = lines.indexOf(line);
    if (at < 0)
        throw std::logic_error("regeneration: selection statement line not found: " + line.toStdString());
    lines.remove(at);
    for (qsizetype i = 0; i < replacement.size(); ++i)
        lines.insert(at + i, replacement[i]);
    return lines;
}

}  // namespace

namespace RegenerationStatements {

QStringList newTrades(const Config& config, qint64 reportId)
{
    return replaced(
        SelectionStatements::newTrades(config, reportId),
        QStringLiteral(" WHERE P.Dan >= :Dan AND P.Dan <= :DanDo AND A.IdRefATVP IS NULL AND P.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) "),
        {QStringLiteral(" WHERE P.Dan >= :Dan AND P.Dan <= :DanDo AND A.IdRefATVP IS NULL ")});
}

QStringList cancellations(const Config& config, qint64 reportId)
{
    const QString id = QString::number(reportId);
    QStringList lines = SelectionStatements::cancellations(config, reportId);
    lines = replaced(lines,
                     QStringLiteral(" SELECT ") + id + QStringLiteral(" as DpAtvpId, D.IdPsl, 'D'  as IsStn, P.IdRefATVP "),
                     {QStringLiteral(" SELECT ") + id + QStringLiteral(" as DpAtvpId, D.IdPsl, 'D'  as IsStn, A.IdRefATVP ")});
    lines = replaced(lines,
                     QStringLiteral(" FROM DPATVPPSLSTN D LEFT OUTER JOIN DPATVPPSL A ON D.IdPsl = A.IdPsl "),
                     {QStringLiteral(" FROM DPATVPPSLSTN D LEFT OUTER JOIN DPATVPPSL A ON D.IdPsl = A.IdPsl JOIN SFVP S ON D.SFVP=S.SFVP ")});
    lines = replaced(lines,
                     QStringLiteral(" JOIN DPATVPPSL P ON P.IdPsl=D.IdPsl JOIN SFVP S ON D.SFVP=S.SFVP "), {});
    return replaced(lines, QStringLiteral(" AND S.PorocanjeZTFI='D' "),
                    {QStringLiteral(" AND D.Dan >= :Dan AND D.Dan <= :DanDo AND S.PorocanjeZTFI='D' ")});
}

QStringList replacements(const Config& config, qint64 reportId)
{
    return replaced(SelectionStatements::replacements(config, reportId),
                    QStringLiteral(" AND D.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) "), {});
}

}  // namespace RegenerationStatements
