// NamedPipe  A named pipe (FIFO) in place of a file, with or without a reader.
//
// Without a reader, a writer that opens the pipe blocking waits for one for ever. So that such a
// fault fails its test instead of hanging it, a pipe made without a reader gets one after
// `watchdogMs`; the reader stays open until the object goes, so the writer's bytes are taken.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class NamedPipe {
  public:
    enum class Reader { Now, None };

    NamedPipe(const QString& path, Reader reader, int watchdogMs = 5000)
        : name(QFile::encodeName(path)) {
        valid = ::mkfifo(name.constData(), 0644) == 0;
        if (!valid) return;
        if (reader == Reader::Now) {
            readFd = OpenReader();
            valid = readFd >= 0;
            return;
        }
        watchdog = std::thread([this, watchdogMs] {
            std::unique_lock<std::mutex> lock(mutex);
            if (!cancel.wait_for(lock, std::chrono::milliseconds(watchdogMs),
                                 [this] { return cancelled; }))
                readFd = OpenReader();
        });
    }
    ~NamedPipe() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            cancelled = true;
        }
        cancel.notify_all();
        if (watchdog.joinable()) watchdog.join();
        if (readFd >= 0) ::close(readFd);
    }
    NamedPipe(const NamedPipe&) = delete;
    NamedPipe& operator=(const NamedPipe&) = delete;

    bool isValid() const { return valid; }

    // What writers have put into the pipe so far (Reader::Now).
    QByteArray ReadAvailable() {
        QByteArray bytes;
        char buffer[4096];
        ssize_t n;
        while (readFd >= 0 && (n = ::read(readFd, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, n);
        return bytes;
    }

    // The reader leaves (Reader::Now): a writer's next write fails with EPIPE, or raises
    // SIGPIPE where that is not ignored.
    void CloseReader() {
        if (readFd >= 0) ::close(readFd);
        readFd = -1;
    }

  private:
    int OpenReader() const { return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

    QByteArray name;
    bool valid = false;
    int readFd = -1;
    std::mutex mutex;
    std::condition_variable cancel;
    bool cancelled = false;
    std::thread watchdog;
};
