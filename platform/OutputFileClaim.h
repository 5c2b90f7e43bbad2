// OutputFileClaim  A file or folder that a run is writing, claimed for as long as the run holds
// it, so that no other run truncates and writes it meanwhile.
//
// A claim is held twice. Inside the process it is held by the identity of what it claims (device
// and inode of its open descriptor), whatever the file system: every name of it (a symbolic or
// hard link, another spelling of the path) is one claim, and the claim knows who took it. Across
// processes an advisory lock (flock) on that descriptor adds the same guard where the file system
// has such locks. Both end when the claim is closed or destroyed; the lock also ends with the
// process.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QString>
#include <memory>
#include <optional>

class OutputFileClaim {
  public:
    enum class Status {
        Taken,   // the claim is the caller's
        Held,    // another claim holds the file or folder: nothing was changed
        Failed,  // it cannot be opened (a missing folder, no permission, a folder for a file)
    };
    // Whom a claim is taken for: the run (an address that stays the run's own while the run
    // lasts, such as its window's) and the kind of run, in the caller's own numbering.
    struct Claimant {
        const void* run = nullptr;
        int kind = 0;
    };
    struct Result {
        Status status = Status::Failed;
        std::unique_ptr<OutputFileClaim> claim;  // set when Taken
        int error = 0;                           // Failed: the system's error number, or 0
        // Held: the claimant of the claim that holds it, when that claim is this process's;
        // none when another process holds it (its lock does not tell who took it).
        std::optional<Claimant> holder;
        // Failed: the system's reason ("Permission denied"); "" when there is none.
        QString Reason() const;
    };

    // Opens the file `path` names for writing, creating it when missing but truncating nothing,
    // and claims it. A named pipe without a reader fails at once (ENXIO). Once Taken,
    // Truncate() empties it and Descriptor() writes to it.
    static Result TakeFile(const QString& path, Claimant claimant);
    // The same for the file `name` (no folder part) in the claimed folder `folder`: it is found
    // in the folder the claim holds, whatever the folder's path names by now.
    static Result TakeFileIn(const OutputFileClaim& folder, const QString& name, Claimant claimant);
    // Claims the existing folder `path` names, also one that may be written but not read.
    static Result TakeFolder(const QString& path, Claimant claimant);

    // The lock call, flock(2) unless a test puts a failing one in its place; nullptr restores
    // flock.
    using LockCall = int (*)(int fd, int operation);
    static void SetLockCallForTesting(LockCall call);
    // The call that closes a claim's descriptor, close(2) unless a test puts one in its place
    // that reports a delayed write error; nullptr restores close.
    using CloseCall = int (*)(int fd);
    static void SetCloseCallForTesting(CloseCall call);

    ~OutputFileClaim();
    OutputFileClaim(const OutputFileClaim&) = delete;
    OutputFileClaim& operator=(const OutputFileClaim&) = delete;

    // The claim's descriptor: open for writing (TakeFile), or a folder's descriptor that reads
    // nothing (TakeFolder). It stays open, and owned by the claim, until the claim ends.
    int Descriptor() const { return fd; }
    // Empties a claimed regular file; anything else (a device such as /dev/null, a pipe) stays
    // as it is. False when the file cannot be emptied, with the system's error number in errno.
    bool Truncate();
    // Ends the claim and closes its descriptor. False when the system reports an error at the
    // close (a file system that writes later, such as NFS: EIO, EDQUOT), with its error number
    // in errno: what was written may not all have reached the file. The claim ends either way.
    bool Close();

  private:
    OutputFileClaim(int fd, const struct stat& info);
    // Claims the open descriptor `fd` (which the result then owns) for `claimant`, or closes it.
    static Result Claim(int fd, Claimant claimant);

    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
    bool regular = false;  // a regular file, which Truncate() empties
};
