#include "support/FaultyCopyWriter.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

namespace {

std::atomic<int> hangingWriters{0};

}  // namespace

bool FaultyCopyWriter::hanging()
{
    return hangingWriters > 0;
}

bool FaultyCopyWriter::create(AtomicFile& file)
{
    return system_.create(file);
}

qint64 FaultyCopyWriter::write(const char* data, qint64 size)
{
    switch (fault_) {
    case Fault::ShortWrites:
    case Fault::ShortWritesThenFull: {
        if (fault_ == Fault::ShortWritesThenFull && taken_ >= 3 * kFewBytes) {
            errorText_ = qt_error_string(ENOSPC);
            return -1;
        }
        const qint64 written = system_.write(data, qMin(size, kFewBytes));
        taken_ += qMax<qint64>(written, 0);
        return written;
    }
    case Fault::FullWhenSynced:
        return system_.write(data, size);
    case Fault::Hangs:
        if (taken_++ == 0) {
            ++hangingWriters;
            std::this_thread::sleep_for(std::chrono::seconds(kHangSeconds));
            --hangingWriters;
        }
        return system_.write(data, size);
    case Fault::LosesBytes: {
        const qint64 kept = qBound<qint64>(0, kFewBytes - taken_, size);
        if (kept > 0 && system_.write(data, kept) != kept)
            return -1;
        taken_ += size;
        return size;
    }
    }
    return -1;
}

bool FaultyCopyWriter::finish()
{
    const bool finished = system_.finish();
    if (fault_ == Fault::FullWhenSynced) {
        errorText_ = qt_error_string(ENOSPC);
        return false;
    }
    return finished;
}

QString FaultyCopyWriter::errorText() const
{
    return errorText_.isEmpty() ? system_.errorText() : errorText_;
}

CopyWriterFactory FaultyCopyWriter::factory(Fault fault, const QString& suffix)
{
    return [fault, suffix](const QString& target) -> std::unique_ptr<CopyWriter> {
        if (target.endsWith(suffix))
            return std::make_unique<FaultyCopyWriter>(fault);
        return std::make_unique<SystemCopyWriter>();
    };
}
