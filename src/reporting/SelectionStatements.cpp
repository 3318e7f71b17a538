#include "reporting/SelectionStatements.h"

#include "core/Config.h"
#include "data/dataset/DatasetUtils.h"
#include "data/engine/Dialect.h"

namespace {

// One market list: the activity codes of a market type on domestic or foreign markets.
QString marketTypeCondition(const QString& codes, const QString& domesticTest, const QString& type)
{
    return QStringLiteral("P.SfDjv in (") + SelectionStatements::codeList(codes)
        + QStringLiteral(") AND ") + domesticTest + QStringLiteral(" and T.SfTrz = '") + type
        + QStringLiteral("' ");
}

// The condition of one side (domestic or foreign) from its keys of market types 2 and 3.
QString sideCondition(const QString& type2, const QString& type3, const QString& domesticTest)
{
    if (!type2.isEmpty() && !type3.isEmpty())
        return QStringLiteral("((") + marketTypeCondition(type2, domesticTest, QStringLiteral("2"))
            + QStringLiteral(") OR (P.SfDjv in (") + SelectionStatements::codeList(type3)
            + QStringLiteral(") AND ") + domesticTest + QStringLiteral(" and T.SfTrz = '3')) ");
    if (!type2.isEmpty())
        return marketTypeCondition(type2, domesticTest, QStringLiteral("2"));
    if (!type3.isEmpty())
        return marketTypeCondition(type3, domesticTest, QStringLiteral("3"));
    return QString();
}

// The market condition for the trades of alias D (cancellations, replacement trades).
QString marketConditionOfD(const Config& config)
{
    QString condition = SelectionStatements::marketCondition(config);
    condition.replace(QStringLiteral("P.SfDjv"), QStringLiteral("D.SfDjv"), Qt::CaseInsensitive);
    return condition;
}

QString referenceExpression(const Config& config)
{
    return nextValueExpression(QStringLiteral("DPATVPPSL_SEQ"), dialectOf(config));
}

}  // namespace

namespace SelectionStatements {

QString codeList(const QString& value)
{
    return QuotedCharList(value, QStringLiteral(","));
}

QString domesticCondition(const Config& config)
{
    return sideCondition(config.DMC_2, config.DMC_3, QStringLiteral("T.SfDrzTrg='S'"));
}

QString foreignCondition(const Config& config)
{
    return sideCondition(config.Tuj_2, config.Tuj_3, QStringLiteral("T.SfDrzTrg<>'S'"));
}

QString marketCondition(const Config& config)
{
    const QString domestic = domesticCondition(config);
    const QString foreign = foreignCondition(config);
    if (!domestic.isEmpty() && !foreign.isEmpty())
        return QStringLiteral(" AND ((") + domestic + QStringLiteral(") OR (") + foreign
            + QStringLiteral(")) ");
    if (!foreign.isEmpty())
        return QStringLiteral(" AND (") + foreign + QStringLiteral(") ");
    if (!domestic.isEmpty())
        return QStringLiteral(" AND (") + domestic + QStringLiteral(") ");
    return QString();
}

QString remoteMemberCondition(const QString& tradeAlias, const QString& contractAlias)
{
    const QString& t = tradeAlias;
    const QString& c = contractAlias;
    return QStringLiteral(" AND (((%1.SFTYPE='P') AND ((%2.REMOTECLAN IS NOT NULL) OR "
                          "(%2.REMOTECLAN<>''))) OR ((%1.SFTYPE<>'P') OR (%1.SFTYPE is NULL)))")
        .arg(t, c);
}

QStringList newTrades(const Config& config, qint64 reportId)
{
    const QString market = marketCondition(config);
    QStringList lines;
    lines << QStringLiteral(" SELECT ") + QString::number(reportId)
                 + QStringLiteral(" as DpAtvpId, P.IdPsl, 'N' as IsStn , ") + referenceExpression(config)
                 + QStringLiteral(" as IDREFATVP ");
    lines << QStringLiteral(" FROM PSL P LEFT OUTER JOIN DPATVPPSL A ON P.IdPsl = A.IdPsl JOIN SFVP S ON P.SFVP=S.SFVP ");
    if (!market.isEmpty())
        lines << QStringLiteral(" JOIN TRG T ON P.SfTrg = T.SfTrg ");
    lines << QStringLiteral(" JOIN POG PG ON P.IDPOG=PG.IDPOG ");
    lines << QStringLiteral(" WHERE P.Dan >= :Dan AND P.Dan <= :DanDo AND A.IdRefATVP IS NULL AND P.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) ");
    lines << QStringLiteral(" AND S.PorocanjeZTFI='D' ");
    lines << remoteMemberCondition(QStringLiteral("P"), QStringLiteral("PG"));
    if (!config.TipPosla.isEmpty())
        lines << QStringLiteral(" AND P.SfPsl in (") + codeList(config.TipPosla) + QStringLiteral(") ");
    if (!market.isEmpty())
        lines << market;
    return lines;
}

QStringList cancellations(const Config& config, qint64 reportId)
{
    const QString market = marketConditionOfD(config);
    QStringList lines;
    lines << QStringLiteral(" SELECT ") + QString::number(reportId)
                 + QStringLiteral(" as DpAtvpId, D.IdPsl, 'D'  as IsStn, P.IdRefATVP ");
    lines << QStringLiteral(" FROM DPATVPPSLSTN D LEFT OUTER JOIN DPATVPPSL A ON D.IdPsl = A.IdPsl ");
    lines << QStringLiteral(" JOIN DPATVPPSL P ON P.IdPsl=D.IdPsl JOIN SFVP S ON D.SFVP=S.SFVP ");
    if (!market.isEmpty())
        lines << QStringLiteral(" JOIN TRG T ON D.SfTrg = T.SfTrg ");
    lines << QStringLiteral(" JOIN POG PG ON D.IDPOG=PG.IDPOG ");
    lines << QStringLiteral(" WHERE NOT EXISTS (SELECT IDPSL FROM DPATVPPSL X WHERE X.IDPSL = A.IDPSL AND X.IsStn = 'D') ");
    lines << QStringLiteral("   AND EXISTS (SELECT IDPSL FROM DPATVPPSL X WHERE X.IDPSL = D.IDPSL) ");
    lines << QStringLiteral(" AND S.PorocanjeZTFI='D' ");
    lines << remoteMemberCondition(QStringLiteral("D"), QStringLiteral("PG"));
    if (!market.isEmpty())
        lines << market;
    return lines;
}

QStringList replacements(const Config& config, qint64 reportId)
{
    const QString market = marketConditionOfD(config);
    QStringList lines;
    lines << QStringLiteral(" SELECT ") + QString::number(reportId)
                 + QStringLiteral(" as DpAtvpId, D.IdPsl, 'N'  as IsStn, ") + referenceExpression(config)
                 + QStringLiteral(" as IdRefATVP ");
    lines << QStringLiteral(" FROM PSL D JOIN SFVP S ON D.SFVP=S.SFVP");
    if (!market.isEmpty())
        lines << QStringLiteral(" JOIN TRG T ON D.SfTrg = T.SfTrg ");
    lines << QStringLiteral(" JOIN POG PG ON D.IDPOG=PG.IDPOG ");
    lines << QStringLiteral(" WHERE D.IDPSL IN (select IDPSLEDT FROM DPATVPPSLSTN DS, POG PG1 where DS.IDPOG=PG1.IDPOG ");
    lines << remoteMemberCondition(QStringLiteral("DS"), QStringLiteral("PG1"));
    lines << QStringLiteral(" AND NOT EXISTS (select IDPSL from DPATVPPSL X where X.IDPSL = DS.IDPSLEDT) AND EXISTS (SELECT IdPSL FROM DPATVPPSL X WHERE X.IDPSL = DS.IDPSL)) ");
    lines << QStringLiteral(" AND S.PorocanjeZTFI='D' ");
    lines << remoteMemberCondition(QStringLiteral("D"), QStringLiteral("PG"));
    lines << QStringLiteral(" AND D.IDPSL NOT IN (SELECT IDPSL FROM DPATVPPSL) ");
    lines << QStringLiteral(" AND D.Dan >= :Dan AND D.Dan <= :DanDo ");
    if (!market.isEmpty())
        lines << market;
    return lines;
}

QStringList pendingImports()
{
    return {QStringLiteral(" SELECT IDIMP FROM DPATVPIMP "),
            QStringLiteral(" WHERE Datum >= :Datum AND Datum <= :DatumDo "),
            QStringLiteral(" AND DpAtvpId is null ")};
}

QString assignImport()
{
    return QStringLiteral(" UPDATE DPATVPIMP SET DPATVPID=:DPATVPID WHERE IDIMP=:IDIMP ");
}

QStringList pendingRows()
{
    return {QStringLiteral(" SELECT DPATVPID, IDPSL FROM DPATVPPSL "),
            QStringLiteral(" WHERE DPATVPID NOT IN (select DPATVPID from dpatvp) ")};
}

QString deletePendingRow(qint64 reportId, qint64 tradeId)
{
    return QStringLiteral("DELETE FROM DPATVPPSL WHERE DPATVPID=") + QString::number(reportId)
        + QStringLiteral(" AND IDPSL=") + QString::number(tradeId);
}

QStringList orphanedImports()
{
    return {QStringLiteral(" select IDIMP from dpatvpimp "),
            QStringLiteral(" where DPATVPID NOT IN (select DPATVPID from dpatvp) ")};
}

QString releaseImport()
{
    return QStringLiteral(" UPDATE DPATVPIMP SET DPATVPID=NULL WHERE IDIMP=:IDIMP ");
}

QStringList unsentReports()
{
    return {QStringLiteral(" SELECT DPATVPID, ZAPST FROM DPATVP "),
            QStringLiteral(" WHERE DAN is NULL AND DANPOROCANJA >= :Datum AND DanPorocanja <= :DatumDo ")};
}

QString sentReportOfSet()
{
    return QStringLiteral(" SELECT ZAPST FROM DPATVP WHERE DPATVPID = :DPATVPID AND DAN IS NOT NULL ");
}

QString deleteReportRows(qint64 reportId)
{
    return QStringLiteral("DELETE FROM DPATVPPSL WHERE DPATVPID=") + QString::number(reportId);
}

}  // namespace SelectionStatements
