// NamedPipe  A named pipe (FIFO) in place of a file, with or without a reader, or with or
// without a writer.
//
// Without a reader, a writer that opens the pipe blocking waits for one for ever. So that such a
// fault fails its test instead of hanging it, a pipe made without a reader gets one after
// `watchdogMs`; the reader stays open until the object goes, so the writer's bytes are taken.
//
// Without a writer, a reader that opens the pipe blocking waits for one just as long. Such a pipe
// gets, once `watchdogMs` have passed, a writer that opens it and closes it again at once, as
// often as a reader waits, so that the reader goes on with an end of file; ReaderWaited() then
// tells the test that some reader had to be released.
//
// With a writer (Writer::Sends), the pipe is held open for writing; `bytes` are sent after
// `delayMs`, and once a reader has taken them (or the watchdog's time is up) the writer holds
// the pipe `holdMs` longer and closes it: the reader gets the bytes and then an end of file.
// From then on the pipe is one without a writer, watchdog included.
#pragma once

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class NamedPipe {
  public:
    enum class Reader { Now, None };
    enum class Writer { None, Sends };

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
    NamedPipe(const QString& path, Writer writer, const QByteArray& bytes = QByteArray(),
              int delayMs = 100, int holdMs = 0, int watchdogMs = 3000)
        : name(QFile::encodeName(path)) {
        valid = ::mkfifo(name.constData(), 0644) == 0;
        if (!valid) return;
        if (writer == Writer::Sends) {
            // Open for reading too, so that this open needs no reader; the pipe has no reader
            // of its own once the writer closes.
            writeFd = ::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
            valid = writeFd >= 0;
            if (!valid) return;
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(watchdogMs);
        watchdog = std::thread([this, bytes, delayMs, holdMs, deadline] {
            std::unique_lock<std::mutex> lock(mutex);
            const auto stop = [this] { return cancelled; };
            if (writeFd >= 0) {
                if (!cancel.wait_for(lock, std::chrono::milliseconds(delayMs), stop)) {
                    if (::write(writeFd, bytes.constData(), bytes.size()) != bytes.size())
                        sendFailed = true;
                    // As a writer into a pipe does, wait until a reader has taken the bytes.
                    int unread = 0;
                    while (::ioctl(writeFd, FIONREAD, &unread) == 0 && unread > 0 &&
                           std::chrono::steady_clock::now() < deadline &&
                           !cancel.wait_until(lock, std::min(deadline, Soon()), stop)) {
                    }
                    cancel.wait_for(lock, std::chrono::milliseconds(holdMs), stop);
                }
                ::close(writeFd);
                writeFd = -1;
            }
            if (cancel.wait_until(lock, deadline, stop)) return;
            // A writer's open that succeeds without waiting finds a reader in the pipe: past
            // the deadline, one that still waits in its open.
            while (!cancel.wait_for(lock, std::chrono::milliseconds(20), stop)) {
                const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd < 0) continue;
                readerWaited = true;
                ::close(fd);
            }
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
        if (writeFd >= 0) ::close(writeFd);
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

    // Writer::None: whether a reader waited in its open until the watchdog released it.
    bool ReaderWaited() const { return readerWaited; }
    // Writer::Sends: whether the pipe refused some of the bytes.
    bool SendFailed() const { return sendFailed; }

  private:
    static std::chrono::steady_clock::time_point Soon() {
        return std::chrono::steady_clock::now() + std::chrono::milliseconds(10);
    }
    int OpenReader() const { return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); }

    QByteArray name;
    bool valid = false;
    int readFd = -1;
    int writeFd = -1;
    std::atomic<bool> readerWaited{false};
    std::atomic<bool> sendFailed{false};
    std::mutex mutex;
    std::condition_variable cancel;
    bool cancelled = false;
    std::thread watchdog;
};
