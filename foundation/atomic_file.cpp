#include "atomic_file.h"
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static_assert(AtomicPathMax == PATH_MAX, "followLinks fills f.path with up to PATH_MAX bytes");

static bool fail(AtomicFile& f, const char* reason) {
    int e = errno;
    snprintf(f.reason, sizeof f.reason, "%s", reason);
    errno = e;
    return false;
}

// errno survives the clean-up, so callers may still look at it.
static bool failErrno(AtomicFile& f) {
    int e = errno;
    fail(f, strerror(e));
    abortAtomicFile(f);
    errno = e;
    return false;
}

// The end of path's chain of symbolic links; a missing end is fine.
static bool followLinks(const char* path, char* out) {
    snprintf(out, PATH_MAX, "%s", path);
    for (int depth = 0; depth < 16; depth++) {
        struct stat st;
        if (lstat(out, &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char link[PATH_MAX];
        ssize_t n = readlink(out, link, sizeof link - 1);
        if (n < 0) return false;
        link[n] = 0;
        // A relative link counts from the folder that holds it.
        const char* slash = strrchr(out, '/');
        int dirLen = link[0] == '/' || !slash ? 0 : (int)(slash - out) + 1;
        char joined[PATH_MAX];
        if (snprintf(joined, sizeof joined, "%.*s%s", dirLen, out, link) >= (int)sizeof joined) {
            errno = ENAMETOOLONG;
            return false;
        }
        snprintf(out, PATH_MAX, "%s", joined);
    }
    errno = ELOOP;
    return false;
}

// True for NAME.XXXXXX.tmp, a temporary beginAtomicFile makes for NAME.
static bool isTemporaryOf(const char* entry, const char* base) {
    size_t n = strlen(base);
    if (strncmp(entry, base, n) != 0 || entry[n] != '.' || strcmp(entry + n + 7, ".tmp") != 0) return false;
    for (int i = 1; i <= 6; i++)
        if (!isalnum((unsigned char)entry[n + i])) return false;
    return true;
}

// A write holds a lock on its temporary until the rename; one that can be
// locked belongs to a program that was killed, and is removed.
static void removeStaleTemporaries(const char* target) {
    char dir[PATH_MAX];
    snprintf(dir, sizeof dir, "%s", target);
    char* slash = strrchr(dir, '/');
    const char* base = slash ? slash + 1 : dir;
    if (slash) *slash = 0;
    DIR* d = opendir(!slash ? "." : dir[0] ? dir : "/");
    if (!d) return;
    while (struct dirent* e = readdir(d)) {
        if (!isTemporaryOf(e->d_name, base)) continue;
        int fd = openat(dirfd(d), e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            unlinkat(dirfd(d), e->d_name, 0);
        close(fd);
    }
    closedir(d);
}

bool beginAtomicFile(AtomicFile& f, const char* path, unsigned mode, int flags) {
    f.fd = -1;
    f.flags = flags;
    f.mode = mode;
    f.temporary[0] = f.reason[0] = 0;
    if ((flags & AtomicFollowLinks) ? !followLinks(path, f.path)
                                    : snprintf(f.path, sizeof f.path, "%s", path) >= (int)sizeof f.path) {
        if (!(flags & AtomicFollowLinks)) errno = ENAMETOOLONG;
        return failErrno(f);
    }
    removeStaleTemporaries(f.path);
    // A cleaner of another write may remove the new temporary between its
    // creation and its lock; then it is made again.
    for (int attempt = 0; attempt < 4; attempt++) {
        if (snprintf(f.temporary, sizeof f.temporary, "%s.XXXXXX.tmp", f.path) >= (int)sizeof f.temporary) {
            f.temporary[0] = 0;
            errno = ENAMETOOLONG;
            return failErrno(f);
        }
        // O_EXCL, so an existing file or link is never opened.
        f.fd = mkostemps(f.temporary, 4, O_CLOEXEC);
        if (f.fd < 0) {
            f.temporary[0] = 0;
            return failErrno(f);
        }
        struct stat mine, named;
        if (flock(f.fd, LOCK_EX) == 0 && fstat(f.fd, &mine) == 0 && lstat(f.temporary, &named) == 0 &&
            mine.st_ino == named.st_ino && mine.st_dev == named.st_dev)
            return true;
        close(f.fd);
        f.fd = -1;
    }
    f.temporary[0] = 0;
    errno = EAGAIN;
    return failErrno(f);
}

bool writeAtomicFile(AtomicFile& f, const void* data, int64_t size) {
    if (f.fd < 0 || !f.temporary[0]) return fail(f, "no file is being written");
    const char* p = (const char*)data;
    while (size > 0) {
        ssize_t n = write(f.fd, p, (size_t)(size < (1 << 30) ? size : (1 << 30)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return failErrno(f);
        }
        p += n;
        size -= n;
    }
    return true;
}

// Mode and owner for the file under target, then flushed to disk.
static bool finish(AtomicFile& f, const struct stat* old) {
    if (old) {
        if (fchown(f.fd, old->st_uid, old->st_gid) != 0) {}  // only root may; the mode still holds
        if (fchmod(f.fd, old->st_mode & 07777) != 0) return false;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        if (fchmod(f.fd, (mode_t)f.mode & ~mask & 07777) != 0) return false;
    }
    return fsync(f.fd) == 0;
}

// The temporary now has the target's name: drop the lock (unless the
// caller keeps writing) and forget it.
static bool renamed(AtomicFile& f) {
    f.temporary[0] = 0;
    if (!(f.flags & AtomicKeepOpen)) {
        close(f.fd);
        f.fd = -1;
    }
    return true;
}

bool commitAtomicFile(AtomicFile& f) {
    if (f.fd < 0 || !f.temporary[0]) return fail(f, "no file is being written");
    struct stat st;
    bool exists = lstat(f.path, &st) == 0;
    if (!exists && errno != ENOENT) return failErrno(f);
    if (exists && !S_ISREG(st.st_mode)) {
        abortAtomicFile(f);
        errno = EINVAL;
        return fail(f, "not a regular file");
    }
    if (!finish(f, exists ? &st : nullptr) || rename(f.temporary, f.path) != 0) return failErrno(f);
    return renamed(f);
}

bool commitNewAtomicFile(AtomicFile& f, const char* path) {
    if (f.fd < 0 || !f.temporary[0]) return fail(f, "no file is being written");
    if (!finish(f, nullptr)) return failErrno(f);
    if (renameat2(AT_FDCWD, f.temporary, AT_FDCWD, path, RENAME_NOREPLACE) == 0) return renamed(f);
    // File systems without the no-replace rename still refuse a link
    // onto an existing name.
    if (errno == EINVAL || errno == ENOSYS) {
        if (link(f.temporary, path) == 0) {
            unlink(f.temporary);
            return renamed(f);
        }
    }
    if (errno == EEXIST) return fail(f, "the file exists");
    return failErrno(f);
}

void abortAtomicFile(AtomicFile& f) {
    if (f.temporary[0]) unlink(f.temporary);
    f.temporary[0] = 0;
    if (f.fd >= 0) close(f.fd);  // after the unlink: the lock marks a write in progress
    f.fd = -1;
}

bool atomicFileTarget(const char* path, char* reason, int reasonSize) {
    char folder[AtomicPathMax];
    snprintf(folder, sizeof folder, "%s", path);
    char* slash = strrchr(folder, '/');
    if (!slash) snprintf(folder, sizeof folder, ".");
    else slash[slash == folder ? 1 : 0] = 0;
    struct stat st;
    const char* why = nullptr;
    if (lstat(path, &st) == 0 && !S_ISREG(st.st_mode)) why = "not a regular file";
    else if (access(folder, W_OK | X_OK) != 0) why = strerror(errno);
    if (why && reason) snprintf(reason, (size_t)reasonSize, "%s", why);
    return !why;
}
