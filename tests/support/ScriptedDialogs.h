// ScriptedDialogs  A dialog backend for tests: records every request and answers from a queue.
// An unexpected dialog is answered as cancelled, never shown.
#pragma once

#include <QList>
#include <QStringList>

#include "platform/Dialogs.h"

class ScriptedDialogs : public Dialogs::Backend {
public:
    ScriptedDialogs();   // installs itself
    ~ScriptedDialogs();  // restores the real dialogs

    // The next file or folder dialog returns `path` ("" = cancel).
    void Answer(const QString& path) { answers.append(path); }

    QString Run(const DialogRequest& request, QWidget* parent) override;

    QList<DialogRequest> requests;  // every request, in order
    QStringList messages;           // the texts of the message boxes, in order
    QStringList answers;            // answers not yet used
    int unanswered = 0;             // file or folder dialogs that found no answer queued
};
