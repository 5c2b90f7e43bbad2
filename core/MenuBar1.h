// MenuBar1  The system's one menu bar definition (File, Edit, Generate) and the builder that puts a
// copy of it into a window. Every menu and item carries its fixed Name as objectName.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

class QAction;
class QMenuBar;
class QWidget;

namespace MenuBar1 {

struct Item {
    enum class Kind { Menu, Command, Separator, Quit, About, Edit };
    Kind kind;
    QString name;      // "FileNewQuorvex", ...
    QString menu;      // Name of the menu the item belongs to; "" for a menu entry
    QString text;      // shown text; "&" marks the access key
    QString shortcut;  // "Cmd+N", "Cmd+Shift+S"; "" for none
};

// The menus and items in the order they are created and shown: each menu entry followed by its
// items.
const QList<Item>& Definition();

// The Qt form of a shortcut text: "Cmd+" becomes "Ctrl+" (Qt shows it as Cmd on macOS).
QString QtShortcut(const QString& shortcut);

// Builds a new menu bar owned by `parent`. When `items` is given it receives every menu's
// QAction (its menuAction) and every item's QAction, separators included, by Name. Command and
// edit items start disabled; the menu entries and the quit item stay enabled.
QMenuBar* Build(QWidget* parent, QHash<QString, QAction*>* items = nullptr);

}  // namespace MenuBar1
