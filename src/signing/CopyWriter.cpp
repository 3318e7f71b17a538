#include "signing/CopyWriter.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

SystemCopyWriter::~SystemCopyWriter()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool SystemCopyWriter::failed(int error)
{
    errorText_ = qt_error_string(error);
    return false;
}

bool SystemCopyWriter::create(const QString& path)
{
    descriptor_ = ::open(QFile::encodeName(path).constData(),
                         O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    return descriptor_ >= 0 || failed(errno);
}

qint64 SystemCopyWriter::write(const char* data, qint64 size)
{
    for (;;) {
        const ssize_t written = ::write(descriptor_, data, size_t(size));
        if (written >= 0)
            return written;
        if (errno != EINTR) {
            failed(errno);
            return -1;
        }
    }
}

bool SystemCopyWriter::finish()
{
    const bool synced = ::fsync(descriptor_) == 0 || failed(errno);
    const bool closed = ::close(descriptor_) == 0 || failed(errno);
    descriptor_ = -1;
    return synced && closed;
}

CopyWriterFactory SystemCopyWriter::factory()
{
    return [](const QString&) { return std::make_unique<SystemCopyWriter>(); };
}
