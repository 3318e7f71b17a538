#pragma once

#include <cstdio>

class AtomicFile;

// A C stream onto the content of an AtomicFile, for libraries that write through a FILE*:
// reads, writes and seeks go to the file's own checked calls, so a failed write is the file's
// failure (close() reports it) whatever the library makes of it. Each stream has its own
// position, starting at the beginning; fclose() ends the stream, not the file, which must
// outlive it. nullptr when no stream could be made.
FILE* openAtomicFileStream(AtomicFile& file);
