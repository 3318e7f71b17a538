#include "core/AtomicFile.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    return qt_error_string(error);
}

const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
const int kRandomLength = 6;
const QLatin1String kPart(".part");

// A name beside path that no file has yet: path, a dot, six random letters or digits, ".part".
QString temporaryName(const QString& path)
{
    QString name = path + QLatin1Char('.');
    for (int i = 0; i < kRandomLength; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return name + kPart;
}

// The final name a temporary name stands for; empty when name is none.
QString finalNameOf(const QString& name)
{
    if (!name.endsWith(kPart))
        return QString();
    const qsizetype dot = name.size() - kPart.size() - kRandomLength - 1;
    if (dot <= 0 || name.at(dot) != QLatin1Char('.'))
        return QString();
    const QString random = name.mid(dot + 1, kRandomLength);
    if (!std::all_of(random.cbegin(), random.cend(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
        return QString();
    return name.left(dot);
}

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

// Whether the name still holds the file open under descriptor (and not a file put there since).
bool holds(const QString& path, int descriptor)
{
    struct stat named, open;
    return ::lstat(encoded(path).constData(), &named) == 0 && ::fstat(descriptor, &open) == 0
           && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

// Opens a file to lock it, never through a link and never waiting for a FIFO; -1 when the name
// holds no regular file.
int openRegular(const QString& path)
{
    const int descriptor = ::open(encoded(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0)
        return -1;
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

}  // namespace

FileWriteError::FileWriteError(const QString& path, const QString& reason)
    : ZtfiError(QStringLiteral("Napaka pri pisanju datoteke ") + path + QStringLiteral(": ") + reason,
                QStringLiteral("EInOutError")),
      reason_(reason)
{
}

AtomicFile::AtomicFile(const QString& path) : path_(path)
{
    const QFileInfo target(path);
    removeAbandoned(target.absolutePath(),
                    QRegularExpression(QRegularExpression::anchoredPattern(QRegularExpression::escape(target.fileName()))));
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        temporaryPath_ = temporaryName(path);
        descriptor_ = ::open(encoded(temporaryPath_).constData(),
                             O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (descriptor_ < 0 && errno != EEXIST)
            break;
    }
    if (descriptor_ < 0)
        throw FileWriteError(path_, systemReason(errno));
    ::flock(descriptor_, LOCK_EX | LOCK_NB);
}

AtomicFile::~AtomicFile()
{
    if (!inPlace_ && holds(temporaryPath_, descriptor_))
        ::unlink(encoded(temporaryPath_).constData());
    dropKept();
    ::close(descriptor_);
}

void AtomicFile::dropKept()
{
    if (!keptPath_.isEmpty())
        ::unlink(encoded(keptPath_).constData());
    keptPath_.clear();
    if (keptDescriptor_ >= 0)
        ::close(keptDescriptor_);
    keptDescriptor_ = -1;
}

bool AtomicFile::writeAt(qint64 offset, const char* data, qint64 size)
{
    if (failed() || closed_)
        return false;
    while (size > 0) {
        const ssize_t written = ::pwrite(descriptor_, data, size_t(size), off_t(offset));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            fail(systemReason(written < 0 ? errno : ENOSPC));
            return false;
        }
        data += written;
        size -= written;
        offset += written;
        size_ = std::max(size_, offset);
    }
    return true;
}

bool AtomicFile::write(const char* data, qint64 size)
{
    return writeAt(size_, data, size);
}

qint64 AtomicFile::readAt(qint64 offset, char* data, qint64 size)
{
    for (;;) {
        const ssize_t read = ::pread(descriptor_, data, size_t(size), off_t(offset));
        if (read >= 0 || errno != EINTR)
            return read;
    }
}

void AtomicFile::fail(const QString& reason)
{
    if (failure_.isEmpty())
        failure_ = reason;
}

void AtomicFile::close()
{
    if (!closed_) {
        closed_ = true;
        struct stat status;
        if (!failed() && ::fsync(descriptor_) != 0)
            fail(systemReason(errno));
        if (!failed() && ::fstat(descriptor_, &status) != 0)
            fail(systemReason(errno));
        if (!failed() && writtenByName_)
            size_ = status.st_size;
        if (!failed() && status.st_size != size_)
            fail(QStringLiteral("datoteka ima %1 od %2 zapisanih bajtov").arg(status.st_size).arg(size_));
    }
    if (failed())
        throw FileWriteError(path_, failure_);
}

QString AtomicFile::descriptorPath()
{
    writtenByName_ = true;
    return QStringLiteral("/proc/self/fd/%1").arg(descriptor_);
}

void AtomicFile::putInPlace(const QString& path, Replaced replaced)
{
    close();
    const QByteArray temporary = encoded(temporaryPath_);
    const QByteArray target = encoded(path);
    struct stat old;
    const bool replacesFile = ::lstat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacesFile) {
        // The owner first: giving a file away clears its set-id bits.
        if (::fchown(descriptor_, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            throw placeError(path, systemReason(errno));
        if (::fchmod(descriptor_, old.st_mode & 07777) != 0)
            throw placeError(path, systemReason(errno));
    }
    if (!holds(temporaryPath_, descriptor_))
        throw placeError(path, QStringLiteral("začasna datoteka %1 ni več ta, ki je bila zapisana").arg(temporaryPath_));
    if (replacesFile && replaced == Replaced::Kept) {
        // A second name for the replaced file, which the rename then leaves alone.
        for (int attempt = 0; attempt < 100 && keptPath_.isEmpty(); ++attempt) {
            const QString name = temporaryName(path);
            if (::link(target.constData(), encoded(name).constData()) == 0) {
                keptPath_ = name;
                // Locked as a temporary file, so that no other writer takes it for abandoned.
                keptDescriptor_ = openRegular(name);
                if (keptDescriptor_ >= 0)
                    ::flock(keptDescriptor_, LOCK_EX | LOCK_NB);
            }
            else if (errno != EEXIST)
                throw placeError(path, systemReason(errno));
        }
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        dropKept();
        throw placeError(path, systemReason(error));
    }
    inPlace_ = true;
    placedAt_ = path;
    syncFolder(QFileInfo(path).absolutePath());
}

bool AtomicFile::withdraw()
{
    if (!inPlace_)
        return true;
    failure_.clear();
    // A file another writer put under the name since is theirs.
    if (holds(placedAt_, descriptor_)) {
        const QByteArray target = encoded(placedAt_);
        const int result = keptPath_.isEmpty() ? ::unlink(target.constData())
                                               : ::rename(encoded(keptPath_).constData(), target.constData());
        if (result != 0) {
            fail(systemReason(errno));
            return false;
        }
        keptPath_.clear();
        dropKept();
        syncFolder(QFileInfo(placedAt_).absolutePath());
    }
    inPlace_ = false;
    return true;
}

FileWriteError AtomicFile::placeError(const QString& path, const QString& reason)
{
    failure_ = reason;
    return FileWriteError(path, reason);
}

void AtomicFile::syncFolder(const QString& folder)
{
    // A folder that cannot be synced still holds the file: this only narrows the time a power
    // cut could take the rename back.
    const int descriptor = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

void AtomicFile::removeAbandoned(const QString& folder, const QRegularExpression& finalName)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString final = finalNameOf(name);
        if (final.isEmpty() || !finalName.match(final).hasMatch())
            continue;
        const QString path = dir.filePath(name);
        const int descriptor = openRegular(path);
        if (descriptor < 0)
            continue;
        // A writer that still lives holds the lock.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && holds(path, descriptor))
            ::unlink(encoded(path).constData());
        ::close(descriptor);
    }
}

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    file.write(bytes.constData(), bytes.size());
    file.putInPlace();
}
