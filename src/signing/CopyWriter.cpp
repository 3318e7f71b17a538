#include "signing/CopyWriter.h"

#include "core/AtomicFile.h"

bool SystemCopyWriter::create(AtomicFile& file)
{
    file_ = &file;
    return true;
}

qint64 SystemCopyWriter::write(const char* data, qint64 size)
{
    if (file_->write(data, size))
        return size;
    errorText_ = file_->failure();
    return -1;
}

bool SystemCopyWriter::finish()
{
    try {
        file_->close();
        return true;
    } catch (const FileWriteError& e) {
        errorText_ = e.reason();
        return false;
    }
}

CopyWriterFactory SystemCopyWriter::factory()
{
    return [](const QString&) { return std::make_unique<SystemCopyWriter>(); };
}
