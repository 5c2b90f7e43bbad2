// TideCommand  The shell command line that has tide predict one location for one calendar month.
#pragma once

#include <QString>

namespace TideCommand {

// The begin and end texts of a month: "yyyy-mm-01 00:00" of the month and of the month after it
// (after December, January 1 of the next year). tide leaves out what lies after its end time, and
// an event of a month's last minute lies seconds after 23:59; ending at the next month's first
// minute keeps it. A line of the next month in the output is dropped by the month prefix test,
// and the next month's own command begins at that same minute, so no event is read twice.
QString BeginText(int month, int year);
QString EndText(int month, int year);

// The command line for `location` (a name as LocationName::FromListing gave it, or as the user
// typed it) in month 1 to 12 of `year`, run in the XTide folder `xtideFolder` (absolute path):
//   cd <folder>; export HFILE_PATH=./harmonics.tcd; ./tide -l <location> -b "<begin>" -e "<end>"
//   followed by the SettingSwitches()
// The location goes in as one quoted shell word of its listing bytes, so the shell hands tide
// exactly those bytes whatever they hold (quotes, "$(...)", ";" are never interpreted).
QString Build(const QString& xtideFolder, const QString& location, int month, int year);

// The switches that every tide command line ends with:
//   -df "%Y-%m-%d" -tf "%l:%M %p %Z" -z n -em x
// tide takes its date and time formats, UTC or local time and its event mask from the user's
// ~/.xtide.xml unless the command line names them; these are tide's own defaults, the layout the
// readers of its output rely on, so no settings file changes what a run prints. Units are left
// to the user: the readers take heights in whatever unit tide prints.
QString SettingSwitches();

// The start of every tide command line: changes to the XTide folder, and ends the command line
// there when the folder is gone, so that no "./tide" of another folder ever runs.
QString EnterFolder(const QString& xtideFolder);

}  // namespace TideCommand
