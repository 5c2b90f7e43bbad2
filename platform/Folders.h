// Folders  File references by path: bare names in the application's folder, and the user's
// special folders.
#pragma once

#include <QString>

namespace Folders {

// An absolute path stays as it is; a bare name (no '/') names an entry of the folder that holds
// the running executable. Returns the absolute path, whether the entry exists or not; "" for "".
QString GetFolderItem(const QString& pathOrName);

// The child `name` of `folder` (a reference whether or not it exists); "" when folder is "".
QString Child(const QString& folder, const QString& name);

// The folder that holds the running executable.
QString ApplicationFolder();

// The user's preferences folder (their configuration folder), temporary folder and documents
// folder. Each is "" when the system gives none.
QString Preferences();
QString Temporary();
QString Documents();

// Process-wide override of the folder that bare names resolve against (tests); "" restores it.
void SetApplicationFolderForTesting(const QString& folder);

}  // namespace Folders
