#pragma once

#include "signing/CopyWriter.h"

#include <QString>

#include <memory>

// A copy of a file into a server folder that takes its name only when it is whole, and that
// never waits on the folder longer than it is given. stage() writes it through an AtomicFile
// beside the target: the source opened without waiting (a FIFO or a link is refused), every
// byte written, put on the disk, and its size checked against the bytes read. putInPlace() then
// renames it over the target, keeping a file it replaces aside until the FileCopy ends, so that
// withdraw() can restore it. A copy that fails, or is dropped before it is put in place, leaves
// no temporary file and the target as it was.
//
// Each step runs in a thread of its own (BoundedWait): a folder that does not answer within the
// seconds given fails the step, and what the step does when it ends later is taken back.
class FileCopy {
public:
    // writers: makes the writer of the copy; the system's writer when empty.
    FileCopy(const QString& from, const QString& to, const CopyWriterFactory& writers = {},
             int waitSeconds = kDefaultWaitSeconds);
    ~FileCopy();
    FileCopy(const FileCopy&) = delete;
    FileCopy& operator=(const FileCopy&) = delete;

    // False, with errorText() set, when the whole copy could not be written.
    bool stage();
    // Renames the staged copy to the target, replacing a file of that name (kept aside). False,
    // with errorText() set, when it could not.
    bool putInPlace();
    // Takes the copy from under the target's name again (the delivery it belongs to failed): a
    // file it replaced is back under the name. False, with errorText() set, when it could not.
    bool withdraw();

    const QString& from() const { return from_; }
    const QString& to() const { return to_; }
    // The system's text of the failure.
    const QString& errorText() const { return errorText_; }

    // Stages and puts in place in one go.
    static bool copy(const QString& from, const QString& to, QString& errorText,
                     const CopyWriterFactory& writers = {}, int waitSeconds = kDefaultWaitSeconds);

    // The text of a server folder that did not answer in time.
    static QString noAnswerText(int seconds);

    static constexpr int kDefaultWaitSeconds = 60;

private:
    struct Job;
    bool run(void (Job::*step)(), void (Job::*undo)());
    bool fail(const QString& errorText);

    QString from_;
    QString to_;
    int waitSeconds_;
    std::shared_ptr<Job> job_;
    QString errorText_;
};
