// App  The application object.
#include "core/App.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "calendar/QuorvexWindow.h"
#include "core/AboutQuorvex.h"
#include "core/MenuWindow.h"
#include "engine/LocationCache.h"
#include "engine/XTideFolder.h"
#include "platform/ChildProcess.h"
#include "platform/Dialogs.h"
#include "platform/EventLoop.h"
#include "platform/Folders.h"
#include "platform/Text.h"

namespace {
App* theApp = nullptr;
const QString kFreshLocation = QStringLiteral("No location specified");
}  // namespace

App::App() {
    theApp = this;
    // A calendar file or settings document that is a pipe whose reader leaves must fail its
    // write, not end every window.
    ChildProcess::IgnoreBrokenPipes();
    AddMenuHandler(QStringLiteral("FileNewQuorvex"), [this] { return FileNewQuorvex_Action(); });
    AddMenuHandler(QStringLiteral("AppleAboutQuorvex"),
                   [this] { return AppleAboutQuorvex_Action(); });
}

App::~App() {
    if (theApp == this) theApp = nullptr;
}

App* App::Instance() { return theApp; }

// ---- application events

void App::Event_EnableMenuItems() {
    EnableMenuItem(QStringLiteral("FileNewQuorvex"));
    EnableMenuItem(QStringLiteral("AppleAboutQuorvex"));
    EnableMenuItem(QStringLiteral("GenerateHTMLTables"));
}

QuorvexWindow* App::FreshMainWindow() const {
    if (WindowCount() != 1) return nullptr;
    auto* window = qobject_cast<QuorvexWindow*>(Window(0));
    if (!window || !window->Location) return nullptr;
    return Text::Same(window->Location->text(), kFreshLocation) ? window : nullptr;
}

void App::Event_OpenDocument(const QString& item) {
    if (QuorvexWindow* window = FreshMainWindow()) {
        window->OpenFile(item);
        return;
    }
    auto* window = new QuorvexWindow();
    window->OpenFile(item);
}

void App::Event_NewDocument() {
    if (QuorvexWindow* window = FreshMainWindow()) {
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }
    auto* window = new QuorvexWindow();
    window->SetupLocations();
}

bool App::Event_Open() {
    if (!SetupXTideFolder()) return false;
    // The cache's folder line never decides the XTide folder.
    const QString found = xtideFolder;
    ReadLocations();
    xtideFolder = found;
    if (!XTideFolder::HasHarmonicsDatabase(xtideFolder)) {
        // The second search stands without another check.
        if (!SetupXTideFolder()) return false;
    }
    return true;
}

bool App::FileNewQuorvex_Action() {
    new QuorvexWindow();
    return true;
}

bool App::AppleAboutQuorvex_Action() {
    new AboutQuorvex();
    return true;
}

// ---- location cache

void App::ReadLocations() {
    nlocations = 0;
    LocationCache::Read(LocationCache::Path(), xtideFolder, [this](const QString& name) {
        if (locations.size() <= nlocations)
            locations.append(name);
        else
            locations[nlocations] = name;
        ++nlocations;
        EventLoop::Yield();
    });
}

void App::WriteLocations() {
    LocationCache::Write(LocationCache::Path(), xtideFolder, locations, nlocations,
                         [] { EventLoop::Yield(); });
}

// ---- XTide folder

QString App::GetHarmonicsFile() { return XTideFolder::HarmonicsFile(xtideFolder); }

bool App::SetupXTideFolder() {
    QString found = XTideFolder::FindInPackages();
    if (found.isEmpty()) {
        const QString chosen =
            Dialogs::SelectFolder(XTideFolder::SelectCaption, XTideFolder::ApplicationHolder());
        if (chosen.isEmpty()) {
            Dialogs::MsgBox(XTideFolder::NoFolderMessage);
            return false;
        }
        // The chosen folder is the XTide folder itself; Event_Open checks its database.
        xtideFolder = Folders::GetFolderItem(chosen);
        WriteLocations();
        return true;
    }
    xtideFolder = found;
    return true;
}

QString App::TryForTideAndHarmonics(const QString& item) {
    return XTideFolder::TryForTideAndHarmonics(item);
}

// ---- menu commands

void App::AddMenuHandler(const QString& itemName, std::function<bool()> handler) {
    handlers.insert(itemName, std::move(handler));
}

bool App::DispatchMenuCommand(const QString& itemName) {
    const std::function<bool()> handler = handlers.value(itemName);
    return handler && handler();
}

void App::EnableMenuItemsFor(MenuWindow* window) {
    const QPointer<MenuWindow> previous = enabling;
    enabling = window;
    Event_EnableMenuItems();
    enabling = previous;
}

void App::EnableMenuItem(const QString& itemName) {
    if (enabling) enabling->EnableMenuItem(itemName);
}

// ---- windows

void App::Quit() {
    QApplication::closeAllWindows();
    QCoreApplication::exit(0);
}

namespace {
QList<QWidget*> openWindows() {
    QList<QWidget*> windows;
    QWidget* active = QApplication::activeWindow();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || !qobject_cast<QMainWindow*>(w)) continue;
        if (w == active)
            windows.prepend(w);
        else
            windows.append(w);
    }
    return windows;
}
}  // namespace

int App::WindowCount() { return int(openWindows().size()); }

QWidget* App::Window(int index) {
    const QList<QWidget*> windows = openWindows();
    return index >= 0 && index < windows.size() ? windows.at(index) : nullptr;
}
