#include "signing/SentReports.h"

#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "signing/FileSigner.h"

namespace SentReports {

QStringList signatureNames(Connection& connection)
{
    TDMQuery reports(connection, QStringLiteral("qPreveriPoslana"));
    reports.setSql(QStringLiteral(" select * from DPATVP ")
                   + QStringLiteral(" order by YEAR(DanPorocanja) desc, ZapSt desc "));
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
