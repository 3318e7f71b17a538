#pragma once

#include <QIODevice>

class AtomicFile;

// A write-only device that appends to an AtomicFile, for Qt writers that take a QIODevice (the
// PDF writer). A failed write is the file's failure; the file must outlive the device.
class AtomicFileDevice : public QIODevice {
public:
    explicit AtomicFileDevice(AtomicFile& file);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    AtomicFile& file_;
};
