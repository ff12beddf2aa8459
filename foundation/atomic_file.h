// atomic_file: the one way the programs write a file. A reader, a crash or
// a full disk sees either the old file or the whole new one, never a part.
//
// The data goes into a temporary made exclusively (never through a link)
// in the target's own folder, is flushed to disk and then renamed into
// place. A write never truncates or deletes a file the program did not just
// make: nothing is opened for writing under the target's name, only a
// regular file is ever replaced, and a failure removes the temporary. The
// one exception: a temporary left by a killed program is removed by the
// next write to the same target (a live one is locked while it is written).
//
//     AtomicFile f;
//     bool ok = beginAtomicFile(f, path, 0644) && writeAtomicFile(f, data, n) && commitAtomicFile(f);
//     if (!ok) { abortAtomicFile(f); log(f.reason); }
//
// Only libc underneath: the log itself is opened through this.
#pragma once
#include <climits>
#include <cstdint>

enum AtomicFileFlags {
    // A symbolic link at the path stays a link: the file at the end of its
    // chain is replaced, in that file's folder. Without it a link is
    // something other than a regular file, and is not replaced.
    AtomicFollowLinks = 1,
    // A successful commit leaves fd open (still positioned at the end) for
    // the caller to write and close: a log written for the whole run.
    AtomicKeepOpen = 2,
};

// Bytes of a path (PATH_MAX on Linux). Windows' own PATH_MAX counts UTF-16
// units, and a UTF-8 character takes up to three bytes.
enum { AtomicPathMax = 4096 };

struct AtomicFile {
    int fd;                    // the temporary's descriptor; -1 when none
    int flags;                 // AtomicFileFlags
    unsigned mode;             // of a new file, before the umask
    char path[AtomicPathMax];       // what a commit replaces: the given path, its links followed when asked
    char temporary[AtomicPathMax];  // "<path>.XXXXXX.tmp"; empty when there is none
    char reason[128];          // why the last failed call failed ("No space left on device", …)
};

// Makes the locked temporary beside path. A replaced file keeps its mode
// and owner; a new one gets mode (less the umask).
bool beginAtomicFile(AtomicFile& f, const char* path, unsigned mode, int flags = 0);
// Appends size bytes to the temporary.
bool writeAtomicFile(AtomicFile& f, const void* data, int64_t size);
// Flushes to disk and renames the temporary over f.path, which must be a
// regular file or nothing ("not a regular file" otherwise).
bool commitAtomicFile(AtomicFile& f);
// The same, but to path (in f.path's folder), and only where no file of
// that name exists: then false with errno EEXIST, the temporary kept for
// another name. Never replaces anything.
bool commitNewAtomicFile(AtomicFile& f, const char* path);
// Removes the temporary if there is one. Safe after any call; callers
// need not track which one failed.
void abortAtomicFile(AtomicFile& f);

// begin, write and commit in one; reason (may be null) gets f.reason.
bool writeFileAtomically(const char* path, const void* data, int64_t size, unsigned mode, int flags, char* reason,
                         int reasonSize);

// Whether a later write to path can go through, found out without writing
// anything: what is at path is a regular file or nothing, and its folder
// takes new files. False with the reason otherwise.
bool atomicFileTarget(const char* path, char* reason, int reasonSize);
