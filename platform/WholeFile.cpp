// WholeFile  Whole reads that never wait for a writer to appear.
#include "platform/WholeFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace WholeFile {

namespace {

// The descriptor of one read, closed when the read ends.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

// read(2), retried when a signal interrupts it.
ssize_t ReadSome(int fd, char* buffer, size_t size) {
    ssize_t n;
    do {
        n = ::read(fd, buffer, size);
    } while (n < 0 && errno == EINTR);
    return n;
}

bool ReadToEnd(int fd, QByteArray* bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ReadSome(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) return false;
        bytes->append(buffer, n);
    }
}

bool MakeBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool ReadOpen(int fd, QByteArray* bytes) {
    struct stat info;
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) return false;
    if (!S_ISREG(info.st_mode)) {
        // The first read does not wait either: it gives what a writer already sent, an end when
        // nothing writes to the pipe, or EAGAIN while a writer holds it open without having
        // sent anything yet.
        char buffer[4096];
        const ssize_t n = ReadSome(fd, buffer, sizeof buffer);
        if (n == 0) return false;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        if (n > 0) bytes->append(buffer, n);
    }
    // From here on every read waits for the writer's next bytes, up to its close.
    return MakeBlocking(fd) && ReadToEnd(fd, bytes);
}

}  // namespace

bool Read(const QString& path, QByteArray* bytes) {
    bytes->clear();
    if (path.isEmpty()) return false;
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    const Descriptor file(fd);
    if (ReadOpen(file.fd, bytes)) return true;
    bytes->clear();
    return false;
}

}  // namespace WholeFile
