// ClaimedFile  A file a run writes: claimed against every other run (OutputFileClaim), emptied,
// and open for writing through a QFile on the claim's descriptor.
#pragma once

#include <QFile>
#include <QString>
#include <memory>

#include "calendar/OutputFileClaim.h"

class ClaimedFile {
  public:
    struct Result {
        OutputFileClaim::Status status = OutputFileClaim::Status::Failed;
        std::unique_ptr<ClaimedFile> file;  // set when Taken
        QString reason;                     // Failed: the system's reason, "" when none is known
        // What follows the file's path in the message of a refused file: that another run is
        // writing it, or ": " and the system's reason; "" when neither is known.
        QString Cause() const;
    };

    // Claims the file `path` names (creating it when missing), then empties it and opens it.
    // A file another run holds is left as it is.
    static Result Open(const QString& path);

    ClaimedFile(const ClaimedFile&) = delete;
    ClaimedFile& operator=(const ClaimedFile&) = delete;

    QFile* File() { return &file; }
    QString Path() const { return path; }
    // Closes the file and ends the claim. The object stays, so that a writer still holding
    // File() sees a closed device that refuses its writes.
    void Close();

    // ": a calendar run of another window is writing to it", the Cause() of a held file.
    static const char* const kBeingWritten;

  private:
    explicit ClaimedFile(const QString& path) : path(path) {}

    QString path;
    std::unique_ptr<OutputFileClaim> claim;  // owns the descriptor: declared before the file
    QFile file;
};
