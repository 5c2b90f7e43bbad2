// CalendarSettingsFile  The calendar window's settings documents: saving its choices, reading a
// document back into its controls, and the three settings commands with their dialogs.
#pragma once

#include <QString>

class QuorvexWindow;

namespace CalendarSettingsFile {

// The message shown for a document whose version is not 1 or 2 (or that is too short to hold one).
inline const QString kInvalidMessage = QStringLiteral("Invalid Quorvex settings file");
// The start of the message for a document that could not be saved; the file's path follows.
inline const QString kUnableToSave = QStringLiteral("Unable to save to file ");

// The file name Save Settings As suggests for a window whose Location label reads `locationText`:
// "Saved Settings.quorvex" for an empty text; the text before its first comma when that comma is
// not the first character; else its first 23 characters; each with ".quorvex" added.
QString SuggestedName(const QString& locationText);

// Writes the window's 21 fields to `item`, replacing the file. On success theFile becomes `item`
// and true is returned; when the file cannot be written whole (no such folder, no room left), an
// existing file stays as it was, theFile keeps its value, kUnableToSave and the path are shown
// and false is returned.
bool SaveFile(QuorvexWindow& window, const QString& item);

// Reads `item` into the window's controls in document order. A file that cannot be read changes
// nothing, silently. A version other than 1 or 2 shows kInvalidMessage and changes nothing.
// Otherwise every field the document holds completely is applied (a damaged document that ends
// early leaves the later controls as they were), theFile becomes `item` and true is returned.
// Popup indexes outside a popup's list leave it as it was; a stored year before or after the year
// list selects its first or last item. Only the controls of the document change: the location
// comes back as the Location label's text, and LocationList, the search field, the status line,
// `updating` and a run going on are left alone.
bool OpenFile(QuorvexWindow& window, const QString& item);

// Asks for a file in a save dialog suggesting SuggestedName(Location) and saves to it; a cancel
// does nothing.
void DoSaveSettingsAs(QuorvexWindow& window);

// The three menu commands; each returns true in every case.
bool FileOpenSettings_Action(QuorvexWindow& window);
bool FileSaveSettings_Action(QuorvexWindow& window);
bool FileSaveSettingsAs_Action(QuorvexWindow& window);

}  // namespace CalendarSettingsFile
