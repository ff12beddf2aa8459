// file_common: what the file helpers do alike on every platform, on top of
// each platform's own atomic writer and regular-file reader.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "atomic_file.h"
#include "regular_file.h"

bool writeFileAtomically(const char* path, const void* data, int64_t size, unsigned mode, int flags, char* reason,
                         int reasonSize) {
    AtomicFile f;
    bool ok = beginAtomicFile(f, path, mode, flags & ~AtomicKeepOpen) && writeAtomicFile(f, data, size) &&
              commitAtomicFile(f);
    abortAtomicFile(f);
    if (reason && reasonSize > 0) snprintf(reason, (size_t)reasonSize, "%s", ok ? "" : f.reason);
    return ok;
}

const char* regularFileError(int err) {
    if (err == EINVAL) return "not a regular file";
    if (err == EFBIG) return "the file is too large";
    return strerror(err);
}
