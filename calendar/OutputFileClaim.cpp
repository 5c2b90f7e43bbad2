// OutputFileClaim  The claims of the files and folders runs are writing.
#include "calendar/OutputFileClaim.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <set>
#include <utility>

namespace {

OutputFileClaim::LockCall lockCall = ::flock;

// What this process's claims hold, by device and inode. Runs live on the one thread of the
// event loop.
std::set<std::pair<dev_t, ino_t>>& Claimed() {
    static std::set<std::pair<dev_t, ino_t>> claimed;
    return claimed;
}

// open(2), retried when a signal interrupts it.
int OpenPath(const QString& path, int flags, mode_t mode = 0) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

OutputFileClaim::Result FailedWith(int error) {
    OutputFileClaim::Result result;
    result.error = error;
    return result;
}

}  // namespace

QString OutputFileClaim::Result::Reason() const {
    return error != 0 ? qt_error_string(error) : QString();
}

void OutputFileClaim::SetLockCallForTesting(LockCall call) { lockCall = call ? call : ::flock; }

OutputFileClaim::Result OutputFileClaim::Claim(int fd) {
    if (fd < 0) return FailedWith(errno);
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return FailedWith(error);
    }
    Result result;
    const std::pair<dev_t, ino_t> identity(info.st_dev, info.st_ino);
    if (Claimed().count(identity) != 0) {
        ::close(fd);
        result.status = Status::Held;
        return result;
    }
    int locked;
    do {
        locked = lockCall(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        result.status = Status::Held;
        return result;
    }
    // Any other failure of the lock (a file system without these locks, ENOLCK; a folder's
    // descriptor that cannot take one, EBADF) leaves the claim inside this process alone.
    Claimed().insert(identity);
    result.status = Status::Taken;
    result.claim.reset(new OutputFileClaim(fd, info));
    return result;
}

OutputFileClaim::Result OutputFileClaim::TakeFile(const QString& path) {
    if (path.isEmpty()) return FailedWith(ENOENT);
    // Not O_TRUNC: a file another run holds must stay as it is. O_NONBLOCK keeps a named pipe
    // without a reader from blocking the window; writes block as usual afterwards. The
    // descriptor is not handed to tide's processes.
    const int fd = OpenPath(path, O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return Claim(fd);
}

OutputFileClaim::Result OutputFileClaim::TakeFolder(const QString& path) {
    if (path.isEmpty()) return FailedWith(ENOENT);
    int fd = OpenPath(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be written and searched but not read is still a folder to write into:
    // a descriptor that only names it claims it inside this process (it takes no lock).
    if (fd < 0 && errno == EACCES) fd = OpenPath(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    return Claim(fd);
}

OutputFileClaim::OutputFileClaim(int fd, const struct stat& info)
    : fd(fd), device(info.st_dev), inode(info.st_ino), regular(S_ISREG(info.st_mode)) {}

bool OutputFileClaim::Truncate() {
    if (!regular) return true;
    int done;
    do {
        done = ::ftruncate(fd, 0);
    } while (done != 0 && errno == EINTR);
    return done == 0;
}

OutputFileClaim::~OutputFileClaim() {
    Claimed().erase({device, inode});
    if (fd >= 0) ::close(fd);
}
