#include "reporting/ReportRowsStatement.h"

namespace {

// The firm itself is person 2.
const char* const kFirmMts = "(SELECT MTS FROM OSB WHERE SfOsb=2)";
const char* const kFirmSwift = "(SELECT upper(SWIFT) FROM OSB WHERE SfOsb=2)";

// Standard offset of the market: "+01" when the market has none.
#define ZONE "(CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN '+01' ELSE T.TimeZone END)"
#define SUMMER_OFFSET "(CAST(" ZONE " as INTEGER)+1)"
#define SWITCH_YEAR "CAST(CAST(EXTRACT(Year FROM P.Dan) as INTEGER) as VARCHAR2(4))"

// Summer time lies strictly between the last Sundays of March and October of the trading day's
// year; inside it the offset moves one hour east, written as a sign and two digits.
const char* const kOffset =
    "%TimeZone_Start%(CASE WHEN ((P.Dan > TO_DATE(CAST(31-(mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) "
    "as INTEGER)/4+4),7)) as VARCHAR2(2)) || '.03.' || " SWITCH_YEAR ",'dd.mm.yyyy'))\n"
    "   AND (P.Dan < TO_DATE(CAST(31-(mod(trunc(5*CAST(EXTRACT(Year FROM P.Dan) as INTEGER)/4+1),7)) "
    "as VARCHAR2(2)) || '.10.' || " SWITCH_YEAR ",'dd.mm.yyyy')))\n"
    "   THEN (CASE WHEN " SUMMER_OFFSET " < 0 THEN '-' ELSE '+' END)\n"
    "     || (CASE WHEN ABS" SUMMER_OFFSET " < 10 THEN '0' ELSE '' END)\n"
    "     || CAST(ABS" SUMMER_OFFSET " as VARCHAR2(2))\n"
    "   ELSE " ZONE " END)%TimeZone_End%";

#undef SWITCH_YEAR
#undef SUMMER_OFFSET
#undef ZONE

// Trades of the domestic market 8 in segment "C" report the segment's MIC.
const char* const kMic =
    "(CASE WHEN ((P.SfTrg=(SELECT Sftrg from trg where sftrg=8)) AND (K.SfSgt='C')) THEN %SegmentTrg% "
    "ELSE upper(T.MIC) END)";

const char* const kOverridden = "F.SFVP_POROCANJE IS NOT NULL";

QString mic()
{
    return QString::fromLatin1(kMic);
}

QString overridden(const char* overrideValue, const QString& hostValue)
{
    return QStringLiteral("(CASE WHEN ") + QLatin1String(kOverridden) + QStringLiteral(" THEN ")
        + QLatin1String(overrideValue) + QStringLiteral(" ELSE ") + hostValue + QStringLiteral(" END)");
}

QString hostClientDesignation(const char* activity, const char* swift)
{
    return QStringLiteral("(CASE WHEN %1='L' THEN %null_char% WHEN ((%2 IS NOT NULL) AND (%2<>'')) "
                          "THEN 'BIC' ELSE 'Internal' END)")
        .arg(QLatin1String(activity), QLatin1String(swift));
}

// MIC of the venue of the latest listing of the reported instrument still listed after the last day.
const char* const kLatestListingMic =
    "(select MIC from trg where sftrg=(select sftrg from ktc where sfktc=(select max(sfktc) from ktc "
    "where sfvp=S.SFVP and (danprk is null or danprk>:DatumDo))))";

const char* const kImportKpn =
    "NVL((select GLV from KPN where sfvp=S.SFVP"
    " AND ((prvdan<:DatumDo) OR ((prvdan=:DatumDo) AND (sfobm IN ('>','='))))"
    " AND ((zdnDan>:DatumDo) OR ((zdnDan=:DatumDo) AND (sfobm IN ('<','='))))), 0)";

}  // namespace

const QVector<ReportRowColumn>& reportRowColumns()
{
    using K = ReportRowColumn::Kind;
    const QString nullChar = QStringLiteral("%null_char%");
    const QString nullInt = QStringLiteral("%null_int%");
    const QString reportedKrt = overridden("F.AII_PRODUCT", QStringLiteral("S.KRT"));
    const QString rowMicSet = QStringLiteral("((") + mic() + QStringLiteral(" IS NOT NULL) AND (") + mic()
        + QStringLiteral("<>''))");
    static const QVector<ReportRowColumn> columns = {
        {"POGNZV", "Pogodba", K::Text, 80, true, false, "G.NZV", nullChar},
        {"POGKDD", "Kdd račun", K::Text, 10, true, false, "G.KRTKDD", nullChar},
        {"SFVP_OXU", "Oznaka VP", K::Text, 40, false, false, reportedKrt, nullChar},
        {"MTS_BPH", "Oznaka zavezanca", K::Text, 11, false, false, kFirmMts, kFirmMts},
        {"MTS_BPHCalc", "Oznaka zavezanca", K::Text, 11, true, true, {}, {}},
        {"SWIFT_BPH", "Swift", K::Text, 11, true, false, kFirmSwift, kFirmSwift},
        {"Dan", "Datum transakcije", K::Date, 0, true, false, "P.Dan", "D.Datum"},
        {"Cas", "Cas transakcije", K::Time, 0, true, false, "P.CAS", "CAST(D.Cas as TIME)"},
        {"Offset", "Časovni pas", K::Text, 3, true, false, kOffset, "D.CasPas"},
        {"SFVP_KRT", "Kratica VP", K::Text, 40, true, false, reportedKrt, reportedKrt},
        {"IndNakProd", "Indikator nakupa/prodaje", K::Text, 1, true, false,
         "(CASE WHEN P.SfPsl IN ('N','A','B') THEN 'B' WHEN P.SfPsl IN ('P','a','b','{') THEN 'S' "
         "ELSE %null_char% END)",
         "D.INDNAKPRO"},
        {"TrgZmog", "Trgovalna zmogljivost", K::Text, 1, true, false,
         "(CASE WHEN P.SfDjv='L' THEN 'P' ELSE 'A' END)", "D.TRGZMO"},
        {"ISIN", "Identifikacija instrumenta ISIN", K::Text, 12, true, false,
         "(CASE WHEN ((S.ISIN IS NULL) OR (S.ISIN='')) THEN 'N' ELSE upper(S.ISIN) END)", "upper(D.ISIN)"},
        {"IntIndInstr", "Interna identifikacija instrumenta", K::Integer, 0, true, false,
         "NVL(F.SFVP_POROCANJE, S.SFVP)", "NVL(F.SFVP_POROCANJE, D.IntIndInstr)"},
        {"CenaEnote", "Cena enote", K::Number, 0, true, false, "P.GlvTcj", "D.CENA"},
        {"ZapisCene", "Zapis cene", K::Text, 1, true, false, "(CASE WHEN P.SfGlvEnt='%' THEN 'P' ELSE 'C' END)",
         "D.ZAPCENE"},
        {"Valuta", "", K::Text, 3, true, false, "upper(V.KRT)", "upper(D.VAL)"},
        {"Lot", "Količina", K::Number, 0, true, false,
         "(CASE WHEN P.IdPslTrp IS NULL THEN P.Lot ELSE P2.Lot END)", "D.KOL"},
        {"SfTRZ", "Šifra tržišča", K::Text, 1, false, false, "T.SfTRZ", nullChar},
        {"MIC", "", K::Text, 4, true, false, mic(), "upper(D.KLIENT)"},
        {"SfTrg", "", K::Integer, 0, true, false, "P.SfTrg", "0"},
        {"SWIFT", "", K::Text, 11, true, false, "upper(O.SWIFT)", "upper(D.KLIENT)"},
        {"KRTBNK", "Kratica banke", K::Text, 20, true, false, "upper(O.KRTBNK)", "upper(D.KLIENT)"},
        {"OznakaNaspStranke", "Oznaka nasprotne stranke", K::Text, 3, true, false,
         QStringLiteral("(CASE WHEN ((O.SWIFT IS NOT NULL) AND (O.SWIFT<>'')) THEN 'BIC' WHEN ") + rowMicSet
             + QStringLiteral(" THEN 'MIC' ELSE 'CC' END)"),
         "D.OZNNASSTR"},
        {"IdPsl", "ID posla", K::Integer, 0, true, false, "P.IdPsl", "D.REFSTTRANSA"},
        {"SfDjv", "Dejavnost", K::Text, 1, true, false, "P.SfDjv", nullChar},
        {"IDPSLTRP", "Protiposel ID", K::Integer, 0, true, false, "P.IDPSLTRP", nullInt},
        {"NS_SFDJV", "Dejavnost nasprotne stranke", K::Text, 1, true, false, "P2.SfDjv", nullChar},
        {"NS_SWIFT", "SWIFT nasprotne stranke", K::Text, 11, true, false, "upper(ONS.SWIFT)", "upper(D.NASSTR)"},
        {"NS_KRTBNK", "Kratica banke nasprotne stranke", K::Text, 20, true, false, "upper(ONS.KRTBNK)",
         "upper(D.NASSTR)"},
        {"NS_OznakaKlijenta", "Oznaka klienta nasprotne stranke", K::Text, 8, true, false,
         hostClientDesignation("P2.SfDjv", "ONS.SWIFT"), "D.OZNNASSTR"},
        {"OznakaKlijenta", "Oznaka klienta", K::Text, 8, true, false, hostClientDesignation("P.SfDjv", "O.SWIFT"),
         "D.OZNKLIENTA"},
        {"IdentMesta", "Identifikacija mesta", K::Text, 20, true, false,
         QStringLiteral("(CASE WHEN T.SfTrz='3' THEN %null_char% ELSE ") + mic() + QStringLiteral(" END)"),
         "D.IDENTMESTA"},
        {"OznakaIdentMesta", "Oznaka ident. mesta", K::Text, 4, true, false,
         QStringLiteral("(CASE WHEN ((T.SfTrz='3') OR NOT ") + rowMicSet
             + QStringLiteral(") THEN 'XOFF' ELSE 'MIC' END)"),
         "D.OZNMESTA"},
        {"RefStTransa", "Referenčna št. transakcije", K::Integer, 0, true, false, "P.IdPsl", "D.REFSTTRANSA"},
        {"DPATVPID", "ID za DPATVP", K::Integer, 0, false, false, "D.DPATVPID", "D.DPATVPID"},
        {"ISSTN", "Stornirana", K::Text, 1, false, false, "D.ISSTN",
         "(CASE WHEN D.RAZTRANSA='C' THEN 'D' ELSE 'N' END)"},
        {"IDREFATVP", "Referenčna št. DPATVP", K::Integer, 0, false, false, "D.IDREFATVP", nullInt},
        {"TRP_SWIFT", "", K::Text, 11, false, false, "upper(OTP.SWIFT)", nullChar},
        {"VRSTA", "Vrsta", K::Text, 1, true, false, "'Q'", "'I'"},
        {"RefStTransaC", "Referenčna št. transakcije", K::Text, 12, true, true, {}, {}},
        {"Trg_MIC", "MIC koda", K::Text, 4, true, false, overridden("F.AII_MIC", QLatin1String(kLatestListingMic)),
         overridden("F.AII_MIC", QLatin1String(kLatestListingMic))},
        {"IZVCEN", "Izvršilna cena", K::Number, 0, true, false,
         overridden("F.AII_STRIKEPRICE", QStringLiteral("S.IZVCEN")),
         overridden("F.AII_STRIKEPRICE", QStringLiteral("S.IZVCEN"))},
        {"ZPDVP", "Zapadlost VP", K::Date, 0, true, false, overridden("F.AII_EXPIRY", QStringLiteral("S.ZPDVP")),
         overridden("F.AII_EXPIRY", QStringLiteral("S.ZPDVP"))},
        {"CFI", "CFI koda", K::Text, 6, true, false, overridden("F.AII_CFI", QStringLiteral("upper(S.CFI)")),
         overridden("F.AII_CFI", QStringLiteral("upper(S.CFI)"))},
        {"KPN_GLV", "", K::Number, 0, true, false, "NVL((select GLV from KPN where sfkpn=P.SfKpn), 0)", kImportKpn},
    };
    return columns;
}

namespace {

QString selectList(bool imported)
{
    QStringList items;
    for (const ReportRowColumn& c : reportRowColumns()) {
        if (c.calculated)
            continue;
        items << (imported ? c.importExpression : c.hostExpression) + QStringLiteral(" as ") + c.name;
    }
    return QStringLiteral(" SELECT ") + items.join(QStringLiteral(",\n   ")) + QLatin1Char('\n');
}

// Joins of the host parts; trades is PSL for regular rows, DPATVPPSLSTN for cancellations.
QString hostJoins(const char* trades, const char* overrideRows)
{
    return QStringLiteral(
               " FROM DPATVPPSL D JOIN %1 P ON D.IdPsl=P.IdPsl\n"
               " LEFT OUTER JOIN PSL X ON X.IdPslTrp=-P.IdPslTrp\n"
               " LEFT OUTER JOIN PSL P2 ON P2.IdPsl=(CASE WHEN P.IdPslTrp>0 THEN P.IdPslTrp ELSE X.IdPsl END)\n"
               " LEFT OUTER JOIN POG PNS ON PNS.IdPog=P2.IdPog\n"
               " LEFT OUTER JOIN OSB ONS ON ONS.SfOsb=PNS.SfOsb\n"
               " JOIN SFVP SP ON SP.SFVP=P.SfVp\n"
               "%2"
               " JOIN SFVP S ON S.SFVP=NVL(F.SFVP_POROCANJE, SP.SFVP)\n"
               " JOIN POG G ON G.IdPog=P.IdPog\n"
               " JOIN OSB O ON O.SfOsb=G.SfOsb\n"
               " JOIN TRG T ON T.SfTrg=P.SfTrg\n"
               " JOIN VLT V ON V.SfVlt=P.SfVlt\n"
               " LEFT OUTER JOIN POG GTP ON GTP.IdPog=P.IdPogTrp\n"
               " LEFT OUTER JOIN OSB OTP ON OTP.SfOsb=GTP.SfOsb\n"
               " JOIN KTC K ON K.SFVP=S.SFVP AND K.SFKTC=(select min(sfktc) from ktc where sfvp=S.SFVP"
               " and (danprk is null or danprk>:Datum))\n"
               " where D.dpatvpid not in (select DPATVPID from DPATVP)\n")
        .arg(QLatin1String(trades), QLatin1String(overrideRows));
}

// The override rows are chosen in a derived table, so that the outer join itself holds no
// subquery (which older Oracle servers refuse). The ISIN "N" stands for none and joins no row.
// The current row of each ISIN.
const char* const kCurrentOverride =
    " LEFT OUTER JOIN (select * from DPATVP_SFVP F1\n"
    "   where F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN)) F ON upper(F.ISIN)=upper(SP.ISIN)"
    " AND upper(SP.ISIN)<>'N'\n";

// The current row of each ISIN when it is an identity row, and every replacement row whose
// reporting instrument is that of the current row.
const char* const kOverrideSet =
    " LEFT OUTER JOIN (select * from DPATVP_SFVP F1\n"
    "   where (F1.SFVP_POROCANJE=F1.SFVP_OXU AND F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN))\n"
    "     OR (F1.SFVP_POROCANJE<>F1.SFVP_OXU AND F1.SFVP_POROCANJE=(select F2.SFVP_POROCANJE from DPATVP_SFVP F2"
    " where F2.ISIN=F1.ISIN AND F2.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F2.ISIN)))) F"
    " ON upper(F.ISIN)=upper(SP.ISIN) AND upper(SP.ISIN)<>'N'\n";

}  // namespace

QString reportRowsTemplate()
{
    QString sql;
    // Regular rows of the pending selection, with the trade from the host.
    sql += selectList(false);
    sql += hostJoins("PSL", kOverrideSet);
    sql += QStringLiteral(" AND (D.IsStn IS NULL OR D.IsStn<>'D')\n"
                          " AND P.Dan>=:Datum AND P.Dan<=:DatumDo\n"
                          " AND S.PorocanjeZTFI='D'\n");
    // Cancellations of trades reported earlier, with the copy of the cancelled trade.
    sql += QStringLiteral(" UNION\n");
    sql += selectList(false);
    sql += hostJoins("DPATVPPSLSTN", kCurrentOverride);
    sql += QStringLiteral(" AND D.IsStn='D'\n"
                          " AND S.PorocanjeZTFI='D'\n");
    // Manually imported transactions taken by this selection.
    sql += QStringLiteral(" UNION\n");
    sql += selectList(true);
    sql += QStringLiteral(" FROM DPATVPIMP D\n"
                          " JOIN SFVP SP ON SP.SFVP=D.INTINDINSTR\n");
    sql += QLatin1String(kCurrentOverride);
    sql += QStringLiteral(" JOIN SFVP S ON S.SFVP=NVL(F.SFVP_POROCANJE, SP.SFVP)\n"
                          " WHERE D.Datum>=:Datum AND D.Datum<=:DatumDo AND D.DPATVPID=:FMaxDpAtvpId\n");
    sql += QStringLiteral(" ORDER BY VRSTA DESC, ISSTN DESC");
    return sql;
}
