#include "core/ComputerName.h"

#include <QSysInfo>

QString computerName()
{
    // Read once: every audit row carries it, and asking the system is a call into the kernel.
    static const QString name = QSysInfo::machineHostName().left(19);
    return name;
}
