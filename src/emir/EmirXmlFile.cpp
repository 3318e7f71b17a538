#include "emir/EmirXmlFile.h"

#include "core/AtomicFile.h"
#include "core/Error.h"
#include "core/Interaction.h"
#include "data/dataset/Field.h"
#include "data/dataset/Queries.h"
#include "emir/EmirFieldValues.h"
#include "emir/EmirRegistry.h"
#include "emir/EmirSchema.h"
#include "emir/EmirStatements.h"
#include "emir/EmirTransaction.h"
#include "emir/EmirXmlText.h"
#include "ntrs/SchemaValidation.h"
#include "reporting/ReportCodes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

QList<EmirXmlDispute> disputesOf(TQueryDM& list)
{
    QList<EmirXmlDispute> disputes;
    if (!list.isActive())
        return disputes;
    const int current = list.recNo();
    for (list.first(); !list.eof(); list.next()) {
        EmirXmlDispute dispute;
        dispute.party = list.fieldByName(QStringLiteral("Stranka")).asString();
        dispute.counterparty = list.fieldByName(QStringLiteral("NasStranka")).asString();
        dispute.firstDay = dateOrNull(list.fieldByName(QStringLiteral("DatZacetka")));
        dispute.lastDay = dateOrNull(list.fieldByName(QStringLiteral("DatZakljucka")));
        dispute.amount = list.fieldByName(QStringLiteral("Vrednost")).asFloat();
        dispute.notes = list.fieldByName(QStringLiteral("Opombe")).asString();
        disputes << dispute;
    }
    if (current >= 0)
        list.setRecNo(current);
    return disputes;
}

}  // namespace

EmirXmlFile::EmirXmlFile(Connection& connection, const QString& matStev, const QString& programFolder)
    : connection_(connection), matStev_(matStev), programFolder_(programFolder)
{
}

QString EmirXmlFile::firmCode()
{
    QString backOffice;
    if (matStev_.isEmpty()) {
        TUniQuery query(connection_, QStringLiteral("qOSB"));
        query.setSql(EmirStatements::firmRegistration());
        query.paramByName(QStringLiteral("SfOsb")).setAsInteger(2);
        query.open();
        if (!query.isEmpty())
            backOffice = query.fieldByName(QStringLiteral("MTS")).asString();
    }
    return firmIdentifier(firmRegistration(matStev_, backOffice));
}

QString EmirXmlFile::filePath(const QString& firmCode, int serial, const QDate& today) const
{
    const QString name = QStringLiteral("EMIR001_") + firmCode + QLatin1Char('_')
        + QStringLiteral("%1").arg(serial, 4, 10, QLatin1Char('0')) + QLatin1Char('_')
        + today.toString(QStringLiteral("yy")) + QStringLiteral(".xml");
    return QDir(programFolder_).filePath(name);
}

QString EmirXmlFile::overwriteQuestion(const QString& path)
{
    return QStringLiteral("Datoteka ") + QLatin1Char('"') + path + QLatin1Char('"')
        + QStringLiteral(" že obstaja. Prepišem obstoječo datoteko ?");
}

QString EmirXmlFile::generate(EmirRegistry& registry, Interaction& ui)
{
    if (!registry.from().isValid())
        throw ZtfiError(QStringLiteral("Neveljaven začetni datum."));
    if (!registry.to().isValid())
        throw ZtfiError(QStringLiteral("Neveljaven končni datum."));
    const std::optional<EmirReportRow> report = registry.currentReport();
    if (!report)
        return QString();
    const QString code = firmCode();
    if (!ui.confirmYesNo(QStringLiteral("Želite pripraviti XML za izbrano EMIR poročilo ?")))
        return QString();
    const QString path = filePath(code, report->serial, QDate::currentDate());
    if (QFileInfo::exists(path) && !ui.confirmYesNo(overwriteQuestion(path)))
        return QString();

    runInTransaction(connection_, [&] {
        TUniQuery stamp(connection_, QStringLiteral("uEMIRPorocilo"));
        stamp.setSql(EmirStatements::stampReport());
        stamp.paramByName(QStringLiteral("DanCasKreiranja")).setAsDateTime(QDateTime::currentDateTime());
        stamp.paramByName(QStringLiteral("EMIRPorociloId")).setAsInteger(report->id);
        stamp.execSQL();
    });
    registry.reloadReports(report->id);
    const std::optional<EmirReportRow> stamped = registry.currentReport();
    if (!stamped || stamped->id != report->id)
        throw ZtfiError(QStringLiteral("Napaka pri iskanju poročila, ID = ") + QString::number(report->id));

    EmirXmlReport content;
    content.firmCode = code;
    content.preparedAt = stamped->preparedAt;
    content.serial = stamped->serial;
    content.reportDay = stamped->reportDay;
    content.unconfirmed = stamped->unconfirmed;
    content.cancelled = stamped->cancelled;
    content.disputes = disputesOf(registry.disputes());
    // The file takes its name only when it is valid against the schema it names.
    EmirSchema::ensureInFolder(programFolder_);
    AtomicFile file(path);
    const QByteArray bytes = EmirXmlText::document(content);
    file.write(bytes.constData(), bytes.size());
    file.close();
    if (const std::optional<ValidationFault> fault = validateFileAgainstNamedSchema(file.temporaryPath(), programFolder_))
        throw ZtfiError(QStringLiteral("Datoteka ") + path + QStringLiteral(" ni zapisana, ker ne ustreza shemi ")
                        + EmirSchema::fileName() + QStringLiteral(": ") + fault->reason);
    file.putInPlace();

    ui.inform(QStringLiteral("Generiranje XML datoteke je končano. Ime datoteke: ") + QLatin1Char('"') + path
              + QLatin1Char('"') + QLatin1Char('.'));
    return path;
}
