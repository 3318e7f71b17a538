#include "signing/WaitingReports.h"

#include "core/Error.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "signing/FileLists.h"
#include "signing/ReportSigner.h"

#include <QSet>

namespace WaitingReports {

namespace {

QSet<QString> unsentFiles(Connection& connection)
{
    TDMQuery unsent(connection, QStringLiteral("qNeposlana"));
    unsent.setSql(QStringLiteral(" SELECT XML_FILE FROM DPATVP WHERE DAN IS NULL "));
    unsent.open();
    QSet<QString> files;
    const Field& file = unsent.fieldByName(QStringLiteral("XML_FILE"));
    for (unsent.first(); !unsent.eof(); unsent.next())
        files.insert(file.asString());
    return files;
}

}  // namespace

QStringList list(Connection& connection, const QString& programFolder)
{
    const QSet<QString> unsent = unsentFiles(connection);
    QStringList waiting;
    for (const QString& file : FileLists::LoadFilesByMask(programFolder, QStringLiteral("*.xml"))) {
        if (!ReportSigner::isDelivered(file) || unsent.contains(file))
            waiting << file;
    }
    return waiting;
}

void check(Connection& connection, const QString& programFolder, const QString& file)
{
    if (!list(connection, programFolder).contains(file))
        throw ZtfiError(notWaitingMessage(file));
}

QString notWaitingMessage(const QString& file)
{
    return QStringLiteral("Datoteka ") + file + QStringLiteral(" ni med poročili, ki čakajo na pošiljanje!");
}

}  // namespace WaitingReports
