// main  Start-up: document types, the application object with its menu handlers, the default main
// window, the application's Open, then the documents of the command line or a new document.
#include <QApplication>
#include <QFileInfo>
#include <QPointer>

#include "calendar/QuorvexWindow.h"
#include "core/App.h"
#include "core/FileTypes.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex"));
    QApplication::setDesktopFileName(QStringLiteral("quorvex"));

    FileTypes::Initialize();
    App app;
    // The default window opens once the application's Open has ended, because its own Open
    // handler lists locations from App's XTide folder.
    QPointer<QuorvexWindow> defaultWindow = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
    if (!app.Event_Open()) {
        // No XTide folder: the application ends before anything else of the start-up runs.
        delete defaultWindow;
        return 0;
    }
    if (defaultWindow) defaultWindow->Open();

    QStringList documents = QApplication::arguments().mid(1);
    if (documents.isEmpty()) {
        app.Event_NewDocument();
    } else {
        for (const QString& document : documents)
            app.Event_OpenDocument(QFileInfo(document).absoluteFilePath());
    }
    return QApplication::exec();
}
