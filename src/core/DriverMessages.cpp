#include "core/DriverMessages.h"

#include "core/Error.h"
#include "core/ErrorLog.h"

#include <QRegularExpression>
#include <QtGlobal>

namespace {

const ErrorLog* activeLog = nullptr;
QtMessageHandler previousHandler = nullptr;

void handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (activeLog && DriverMessages::isDriverLine(message)) {
        try {
            activeLog->NapakavLog(message);
        } catch (const ZtfiError&) {
            // The log is a trace; an action never fails for it here.
        }
        return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

}  // namespace

DriverMessages::DriverMessages(const ErrorLog& log)
{
    activeLog = &log;
    previousHandler = qInstallMessageHandler(handle);
}

DriverMessages::~DriverMessages()
{
    qInstallMessageHandler(previousHandler);
    activeLog = nullptr;
    previousHandler = nullptr;
}

bool DriverMessages::isDriverLine(const QString& message)
{
    // qWarning() << text quotes the text.
    static const QRegularExpression driver(QStringLiteral(R"(^\s*"?(QODBC|QSQLITE|QPSQL|QSql|QDB2|QOCI)\w*::)"));
    return driver.match(message).hasMatch();
}
