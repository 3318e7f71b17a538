#include "core/AtomicFileStream.h"

#include "core/AtomicFile.h"

#include <cerrno>
#include <sys/types.h>

namespace {

struct Cursor {
    AtomicFile* file;
    off64_t position;
};

ssize_t readFrom(void* cookie, char* data, size_t size)
{
    auto* cursor = static_cast<Cursor*>(cookie);
    const qint64 read = cursor->file->readAt(cursor->position, data, qint64(size));
    if (read < 0)
        return -1;
    cursor->position += read;
    return ssize_t(read);
}

ssize_t writeTo(void* cookie, const char* data, size_t size)
{
    auto* cursor = static_cast<Cursor*>(cookie);
    if (!cursor->file->writeAt(cursor->position, data, qint64(size)))
        return 0;  // the stream's error; the file keeps the reason
    cursor->position += off64_t(size);
    return ssize_t(size);
}

int seekIn(void* cookie, off64_t* offset, int whence)
{
    auto* cursor = static_cast<Cursor*>(cookie);
    const off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? cursor->position : cursor->file->size();
    if (base + *offset < 0) {
        errno = EINVAL;
        return -1;
    }
    cursor->position = base + *offset;
    *offset = cursor->position;
    return 0;
}

int closeCursor(void* cookie)
{
    delete static_cast<Cursor*>(cookie);
    return 0;
}

}  // namespace

FILE* openAtomicFileStream(AtomicFile& file)
{
    auto* cursor = new Cursor{&file, 0};
    FILE* stream = ::fopencookie(cursor, "r+", cookie_io_functions_t{readFrom, writeTo, seekIn, closeCursor});
    if (!stream)
        delete cursor;
    return stream;
}
