#pragma once

#include "core/Error.h"

#include <QByteArray>
#include <QString>

class QRegularExpression;

// The failure of an AtomicFile: "Napaka pri pisanju datoteke " + file + ": " + reason
// ("EInOutError"), with the reason alone for messages of their own.
class FileWriteError : public ZtfiError {
public:
    FileWriteError(const QString& path, const QString& reason);
    const QString& reason() const { return reason_; }

private:
    QString reason_;
};

// The one way the product writes a file. The content goes into a temporary file in the folder
// of the final name (the final name, a dot, six random letters or digits and ".part"), created
// exclusively and never through a link; every write is checked, the content is put on the disk
// and its size compared with what was written, and only then is the file renamed over the
// final name. No half-written file ever carries the final name, and a link planted at any name
// never redirects a write: a link under the final name is replaced, not followed.
//
// A new file gets the permissions the umask leaves of rw-rw-rw-; a replaced file keeps its
// owner (where the writer may give it away) and its permissions. The temporary file is locked
// (flock) while its AtomicFile lives, so the temporary files of a writer that was killed can be
// told from those being written; the next writer of the same final name removes them.
// A failure throws FileWriteError.
class AtomicFile {
public:
    // What putInPlace does with a file it replaces.
    enum class Replaced {
        Dropped,  // gone with the rename
        Kept,     // kept aside until the AtomicFile ends, so that withdraw() can restore it
    };

    // Creates the temporary file beside path, after removing those that killed writers of
    // path left.
    explicit AtomicFile(const QString& path);
    // Removes the temporary file unless it was put in place, and a replaced file kept aside.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes. Returns false when they could not be written (the disk is full, ...); the
    // reason is kept for close(), and later writes are refused.
    bool write(const char* data, qint64 size);
    // Writes bytes at a place of the content, for writers that go back (headers). As write().
    bool writeAt(qint64 offset, const char* data, qint64 size);
    // Reads written bytes back; the number read, or -1.
    qint64 readAt(qint64 offset, char* data, qint64 size);
    // The size of the content: the end of the furthest write.
    qint64 size() const { return size_; }
    // Marks the content as incomplete for a reason its writer found; close() reports it.
    void fail(const QString& reason);
    bool failed() const { return !failure_.isEmpty(); }
    // Puts the content on the disk and checks it; throws when a write, the flush or the check
    // failed. Nothing more can be written; the complete content can then be read under
    // temporaryPath().
    void close();
    const QString& path() const { return path_; }
    const QString& temporaryPath() const { return temporaryPath_; }
    // A name of the temporary file for libraries that open their file by name: that of its
    // open descriptor, which reaches this very file whatever is done to the names of its
    // folder meanwhile. What they write there is the content; close() cannot compare its size.
    QString descriptorPath();
    // Renames the closed file to path (the final name, or another name in its folder).
    void putInPlace(const QString& path, Replaced replaced = Replaced::Dropped);
    void putInPlace(Replaced replaced = Replaced::Dropped) { putInPlace(path_, replaced); }
    // Takes the file from its name again: a file it replaced and kept returns under the name,
    // else no file is left there. False, with the reason in failure(), when the name could not
    // be given back.
    bool withdraw();
    // The reason of the last failure.
    const QString& failure() const { return failure_; }

    // Removes the temporary files that writers of the folder's files whose names match
    // finalName left behind when they were killed; those still being written stay, and links
    // are neither followed nor removed.
    static void removeAbandoned(const QString& folder, const QRegularExpression& finalName);

private:
    FileWriteError placeError(const QString& path, const QString& reason);
    void syncFolder(const QString& folder);
    void dropKept();

    QString path_;
    QString temporaryPath_;
    QString placedAt_;
    QString keptPath_;  // the replaced file, kept aside
    int keptDescriptor_ = -1;  // holds the lock of the kept file
    int descriptor_ = -1;
    qint64 size_ = 0;
    bool closed_ = false;
    bool writtenByName_ = false;
    bool inPlace_ = false;
    QString failure_;
};

// Writes bytes as a complete file through an AtomicFile.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
