// XTideFolder  Where the XTide folder (tide and its harmonics database) is found: inside a
// package next to the application, or a folder the user chooses.
#pragma once

#include <QString>

namespace XTideFolder {

inline const QString DebugPackage = QStringLiteral("Quorvex.debug.app");
inline const QString Package = QStringLiteral("Quorvex.app");
inline const QString TideProgram = QStringLiteral("tide");
inline const QString HarmonicsTCD = QStringLiteral("harmonics.tcd");
inline const QString HarmonicsTXT = QStringLiteral("harmonics.txt");
inline const QString SelectCaption = QStringLiteral("Select");
inline const QString NoFolderMessage = QStringLiteral(
    "If you do not specify the location of the harmonics.tcd and tide files, Quorvex will not "
    "work");

// The Contents/Resources folder of the package or folder `item` when it holds "tide" and either
// "harmonics.tcd" or "harmonics.txt"; "" otherwise (also for "" or a missing item).
QString TryForTideAndHarmonics(const QString& item);

// The folder that holds the application: the folder bare names resolve against.
QString ApplicationHolder();

// The first usable XTide folder of "Quorvex.debug.app", "Quorvex.app" and the folder that holds
// the application (each its own Contents/Resources), or "" when none is usable.
QString FindInPackages();

// Whether `folder` is a folder that holds "harmonics.tcd" (the database the command lines use).
bool HasHarmonicsDatabase(const QString& folder);

// The shell path of the harmonics database in `folder`: "harmonics.tcd", else "harmonics.txt";
// "" when `folder` is "" or holds neither.
QString HarmonicsFile(const QString& folder);

}  // namespace XTideFolder
