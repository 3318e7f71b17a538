#include "signing/SentReports.h"

#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "signing/FileSigner.h"

namespace SentReports {

QString sql(SqlDialect dialect)
{
    return QStringLiteral(" select * from DPATVP ") + registerListOrder(dialect);
}

QStringList signatureNames(Connection& connection, SqlDialect dialect)
{
    TDMQuery reports(connection, QStringLiteral("qPreveriPoslana"));
    reports.setSql(sql(dialect));
    reports.open();
    QStringList names;
    for (reports.first(); !reports.eof(); reports.next()) {
        if (reports.fieldByName(QStringLiteral("DAN")).isNull())
            continue;
        names << FileSigner::signatureName(reports.fieldByName(QStringLiteral("XML_File")).asString());
    }
    return names;
}

}  // namespace SentReports
