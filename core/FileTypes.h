// FileTypes  The system's three document types: plain text, calendar settings (".quorvex") and
// generator settings (".tidehtml"), with the Qt name filters the file dialogs use.
#pragma once

#include <QString>
#include <QStringList>

struct FileType {
    QString Name;        // "text", "quorvex", "tidehtml"
    QString Extensions;  // ".quorvex"; "" for none
    QString MacType;     // four-character code
    QString MacCreator;  // four-character code
};

namespace FileTypes {

// The three type names in order, each followed by ";".
inline const QString All = QStringLiteral("text;quorvex;tidehtml;");

// Creates the three types (once; later calls change nothing). Start-up calls it before the
// application object exists; the accessors below call it themselves when needed.
void Initialize();

const FileType& Text();
const FileType& Quorvex();
const FileType& TideHTML();

// The type of that name (case-blind), nullptr when there is none.
const FileType* ByName(const QString& name);

// A Qt name filter for a ";"-separated list of type names, e.g. "quorvex" gives
// "Quorvex settings (*.quorvex)". Every listed type becomes one filter entry, joined by ";;";
// the plain text type, which has no extension, matches every file ("*"). Unknown names are
// skipped; "" when none is left.
QString NameFilter(const QString& typeNames);

}  // namespace FileTypes
