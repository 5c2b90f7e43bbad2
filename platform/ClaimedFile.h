// ClaimedFile  A file a run writes: claimed against every other run (OutputFileClaim), emptied,
// and open for writing through a QFile on the claim's descriptor.
#pragma once

#include <QFile>
#include <QString>
#include <memory>
#include <optional>

#include "platform/OutputFileClaim.h"

class ClaimedFile {
  public:
    struct Result {
        OutputFileClaim::Status status = OutputFileClaim::Status::Failed;
        std::unique_ptr<ClaimedFile> file;  // set when Taken
        // Held: who holds it, when a claim of this process does (OutputFileClaim::Result).
        std::optional<OutputFileClaim::Claimant> holder;
        QString reason;  // Failed: the system's reason, "" when none is known
    };

    // Claims the file `path` names (creating it when missing) for `claimant`, then empties it
    // and opens it. A file another claim holds is left as it is.
    static Result Open(const QString& path, OutputFileClaim::Claimant claimant);
    // The same for the file `name` in the claimed folder `folder`, whose path at the claim was
    // `folderPath`: the file is the one in the claimed folder, wherever that path leads by now.
    // Path() is `folderPath`/`name`.
    static Result OpenIn(const OutputFileClaim& folder, const QString& folderPath,
                         const QString& name, OutputFileClaim::Claimant claimant);

    ClaimedFile(const ClaimedFile&) = delete;
    ClaimedFile& operator=(const ClaimedFile&) = delete;

    QFile* File() { return &file; }
    QString Path() const { return path; }
    // Writes what is still buffered, closes the file and ends the claim. False when a write or
    // the close itself failed (a delayed write error of the file system), with the system's
    // reason in CloseError(). The object stays, so that a writer still holding File() sees a
    // closed device that refuses its writes.
    bool Close();
    QString CloseError() const { return closeError; }

  private:
    explicit ClaimedFile(const QString& path) : path(path) {}
    // Empties and opens the file of a claim just Taken.
    static Result Finish(OutputFileClaim::Result claim, const QString& path);

    QString path;
    std::unique_ptr<OutputFileClaim> claim;  // owns the descriptor: declared before the file
    QFile file;
    QString closeError;
};
