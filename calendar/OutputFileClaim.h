// OutputFileClaim  A calendar file, an HTML output folder or a file of a generation run that a run
// is writing, claimed for as long as the run holds it, so that no other run truncates and writes
// it meanwhile.
//
// A claim is held twice. Inside the process it is held by the identity of what it claims (device
// and inode of its open descriptor), whatever the file system: every name of it (a symbolic or
// hard link, another spelling of the path) is one claim. Across processes an advisory lock
// (flock) on that descriptor adds the same guard where the file system has such locks. Both end
// when the claim is destroyed; the lock also ends with the process.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QString>
#include <memory>

class OutputFileClaim {
  public:
    enum class Status {
        Taken,   // the claim is the caller's
        Held,    // another run holds the file or folder: nothing was changed
        Failed,  // it cannot be opened (a missing folder, no permission, a folder for a file)
    };
    struct Result {
        Status status = Status::Failed;
        std::unique_ptr<OutputFileClaim> claim;  // set when Taken
        int error = 0;                           // Failed: the system's error number, or 0
        // Failed: the system's reason ("Permission denied"); "" when there is none.
        QString Reason() const;
    };

    // Opens the file `path` names for writing, creating it when missing but truncating nothing,
    // and claims it. A named pipe without a reader fails at once (ENXIO). Once Taken,
    // Truncate() empties it and Descriptor() writes to it.
    static Result TakeFile(const QString& path);
    // Claims the existing folder `path` names, also one that may be written but not read.
    static Result TakeFolder(const QString& path);

    // The lock call, flock(2) unless a test puts a failing one in its place; nullptr restores
    // flock.
    using LockCall = int (*)(int fd, int operation);
    static void SetLockCallForTesting(LockCall call);

    ~OutputFileClaim();
    OutputFileClaim(const OutputFileClaim&) = delete;
    OutputFileClaim& operator=(const OutputFileClaim&) = delete;

    // The claim's descriptor: open for writing (TakeFile), or a folder's descriptor that reads
    // nothing (TakeFolder). It stays open, and owned by the claim, until the claim ends.
    int Descriptor() const { return fd; }
    // Empties a claimed regular file; anything else (a device such as /dev/null, a pipe) stays
    // as it is. False when the file cannot be emptied, with the system's error number in errno.
    bool Truncate();

  private:
    OutputFileClaim(int fd, const struct stat& info);
    // Claims the open descriptor `fd` (which the result then owns) or closes it.
    static Result Claim(int fd);

    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
    bool regular = false;  // a regular file, which Truncate() empties
};
