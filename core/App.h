// App  The application object: the state all windows share (the location list, the XTide folder,
// the main window that last started a calendar month) and the application-level events.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class MenuWindow;
class QuorvexWindow;
class QWidget;

class App : public QObject {
    Q_OBJECT
  public:
    // Registers itself as the one application object and registers its two menu handlers
    // ("FileNewQuorvex", "AppleAboutQuorvex").
    App();
    ~App() override;

    // The one application object, or nullptr before start-up created it.
    static App* Instance();

    int nlocations = 0;                           // meaningful entries of `locations`
    QStringList locations{QString(), QString()};  // names 0 .. nlocations - 1
    QString xtideFolder;                          // absolute path of the XTide folder
    QPointer<QuorvexWindow> reportTo;             // main window that last started a month

    // Enables "FileNewQuorvex", "AppleAboutQuorvex" and "GenerateHTMLTables" in the menu bar
    // being refreshed (see EnableMenuItemsFor).
    virtual void Event_EnableMenuItems();
    // A settings document opened from the desktop (absolute path): the single fresh main window
    // loads it, else a new main window does.
    virtual void Event_OpenDocument(const QString& item);
    // A start without a document: shows the single fresh main window, else opens a new one.
    virtual void Event_NewDocument();
    // Finds the XTide folder and reads the location cache. Returns false when the application
    // must end (no XTide folder given; the message has been shown).
    virtual bool Event_Open();
    virtual bool FileNewQuorvex_Action();
    virtual bool AppleAboutQuorvex_Action();
    // The location cache in the preferences folder.
    virtual void ReadLocations();
    virtual void WriteLocations();
    // The shell path of the harmonics database in xtideFolder, "" when there is none.
    virtual QString GetHarmonicsFile();

    // Menu commands the application serves, by item name.
    void AddMenuHandler(const QString& itemName, std::function<bool()> handler);
    // Runs the application's handler of the item; false when it has none or it declined.
    bool DispatchMenuCommand(const QString& itemName);
    // Runs Event_EnableMenuItems with EnableMenuItem acting on `window`'s menu bar.
    void EnableMenuItemsFor(MenuWindow* window);
    // Enables an item of the menu bar being refreshed; nothing outside EnableMenuItemsFor.
    void EnableMenuItem(const QString& itemName);

    // Quit, of the menu bar and of the main window's Quit button: closes every window (each stops
    // its run as it closes: its tide ended, its files closed with what was written) and ends the
    // event loop with exit code 0.
    static void Quit();

    // The open windows: visible top-level main windows (the about and generator windows count),
    // the active one first.
    static int WindowCount();
    static QWidget* Window(int index);

  protected:
    // Returns false when the user gave no folder (the message was shown; the caller quits).
    virtual bool SetupXTideFolder();
    // The usable Contents/Resources folder of `item`, or "".
    virtual QString TryForTideAndHarmonics(const QString& item);

  private:
    // The single open window when it is a main window whose Location reads "No location
    // specified" (any letter case); nullptr otherwise.
    QuorvexWindow* FreshMainWindow() const;

    QHash<QString, std::function<bool()>> handlers;
    QPointer<MenuWindow> enabling;
};
