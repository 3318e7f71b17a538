#pragma once

#include <QByteArray>
#include <QString>

class QRegularExpression;

// A file written under a temporary name in the folder of its final name and renamed into place
// only when it is complete, replacing a file of that name: no half-written file ever carries the
// final name, and the temporary file is removed when writing fails or the file is dropped before
// it is put in place. A new file gets the permissions the umask leaves of rw-rw-rw-; a replaced
// file keeps its own. A failure throws ZtfiError ("EInOutError") naming the final file.
// The temporary file is locked (flock) while its AtomicFile lives, so the temporary files of a
// writer that was killed can be told from those being written.
class AtomicFile {
public:
    // Creates the temporary file beside path.
    explicit AtomicFile(const QString& path);
    // Removes the temporary file unless it was put in place.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes. Returns false when they could not be written (the disk is full, ...); the
    // reason is kept for close(), and later writes are refused.
    bool write(const char* data, qint64 size);
    // Marks the content as incomplete for a reason its writer found; close() reports it.
    void fail(const QString& reason);
    // Flushes the content to the disk and closes the file; throws when a write, the flush or
    // the close failed. The complete content can then be read under temporaryPath().
    void close();
    const QString& temporaryPath() const { return temporaryPath_; }
    // Renames the closed file to path (the final name, or another name in its folder).
    void putInPlace(const QString& path);
    void putInPlace() { putInPlace(path_); }

    // Removes the temporary files that writers of the folder's files whose names match
    // finalName left behind when they were killed; those still being written stay.
    static void removeAbandoned(const QString& folder, const QRegularExpression& finalName);

private:
    QString path_;
    QString temporaryPath_;
    int descriptor_ = -1;
    int lock_ = -1;  // the temporary file's lock, held until the end
    bool inPlace_ = false;
    QString failure_;
};

// Writes bytes as a complete file through an AtomicFile.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
