// MenuWindow  A window with its own menu bar and command dispatch by item name.
#include "core/MenuWindow.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

#include "core/App.h"
#include "core/MenuBar1.h"

namespace {

using Kind = MenuBar1::Item::Kind;

bool isCommand(Kind kind) { return kind == Kind::Command || kind == Kind::About; }

// The editable state of the focused text field: whether one has focus, and whether it can change.
struct TextFocus {
    QLineEdit* line = nullptr;
    QTextEdit* text = nullptr;
    QPlainTextEdit* plain = nullptr;
    bool any() const { return line || text || plain; }
    bool editable() const {
        if (line) return !line->isReadOnly();
        if (text) return !text->isReadOnly();
        if (plain) return !plain->isReadOnly();
        return false;
    }
};

TextFocus textFocusOf(QWidget* window) {
    TextFocus f;
    QWidget* w = window->focusWidget();
    if (!w) return f;
    f.line = qobject_cast<QLineEdit*>(w);
    if (!f.line) f.text = qobject_cast<QTextEdit*>(w);
    if (!f.line && !f.text) f.plain = qobject_cast<QPlainTextEdit*>(w);
    return f;
}

}  // namespace

MenuWindow::MenuWindow(QWidget* parent) : QMainWindow(parent) {
    setMenuBar(MenuBar1::Build(this, &items));
    for (const MenuBar1::Item& item : MenuBar1::Definition()) {
        QAction* action = items.value(item.name);
        if (!action) continue;
        if (item.kind == Kind::Menu) {
            if (QMenu* menu = action->menu())
                connect(menu, &QMenu::aboutToShow, this, &MenuWindow::RefreshMenuItems);
        } else if (item.kind != Kind::Separator) {
            const QString name = item.name;
            connect(action, &QAction::triggered, this, [this, name] { ItemTriggered(name); });
        }
    }
    // The subclass is complete by then, so its own enabling takes part.
    QMetaObject::invokeMethod(this, &MenuWindow::RefreshMenuItems, Qt::QueuedConnection);
}

MenuWindow::~MenuWindow() = default;

void MenuWindow::AddMenuHandler(const QString& itemName, std::function<bool()> handler) {
    handlers.insert(itemName, std::move(handler));
}

QAction* MenuWindow::MenuItem(const QString& itemName) const { return items.value(itemName); }

void MenuWindow::EnableMenuItem(const QString& itemName) {
    if (QAction* a = MenuItem(itemName)) a->setEnabled(true);
}

void MenuWindow::RefreshMenuItems() {
    const TextFocus focus = textFocusOf(this);
    for (const MenuBar1::Item& item : MenuBar1::Definition()) {
        QAction* action = items.value(item.name);
        if (!action) continue;
        if (isCommand(item.kind)) {
            action->setEnabled(false);
        } else if (item.kind == Kind::Edit) {
            const bool copyOnly = item.name == QLatin1String("EditCopy");
            action->setEnabled(copyOnly ? focus.any() : focus.editable());
        }
    }
    if (App* app = App::Instance()) app->EnableMenuItemsFor(this);
    Event_EnableMenuItems();
}

bool MenuWindow::DispatchMenuCommand(const QString& itemName) {
    auto it = handlers.find(itemName);
    if (it != handlers.end() && it.value()) {
        // Copy: the handler may close this window or replace its own registration.
        const std::function<bool()> handler = it.value();
        if (handler()) return true;
    }
    App* app = App::Instance();
    return app && app->DispatchMenuCommand(itemName);
}

void MenuWindow::ItemTriggered(const QString& itemName) {
    if (itemName == QLatin1String("FileQuit")) {
        App::Quit();
        return;
    }
    if (itemName.startsWith(QLatin1String("Edit"))) {
        RunEditCommand(itemName);
        return;
    }
    QPointer<MenuWindow> self(this);
    DispatchMenuCommand(itemName);
    if (self) self->RefreshMenuItems();
}

void MenuWindow::RunEditCommand(const QString& itemName) {
    const TextFocus f = textFocusOf(this);
    if (!f.any()) return;
    if (itemName == QLatin1String("EditCopy")) {
        if (f.line) f.line->copy();
        if (f.text) f.text->copy();
        if (f.plain) f.plain->copy();
        return;
    }
    if (!f.editable()) return;
    if (itemName == QLatin1String("EditUndo")) {
        if (f.line) f.line->undo();
        if (f.text) f.text->undo();
        if (f.plain) f.plain->undo();
    } else if (itemName == QLatin1String("EditCut")) {
        if (f.line) f.line->cut();
        if (f.text) f.text->cut();
        if (f.plain) f.plain->cut();
    } else if (itemName == QLatin1String("EditPaste")) {
        if (f.line) f.line->paste();
        if (f.text) f.text->paste();
        if (f.plain) f.plain->paste();
    } else if (itemName == QLatin1String("EditClear")) {
        // Clear removes the selection only, as the menu command of a text field does.
        if (f.line && f.line->hasSelectedText()) f.line->del();
        if (f.text) f.text->textCursor().removeSelectedText();
        if (f.plain) f.plain->textCursor().removeSelectedText();
    }
}

bool MenuWindow::event(QEvent* e) {
    const bool result = QMainWindow::event(e);
    if (e->type() == QEvent::Show || e->type() == QEvent::WindowActivate) RefreshMenuItems();
    return result;
}
