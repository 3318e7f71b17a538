#include "instruments/OverrideSyncStatement.h"

#include "core/Formats.h"
#include "data/engine/OleDate.h"

namespace {

// The rows whose instruments are classified: those of the pending selection, or of the
// regenerated report.
QString rowsCondition(std::optional<qint64> regeneratedReport)
{
    if (regeneratedReport)
        return QStringLiteral("    where D1.dpatvpid  = ") + QString::number(*regeneratedReport)
            + QLatin1Char(' ');
    return QStringLiteral("    where D1.dpatvpid not in (select DPATVPID from DPATVP) ");
}

// Host instruments of the storno rows, then of the regular rows; the last line closes the row
// source A.
QStringList selectionInstrumentLines(std::optional<qint64> regeneratedReport)
{
    return {
        QStringLiteral("   UNION "),
        QStringLiteral("   Select DISTINCT P1.SFVP "),
        QStringLiteral("    from DPATVPPSL D1 JOIN DPATVPPSLSTN P1 ON D1.IdPsl=P1.IdPsl "),
        QStringLiteral("    JOIN SFVP S1 ON P1.SFVP=S1.SFVP "),
        rowsCondition(regeneratedReport),
        QStringLiteral("    AND S1.PorocanjeZTFI='D' AND D1.IsStn = 'D' "),
        QStringLiteral("   UNION "),
        QStringLiteral("   Select DISTINCT P1.SFVP "),
        QStringLiteral("    from DPATVPPSL D1 JOIN PSL P1 ON D1.IdPsl=P1.IdPsl "),
        QStringLiteral("    JOIN SFVP S1 ON P1.SFVP=S1.SFVP "),
        rowsCondition(regeneratedReport),
        QStringLiteral("    AND S1.PorocanjeZTFI='D' AND (D1.IsStn IS NULL OR D1.IsStn <> 'D')) A "),
    };
}

// Instruments of the selection without a row that names a reporting instrument, or whose
// identity row holds no frozen data.
QStringList newInstrumentsHalf(std::optional<qint64> regeneratedReport)
{
    QStringList lines{
        QStringLiteral(" SELECT DISTINCT (CASE WHEN ((S.ISIN IS NULL) OR (S.ISIN='N')) THEN 3 "),
        QStringLiteral(" WHEN (upper(S.ISIN) IN (select upper(isin) from sfvp where POROCANJEZTFI='D' AND upper(isin)=upper(S.ISIN) AND (ZPDVP>:Datum or ZPDVP is null) group by upper(isin) having count(sfvp)>1)) THEN 2 "),
        QStringLiteral(" WHEN (upper(S.ISIN) IN (select upper(isin) from sfvp where POROCANJEZTFI='D' AND upper(isin)=upper(S.ISIN) AND S.ISIN IN (select ISIN FROM DPATVP) group by upper(isin) having count(sfvp)>1)) THEN 4 "),
        QStringLiteral(" ELSE 1 END) as Tip, "),
        QStringLiteral(" (select F1.SFVP_POROCANJE from DPATVP_SFVP F1 where F1.ISIN=S.ISIN AND F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=S.ISIN)) as SFVP_OLD, "),
        QStringLiteral("  S.SFVP, upper(S.ISIN) as ISIN, S.DANSPR FROM SFVP S, (Select DISTINCT D.INTINDINSTR as SFVP FROM DPATVPIMP D WHERE D.Datum>=:Datum AND D.Datum<=:DatumDo AND DPATVPID = :FMaxDpAtvpId "),
    };
    lines << selectionInstrumentLines(regeneratedReport);
    lines << QStringLiteral(" WHERE S.SFVP=A.SFVP AND POROCANJEZTFI='D'")
          << QStringLiteral(" AND ((upper(S.ISIN) NOT IN (SELECT upper(D.ISIN) FROM DPATVP_SFVP D WHERE D.SFVP_POROCANJE IS NOT NULL AND D.SFVP_OXU=S.SFVP)) ")
          << QStringLiteral("   OR (upper(S.ISIN) IN (SELECT upper(D.ISIN) FROM DPATVP_SFVP D WHERE D.SFVP_OXU=S.SFVP AND D.SFVP_POROCANJE=D.SFVP_OXU AND AII_PRODUCT IS NULL AND INSTRUMENTNAME IS NULL))) ");
    return lines;
}

// The rows in use whose frozen data differ from the host data of their reporting instrument.
QStringList changedDataHalf(SqlDialect dialect, std::optional<qint64> regeneratedReport)
{
    const bool db2 = dialect == SqlDialect::Db2;
    QStringList lines{
        QStringLiteral(" UNION "),
        QStringLiteral(" SELECT 0 as Tip, "),
        db2 ? QStringLiteral(" (select COALESCE(F1.SFVP_POROCANJE,0) from DPATVP_SFVP F1 ")
            : QStringLiteral(" (select NVL(F1.SFVP_POROCANJE,0) from DPATVP_SFVP F1 "),
        QStringLiteral("    where F1.ISIN=DP.ISIN AND F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=DP.ISIN) "),
        QStringLiteral("    and EXISTS (select SFVP FROM SFVP WHERE SFVP=F1.SFVP_POROCANJE AND ZPDVP<:Datum) AND F1.ISIN IN (select upper(ISIN) from sfvp where POROCANJEZTFI='D'  "),
        QStringLiteral("      AND upper(isin)=upper(F1.ISIN) AND (ZPDVP>:Datum or ZPDVP is null) group by upper(isin) having count(sfvp)=1)) as SFVP_OLD, "),
        db2 ? QStringLiteral(" DP.SFVP_OXU as SFVP, DP.ISIN, ") : QStringLiteral(" DP.SFVP_OXU, DP.ISIN, "),
        QStringLiteral(" (CASE WHEN ((select NVL(MIC,' ') from trg where sftrg=(select sftrg from ktc "),
        QStringLiteral("        where sfktc=(select max(sfktc) from ktc where sfvp=S.SFVP "),
        QStringLiteral("        and (danprk is null or danprk>:DatumDo))))<>NVL(DP.AII_MIC,' ') "),
        QStringLiteral("        OR NVL(O.NZV,' ')<>NVL(DP.IZD,' ') OR upper(NVL(D.ISOKODA,' '))<>NVL(DP.DRZ_IZD,' ')) "),
        db2 ? QStringLiteral("      THEN (SELECT Current DATE FROM SYSIBM.SYSDUMMY1) ")
            : QStringLiteral("      THEN (select CURRENT_DATE from dual) "),
        QStringLiteral("      WHEN (S.DANSPR > DP.DANSPR_SFVP) "),
        QStringLiteral("      then S.DANSPR "),
        QStringLiteral("      else DP.DANSPR_SFVP "),
        QStringLiteral(" END) as DanSpr "),
        QStringLiteral(" FROM DPATVP_SFVP DP, SFVP S, KTC K, OSB O, DRZ D "),
        QStringLiteral("  , (Select DISTINCT D.INTINDINSTR as SFVP FROM DPATVPIMP D WHERE D.Datum>=:Datum AND D.Datum<=:DatumDo "),
    };
    lines << selectionInstrumentLines(regeneratedReport);
    lines << QStringLiteral(", SFVP SA ")
          << QStringLiteral(" where A.SFVP=SA.SFVP ")
          << QStringLiteral(" AND S.SFVP=(select F1.SFVP_POROCANJE from DPATVP_SFVP F1 where F1.ISIN=SA.ISIN AND F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN)) ")
          << QStringLiteral(" AND S.SFVP=DP.SFVP_POROCANJE ")
          << QStringLiteral(" AND K.SFKTC=(select min(sfktc) from ktc where sfvp=S.SFVP) ")
          << QStringLiteral(" AND S.SFOSBIZD=O.SFOSB ")
          << QStringLiteral(" AND O.SfDRZ=D.SFDRZ ");
    lines << QStringLiteral(" AND (substr(NVL(S.NZV,' '),1,40)<>NVL(DP.InstrumentName,' ') ")
          << QStringLiteral(" OR NVL(O.NZV,' ')<>NVL(DP.IZD,' ') ")
          << QStringLiteral(" OR upper(NVL(D.ISOKODA,' '))<>NVL(DP.DRZ_IZD,' ') ")
          << QStringLiteral(" OR upper(NVL(S.CFI,' '))<>NVL(AII_CFI,' ') ")
          << QStringLiteral(" OR (CASE WHEN S.DanSPR IS NULL THEN K.Dan ELSE S.DanSPR END)>DP.DANSPR_SFVP ");
    if (db2) {
        lines << QStringLiteral(" OR COALESCE(S.GLVNMN, 0)<>COALESCE(DP.GLVNMN, 0) ")
              << QStringLiteral(" OR COALESCE(S.LOTEMS, 0)<>COALESCE(DP.LOTEMS, 0) ")
              << QStringLiteral(" OR COALESCE(S.IZVCEN, 0)<>COALESCE(DP.AII_STRIKEPRICE, 0) ");
    } else {
        lines << QStringLiteral(" OR NVL(S.GLVNMN, 0)<>NVL(DP.GLVNMN, 0) ")
              << QStringLiteral(" OR NVL(S.LOTEMS, 0)<>NVL(DP.LOTEMS, 0) ")
              << QStringLiteral(" OR NVL(S.IZVCEN, 0)<>NVL(DP.AII_STRIKEPRICE, 0) ");
    }
    lines << QStringLiteral(" OR (SELECT upper(NVL(KRT,' ')) FROM VLT WHERE SFVLT=S.SfVLTNMN)<>NVL(DP.VLT,' ') ");
    // An empty frozen expiry compares as day zero of the date type.
    const QDate dayZero = OleDate::epoch();
    if (db2 && !regeneratedReport) {
        lines << QStringLiteral(" OR S.ZPDVP<>NVL(DP.AII_EXPIRY, '") + Formats::dateText(dayZero)
                + QStringLiteral("') ");
    } else {
        lines << QStringLiteral(" OR S.ZPDVP<>NVL(DP.AII_EXPIRY, TO_DATE('")
                + Formats::monthDayYearText(dayZero) + QStringLiteral("','mm/dd/yyyy')) ");
    }
    lines << QStringLiteral(" OR (select NVL(MIC,' ') from trg ")
          << QStringLiteral(" where sftrg=(select sftrg from ktc where sfktc=(select max(sfktc) from ktc where sfvp=S.SFVP and (danprk is null or danprk>:DatumDo))))<>NVL(DP.AII_MIC,' ')) ");
    return lines;
}

}  // namespace

namespace OverrideSyncStatement {

QStringList classificationLines(SqlDialect dialect, std::optional<qint64> regeneratedReport)
{
    return newInstrumentsHalf(regeneratedReport) + changedDataHalf(dialect, regeneratedReport);
}

QString classification(SqlDialect dialect, std::optional<qint64> regeneratedReport)
{
    return nvlForDialect(classificationLines(dialect, regeneratedReport).join(QLatin1Char('\n')),
                         dialect);
}

QString insertPending()
{
    return QStringLiteral(" INSERT INTO DPATVP_SFVP (ISIN, DANSPR, USRSPR, DANSPR_SFVP, SFVP_OXU ) VALUES ( :ISIN, :DANSPR, :USRSPR, :DANSPR_SFVP, :SFVP_OXU ) ");
}

QString insertReporting(bool withExpiry, bool withReplacement)
{
    QStringList lines;
    lines << QStringLiteral(" INSERT INTO DPATVP_SFVP (ISIN, DANSPR, USRSPR, DANSPR_SFVP, SFVP_OXU, SFVP_POROCANJE, AII_MIC, AII_PRODUCT, AII_CFI, ");
    if (withExpiry)
        lines << QStringLiteral(" AII_EXPIRY, ");
    lines << QStringLiteral(" AII_STRIKEPRICE, IZD, DRZ_IZD, GLVNMN, VLT, LOTEMS, INSTRUMENTNAME ");
    if (withReplacement)
        lines << QStringLiteral(" , SFVP_OLD, XML ");
    lines << QStringLiteral(" ) ");
    lines << QStringLiteral(" VALUES ( :ISIN, :DANSPR, :USRSPR, :DANSPR_SFVP, :SFVP_OXU, :SFVP_POROCANJE, :AII_MIC, :AII_PRODUCT, :AII_CFI, ");
    if (withExpiry)
        lines << QStringLiteral(" :AII_EXPIRY, ");
    lines << QStringLiteral(" :AII_STRIKEPRICE, :IZD, :DRZ_IZD, :GLVNMN, :VLT, :LOTEMS, :INSTRUMENTNAME ");
    if (withReplacement)
        lines << QStringLiteral(" , :SFVP_OLD, :XML ");
    lines << QStringLiteral(" ) ");
    return lines.join(QLatin1Char('\n'));
}

QString refresh(bool expiryEmpty, RefreshReplacement replacement)
{
    QStringList lines;
    lines << QStringLiteral(" UPDATE DPATVP_SFVP SET DANSPR_SFVP  = :DANSPR_SFVP, DanSpr = :DanSpr, UsrSpr = :UsrSpr, AII_MIC = :AII_MIC, AII_PRODUCT = :AII_PRODUCT, AII_CFI = :AII_CFI, ");
    lines << (expiryEmpty ? QStringLiteral(" AII_EXPIRY = NULL, ")
                          : QStringLiteral(" AII_EXPIRY = :AII_EXPIRY, "));
    lines << QStringLiteral(" AII_STRIKEPRICE = :AII_STRIKEPRICE, IZD = :IZD, DRZ_IZD = :DRZ_IZD, INSTRUMENTNAME=:INSTRUMENTNAME, GLVNMN=:GLVNMN, VLT=:VLT, LOTEMS=:LOTEMS ");
    if (replacement == RefreshReplacement::Announced)
        lines << QStringLiteral(" , SFVP_OLD = :SFVP_OLD, SFVP_POROCANJE = :SFVP_POROCANJE, XML = :XML ");
    else if (replacement == RefreshReplacement::Silent)
        lines << QStringLiteral(" , SFVP_OLD = :SFVP_OLD, SFVP_POROCANJE = :SFVP_POROCANJE ");
    lines << QStringLiteral(" WHERE ISIN = :ISIN AND SFVP_OXU = :SFVP_OXU ");
    return lines.join(QLatin1Char('\n'));
}

QString setAsideOtherVersions(bool reportingSet)
{
    return QStringLiteral(" UPDATE DPATVP_SFVP SET SFVP_OXU = -SFVP_OXU WHERE ISIN = :ISIN AND SFVP_OXU = :SFVP_OXU AND ")
        + (reportingSet ? QStringLiteral("(SFVP_POROCANJE IS NULL OR SFVP_POROCANJE <> :SFVP_POROCANJE) ")
                        : QStringLiteral("SFVP_POROCANJE IS NOT NULL "));
}

QString putBackOtherVersions()
{
    return QStringLiteral(" UPDATE DPATVP_SFVP SET SFVP_OXU = -SFVP_OXU WHERE ISIN = :ISIN AND SFVP_OXU = :SFVP_OXU ");
}

QString existingRows()
{
    return QStringLiteral("SELECT DANSPR_SFVP, SFVP_POROCANJE FROM DPATVP_SFVP\n"
                          "WHERE upper(ISIN)=upper(:ISIN) AND SFVP_OXU=:SFVP_OXU\n"
                          "ORDER BY DANSPR DESC");
}

}  // namespace OverrideSyncStatement
