#include "instruments/OverrideList.h"

#include "data/dataset/Field.h"
#include "state/ZtfiApp.h"

#include <QStringList>

namespace {

FieldDef field(const char* name, FieldType type, int size, bool visible)
{
    FieldDef def;
    def.name = QString::fromLatin1(name);
    def.type = type;
    def.size = size;
    def.visible = visible;
    def.origin = QStringLiteral("DPATVP_SFVP.") + def.name;
    return def;
}

bool isEmpty(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

}  // namespace

OverrideList::OverrideList(Connection& connection)
    : query_(connection, QStringLiteral("qDPATVP_SFVP"))
{
    for (const FieldDef& def : fields())
        query_.addField(def);
    query_.loaded();
    query_.setSql(statement());
}

QString OverrideList::statement()
{
    static const QStringList lines{
        QStringLiteral("select * from DPATVP_SFVP F1 "),
        QStringLiteral("where ((F1.DANSPR=(select max(DANSPR) FROM DPATVP_SFVP WHERE ISIN=F1.ISIN) AND F1.ISIN in (select isin from DPATVP_SFVP GROUP BY ISIN HAVING COUNT(*)>1))"),
        QStringLiteral("OR ((F1.ISIN in (select isin from SFVP WHERE (ZPDVP IS NULL OR ZPDVP>CURRENT_DATE) GROUP BY ISIN HAVING COUNT(*)>1)) AND (F1.ISIN not in (select isin from DPATVP_SFVP GROUP BY ISIN HAVING COUNT(*)>1)))"),
        QStringLiteral("OR (F1.SFVP_POROCANJE IS NULL))"),
        QStringLiteral("AND ISIN LIKE :ISIN"),
    };
    return lines.join(QLatin1Char('\n'));
}

QString OverrideList::isinPattern(const QString& typedText)
{
    return typedText + QLatin1Char('%');
}

const QList<FieldDef>& OverrideList::fields()
{
    static const QList<FieldDef> defs{
        field("ISIN", FieldType::String, 14, true),
        field("SFVP_POROCANJE", FieldType::Integer, 0, true),
        field("SFVP_OLD", FieldType::Integer, 0, true),
        field("AII_MIC", FieldType::String, 4, false),
        field("AII_PRODUCT", FieldType::String, 12, false),
        field("AII_CFI", FieldType::String, 6, false),
        field("AII_EXPIRY", FieldType::DateTime, 0, false),
        field("AII_STRIKEPRICE", FieldType::Float, 0, false),
        field("IZD", FieldType::String, 80, false),
        field("DRZ_IZD", FieldType::String, 2, false),
        field("DANSPR", FieldType::DateTime, 0, true),
        field("GLVNMN", FieldType::Float, 0, false),
        field("VLT", FieldType::String, 3, false),
        field("LOTEMS", FieldType::Float, 0, false),
        field("USRSPR", FieldType::String, 20, false),
        field("XML", FieldType::String, 1, false),
        field("SFVP_OXU", FieldType::Integer, 0, false),
        field("DANSPR_SFVP", FieldType::DateTime, 0, false),
        field("INSTRUMENTNAME", FieldType::String, 40, false),
    };
    return defs;
}

void OverrideList::open(const QString& typedIsin)
{
    query_.close();
    query_.paramByName(QStringLiteral("ISIN")).setAsString(isinPattern(typedIsin));
    query_.open();
}

OverrideList::RowColour OverrideList::rowColour(const QVariant& reportingInstrument,
                                                const QVariant& replacedInstrument)
{
    if (!isEmpty(replacedInstrument))
        return RowColour::Replaced;
    if (isEmpty(reportingInstrument))
        return RowColour::Pending;
    return RowColour::Normal;
}

OverrideList::RowColour OverrideList::rowColour(int row) const
{
    return rowColour(query_.valueAt(row, query_.fieldByName(QStringLiteral("SFVP_POROCANJE"))),
                     query_.valueAt(row, query_.fieldByName(QStringLiteral("SFVP_OLD"))));
}

bool OverrideList::returnButtonVisible() const
{
    const Field& reporting = query_.fieldByName(QStringLiteral("SFVP_POROCANJE"));
    for (int row = 0; row < query_.recordCount(); ++row) {
        if (isEmpty(query_.valueAt(row, reporting)))
            return false;
    }
    return true;
}

OverrideList& sharedOverrideList(ZtfiApp& app)
{
    return app.datasets().get<OverrideList>([&app] { return std::make_unique<OverrideList>(app.connection()); });
}
