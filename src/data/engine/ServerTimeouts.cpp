#include "data/engine/ServerTimeouts.h"

namespace ServerTimeouts {

namespace {

bool names(const QString& connection, const char* key)
{
    return connection.contains(QLatin1String(key), Qt::CaseInsensitive);
}

}  // namespace

QString connectOptions(const QString& connection)
{
    if (names(connection, "connect_timeout") || names(connection, "LoginTimeout"))
        return QString();
    return QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(kConnectSeconds);
}

QString withKeepalive(const QString& connection)
{
    if (!names(connection, "DRIVER=") && !names(connection, "SERVER="))
        return connection;
    if (names(connection, "KeepaliveTime") || names(connection, "KeepaliveInterval") || names(connection, "keepalives"))
        return connection;
    QString text = connection;
    if (!text.trimmed().isEmpty() && !text.trimmed().endsWith(u';'))
        text += u';';
    return text + QStringLiteral("KeepaliveTime=30;KeepaliveInterval=10;");
}

}  // namespace ServerTimeouts
