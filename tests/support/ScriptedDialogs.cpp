// ScriptedDialogs  A dialog backend for tests.
#include "support/ScriptedDialogs.h"

ScriptedDialogs::ScriptedDialogs() { Dialogs::SetBackend(this); }

ScriptedDialogs::~ScriptedDialogs() {
    if (Dialogs::CurrentBackend() == this) Dialogs::SetBackend(nullptr);
}

QString ScriptedDialogs::Run(const DialogRequest& request, QWidget*) {
    requests.append(request);
    if (request.kind == DialogRequest::Kind::Message) {
        messages.append(request.message);
        return QString();
    }
    if (answers.isEmpty()) {
        ++unanswered;
        return QString();
    }
    return answers.takeFirst();
}
