// tst_MenuBar1  The menu bar every window carries: menus, items, texts and shortcuts in order;
// command dispatch (the window's handler, then the application's); enabling; the edit items.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QtTest>

#include "core/App.h"
#include "core/MenuBar1.h"
#include "core/MenuWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

namespace {

// A window serving "FileClose" (closes it) and, when asked, "FileSaveSettings" with a given answer.
class ProbeWindow : public MenuWindow {
  public:
    ProbeWindow() {
        setAttribute(Qt::WA_DeleteOnClose);
        field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("field"));
        setCentralWidget(field);
        AddMenuHandler(QStringLiteral("FileClose"), [this] {
            log.append(QStringLiteral("window FileClose"));
            close();
            return true;
        });
    }
    void Serve(const QString& item, bool answer) {
        served.append(item);
        AddMenuHandler(item, [this, item, answer] {
            log.append(QStringLiteral("window ") + item);
            return answer;
        });
    }
    QLineEdit* field = nullptr;
    QStringList served{QStringLiteral("FileClose")};
    static inline QStringList log;

  protected:
    void Event_EnableMenuItems() override {
        for (const QString& item : served) EnableMenuItem(item);
    }
};

struct Row {
    QString menu, name, text, shortcut;
    bool separator;
};

// The menu bar as built: every action under its menu, in order.
QList<Row> builtRows(QMenuBar* bar) {
    QList<Row> rows;
    for (QAction* menuAction : bar->actions()) {
        rows.append({QString(), menuAction->objectName(), menuAction->text(), QString(), false});
        for (QAction* a : menuAction->menu()->actions())
            rows.append({menuAction->objectName(), a->objectName(), a->text(),
                         a->shortcut().toString(), a->isSeparator()});
    }
    return rows;
}

}  // namespace

class tst_MenuBar1 : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void layout_data();
    void layout();
    void everyWindowHasItsOwnBar();
    void dispatch_data();
    void dispatch();
    void enabling();
    void shortcutFiresWithoutOpeningTheMenu();
    void closeCommandClosesOnlyItsWindow();
    void editItemsActOnTheFocusedField();
};

void tst_MenuBar1::cleanup() {
    QList<QPointer<QMainWindow>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w)) windows.append(m);
    for (const QPointer<QMainWindow>& w : windows) delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ProbeWindow::log.clear();
}

void tst_MenuBar1::layout_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");  // Qt's portable text; "" for none
    QTest::addColumn<int>("position");      // among all menus and items, in building order
    const QString ellipsis = QString(QChar(0x2026));
    const QString rows[][4] = {
        {"FileMenu", "", "&File", ""},
        {"FileNewQuorvex", "FileMenu", "New Quorvex", "Ctrl+N"},
        {"FileOpenSettings", "FileMenu", "Open Settings", "Ctrl+O"},
        {"FileClose", "FileMenu", "Close", "Ctrl+W"},
        {"UntitledMenu2", "FileMenu", "-", ""},
        {"FileSaveSettings", "FileMenu", "Save Settings", "Ctrl+S"},
        {"FileSaveSettingsAs", "FileMenu", "Save Settings As", "Ctrl+Shift+S"},
        {"UntitledMenu1", "FileMenu", "-", ""},
        {"FileQuit", "FileMenu", "Quit", "Ctrl+Q"},
        {"EditMenu", "", "&Edit", ""},
        {"EditUndo", "EditMenu", "&Undo", "Ctrl+Z"},
        {"UntitledMenu0", "EditMenu", "-", ""},
        {"EditCut", "EditMenu", "Cu&t", "Ctrl+X"},
        {"EditCopy", "EditMenu", "&Copy", "Ctrl+C"},
        {"EditPaste", "EditMenu", "&Paste", "Ctrl+V"},
        {"EditClear", "EditMenu", "Clear", ""},
        {"GenerateMenu", "", "Generate", ""},
        {"AppleAboutQuorvex", "GenerateMenu", "About Quorvex", ""},
        {"GenerateHTMLTables", "GenerateMenu", "HTML Tables" + ellipsis, "Ctrl+G"},
    };
    int position = 0;
    for (const auto& r : rows)
        QTest::newRow(qPrintable(r[0])) << r[1] << r[2] << r[3] << position++;
}

void tst_MenuBar1::layout() {
    QFETCH(QString, menu);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(int, position);
    const QString name = QString::fromLatin1(QTest::currentDataTag());

    QMainWindow window;
    const QList<Row> rows = builtRows(MenuBar1::Build(&window));
    QCOMPARE(rows.size(), 19);
    const int at = position;
    QCOMPARE(rows.at(at).name, name);
    QCOMPARE(rows.at(at).menu, menu);
    QCOMPARE(rows.at(at).separator, text == QLatin1String("-"));
    if (!rows.at(at).separator) QCOMPARE(rows.at(at).text, text);
    QCOMPARE(rows.at(at).shortcut, shortcut);
}

void tst_MenuBar1::everyWindowHasItsOwnBar() {
    ProbeWindow a, b;
    QVERIFY(a.MenuItem(QStringLiteral("FileClose")));
    QVERIFY(a.MenuItem(QStringLiteral("FileClose")) != b.MenuItem(QStringLiteral("FileClose")));
    QCOMPARE(a.menuBar()->findChild<QAction*>(QStringLiteral("GenerateHTMLTables")),
             a.MenuItem(QStringLiteral("GenerateHTMLTables")));
    QVERIFY(!a.MenuItem(QStringLiteral("NoSuchItem")));
    // The ellipsis is one character, not three full stops.
    QVERIFY(a.MenuItem(QStringLiteral("GenerateHTMLTables"))->text().endsWith(QChar(0x2026)));
}

void tst_MenuBar1::dispatch_data() {
    QTest::addColumn<int>("windowAnswer");  // -1: no window handler; 0: declines; 1: handles
    QTest::addColumn<bool>("appHandler");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<bool>("handled");
    const QString w = QStringLiteral("window GenerateHTMLTables");
    const QString a = QStringLiteral("app GenerateHTMLTables");
    QTest::newRow("window handles: application not asked") << 1 << true << QStringList{w} << true;
    QTest::newRow("window declines: application handles") << 0 << true << QStringList{w, a} << true;
    QTest::newRow("window has no handler: application handles")
        << -1 << true << QStringList{a} << true;
    QTest::newRow("nobody handles") << -1 << false << QStringList{} << false;
    QTest::newRow("window declines, nobody else") << 0 << false << QStringList{w} << false;
}

void tst_MenuBar1::dispatch() {
    QFETCH(int, windowAnswer);
    QFETCH(bool, appHandler);
    QFETCH(QStringList, log);
    QFETCH(bool, handled);
    App app;
    if (appHandler)
        app.AddMenuHandler(QStringLiteral("GenerateHTMLTables"), [] {
            ProbeWindow::log.append(QStringLiteral("app GenerateHTMLTables"));
            return true;
        });
    ProbeWindow window;
    if (windowAnswer >= 0) window.Serve(QStringLiteral("GenerateHTMLTables"), windowAnswer == 1);
    QCOMPARE(window.DispatchMenuCommand(QStringLiteral("GenerateHTMLTables")), handled);
    QCOMPARE(ProbeWindow::log, log);

    // Triggering the item goes the same way.
    ProbeWindow::log.clear();
    window.RefreshMenuItems();
    window.MenuItem(QStringLiteral("GenerateHTMLTables"))->trigger();
    QCOMPARE(ProbeWindow::log, log);
}

void tst_MenuBar1::enabling() {
    const QStringList commands = {
        QStringLiteral("FileNewQuorvex"),     QStringLiteral("FileOpenSettings"),
        QStringLiteral("FileClose"),          QStringLiteral("FileSaveSettings"),
        QStringLiteral("FileSaveSettingsAs"), QStringLiteral("AppleAboutQuorvex"),
        QStringLiteral("GenerateHTMLTables")};
    const auto enabled = [&commands](MenuWindow& w) {
        QStringList names;
        for (const QString& c : commands)
            if (w.MenuItem(c)->isEnabled()) names.append(c);
        return names;
    };

    {  // Without an application object only the window's own items come on.
        ProbeWindow window;
        window.RefreshMenuItems();
        QCOMPARE(enabled(window), QStringList{QStringLiteral("FileClose")});
        QVERIFY(window.MenuItem(QStringLiteral("FileQuit"))->isEnabled());
        QVERIFY(window.MenuItem(QStringLiteral("FileMenu"))->isEnabled());
    }

    App app;
    ProbeWindow window;
    window.RefreshMenuItems();
    QCOMPARE(
        enabled(window),
        (QStringList{QStringLiteral("FileNewQuorvex"), QStringLiteral("FileClose"),
                     QStringLiteral("AppleAboutQuorvex"), QStringLiteral("GenerateHTMLTables")}));

    // An item enabled once is disabled again when nobody enables it at the next refresh.
    window.MenuItem(QStringLiteral("FileSaveSettings"))->setEnabled(true);
    window.RefreshMenuItems();
    QVERIFY(!window.MenuItem(QStringLiteral("FileSaveSettings"))->isEnabled());

    // The refresh before the menu shows asks the window again.
    window.Serve(QStringLiteral("FileSaveSettings"), true);
    QMenu* file = window.MenuItem(QStringLiteral("FileMenu"))->menu();
    QMetaObject::invokeMethod(file, "aboutToShow");
    QVERIFY(window.MenuItem(QStringLiteral("FileSaveSettings"))->isEnabled());

    // Edit items follow the focused text field.
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.field->setFocus();
    window.RefreshMenuItems();
    QVERIFY(window.MenuItem(QStringLiteral("EditPaste"))->isEnabled());
    window.field->setReadOnly(true);
    window.RefreshMenuItems();
    QVERIFY(!window.MenuItem(QStringLiteral("EditPaste"))->isEnabled());
    QVERIFY(window.MenuItem(QStringLiteral("EditCopy"))->isEnabled());
}

void tst_MenuBar1::shortcutFiresWithoutOpeningTheMenu() {
    App app;
    auto* window = new ProbeWindow;
    window->Serve(QStringLiteral("FileSaveSettingsAs"), true);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(ProbeWindow::log, QStringList{QStringLiteral("window FileSaveSettingsAs")});
    // A disabled item's shortcut does nothing.
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(ProbeWindow::log.size(), 1);
    QPointer<ProbeWindow> watch(window);
    QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(ProbeWindow::log.last(), QStringLiteral("window FileClose"));
    QTRY_VERIFY(!watch);
}

void tst_MenuBar1::closeCommandClosesOnlyItsWindow() {
    App app;
    QPointer<ProbeWindow> first = new ProbeWindow;
    QPointer<ProbeWindow> second = new ProbeWindow;
    first->show();
    second->show();
    second->RefreshMenuItems();
    second->MenuItem(QStringLiteral("FileClose"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!second);
    QVERIFY(first && first->isVisible());
}

void tst_MenuBar1::editItemsActOnTheFocusedField() {
    ProbeWindow window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QLineEdit* field = window.field;
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("Alameda"));
    const auto run = [&window](const char* item) {
        window.RefreshMenuItems();
        QAction* action = window.MenuItem(QString::fromLatin1(item));
        QVERIFY2(action->isEnabled(), item);
        action->trigger();
    };

    field->setSelection(0, 3);
    run("EditCut");
    QCOMPARE(field->text(), QStringLiteral("meda"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Ala"));
    field->setCursorPosition(4);
    run("EditPaste");
    QCOMPARE(field->text(), QStringLiteral("medaAla"));
    run("EditUndo");
    QCOMPARE(field->text(), QStringLiteral("meda"));
    field->selectAll();
    run("EditCopy");
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("meda"));
    field->setSelection(1, 2);
    run("EditClear");
    QCOMPARE(field->text(), QStringLiteral("ma"));
    field->setCursorPosition(0);
    run("EditClear");  // without a selection nothing is removed
    QCOMPARE(field->text(), QStringLiteral("ma"));
}

QUORVEX_TEST_MAIN(tst_MenuBar1)
#include "tst_MenuBar1.moc"
