#include "core/ComputerName.h"

#include <QSysInfo>

QString computerName()
{
    return QSysInfo::machineHostName().left(19);
}
