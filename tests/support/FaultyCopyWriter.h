#pragma once

#include "signing/CopyWriter.h"

#include <QString>

// A writer of delivered copies that passes the bytes on to the system's writer and fails as it
// is told, as a full or failing disk does.
class FaultyCopyWriter : public CopyWriter {
public:
    enum class Fault {
        ShortWrites,          // takes a few bytes a call
        ShortWritesThenFull,  // takes a few bytes a call, then reports the disk full
        FullWhenSynced,       // takes every byte; putting them on the disk reports it full
        LosesBytes,           // reports every byte written but drops all past the first few
        Hangs,                // the first write does not return for kHangSeconds, as on a hung share
    };

    explicit FaultyCopyWriter(Fault fault) : fault_(fault) {}

    bool create(AtomicFile& file) override;
    qint64 write(const char* data, qint64 size) override;
    bool finish() override;
    QString errorText() const override;

    // Makes this writer for the targets whose names end with suffix, the system's otherwise.
    static CopyWriterFactory factory(Fault fault, const QString& suffix = QString());

    static constexpr qint64 kFewBytes = 7;
    static constexpr int kHangSeconds = 4;
    // Whether a writer hangs at this moment.
    static bool hanging();

private:
    Fault fault_;
    SystemCopyWriter system_;
    qint64 taken_ = 0;
    QString errorText_;
};
