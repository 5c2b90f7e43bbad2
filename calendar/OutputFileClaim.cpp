// OutputFileClaim  Advisory locks on the files and folders runs are writing.
#include "calendar/OutputFileClaim.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace {

// open(2), retried when a signal interrupts it.
int OpenPath(const QString& path, int flags, mode_t mode = 0) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

}  // namespace

OutputFileClaim::Result OutputFileClaim::Lock(int fd) {
    Result result;
    if (fd < 0) return result;
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0 && errno == EWOULDBLOCK) {
        ::close(fd);
        result.status = Status::Held;
        return result;
    }
    // A file system without these locks still takes the file; its runs are then unguarded.
    result.status = Status::Taken;
    result.claim.reset(new OutputFileClaim(fd));
    return result;
}

OutputFileClaim::Result OutputFileClaim::TakeFile(const QString& path) {
    if (path.isEmpty()) return {};
    // Not O_TRUNC: a file another run holds must stay as it is. O_NONBLOCK keeps a named pipe
    // without a reader from blocking the window; writes block as usual afterwards. The
    // descriptor is not handed to tide's processes.
    const int fd = OpenPath(path, O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return Lock(fd);
}

OutputFileClaim::Result OutputFileClaim::TakeFolder(const QString& path) {
    if (path.isEmpty()) return {};
    return Lock(OpenPath(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool OutputFileClaim::Truncate() {
    struct stat info;
    if (::fstat(fd, &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) return true;
    int done;
    do {
        done = ::ftruncate(fd, 0);
    } while (done != 0 && errno == EINTR);
    return done == 0;
}

OutputFileClaim::~OutputFileClaim() {
    if (fd >= 0) ::close(fd);
}
