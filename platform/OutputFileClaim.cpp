// OutputFileClaim  The claims of the files and folders runs are writing.
#include "platform/OutputFileClaim.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <map>
#include <utility>

namespace {

OutputFileClaim::LockCall lockCall = ::flock;
OutputFileClaim::CloseCall closeCall = ::close;

// What this process's claims hold, by device and inode, and who took each. Runs live on the one
// thread of the event loop.
using Identity = std::pair<dev_t, ino_t>;
std::map<Identity, OutputFileClaim::Claimant>& Claimed() {
    static std::map<Identity, OutputFileClaim::Claimant> claimed;
    return claimed;
}

// openat(2) relative to `folder` (AT_FDCWD: the working folder), retried when a signal
// interrupts it.
int OpenPath(int folder, const QString& path, int flags, mode_t mode = 0) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::openat(folder, name.constData(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// A file to write, relative to `folder`: created when missing, not truncated, since a file
// another run holds must stay as it is. O_NONBLOCK keeps a named pipe without a reader from
// blocking the window; writes block as usual afterwards. The descriptor is not handed to
// tide's processes.
int OpenFileToWrite(int folder, const QString& path) {
    const int fd = OpenPath(folder, path, O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
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

void OutputFileClaim::SetCloseCallForTesting(CloseCall call) { closeCall = call ? call : ::close; }

OutputFileClaim::Result OutputFileClaim::Claim(int fd, Claimant claimant) {
    if (fd < 0) return FailedWith(errno);
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return FailedWith(error);
    }
    Result result;
    const Identity identity(info.st_dev, info.st_ino);
    if (const auto held = Claimed().find(identity); held != Claimed().end()) {
        ::close(fd);
        result.status = Status::Held;
        result.holder = held->second;
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
    Claimed().emplace(identity, claimant);
    result.status = Status::Taken;
    result.claim.reset(new OutputFileClaim(fd, info));
    return result;
}

OutputFileClaim::Result OutputFileClaim::TakeFile(const QString& path, Claimant claimant) {
    if (path.isEmpty()) return FailedWith(ENOENT);
    return Claim(OpenFileToWrite(AT_FDCWD, path), claimant);
}

OutputFileClaim::Result OutputFileClaim::TakeFileIn(const OutputFileClaim& folder,
                                                    const QString& name, Claimant claimant) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || folder.fd < 0)
        return FailedWith(ENOENT);
    return Claim(OpenFileToWrite(folder.fd, name), claimant);
}

OutputFileClaim::Result OutputFileClaim::TakeFolder(const QString& path, Claimant claimant) {
    if (path.isEmpty()) return FailedWith(ENOENT);
    int fd = OpenPath(AT_FDCWD, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be written and searched but not read is still a folder to write into:
    // a descriptor that only names it claims it inside this process (it takes no lock), and
    // files are opened relative to it as to any other.
    if (fd < 0 && errno == EACCES) fd = OpenPath(AT_FDCWD, path, O_PATH | O_DIRECTORY | O_CLOEXEC);
    return Claim(fd, claimant);
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

bool OutputFileClaim::Close() {
    if (fd < 0) return true;
    Claimed().erase({device, inode});
    // Not retried: the descriptor is released whatever close(2) reports, EINTR included.
    const int done = closeCall(fd);
    fd = -1;
    return done == 0;
}

OutputFileClaim::~OutputFileClaim() {
    const int error = errno;
    Close();
    errno = error;
}
