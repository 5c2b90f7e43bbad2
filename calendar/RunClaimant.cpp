// RunClaimant  The claimants of runs and the words that name a file's holder.
#include "calendar/RunClaimant.h"

namespace RunClaimant {

const char* const kGenerationRunHolds = ": a generation run of another window is writing to it";

namespace {

const char* const kCalendarRunHolds = ": a calendar run of another window is writing to it";
const char* const kSameRunHolds = ": this run is already writing to it under another name";
const char* const kAnotherProcessHolds = ": another run is writing to it";

}  // namespace

OutputFileClaim::Claimant For(Kind kind, const void* window) {
    OutputFileClaim::Claimant claimant;
    claimant.run = window;
    claimant.kind = kind;
    return claimant;
}

QString Cause(const ClaimedFile::Result& refused, const void* window) {
    if (refused.status == OutputFileClaim::Status::Held) {
        if (!refused.holder) return QString::fromLatin1(kAnotherProcessHolds);
        if (refused.holder->run == window) return QString::fromLatin1(kSameRunHolds);
        return QString::fromLatin1(refused.holder->kind == GenerationRun ? kGenerationRunHolds
                                                                         : kCalendarRunHolds);
    }
    return refused.reason.isEmpty() ? QString() : QStringLiteral(": ") + refused.reason;
}

}  // namespace RunClaimant
