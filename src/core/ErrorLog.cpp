#include "core/ErrorLog.h"

#include "core/Error.h"
#include "core/Formats.h"

#include <QDateTime>
#include <QFile>

ErrorLog::ErrorLog(const QString& programFolder, bool enabled)
    : programFolder_(programFolder), enabled_(enabled)
{
}

QString ErrorLog::filePath() const
{
    return programFolder_ + QStringLiteral("Log.txt");
}

void ErrorLog::NapakavLog(const QString& message) const
{
    if (!enabled_)
        return;
    QFile file(filePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw ZtfiError(file.fileName() + QStringLiteral(": ") + file.errorString(),
                        QStringLiteral("EInOutError"));
    const QByteArray line =
        (Formats::dateTimeText(QDateTime::currentDateTime()) + QStringLiteral(" : ") + message)
            .toUtf8() + "\r\n";
    if (file.write(line) != line.size())
        throw ZtfiError(file.fileName() + QStringLiteral(": ") + file.errorString(),
                        QStringLiteral("EInOutError"));
}
