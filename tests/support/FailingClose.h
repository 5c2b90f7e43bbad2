// FailingClose  A file system that reports a delayed write error when a file is closed, as NFS
// does (EIO), for as long as the object lives: the claim (OutputFileClaim) of a file whose path
// ends with `name` is closed and then reported failed; every other close succeeds.
#pragma once

#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cerrno>

#include "platform/OutputFileClaim.h"

class FailingClose {
  public:
    explicit FailingClose(const QString& name, int error = EIO) {
        Name() = QFile::encodeName(QStringLiteral("/") + name);
        Error() = error;
        OutputFileClaim::SetCloseCallForTesting(&Close);
    }
    ~FailingClose() { OutputFileClaim::SetCloseCallForTesting(nullptr); }
    FailingClose(const FailingClose&) = delete;
    FailingClose& operator=(const FailingClose&) = delete;

  private:
    static QByteArray& Name() {
        static QByteArray name;
        return name;
    }
    static int& Error() {
        static int error = 0;
        return error;
    }
    static int Close(int fd) {
        char target[4096];
        const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
        const ssize_t n = ::readlink(link.constData(), target, sizeof target);
        const bool fails = n > 0 && QByteArray(target, int(n)).endsWith(Name());
        if (::close(fd) != 0) return -1;
        if (!fails) return 0;
        errno = Error();
        return -1;
    }
};
