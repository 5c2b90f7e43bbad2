// OutputFileClaim  A calendar file or an HTML output folder that a run is writing, claimed for as
// long as the run holds it, so that no other run truncates and writes it meanwhile.
//
// The claim is an advisory lock (flock) on the file or folder itself, taken on a descriptor of
// its own: every name of it (a symbolic or hard link, another spelling of the path) is one
// claim, and runs of other windows and of other Quorvex processes see it alike. The lock ends
// when the claim is destroyed, and with the process.
#pragma once

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
    };

    // Opens the file `path` names for writing, creating it when missing but truncating nothing,
    // and claims it. Once Taken, Truncate() empties it and Descriptor() writes to it.
    static Result TakeFile(const QString& path);
    // Claims the existing folder `path` names.
    static Result TakeFolder(const QString& path);

    ~OutputFileClaim();
    OutputFileClaim(const OutputFileClaim&) = delete;
    OutputFileClaim& operator=(const OutputFileClaim&) = delete;

    // The claim's descriptor, open for writing (TakeFile) or reading (TakeFolder); it stays
    // open, and owned by the claim, until the claim ends.
    int Descriptor() const { return fd; }
    // Empties a claimed regular file; anything else (a device such as /dev/null) stays as it
    // is. False when the file cannot be emptied.
    bool Truncate();

  private:
    explicit OutputFileClaim(int fd) : fd(fd) {}
    // Locks the open descriptor `fd` (which the result then owns) or closes it.
    static Result Lock(int fd);

    int fd = -1;
};
