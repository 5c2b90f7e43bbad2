// main  Start-up: document types, the application object with its menu handlers, then the
// default main window, the application's Open and the documents of the command line (Startup).
#include <QApplication>

#include "core/App.h"
#include "core/FileTypes.h"
#include "core/Startup.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvex"));
    QApplication::setDesktopFileName(QStringLiteral("quorvex"));

    FileTypes::Initialize();
    App app;
    return Startup::Run(app, QApplication::arguments().mid(1));
}
