#include "ntrs/ReportFileName.h"

#include "ntrs/NtrsValues.h"
#include "reporting/ReportCodes.h"

QString reportFileName(const QString& registration, int serial, const QDate& yearDay)
{
    const QString firm = firmIdentifier(QString::number(toInt32(registration)));
    return QStringLiteral("TRDAT01_") + firm + QLatin1Char('_')
        + QString::asprintf("%.4d", serial) + QLatin1Char('_') + yearDay.toString(QStringLiteral("yy"))
        + QStringLiteral(".xml");
}

QString badReportFileName(const QString& reportFile)
{
    const qsizetype dot = reportFile.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = qMax(reportFile.lastIndexOf(QLatin1Char('/')), reportFile.lastIndexOf(QLatin1Char('\\')));
    const QString stem = dot > slash ? reportFile.left(dot) : reportFile;
    return stem + QStringLiteral(".bad");
}

QRegularExpression reportFileNamePattern()
{
    return QRegularExpression(QStringLiteral("^TRDAT01_[^/]+_-?\\d{4,}_\\d{2}\\.xml$"));
}
