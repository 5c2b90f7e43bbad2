// MenuWindow  A top-level window that carries its own build of the menu bar MenuBar1 and serves
// menu commands by item name: this window's registered handler first, then the application's.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;

class MenuWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MenuWindow(QWidget* parent = nullptr);
    ~MenuWindow() override;

    // Registers this window's handler of the item named `itemName` ("FileClose", ...). The
    // handler returns true when it handled the command.
    void AddMenuHandler(const QString& itemName, std::function<bool()> handler);
    // The item of that name in this window's menu bar (menus and separators included), nullptr
    // when there is none.
    QAction* MenuItem(const QString& itemName) const;
    // Enables an item; called from Event_EnableMenuItems.
    void EnableMenuItem(const QString& itemName);
    // Disables every command item, then lets the application and this window enable theirs; the
    // edit items follow the focused text field. Runs before a menu shows, when the window is
    // shown or activated, and after every command, so enabled items' shortcuts work at once.
    void RefreshMenuItems();
    // Runs a command by item name: this window's handler, then the application's. Returns
    // whether a handler took it. The window may be closed by the command.
    bool DispatchMenuCommand(const QString& itemName);

  protected:
    // Enables the items this window serves. Items start disabled.
    virtual void Event_EnableMenuItems() {}
    bool event(QEvent* e) override;

  private:
    void ItemTriggered(const QString& itemName);
    void RunEditCommand(const QString& itemName);

    QHash<QString, std::function<bool()>> handlers;
    QHash<QString, QAction*> items;
};
