// TideCommand  The shell command line of one month's tide prediction.
#include "engine/TideCommand.h"

#include "engine/LocationName.h"
#include "platform/ShellWord.h"
#include "platform/Text.h"

namespace TideCommand {

QString BeginText(int month, int year) {
    return Text::Format(year, QStringLiteral("0000")) + QLatin1Char('-') +
           Text::Format(month, QStringLiteral("00")) + QStringLiteral("-01 00:00");
}

QString EndText(int month, int year) {
    return month >= 12 ? BeginText(1, year + 1) : BeginText(month + 1, year);
}

QString SettingSwitches() {
    return QStringLiteral(" -df \"%Y-%m-%d\" -tf \"%l:%M %p %Z\" -z n -em x");
}

QString EnterFolder(const QString& xtideFolder) {
    return QStringLiteral("cd ") + ShellWord::ShellPath(xtideFolder) + QStringLiteral(" || exit");
}

QString Build(const QString& xtideFolder, const QString& location, int month, int year) {
    return EnterFolder(xtideFolder) +
           QStringLiteral("; export HFILE_PATH=./harmonics.tcd; ./tide -l ") +
           ShellWord::Quote(LocationName::ToCommandBytes(location)) + QStringLiteral(" -b ") +
           QLatin1Char('"') + BeginText(month, year) + QLatin1Char('"') + QStringLiteral(" -e ") +
           QLatin1Char('"') + EndText(month, year) + QLatin1Char('"') + SettingSwitches();
}

}  // namespace TideCommand
