#include "core/AtomicFileDevice.h"

#include "core/AtomicFile.h"

AtomicFileDevice::AtomicFileDevice(AtomicFile& file) : file_(file)
{
    open(QIODevice::WriteOnly);
}

qint64 AtomicFileDevice::readData(char*, qint64)
{
    return -1;
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size)
{
    return file_.write(data, size) ? size : -1;
}
