// FileSizeLimit  A disk that fills up, for as long as the object lives: no file of this process
// (nor of a child it starts meanwhile) grows past `bytes`; a write beyond fails with EFBIG
// instead of raising SIGXFSZ. Works for every user, root included.
#pragma once

#include <sys/resource.h>

#include <csignal>

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        valid = getrlimit(RLIMIT_FSIZE, &previous) == 0;
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        valid = valid && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool isValid() const { return valid; }

  private:
    rlimit previous{};
    void (*previousHandler)(int) = nullptr;
    bool valid = false;
};
