// ClaimedFile  Claimed, emptied and open output files of the runs.
#include "platform/ClaimedFile.h"

#include <errno.h>

#include "platform/Folders.h"
#include "platform/FullWrite.h"

ClaimedFile::Result ClaimedFile::Open(const QString& path, OutputFileClaim::Claimant claimant) {
    return Finish(OutputFileClaim::TakeFile(path, claimant), path);
}

ClaimedFile::Result ClaimedFile::OpenIn(const OutputFileClaim& folder, const QString& folderPath,
                                        const QString& name, OutputFileClaim::Claimant claimant) {
    return Finish(OutputFileClaim::TakeFileIn(folder, name, claimant),
                  Folders::Child(folderPath, name));
}

ClaimedFile::Result ClaimedFile::Finish(OutputFileClaim::Result claim, const QString& path) {
    Result result;
    result.status = claim.status;
    result.holder = claim.holder;
    if (claim.status != OutputFileClaim::Status::Taken) {
        result.reason = claim.Reason();
        return result;
    }
    std::unique_ptr<ClaimedFile> file(new ClaimedFile(path));
    file->claim = std::move(claim.claim);
    if (!file->claim->Truncate()) {
        result.status = OutputFileClaim::Status::Failed;
        result.reason = qt_error_string(errno);
        return result;
    }
    if (!file->file.open(file->claim->Descriptor(), QIODevice::WriteOnly,
                         QFileDevice::DontCloseHandle)) {
        result.status = OutputFileClaim::Status::Failed;
        result.reason = file->file.errorString();
        return result;
    }
    result.file = std::move(file);
    return result;
}

bool ClaimedFile::Close() {
    if (!claim) return closeError.isEmpty();
    const bool flushed = !file.isOpen() || FullWrite::Flush(file);
    if (!flushed) closeError = file.errorString();
    file.close();
    if (!claim->Close() && flushed) closeError = qt_error_string(errno);
    claim.reset();
    return closeError.isEmpty();
}
