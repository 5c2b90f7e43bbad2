// RunClaimant  Who claims the files a run writes, and the words both windows use for a file
// that another claim holds.
#pragma once

#include <QString>

#include "platform/ClaimedFile.h"
#include "platform/OutputFileClaim.h"

namespace RunClaimant {

// The kinds of run that claim files.
enum Kind : int { CalendarRun = 1, GenerationRun = 2 };

// The claimant of the run a window is doing; `window` identifies the run while it lasts (a
// window does one run at a time).
OutputFileClaim::Claimant For(Kind kind, const void* window);

// What follows a refused file's path in its message, for the run of `window`:
//   held by a calendar run of this process    ": a calendar run of another window is writing to it"
//   held by a generation run of this process  ": a generation run of another window is writing
//                                             to it"
//   held by this same run, under another name ": this run is already writing to it under another
//                                             name"
//   held by another process                   ": another run is writing to it"
//   not opened                                ": " and the system's reason; "" when none is known
QString Cause(const ClaimedFile::Result& refused, const void* window);

// The words for a generation run of another window, also those of a refused output folder.
extern const char* const kGenerationRunHolds;

}  // namespace RunClaimant
