#pragma once

#include <QString>

#include <functional>
#include <memory>

// Where the bytes of a delivered copy go: a new file, written under a temporary name. The
// system's writer goes through the operating system; a delivery can be given another one.
class CopyWriter {
public:
    virtual ~CopyWriter() = default;

    // Creates the file, or empties it when it is there. False when it cannot be created.
    virtual bool create(const QString& path) = 0;
    // Writes at most size bytes. The number written, which may be fewer than size, or -1.
    virtual qint64 write(const char* data, qint64 size) = 0;
    // Puts everything written on the disk and closes the file. False when that failed.
    virtual bool finish() = 0;
    // The system's text of the last failure.
    virtual QString errorText() const = 0;
};

// Makes the writer of one copy; target is the name the copy will take.
using CopyWriterFactory = std::function<std::unique_ptr<CopyWriter>(const QString& target)>;

// The writer of the operating system: open, write, fsync and close; a file it creates is
// readable by everyone its folder lets in, as a copy by the system's own tools would be.
class SystemCopyWriter : public CopyWriter {
public:
    SystemCopyWriter() = default;
    ~SystemCopyWriter() override;
    SystemCopyWriter(const SystemCopyWriter&) = delete;
    SystemCopyWriter& operator=(const SystemCopyWriter&) = delete;

    bool create(const QString& path) override;
    qint64 write(const char* data, qint64 size) override;
    bool finish() override;
    QString errorText() const override { return errorText_; }

    // The factory of system writers.
    static CopyWriterFactory factory();

private:
    bool failed(int error);

    int descriptor_ = -1;
    QString errorText_;
};
