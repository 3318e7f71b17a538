#include "signing/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kChunk = 1 << 20;

// Puts a rename in the folder on the disk. A folder that cannot be synced still holds the file:
// this only narrows the time a power cut could take the rename back.
void syncFolder(const QString& folder)
{
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

}  // namespace

FileCopy::FileCopy(const QString& from, const QString& to, const CopyWriterFactory& writers)
    : from_(from), to_(to), writers_(writers ? writers : SystemCopyWriter::factory())
{
    const QFileInfo target(to_);
    temporary_ = target.dir().filePath(QLatin1Char('.') + target.fileName() + QStringLiteral(".part"));
}

FileCopy::~FileCopy()
{
    if (!inPlace_)
        removeTemporary();
}

bool FileCopy::fail(const QString& errorText)
{
    errorText_ = errorText;
    return false;
}

void FileCopy::removeTemporary()
{
    ::unlink(QFile::encodeName(temporary_).constData());
}

bool FileCopy::stage()
{
    QFile source(from_);
    if (!source.open(QIODevice::ReadOnly))
        return fail(source.errorString());
    const std::unique_ptr<CopyWriter> writer = writers_(to_);
    if (!writer->create(temporary_))
        return fail(writer->errorText());

    qint64 copied = 0;
    QByteArray chunk;
    for (;;) {
        chunk = source.read(kChunk);
        if (chunk.isEmpty()) {
            if (source.error() != QFileDevice::NoError) {
                writer->finish();
                removeTemporary();
                return fail(source.errorString());
            }
            break;
        }
        // A writer may take fewer bytes than it is given; the rest follows until it takes none.
        const char* data = chunk.constData();
        qint64 left = chunk.size();
        while (left > 0) {
            const qint64 written = writer->write(data, left);
            if (written <= 0) {
                const QString reason = writer->errorText();
                writer->finish();
                removeTemporary();
                return fail(reason.isEmpty() ? QStringLiteral("the copy stopped after %1 bytes").arg(copied) : reason);
            }
            data += written;
            left -= written;
            copied += written;
        }
    }
    if (!writer->finish()) {
        removeTemporary();
        return fail(writer->errorText());
    }
    const qint64 onDisk = QFileInfo(temporary_).size();
    if (onDisk != copied || copied != source.size()) {
        removeTemporary();
        return fail(QStringLiteral("the copy holds %1 of %2 bytes").arg(onDisk).arg(source.size()));
    }
    staged_ = true;
    return true;
}

bool FileCopy::putInPlace()
{
    if (!staged_)
        return fail(QStringLiteral("the copy was not written"));
    if (::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(to_).constData()) != 0) {
        const int error = errno;
        removeTemporary();
        return fail(qt_error_string(error));
    }
    inPlace_ = true;
    syncFolder(QFileInfo(to_).absolutePath());
    return true;
}

void FileCopy::withdraw()
{
    if (inPlace_)
        QFile::remove(to_);
    else
        removeTemporary();
    inPlace_ = false;
    staged_ = false;
}

bool FileCopy::copy(const QString& from, const QString& to, QString& errorText, const CopyWriterFactory& writers)
{
    FileCopy file(from, to, writers);
    if (file.stage() && file.putInPlace())
        return true;
    errorText = file.errorText();
    return false;
}
