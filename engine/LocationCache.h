// LocationCache  The file "Quorvex Locations.txt" in the preferences folder that keeps the
// location list between runs: the XTide folder on line 1, then one location name a line.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace LocationCache {

inline const QString FileName = QStringLiteral("Quorvex Locations.txt");

// The cache file in the user's preferences folder; "" when there is no preferences folder.
QString Path();

// Reads the cache at `path`. Returns false, touching nothing, when there is no such file or it
// cannot be opened. Otherwise `folder` receives line 1 ("" for an empty file) and `entry` is
// called with every further line in order, line endings removed (a line feed and the carriage
// returns before it), nothing else trimmed: an empty line is an empty name. Names keep their bytes
// (LocationName::FromListing).
bool Read(const QString& path, QString& folder, const std::function<void(const QString&)>& entry);

// Replaces the cache at `path` with `folder` and names 0 .. count - 1, one a line; `afterLine` runs
// after each name. The file is replaced only when it was written completely. A stored list that
// holds names is never replaced by an empty one (count 0): the old file then stays as it is.
// Returns whether the file was written.
bool Write(const QString& path, const QString& folder, const QStringList& names, int count,
           const std::function<void()>& afterLine = {});

}  // namespace LocationCache
