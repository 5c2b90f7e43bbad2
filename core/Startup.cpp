// Startup  From the default window to the end of the event loop.
#include "core/Startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

#include "calendar/QuorvexWindow.h"
#include "core/App.h"

namespace Startup {

namespace {

// Deletes the windows that are left, including those closed and waiting for their deletion.
void DeleteWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget()) windows.append(w);
    for (const QPointer<QWidget>& w : windows) delete w.data();
}

}  // namespace

int Run(App& app, const QStringList& documents) {
    QPointer<QuorvexWindow> defaultWindow = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    if (!app.Event_Open()) {
        // No XTide folder: the application ends before anything else of the start-up runs.
        DeleteWindows();
        return 0;
    }
    if (defaultWindow) defaultWindow->Open();

    if (documents.isEmpty()) {
        app.Event_NewDocument();
    } else {
        for (const QString& document : documents)
            app.Event_OpenDocument(QFileInfo(document).absoluteFilePath());
    }
    const int code = QApplication::exec();
    DeleteWindows();
    return code;
}

}  // namespace Startup
