#include "instruments/CodeList.h"
#include "state/ZtfiApp.h"

#include <QStringList>

namespace {

FieldDef field(const char* name, FieldType type, int size, const QString& label,
               bool visible = true)
{
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.type = type;
    def.size = size;
    def.displayLabel = label;
    def.visible = visible;
    return def;
}

}  // namespace

CodeList::CodeList(Connection& connection) : query_(connection, QStringLiteral("qSifrantFinInstr"))
{
    for (const FieldDef& def : fields())
        query_.addField(def);
    query_.loaded();
}

QString CodeList::statementTemplate()
{
    // "override" below: the applicable override row DP names a reporting instrument.
    static const QStringList lines{
        QStringLiteral("SELECT DISTINCT"),
        QStringLiteral(" (select upper(SWIFT) from OSB where sfOsb=2) as Swift_BPH,"),
        QStringLiteral(" (CASE WHEN ((S.ISIN IS NULL) OR (S.ISIN='')) THEN 'N' ELSE upper(S.ISIN) END) as ISIN,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.SFVP_POROCANJE ELSE S.SFVP END) as IntIdent,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.InstrumentName ELSE substr(S.NZV,1,40) END) as ImeInstrumenta,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.IZD ELSE O.NZV END) as ImeIzdajatelja,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.DRZ_IZD ELSE upper(D.ISOKODA) END) as ISOKODA,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.AII_CFI ELSE upper(S.CFI) END) as TipInstr,"),
        QStringLiteral(" (CASE WHEN COALESCE(LENGTH(TRIM(S.CFI)),0)<6 THEN 'Custom' ELSE 'CFI' END) as OznakaTipaInstr,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE<>DP.SFVP_OXU THEN (select max(X.DANSPR_SFVP) from DPATVP_SFVP X where X.SFVP_OXU=DP.SFVP_POROCANJE)"),
        QStringLiteral("       WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.DANSPR_SFVP"),
        QStringLiteral("       WHEN S.DanSPR IS NULL THEN K.Dan ELSE S.DanSPR END) as DanSPR,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.GLVNMN ELSE S.GLVNMN END) as NomVredEnote,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.VLT ELSE (select upper(KRT) from VLT where SFVLT=S.SfVLTNMN) END) as Valuta,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.LOTEMS ELSE S.LOTEMS END) as LotEms,"),
        QStringLiteral(" '' as DatumIzdaje,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.AII_EXPIRY ELSE S.ZPDVP END) as DatumPrenehanja,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.SFVP_POROCANJE ELSE S.SFVP END) as SFVP,"),
        QStringLiteral(" S.KOS,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.GLVNMN ELSE S.GLVNMN END) as GLVNMN,"),
        QStringLiteral(" (select upper(KRT) from VLT where SFVLT=S.SfVLTNMN) as VLT,"),
        QStringLiteral(" (CASE WHEN DP.XML='D' THEN DP.SFVP_OLD ELSE %null_int% END) as Referenca,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.AII_MIC ELSE (select MIC from trg where sftrg=(select sftrg from ktc where sfktc=(select max(sfktc) from ktc where sfvp=S.SFVP and (danprk is null or danprk>:DatumDo)))) END) as Trg_MIC,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.AII_PRODUCT ELSE S.KRT END) as KRT,"),
        QStringLiteral(" (CASE WHEN DP.SFVP_POROCANJE IS NOT NULL THEN DP.AII_STRIKEPRICE ELSE S.IZVCEN END) as IzvCen"),
        // SP: the host instruments of the selection: regular rows not yet in a report and the
        // manual transactions of the period that are no cancellations.
        QStringLiteral(" FROM (Select S1.SFVP, S1.ISIN from DPATVPPSL D1 JOIN PSL P1 ON D1.IdPsl=P1.IdPsl JOIN SFVP S1 ON P1.SFVP=S1.SFVP"),
        QStringLiteral("        where D1.dpatvpid not in (select DPATVPID from DPATVP) AND S1.PorocanjeZTFI='D' AND (D1.IsStn IS NULL OR D1.IsStn <> 'D')"),
        QStringLiteral("       UNION"),
        QStringLiteral("       Select S1.SFVP, S1.ISIN from DPATVPIMP D1 JOIN SFVP S1 ON D1.INTINDINSTR=S1.SFVP"),
        QStringLiteral("        where D1.Datum >= :Datum AND D1.Datum <= :DatumDo AND (DPATVPID = :FMaxDpAtvpId) AND ((D1.RAZTRANSA IS NULL) OR (D1.RAZTRANSA<>'C'))) SP"),
        // DP: the current row of an ISIN when it is an identity row, and every replacement row
        // that names the reporting instrument of the ISIN's current row.
        // UISIN repeats the join on an indexable column, so the join is not a full scan per row.
        QStringLiteral(" LEFT OUTER JOIN (select F1.*, upper(F1.ISIN) as UISIN from DPATVP_SFVP F1 where F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN) AND SFVP_POROCANJE=SFVP_OXU"),
        QStringLiteral("       UNION"),
        QStringLiteral("       select F2.*, upper(F2.ISIN) as UISIN from DPATVP_SFVP F2 where F2.SFVP_POROCANJE=(select F1.SFVP_POROCANJE from DPATVP_SFVP F1 where F1.ISIN=F2.ISIN AND F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN)) AND SFVP_POROCANJE<>SFVP_OXU) DP"),
        // The ISIN "N" stands for none: such instruments take no override.
        QStringLiteral("   ON upper(SP.ISIN)=upper(DP.ISIN) AND DP.UISIN=upper(SP.ISIN) AND DP.UISIN<>'N'"),
        // S: the instrument whose data are shown: the reporting instrument under an override.
        QStringLiteral(" JOIN SFVP S ON (((DP.SFVP_POROCANJE=S.SFVP) and DP.SFVP_POROCANJE IS NOT NULL) OR ((DP.SFVP_POROCANJE IS NULL) and (SP.SFVP=S.SFVP)))"),
        QStringLiteral(" JOIN OSB O ON S.SFOSBIZD=O.SFOSB"),
        QStringLiteral(" JOIN FIN F ON S.SFFIN=F.SFFIN"),
        QStringLiteral(" JOIN DRZ D ON O.SfDRZ=D.SFDRZ"),
        QStringLiteral(" JOIN KTC K ON K.SFKTC=(select min(sfktc) from ktc where sfvp=SP.SFVP)"),
    };
    return lines.join(QLatin1Char('\n'));
}

const QList<FieldDef>& CodeList::fields()
{
    static const QList<FieldDef> defs{
        field("Swift_BPH", FieldType::String, 11, QStringLiteral("Swift")),
        field("ISIN", FieldType::String, 14, QStringLiteral("Identifikacija instrumenta ISIN")),
        field("IntIdent", FieldType::Integer, 0, QStringLiteral("Interna identifikacija instrumenta")),
        field("ImeInstrumenta", FieldType::String, 40, QStringLiteral("Ime instrumenta")),
        field("ImeIzdajatelja", FieldType::String, 80, QStringLiteral("Naziv izdajatelja")),
        field("ISOKODA", FieldType::String, 2, QStringLiteral("Država izdajatelja")),
        field("TipInstr", FieldType::String, 6, QStringLiteral("Tip instrumenta")),
        field("OznakaTipaInstr", FieldType::String, 6, QStringLiteral("Oznaka tipa instrumenta")),
        field("DanSPR", FieldType::DateTime, 0, QStringLiteral("Datum zadnje spremembe")),
        field("NomVredEnote", FieldType::Float, 0, QStringLiteral("Nominalna vrednost enote")),
        field("Valuta", FieldType::String, 3, QStringLiteral("Valuta")),
        field("LotEms", FieldType::Float, 0, QStringLiteral("Izdana količina")),
        field("DatumIzdaje", FieldType::String, 10, QString()),
        field("DatumPrenehanja", FieldType::DateTime, 0, QStringLiteral("Datum prenehanja")),
        field("SFVP", FieldType::Integer, 0, QStringLiteral("Šifra VP")),
        field("KOS", FieldType::String, 1, QString()),
        field("GLVNMN", FieldType::Float, 0, QString(), false),
        field("VLT", FieldType::String, 3, QString(), false),
        field("Referenca", FieldType::Integer, 0, QString()),
        field("Trg_MIC", FieldType::String, 4, QString()),
        field("KRT", FieldType::String, 40, QString()),
        field("IzvCen", FieldType::Float, 0, QString()),
    };
    return defs;
}

void CodeList::open(const PreparedStatements& saved, const QDate& firstDay, const QDate& lastDay,
                    qint64 reportId, std::optional<qint64> regeneratedReport)
{
    query_.close();
    query_.setSql(regeneratedReport ? regeneratedCodeList(saved.codeList, *regeneratedReport)
                                    : saved.codeList);
    query_.paramByName(QStringLiteral("Datum")).setAsDate(firstDay);
    query_.paramByName(QStringLiteral("DatumDo")).setAsDate(lastDay);
    query_.paramByName(QStringLiteral("FMaxDpAtvpId")).setAsInteger(reportId);
    query_.open();
}

QString regeneratedCodeList(const QString& savedStatement, qint64 reportId)
{
    QString sql = savedStatement;
    sql.replace(QStringLiteral("D1.dpatvpid not in (select DPATVPID from DPATVP)"),
                QStringLiteral("D1.dpatvpid = ") + QString::number(reportId) + QLatin1Char(' '),
                Qt::CaseInsensitive);
    return sql;
}

CodeList& sharedCodeList(ZtfiApp& app)
{
    return app.datasets().get<CodeList>([&app] { return std::make_unique<CodeList>(app.connection()); });
}
