#include "support/SmallDisk.h"

#include <QFile>

#include <sys/mount.h>
#include <unistd.h>

SmallDisk::SmallDisk(int kilobytes)
{
    const QByteArray options = QByteArrayLiteral("size=") + QByteArray::number(kilobytes) + "k";
    mounted_ = ::geteuid() == 0
               && ::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
}
