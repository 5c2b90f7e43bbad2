// MenuBar1  The system's one menu bar definition and its builder.
#include "core/MenuBar1.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace MenuBar1 {

const QList<Item>& Definition() {
    using K = Item::Kind;
    static const QList<Item> items = {
        {K::Menu, QStringLiteral("FileMenu"), QString(), QStringLiteral("&File"), QString()},
        {K::Command, QStringLiteral("FileNewQuorvex"), QStringLiteral("FileMenu"),
         QStringLiteral("New Quorvex"), QStringLiteral("Cmd+N")},
        {K::Command, QStringLiteral("FileOpenSettings"), QStringLiteral("FileMenu"),
         QStringLiteral("Open Settings"), QStringLiteral("Cmd+O")},
        {K::Command, QStringLiteral("FileClose"), QStringLiteral("FileMenu"),
         QStringLiteral("Close"), QStringLiteral("Cmd+W")},
        {K::Separator, QStringLiteral("UntitledMenu2"), QStringLiteral("FileMenu"),
         QStringLiteral("-"), QString()},
        {K::Command, QStringLiteral("FileSaveSettings"), QStringLiteral("FileMenu"),
         QStringLiteral("Save Settings"), QStringLiteral("Cmd+S")},
        {K::Command, QStringLiteral("FileSaveSettingsAs"), QStringLiteral("FileMenu"),
         QStringLiteral("Save Settings As"), QStringLiteral("Cmd+Shift+S")},
        {K::Separator, QStringLiteral("UntitledMenu1"), QStringLiteral("FileMenu"),
         QStringLiteral("-"), QString()},
        {K::Quit, QStringLiteral("FileQuit"), QStringLiteral("FileMenu"), QStringLiteral("Quit"),
         QStringLiteral("Cmd+Q")},
        {K::Menu, QStringLiteral("EditMenu"), QString(), QStringLiteral("&Edit"), QString()},
        {K::Edit, QStringLiteral("EditUndo"), QStringLiteral("EditMenu"), QStringLiteral("&Undo"),
         QStringLiteral("Cmd+Z")},
        {K::Separator, QStringLiteral("UntitledMenu0"), QStringLiteral("EditMenu"),
         QStringLiteral("-"), QString()},
        {K::Edit, QStringLiteral("EditCut"), QStringLiteral("EditMenu"), QStringLiteral("Cu&t"),
         QStringLiteral("Cmd+X")},
        {K::Edit, QStringLiteral("EditCopy"), QStringLiteral("EditMenu"), QStringLiteral("&Copy"),
         QStringLiteral("Cmd+C")},
        {K::Edit, QStringLiteral("EditPaste"), QStringLiteral("EditMenu"), QStringLiteral("&Paste"),
         QStringLiteral("Cmd+V")},
        {K::Edit, QStringLiteral("EditClear"), QStringLiteral("EditMenu"), QStringLiteral("Clear"),
         QString()},
        {K::Menu, QStringLiteral("GenerateMenu"), QString(), QStringLiteral("Generate"), QString()},
        {K::About, QStringLiteral("AppleAboutQuorvex"), QStringLiteral("GenerateMenu"),
         QStringLiteral("About Quorvex"), QString()},
        {K::Command, QStringLiteral("GenerateHTMLTables"), QStringLiteral("GenerateMenu"),
         QStringLiteral("HTML Tables") + QChar(0x2026), QStringLiteral("Cmd+G")},
    };
    return items;
}

QString QtShortcut(const QString& shortcut) {
    QString s = shortcut;
    s.replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"));
    return s;
}

QMenuBar* Build(QWidget* parent, QHash<QString, QAction*>* items) {
    auto* bar = new QMenuBar(parent);
    bar->setObjectName(QStringLiteral("MenuBar1"));
    QHash<QString, QMenu*> menus;
    for (const Item& item : Definition()) {
        QAction* action = nullptr;
        if (item.kind == Item::Kind::Menu) {
            QMenu* menu = bar->addMenu(item.text);
            menu->setObjectName(item.name);
            menus.insert(item.name, menu);
            action = menu->menuAction();
        } else {
            QMenu* menu = menus.value(item.menu);
            if (!menu) continue;
            if (item.kind == Item::Kind::Separator) {
                action = menu->addSeparator();
            } else {
                action = menu->addAction(item.text);
                if (!item.shortcut.isEmpty())
                    action->setShortcut(QKeySequence(QtShortcut(item.shortcut)));
                action->setMenuRole(item.kind == Item::Kind::Quit    ? QAction::QuitRole
                                    : item.kind == Item::Kind::About ? QAction::AboutRole
                                                                     : QAction::NoRole);
                if (item.kind != Item::Kind::Quit) action->setEnabled(false);
            }
        }
        action->setObjectName(item.name);
        if (items) items->insert(item.name, action);
    }
    return bar;
}

}  // namespace MenuBar1
