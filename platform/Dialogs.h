// Dialogs  The one seam for message boxes and file or folder dialogs. Window code asks here;
// a test installs a scripted backend, so no test ever waits on a modal dialog.
#pragma once

#include <QString>

class QWidget;

struct DialogRequest {
    enum class Kind { Message, SelectFolder, SaveAs, Open };
    Kind kind = Kind::Message;
    QString message;           // Message: the text shown
    QString title;             // window title
    QString prompt;            // prompt text shown in the dialog
    QString actionCaption;     // caption of the confirm button
    QString initialDirectory;  // folder shown first
    QString suggestedName;     // SaveAs: the name offered
    QString nameFilter;        // Qt name filter ("Quorvex settings (*.quorvex)"); "" means all files
};

class Dialogs {
public:
    class Backend {
    public:
        virtual ~Backend() = default;
        // Shows the request modally; returns the chosen absolute path, "" for a cancel (and
        // always "" for a message box).
        virtual QString Run(const DialogRequest& request, QWidget* parent) = 0;
    };

    static void MsgBox(const QString& text, QWidget* parent = nullptr);
    // "" when the user cancels.
    static QString SelectFolder(const QString& actionCaption, const QString& initialDirectory,
                                QWidget* parent = nullptr);
    static QString Run(const DialogRequest& request, QWidget* parent = nullptr);

    // nullptr restores the real Qt dialogs. The backend is not owned.
    static void SetBackend(Backend* backend);
    static Backend* CurrentBackend();
};
