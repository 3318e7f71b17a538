#pragma once

#include "signing/CopyWriter.h"

#include <QString>

// A copy of a file that takes its name only when it is whole. stage() writes it under a
// temporary name beside the target (".", the target's name, ".part"): every byte written, put on
// the disk, and its size checked against the bytes read. putInPlace() then renames it over the
// target. A copy that fails, or is dropped before it is put in place, leaves no temporary file
// and the target as it was.
class FileCopy {
public:
    // writers: makes the writer of the copy; the system's writer when empty.
    FileCopy(const QString& from, const QString& to, const CopyWriterFactory& writers = {});
    ~FileCopy();
    FileCopy(const FileCopy&) = delete;
    FileCopy& operator=(const FileCopy&) = delete;

    // False, with errorText() set, when the whole copy could not be written.
    bool stage();
    // Renames the staged copy to the target, replacing a file of that name. False, with
    // errorText() set, when it could not.
    bool putInPlace();
    // Removes the copy from under the target's name again (the delivery it belongs to failed).
    void withdraw();

    const QString& from() const { return from_; }
    const QString& to() const { return to_; }
    // The system's text of the failure.
    const QString& errorText() const { return errorText_; }

    // Stages and puts in place in one go.
    static bool copy(const QString& from, const QString& to, QString& errorText,
                     const CopyWriterFactory& writers = {});

private:
    bool fail(const QString& errorText);
    void removeTemporary();

    QString from_;
    QString to_;
    QString temporary_;
    CopyWriterFactory writers_;
    bool staged_ = false;
    bool inPlace_ = false;
    QString errorText_;
};
