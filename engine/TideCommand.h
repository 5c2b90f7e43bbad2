// TideCommand  The shell command line that has tide predict one location for one calendar month.
#pragma once

#include <QString>

namespace TideCommand {

// The begin and end texts of a month: "yyyy-mm-01 00:00" and "yyyy-mm-dd 23:59", dd being the
// last day of the month.
QString BeginText(int month, int year);
QString EndText(int month, int year);

// The command line for `location` (a name as LocationName::FromListing gave it, or as the user
// typed it) in month 1 to 12 of `year`, run in the XTide folder `xtideFolder` (absolute path):
//   cd <folder>; export HFILE_PATH=./harmonics.tcd; ./tide -l <location> -b "<begin>" -e "<end>"
// The location goes in as one quoted shell word of its listing bytes, so the shell hands tide
// exactly those bytes whatever they hold (quotes, "$(...)", ";" are never interpreted).
QString Build(const QString& xtideFolder, const QString& location, int month, int year);

// The start of every tide command line: changes to the XTide folder, and ends the command line
// there when the folder is gone, so that no "./tide" of another folder ever runs.
QString EnterFolder(const QString& xtideFolder);

}  // namespace TideCommand
