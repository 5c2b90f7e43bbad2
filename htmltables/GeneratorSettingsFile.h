// GeneratorSettingsFile  The generator window's settings documents: saving and loading its nine
// lines, selecting pop-up items by text, and the three settings commands.
#pragma once

#include <QString>

class GenerateHTML;
class QComboBox;

namespace GeneratorSettingsFile {

// The name every save dialog of the generator window suggests.
inline const QString kSuggestedName = QStringLiteral("Tide Generator Settings.tidehtml");

// Writes the window's nine lines to `item`, replacing the file. When the file cannot be written
// whole (no such folder, no room left) an existing file is left as it was, "Unable to save to
// file " and the path are shown and false is returned. Does not touch theFile: the commands set
// it only after a successful save.
bool SaveGeneratorInfo(GenerateHTML& window, const QString& item);

// The message for a file that is no generator settings document (a binary file such as a
// calendar settings document).
inline const QString kInvalidMessage = QStringLiteral("Invalid Quorvex settings file");

// How LoadGeneratorInfo ended.
enum class Loaded {
    Applied,    // the lines were read into the controls
    NotOpened,  // the file could not be opened: nothing changed
    Refused,    // the file holds a NUL byte: kInvalidMessage was shown, nothing changed
};

// Reads `item` into the controls: Location, the four period pop-ups, OutputPath, the margin and
// height pop-ups and AlsoGenCSV. Any text file is read as the nine lines; a file holding a NUL
// byte is no text and is refused with kInvalidMessage. When the file cannot be opened or is
// refused nothing changes, `updating` included; otherwise `updating` is True until the last line
// is applied, then False. Pop-ups whose line matches no item keep their selection. Yields to
// the event loop (through SetPopupMenu, and the message box); returns false when the window was
// deleted meanwhile, true otherwise. `how`, when given, tells how the load ended.
bool LoadGeneratorInfo(GenerateHTML& window, const QString& item, Loaded* how = nullptr);

// Selects the first item of `menu` whose text equals `text` ignoring letter case, raising the
// window's `updating` around the selection and restoring its earlier value; yields once after
// each item that does not match, and a missing match changes nothing. Returns false when the
// window was deleted during a yield (the caller must then not touch it), true otherwise.
bool SetPopupMenu(GenerateHTML& window, QComboBox* menu, const QString& text);

// The three menu commands, with the results the framework's dispatch expects: Open Settings
// returns true (a refused file does not become the window's document, any other chosen file
// does, read or not); Save Settings returns true when its dialog is cancelled and false after
// saving; Save Settings As returns false.
bool FileOpenSettings_Action(GenerateHTML& window);
bool FileSaveSettings_Action(GenerateHTML& window);
bool FileSaveSettingsAs_Action(GenerateHTML& window);

}  // namespace GeneratorSettingsFile
