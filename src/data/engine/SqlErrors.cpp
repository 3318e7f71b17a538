#include "data/engine/SqlErrors.h"

#include <QSqlError>
#include <QStringList>

QString serverMessage(const QString& text)
{
    QString message = text.trimmed();
    bool fromServer = false;
    for (const char* severity : {"ERROR:", "FATAL:", "PANIC:"}) {
        if (message.startsWith(QLatin1String(severity))) {
            message = message.mid(qsizetype(qstrlen(severity))).trimmed();
            fromServer = true;
            break;
        }
    }
    if (!fromServer)
        return text;
    QStringList lines = message.split(u'\n');
    while (lines.size() > 1 && lines.last().trimmed().startsWith(QLatin1String("Error while ")))
        lines.removeLast();
    message = lines.join(u'\n').trimmed();
    if (message.endsWith(u';'))
        message.chop(1);
    return message.isEmpty() ? text : message;
}

QString sqlErrorText(const QSqlError& error)
{
    return error.databaseText().isEmpty() ? error.text() : serverMessage(error.databaseText());
}
