// ClaimedFile  Claimed, emptied and open output files of the runs.
#include "calendar/ClaimedFile.h"

#include <errno.h>

const char* const ClaimedFile::kBeingWritten =
    ": a calendar run of another window is writing to it";

QString ClaimedFile::Result::Cause() const {
    if (status == OutputFileClaim::Status::Held) return QString::fromLatin1(kBeingWritten);
    return reason.isEmpty() ? QString() : QStringLiteral(": ") + reason;
}

ClaimedFile::Result ClaimedFile::Open(const QString& path) {
    Result result;
    OutputFileClaim::Result claim = OutputFileClaim::TakeFile(path);
    result.status = claim.status;
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

void ClaimedFile::Close() {
    file.close();
    claim.reset();
}
