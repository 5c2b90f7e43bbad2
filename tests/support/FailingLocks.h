// FailingLocks  A file system without working locks, for as long as the object lives: every
// lock call of a claim (OutputFileClaim) fails with `error`, as flock does on NFS without its
// lock service (ENOLCK) or for a folder on NFS (EBADF).
#pragma once

#include <cerrno>

#include "platform/OutputFileClaim.h"

class FailingLocks {
  public:
    explicit FailingLocks(int error) {
        Error() = error;
        OutputFileClaim::SetLockCallForTesting(&Fail);
    }
    ~FailingLocks() { OutputFileClaim::SetLockCallForTesting(nullptr); }
    FailingLocks(const FailingLocks&) = delete;
    FailingLocks& operator=(const FailingLocks&) = delete;

  private:
    static int& Error() {
        static int error = 0;
        return error;
    }
    static int Fail(int, int) {
        errno = Error();
        return -1;
    }
};
