#include "signing/FileCopy.h"

#include "core/AtomicFile.h"
#include "core/BoundedWait.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kChunk = 1 << 20;

// The source opened for reading without waiting for a writer and never through a link; -1
// with errorText set when it is not a regular file.
int openSource(const QString& path, QString& errorText)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (descriptor < 0) {
        errorText = qt_error_string(errno);
        return -1;
    }
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        errorText = QStringLiteral("%1 ni navadna datoteka").arg(path);
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

}  // namespace

// What the steps of one copy share with the threads they run in.
struct FileCopy::Job {
    QString from;
    QString to;
    CopyWriterFactory writers;
    std::unique_ptr<AtomicFile> file;
    bool ok = false;
    QString errorText;

    bool fail(const QString& text)
    {
        errorText = text;
        file.reset();
        return ok = false;
    }

    void stage();
    void putInPlace();
    void withdraw();
};

void FileCopy::Job::stage()
{
    const int source = openSource(from, errorText);
    if (source < 0) {
        ok = false;
        return;
    }
    struct Closer {
        int descriptor;
        ~Closer() { ::close(descriptor); }
    } closer{source};
    try {
        file = std::make_unique<AtomicFile>(to);
    } catch (const FileWriteError& e) {
        fail(e.reason());
        return;
    }
    const std::unique_ptr<CopyWriter> writer = writers(to);
    if (!writer->create(*file)) {
        fail(writer->errorText());
        return;
    }
    QByteArray chunk(kChunk, Qt::Uninitialized);
    qint64 copied = 0;
    for (;;) {
        const ssize_t read = ::read(source, chunk.data(), size_t(chunk.size()));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0) {
            fail(qt_error_string(errno));
            return;
        }
        if (read == 0)
            break;
        // A writer may take fewer bytes than it is given; the rest follows until it takes none.
        const char* data = chunk.constData();
        qint64 left = read;
        while (left > 0) {
            const qint64 written = writer->write(data, left);
            if (written <= 0) {
                const QString reason = writer->errorText();
                fail(reason.isEmpty() ? QStringLiteral("the copy stopped after %1 bytes").arg(copied) : reason);
                return;
            }
            data += written;
            left -= written;
            copied += written;
        }
    }
    if (!writer->finish()) {
        fail(writer->errorText());
        return;
    }
    struct stat status;
    const qint64 sourceSize = ::fstat(source, &status) == 0 ? status.st_size : -1;
    if (file->size() != copied || copied != sourceSize) {
        fail(QStringLiteral("the copy holds %1 of %2 bytes").arg(file->size()).arg(sourceSize));
        return;
    }
    ok = true;
}

void FileCopy::Job::putInPlace()
{
    // Only a file, or a folder that the rename then refuses, may stand under the name: a FIFO
    // or a link there is another's.
    struct stat status;
    const QByteArray target = QFile::encodeName(to);
    if (::lstat(target.constData(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode)) {
        fail(QStringLiteral("%1 ni navadna datoteka").arg(to));
        return;
    }
    try {
        file->putInPlace(AtomicFile::Replaced::Kept);
        ok = true;
    } catch (const FileWriteError& e) {
        fail(e.reason());
    }
}

void FileCopy::Job::withdraw()
{
    ok = !file || file->withdraw();
    if (!ok)
        errorText = file->failure();
}

FileCopy::FileCopy(const QString& from, const QString& to, const CopyWriterFactory& writers, int waitSeconds)
    : from_(from),
      to_(to),
      waitSeconds_(waitSeconds),
      job_(std::make_shared<Job>(Job{from, to, writers ? writers : SystemCopyWriter::factory(), {}, false, {}}))
{
}

FileCopy::~FileCopy() = default;

bool FileCopy::fail(const QString& errorText)
{
    errorText_ = errorText;
    return false;
}

QString FileCopy::noAnswerText(int seconds)
{
    return QStringLiteral("strežniška mapa se ni odzvala v %1 s").arg(seconds);
}

bool FileCopy::run(void (Job::*step)(), void (Job::*undo)())
{
    const std::shared_ptr<Job> job = job_;
    if (!job)
        return fail(noAnswerText(waitSeconds_));
    std::function<void()> takeBack;
    if (undo)
        takeBack = [job, undo] { (job.get()->*undo)(); };
    if (!BoundedWait::run(waitSeconds_, [job, step] { (job.get()->*step)(); }, takeBack)) {
        // The step goes on alone with its job; this copy is done with it.
        job_.reset();
        return fail(noAnswerText(waitSeconds_));
    }
    return job->ok || fail(job->errorText);
}

bool FileCopy::stage()
{
    return run(&Job::stage, nullptr);
}

bool FileCopy::putInPlace()
{
    if (!job_ || !job_->file)
        return fail(QStringLiteral("the copy was not written"));
    return run(&Job::putInPlace, &Job::withdraw);
}

bool FileCopy::withdraw()
{
    if (!job_ || !job_->file)
        return true;
    return run(&Job::withdraw, nullptr);
}

bool FileCopy::copy(const QString& from, const QString& to, QString& errorText, const CopyWriterFactory& writers,
                    int waitSeconds)
{
    FileCopy file(from, to, writers, waitSeconds);
    if (file.stage() && file.putInPlace())
        return true;
    errorText = file.errorText();
    return false;
}
