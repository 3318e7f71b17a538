#pragma once

#include <QString>

#include <functional>
#include <memory>

class AtomicFile;

// Where the bytes of a delivered copy go: the AtomicFile of the copy's target. The system's
// writer hands them to the file; a delivery can be given another one.
class CopyWriter {
public:
    virtual ~CopyWriter() = default;

    // Starts writing into file. False when it cannot.
    virtual bool create(AtomicFile& file) = 0;
    // Writes at most size bytes. The number written, which may be fewer than size, or -1.
    virtual qint64 write(const char* data, qint64 size) = 0;
    // Puts everything written on the disk (AtomicFile::close). False when that failed.
    virtual bool finish() = 0;
    // The system's text of the last failure.
    virtual QString errorText() const = 0;
};

// Makes the writer of one copy; target is the name the copy will take.
using CopyWriterFactory = std::function<std::unique_ptr<CopyWriter>(const QString& target)>;

// The writer of the operating system, through the AtomicFile of the copy.
class SystemCopyWriter : public CopyWriter {
public:
    bool create(AtomicFile& file) override;
    qint64 write(const char* data, qint64 size) override;
    bool finish() override;
    QString errorText() const override { return errorText_; }

    // The factory of system writers.
    static CopyWriterFactory factory();

private:
    AtomicFile* file_ = nullptr;
    QString errorText_;
};
