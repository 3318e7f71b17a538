#include "ntrs/AtomicFile.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

ZtfiError writeError(const QString& path, const QString& reason)
{
    return ZtfiError(QStringLiteral("Napaka pri pisanju datoteke ") + path + QStringLiteral(": ") + reason,
                     QStringLiteral("EInOutError"));
}

QString systemReason(int error)
{
    return qt_error_string(error);
}

const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
const int kRandomLength = 6;

// A name beside path that no file has yet: path, a dot and six random letters or digits.
QString temporaryName(const QString& path)
{
    QString name = path + QLatin1Char('.');
    for (int i = 0; i < kRandomLength; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))]);
    return name;
}

}  // namespace

AtomicFile::AtomicFile(const QString& path) : path_(path)
{
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        temporaryPath_ = temporaryName(path);
        descriptor_ = ::open(QFile::encodeName(temporaryPath_).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                             0666);
        if (descriptor_ < 0 && errno != EEXIST)
            break;
    }
    if (descriptor_ < 0)
        throw writeError(path_, systemReason(errno));
    lock_ = ::dup(descriptor_);
    if (lock_ >= 0)
        ::flock(lock_, LOCK_EX | LOCK_NB);
}

AtomicFile::~AtomicFile()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    if (lock_ >= 0)
        ::close(lock_);
    if (!inPlace_)
        ::unlink(QFile::encodeName(temporaryPath_).constData());
}

bool AtomicFile::write(const char* data, qint64 size)
{
    if (!failure_.isEmpty() || descriptor_ < 0)
        return false;
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            fail(systemReason(written < 0 ? errno : ENOSPC));
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

void AtomicFile::fail(const QString& reason)
{
    if (failure_.isEmpty())
        failure_ = reason;
}

void AtomicFile::close()
{
    if (descriptor_ >= 0) {
        if (::fsync(descriptor_) != 0)
            fail(systemReason(errno));
        if (::close(descriptor_) != 0)
            fail(systemReason(errno));
        descriptor_ = -1;
    }
    if (!failure_.isEmpty())
        throw writeError(path_, failure_);
}

void AtomicFile::putInPlace(const QString& path)
{
    close();
    const QByteArray temporary = QFile::encodeName(temporaryPath_);
    const QByteArray target = QFile::encodeName(path);
    struct stat replaced;
    if (::stat(target.constData(), &replaced) == 0 && !S_ISDIR(replaced.st_mode)
        && ::chmod(temporary.constData(), replaced.st_mode & 0777) != 0)
        throw writeError(path, systemReason(errno));
    if (::rename(temporary.constData(), target.constData()) != 0)
        throw writeError(path, systemReason(errno));
    inPlace_ = true;
}

void AtomicFile::removeAbandoned(const QString& folder, const QRegularExpression& finalName)
{
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const qsizetype dot = name.size() - kRandomLength - 1;
        if (dot <= 0 || name.at(dot) != QLatin1Char('.') || !finalName.match(name.left(dot)).hasMatch())
            continue;
        const QString random = name.mid(dot + 1);
        if (!std::all_of(random.cbegin(), random.cend(), [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (descriptor < 0)
            continue;
        // A writer that still lives holds the lock.
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(descriptor);
    }
}

void writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    file.write(bytes.constData(), bytes.size());
    file.putInPlace();
}
