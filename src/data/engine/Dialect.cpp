#include "data/engine/Dialect.h"

#include "core/Config.h"
#include "core/Formats.h"

#include <array>
#include <utility>

namespace {

// Every replacement of the dialect work replaces all occurrences, letters in any case.
void replaceAll(QString& text, const QString& before, const QString& after)
{
    text.replace(before, after, Qt::CaseInsensitive);
}

QString timeZoneStart(const QString& fixedZoneMarkets)
{
    return QStringLiteral("(CASE WHEN T.SFTRG In (") + fixedZoneMarkets
        + QStringLiteral(") THEN (CASE WHEN ((T.TimeZone is null) or (T.TimeZone ='')) THEN "
                         "'+01' ELSE T.TimeZone END) ELSE (");
}

}  // namespace

SqlDialect dialectOf(const Config& config)
{
    return config.isDb2() ? SqlDialect::Db2 : SqlDialect::Oracle;
}

QString PreparedStatements::reportRowsForOpen(SqlDialect dialect) const
{
    return dialect == SqlDialect::Db2 ? db2Rewrite(reportRows) : reportRows;
}

PreparedStatements prepareStatements(const QString& reportRowsTemplate,
                                     const QString& codeListTemplate, const Config& config)
{
    QString rows = reportRowsTemplate;
    QString codes = codeListTemplate;
    const bool db2 = dialectOf(config) == SqlDialect::Db2;

    if (!db2) {
        replaceAll(rows, QStringLiteral("%null_int%"), QStringLiteral("null"));
        replaceAll(codes, QStringLiteral("%null_int%"), QStringLiteral("null"));
        replaceAll(rows, QStringLiteral("%null_char%"), QStringLiteral("null"));
    } else {
        replaceAll(rows, QStringLiteral("%null_int%"), QStringLiteral("CAST(null AS integer)"));
        replaceAll(codes, QStringLiteral("%null_int%"), QStringLiteral("CAST(null AS integer)"));
        replaceAll(rows, QStringLiteral("%null_char%"), QStringLiteral("CAST(null AS char)"));
        rows = nvlToCoalesce(rows);
    }

    if (!config.FiksniTimeZoneZaTrg.isEmpty()) {
        replaceAll(rows, QStringLiteral("%TimeZone_Start%"), timeZoneStart(config.FiksniTimeZoneZaTrg));
        replaceAll(rows, QStringLiteral("%TimeZone_End%"), QStringLiteral(") END) "));
    } else {
        replaceAll(rows, QStringLiteral("%TimeZone_Start%"), QString());
        replaceAll(rows, QStringLiteral("%TimeZone_End%"), QString());
    }

    replaceAll(rows, QStringLiteral("%SegmentTrg%"),
               config.MIC_LJSE_C.isEmpty() ? QStringLiteral("upper(T.MIC)")
                                           : sqlStringLiteral(config.MIC_LJSE_C));

    if (!db2)
        replaceAll(rows, QStringLiteral("CAST(D.Cas as TIME) as Cas"), QStringLiteral("D.Cas"));

    return {rows, codes};
}

QString db2Rewrite(const QString& reportRows)
{
    static const std::array<std::pair<const char*, const char*>, 8> rewrites{{
        {"VARCHAR2(", "CHAR("},
        {"EXTRACT(Year FROM P.Dan)", "YEAR(P.Dan)"},
        {"trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+4)", "trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+4, 0)"},
        {"trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+1)", "trunc(5*CAST(YEAR(P.DAn) as INTEGER)/4+1, 0)"},
        {"(CASE WHEN T.SFTRG In (", "RTRIM((CASE WHEN T.SFTRG In ("},
        {") END)  as Offset", ") END))  as Offset"},
        {"TO_DATE(", ""},
        {",'dd.mm.yyyy')", ""},
    }};
    QString text = reportRows;
    for (const auto& [before, after] : rewrites)
        replaceAll(text, QString::fromLatin1(before), QString::fromLatin1(after));
    return text;
}

QString nvlToCoalesce(const QString& sql)
{
    QString text = sql;
    replaceAll(text, QStringLiteral("NVL("), QStringLiteral("COALESCE("));
    return text;
}

QString nvlForDialect(const QString& sql, SqlDialect dialect)
{
    return dialect == SqlDialect::Db2 ? nvlToCoalesce(sql) : sql;
}

QString dateLiteral(const QDate& date, SqlDialect dialect)
{
    const QString text = Formats::monthDayYearText(date);
    if (dialect == SqlDialect::Db2)
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    return QStringLiteral("TO_DATE('") + text + QStringLiteral("','mm/dd/yyyy')");
}

QString nextValueExpression(const QString& sequence, SqlDialect dialect)
{
    if (dialect == SqlDialect::Db2)
        return QStringLiteral("NEXTVAL FOR ") + sequence;
    return sequence + QStringLiteral(".NEXTVAL");
}

QString sqlStringLiteral(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString registerListOrder(SqlDialect dialect)
{
    if (dialect == SqlDialect::Db2)
        return QStringLiteral(" order by YEAR(DanPorocanja) desc, ZapSt desc ");
    return QStringLiteral(" order by EXTRACT(Year FROM DanPorocanja) desc, ZapSt desc ");
}
