#include "core/LocalZone.h"

#include <QByteArray>
#include <QtGlobal>

#include <ctime>

void readLocalZoneOnce()
{
    if (qEnvironmentVariableIsSet("TZ"))
        return;
    qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
    tzset();
}
