// tst_QuorvexWindow  The calendar window as it opens: its controls, the Open handler, the menu
// commands, the hand-over of the location listing, the output file dialog and the compute
// button's checks.
#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>

#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "engine/LocationGetter.h"
#include "htmltables/GenerateHTML.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/UserPermissions.h"
#include "support/XTideFixture.h"

namespace {

QList<GenerateHTML*> Generators() {
    QList<GenerateHTML*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* g = qobject_cast<GenerateHTML*>(w)) found << g;
    return found;
}

QString CurrentYear() { return QString::number(QDate::currentDate().year()); }

QStringList Items(const QComboBox* popup) {
    QStringList items;
    for (int i = 0; i < popup->count(); ++i) items << popup->itemText(i);
    return items;
}

// What a control shows: a popup its selected text, a field its text, a label its text, a button
// its caption, a check box "checked" or "unchecked"; disabled controls get " (disabled)".
QString Shown(QWidget* w) {
    QString text;
    if (auto* c = qobject_cast<QComboBox*>(w))
        text = c->currentIndex() < 0 ? QStringLiteral("<none>") : c->currentText();
    else if (auto* f = qobject_cast<QLineEdit*>(w))
        text = f->text();
    else if (auto* l = qobject_cast<QLabel*>(w))
        text = l->text();
    else if (auto* b = qobject_cast<QCheckBox*>(w))
        text = b->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    else if (auto* p = qobject_cast<QPushButton*>(w))
        text = p->text();
    if (!w->isEnabled()) text += QStringLiteral(" (disabled)");
    return text;
}

}  // namespace

class TestQuorvexWindow : public QObject {
    Q_OBJECT
    App* app = nullptr;
    QPointer<QuorvexWindow> window;

    QuorvexWindow* Fresh() {
        window = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        window->Open();
        return window;
    }
    // A window whose Open handler has not run: no listing of its own comes in between.
    QuorvexWindow* Quiet() {
        window = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        return window;
    }

  private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        app = new App;
        app->xtideFolder = QStringLiteral("/nonexistent-xtide-folder");
    }
    void cleanup() {
        delete window;
        delete app;
        app = nullptr;
    }

    void freshWindow_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        const QString year = CurrentYear();
        QTest::newRow("LocationList") << "LocationList"
                                      << "<none> (disabled)";
        QTest::newRow("SearchField") << "SearchField"
                                     << " (disabled)";
        QTest::newRow("Location") << "Location"
                                  << "No Location Specified";
        QTest::newRow("FirstMonth") << "FirstMonth"
                                    << "January";
        QTest::newRow("FirstYear") << "FirstYear" << year;
        QTest::newRow("LastMonth") << "LastMonth"
                                   << "December";
        QTest::newRow("LastYear") << "LastYear" << year;
        for (const char* hour :
             {"HighTideBefore", "HighTideAfter", "LowTideBefore", "LowTideAfter"})
            QTest::newRow(hour) << hour << "midnight";
        for (const char* field : {"HighTideAbove", "HighTideBelow", "LowTideAbove", "LowTideBelow"})
            QTest::newRow(field) << field << "";
        QTest::newRow("IncludeHighTides") << "IncludeHighTides"
                                          << "checked";
        QTest::newRow("IncludeLowTides") << "IncludeLowTides"
                                         << "checked";
        QTest::newRow("SunriseSunset") << "SunriseSunset"
                                       << "unchecked";
        QTest::newRow("MoonriseMoonset") << "MoonriseMoonset"
                                         << "unchecked";
        QTest::newRow("ShowMoonPhases") << "ShowMoonPhases"
                                        << "unchecked";
        QTest::newRow("OutputFormat") << "OutputFormat"
                                      << "iCal";
        QTest::newRow("OutputPath") << "OutputPath"
                                    << "No Output Path Specified";
        QTest::newRow("Status") << "Status"
                                << "";
        QTest::newRow("ComputeButton") << "ComputeButton"
                                       << "Compute Tides";
        QTest::newRow("PushButton2") << "PushButton2"
                                     << "Quit";
        QTest::newRow("StaticText16") << "StaticText16"
                                      << "Search For";
        QTest::newRow("StaticText17") << "StaticText17"
                                      << "v19";
    }
    void freshWindow() {
        QFETCH(QString, control);
        QFETCH(QString, shown);
        QuorvexWindow* w = Fresh();
        auto* widget = w->findChild<QWidget*>(control);
        QVERIFY2(widget, qPrintable(control));
        QCOMPARE(Shown(widget), shown);
    }

    // Every control of the layout exists under its name, at its place, in creation/tab order.
    void controlsInOrder() {
        QuorvexWindow* w = Fresh();
        QCOMPARE(w->windowTitle(), QStringLiteral("Quorvex - Tides for iCal, RSS, HTML"));
        QCOMPARE(w->centralWidget()->size(), QSize(628, 436));
        QCOMPARE(w->minimumSize(), w->maximumSize());  // not resizable
        const QStringList names{
            "LocationList",  "StaticText1",    "StaticText2",      "FirstMonth",
            "FirstYear",     "StaticText3",    "LastMonth",        "LastYear",
            "StaticText4",   "StaticText5",    "StaticText6",      "HighTideAbove",
            "HighTideBelow", "StaticText8",    "StaticText7",      "HighTideBefore",
            "HighTideAfter", "StaticText9",    "StaticText10",     "StaticText11",
            "LowTideAbove",  "LowTideBelow",   "StaticText12",     "StaticText13",
            "LowTideBefore", "LowTideAfter",   "StaticText14",     "StaticText15",
            "OutputFormat",  "ComputeButton",  "PushButton2",      "SearchField",
            "StaticText16",  "Location",       "SunriseSunset",    "MoonriseMoonset",
            "Status",        "ShowMoonPhases", "IncludeHighTides", "IncludeLowTides",
            "StaticText17",  "OutputPath"};
        QStringList created;
        for (QObject* o : w->centralWidget()->children())
            if (o->isWidgetType()) created << o->objectName();
        QCOMPARE(created, names);
        QVERIFY(w->findChild<LocationGetter*>(QStringLiteral("GetLocationsShell")));
        QCOMPARE(w->OutputPath->pos(), QPoint(143, 294));
        QCOMPARE(w->OutputPath->width(), 437);
        QCOMPARE(w->Status->geometry(), QRect(20, 358, 588, 26));
        QCOMPARE(w->LocationList->pos(), QPoint(20, 66));
        QCOMPARE(w->Status->font().pixelSize(), 14);
        QCOMPARE(w->StaticText17->font().pixelSize(), 9);
        QCOMPARE(w->OutputPath->font().pixelSize(), 10);
        // Tab order: the first focusable control after the popup is the next one created.
        QCOMPARE(w->FirstMonth->nextInFocusChain(), w->FirstYear);
    }

    // Every control of the layout, in creation order: its class, what it shows, the alignment of
    // a label, its text size and its place (a height grows only as far as its text needs).
    void layout_data() {
        QTest::addColumn<int>("order");  // place among the controls created, from 0
        QTest::addColumn<QString>("cls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("align");  // a label's horizontal alignment, else 0
        QTest::addColumn<int>("points");
        QTest::addColumn<QRect>("rect");
        const int L = Qt::AlignLeft, R = Qt::AlignRight, C = Qt::AlignHCenter;
        int order = 0;
        auto row = [&order](const char* name, const char* cls, const char* text, int align,
                            int points, QRect rect) {
            QTest::newRow(name) << order++ << QString::fromLatin1(cls) << QString::fromLatin1(text)
                                << align << points << rect;
        };
        row("LocationList", "QComboBox", "", 0, 12, {20, 66, 220, 20});
        row("StaticText1", "QLabel", "Location", L, 12, {20, 10, 100, 20});
        row("StaticText2", "QLabel", "Time Period From", L, 12, {20, 129, 115, 20});
        row("FirstMonth", "QComboBox", "January", 0, 12, {20, 149, 91, 20});
        row("FirstYear", "QComboBox", "2008", 0, 12, {127, 149, 80, 20});
        row("StaticText3", "QLabel", "To", L, 12, {93, 173, 51, 20});
        row("LastMonth", "QComboBox", "December", 0, 12, {20, 191, 91, 20});
        row("LastYear", "QComboBox", "2008", 0, 12, {127, 191, 80, 20});
        row("StaticText4", "QLabel", "High Tide", L, 12, {294, 24, 100, 20});
        row("StaticText5", "QLabel", "Above", R, 12, {294, 49, 60, 20});
        row("StaticText6", "QLabel", "Below", R, 12, {294, 80, 60, 20});
        row("HighTideAbove", "QLineEdit", "", 0, 12, {361, 48, 52, 22});
        row("HighTideBelow", "QLineEdit", "", 0, 12, {361, 79, 52, 22});
        row("StaticText8", "QLabel", "After", R, 12, {433, 48, 40, 20});
        row("StaticText7", "QLabel", "Before", R, 12, {433, 80, 40, 20});
        row("HighTideBefore", "QComboBox", "midnight", 0, 12, {485, 81, 95, 20});
        row("HighTideAfter", "QComboBox", "midnight", 0, 12, {485, 49, 95, 20});
        row("StaticText9", "QLabel", "Low Tide", L, 12, {294, 121, 100, 20});
        row("StaticText10", "QLabel", "Above", R, 12, {294, 146, 60, 20});
        row("StaticText11", "QLabel", "Below", R, 12, {294, 177, 60, 20});
        row("LowTideAbove", "QLineEdit", "", 0, 12, {361, 145, 52, 22});
        row("LowTideBelow", "QLineEdit", "", 0, 12, {361, 176, 52, 22});
        row("StaticText12", "QLabel", "After", R, 12, {433, 145, 40, 20});
        row("StaticText13", "QLabel", "Before", R, 12, {433, 177, 40, 20});
        row("LowTideBefore", "QComboBox", "midnight", 0, 12, {485, 178, 95, 20});
        row("LowTideAfter", "QComboBox", "midnight", 0, 12, {485, 146, 95, 20});
        row("StaticText14", "QLabel", "Output To", R, 12, {31, 294, 100, 20});
        row("StaticText15", "QLabel", "Output Format", R, 12, {143, 326, 100, 20});
        row("OutputFormat", "QComboBox", "iCal", 0, 12, {264, 326, 146, 20});
        row("ComputeButton", "QPushButton", "Compute Tides", 0, 12, {285, 396, 120, 20});
        row("PushButton2", "QPushButton", "Quit", 0, 12, {511, 396, 69, 20});
        row("SearchField", "QLineEdit", "", 0, 12, {98, 40, 142, 20});
        row("StaticText16", "QLabel", "Search For", R, 12, {20, 39, 71, 20});
        row("Location", "QLabel", "No Location Specified", C, 12, {20, 93, 220, 20});
        row("SunriseSunset", "QCheckBox", "Include Sunrise and Sunset", 0, 12, {294, 213, 240, 20});
        row("MoonriseMoonset", "QCheckBox", "Include Moonrise and Moonset", 0, 12,
            {294, 235, 240, 20});
        row("Status", "QLabel", "", C, 14, {20, 358, 588, 26});
        row("ShowMoonPhases", "QCheckBox", "Include Phases of the Moon", 0, 12,
            {294, 258, 240, 20});
        row("IncludeHighTides", "QCheckBox", "Include High Tides", 0, 12, {361, 24, 200, 20});
        row("IncludeLowTides", "QCheckBox", "Include Low Tides", 0, 12, {361, 121, 200, 20});
        row("StaticText17", "QLabel", "v19", L, 9, {606, 421, 22, 12});
        row("OutputPath", "PathButton", "No Output Path Specified", 0, 10, {143, 294, 437, 20});
        row("GetLocationsShell", "LocationGetter", "", 0, 0, QRect());
    }
    void layout() {
        QFETCH(int, order);
        QFETCH(QString, cls);
        QFETCH(QString, text);
        QFETCH(int, align);
        QFETCH(int, points);
        QFETCH(QRect, rect);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QuorvexWindow* w = Quiet();
        QObject* o = w->findChild<QObject*>(name);
        QVERIFY2(o, qPrintable(name));
        QCOMPARE(QString::fromLatin1(o->metaObject()->className()), cls);
        auto* c = qobject_cast<QWidget*>(o);
        if (rect.isNull()) {  // the listing shell: no control on the window
            QVERIFY(!c);
            return;
        }
        QVERIFY(c);
        QList<QWidget*> created;
        for (QObject* child : w->centralWidget()->children())
            if (auto* widget = qobject_cast<QWidget*>(child)) created << widget;
        QCOMPARE(created.indexOf(c), order);
        QVERIFY(c->isVisible());
        QCOMPARE(c->pos(), rect.topLeft());
        QCOMPARE(c->width(), rect.width());
        QVERIFY(c->height() >= rect.height());
        QVERIFY2(c->height() <= qMax(rect.height(), c->sizeHint().height()),
                 "a height grows only as far as its text needs");
        QCOMPARE(c->font().pixelSize(), points);
        QString shown;
        if (auto* l = qobject_cast<QLabel*>(c)) {
            shown = l->text();
            QCOMPARE(int(l->alignment() & Qt::AlignHorizontal_Mask), align);
        } else if (auto* p = qobject_cast<QComboBox*>(c)) {
            shown = p->currentText();
        } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
            shown = e->text();
        } else if (auto* b = qobject_cast<QAbstractButton*>(c)) {
            shown = b->text();
        }
        QCOMPARE(shown, text);
    }

    void itemLists() {
        QuorvexWindow* w = Fresh();
        const QStringList months{"January",   "February", "March",    "April",
                                 "May",       "June",     "July",     "August",
                                 "September", "October",  "November", "December"};
        QCOMPARE(Items(w->FirstMonth), months);
        QCOMPARE(Items(w->LastMonth), months);
        const QStringList hours{"midnight", "1 AM", "2 AM", "3 AM", "4 AM",  "5 AM",
                                "6 AM",     "7 AM", "8 AM", "9 AM", "10 AM", "11 AM",
                                "noon",     "1 PM", "2 PM", "3 PM", "4 PM",  "5 PM",
                                "6 PM",     "7 PM", "8 PM", "9 PM", "10 PM", "11 PM"};
        for (const QComboBox* popup :
             {w->HighTideBefore, w->HighTideAfter, w->LowTideBefore, w->LowTideAfter})
            QCOMPARE(Items(popup), hours);
        QCOMPARE(Items(w->OutputFormat),
                 (QStringList{"iCal", "Palm Desktop", "Comma Separated Text", "RSS"}));
        // The years start at 2008 and reach ten years past this one, in both popups.
        const QStringList years = Items(w->FirstYear);
        QCOMPARE(years.first(), QStringLiteral("2008"));
        QCOMPARE(years.last().toInt(), QDate::currentDate().year() + 10);
        QCOMPARE(years.size(), QDate::currentDate().year() + 10 - 2008 + 1);
        QCOMPARE(Items(w->LastYear), years);
    }

    void yearIndexClamps_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("index");
        const int last = YearList::LastYear() - 2008;
        QTest::newRow("first") << 2008 << 0;
        QTest::newRow("before the list") << 1999 << 0;
        QTest::newRow("this year")
            << QDate::currentDate().year() << QDate::currentDate().year() - 2008;
        QTest::newRow("last") << YearList::LastYear() << last;
        QTest::newRow("after the list") << 9999 << last;
    }
    void yearIndexClamps() {
        QFETCH(int, year);
        QFETCH(int, index);
        QCOMPARE(YearList::IndexOf(year), index);
    }

    // Deferred: nothing selected before Open; Open selects the year and changes no month.
    void deferredOpen() {
        window = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        QCOMPARE(window->FirstYear->currentText(), QStringLiteral("2008"));
        window->FirstMonth->setCurrentIndex(4);
        window->Open();
        QCOMPARE(window->FirstYear->currentText(), CurrentYear());
        QCOMPARE(window->LastYear->currentText(), CurrentYear());
        QCOMPARE(window->FirstMonth->currentIndex(), 4);
        window->FirstYear->setCurrentIndex(0);
        window->Open();  // once only
        QCOMPARE(window->FirstYear->currentIndex(), 0);
    }

    void menuCommands() {
        QuorvexWindow* w = Fresh();
        w->RefreshMenuItems();
        for (const char* name : {"GenerateHTMLTables", "FileOpenSettings", "FileSaveSettings",
                                 "FileSaveSettingsAs", "FileClose"}) {
            QAction* item = w->MenuItem(QString::fromLatin1(name));
            QVERIFY2(item, name);
            QVERIFY2(item->isEnabled(), name);
        }
    }

    void fileCloseClosesOnlyThisWindow() {
        QuorvexWindow* w = Fresh();
        QPointer<QuorvexWindow> other = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        QVERIFY(w->DispatchMenuCommand(QStringLiteral("FileClose")));
        QTRY_VERIFY(window.isNull());  // deleted on close
        QVERIFY(other);
        QVERIFY(other->isVisible());
        delete other;
    }

    // The listing's messages reach the status line; its names fill App and the picker.
    void listingHandOver() {
        QuorvexWindow* w = Quiet();
        w->Location->setText(QStringLiteral("Kept From A File"));
        emit w->GetLocationsShell->Progress(QStringLiteral("Parsing location list started"));
        QCOMPARE(w->Status->text(), QStringLiteral("Parsing location list started"));
        emit w->GetLocationsShell->Error(QStringLiteral("Unable to get the location list"));
        QCOMPARE(w->Status->text(), QStringLiteral("Unable to get the location list"));
        w->GetLocationsShell->locations = QStringList{"Alpha Bay", "Beta Point", "Alpha Creek"};
        emit w->GetLocationsShell->HaveLocations();
        QCOMPARE(app->nlocations, 3);
        QCOMPARE(app->locations, w->GetLocationsShell->locations);
        QCOMPARE(Items(w->LocationList), app->locations);
        QVERIFY(w->LocationList->isEnabled());
        QVERIFY(w->SearchField->isEnabled());
        QCOMPARE(w->Status->text(), QStringLiteral("Unable to get the location list"));
        QCOMPARE(w->Location->text(), QStringLiteral("Kept From A File"));

        w->SearchField->setText(QStringLiteral("alpha"));
        QTest::keyClick(w->SearchField, Qt::Key_Return);
        QCOMPARE(Items(w->LocationList), (QStringList{"Alpha Bay", "Alpha Creek"}));
        // A choice that leaves the popup without a selected item does not reach the label.
        emit w->LocationList->activated(1);
        QCOMPARE(w->Location->text(), QStringLiteral("Kept From A File"));
        w->LocationList->setCurrentIndex(1);
        emit w->LocationList->activated(1);
        QCOMPARE(w->Location->text(), QStringLiteral("Alpha Creek"));
    }

    void zeroNameListing() {
        QuorvexWindow* w = Quiet();
        app->locations = QStringList{"Old"};
        app->nlocations = 1;
        w->GetLocationsShell->locations.clear();
        emit w->GetLocationsShell->HaveLocations();
        QCOMPARE(app->nlocations, 0);
        QVERIFY(app->locations.isEmpty());
        QCOMPARE(w->LocationList->count(), 0);
        QVERIFY(w->LocationList->isEnabled());
        QVERIFY(w->SearchField->isEnabled());
    }

    // A window's own listing through tide: started once by the Open handler, its progress in
    // the status line, its names in App and in the enabled picker.
    void listingThroughTide() {
        XTideFixture fixture;
        QVERIFY(fixture.isValid());
        app->xtideFolder = fixture.xtideFolder();
        window = new QuorvexWindow();  // opens at once
        QSignalSpy arrived(window->GetLocationsShell, &LocationGetter::HaveLocations);
        QVERIFY(!window->LocationList->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(window->LocationList->isEnabled(), 10000);
        QVERIFY(window->SearchField->isEnabled());
        QTest::qWait(100);
        QCOMPARE(arrived.count(), 1);
        QVERIFY(app->nlocations > 10);
        QCOMPARE(window->LocationList->count(), app->nlocations);
        QCOMPARE(window->Status->text(), QStringLiteral("%1 locations found").arg(app->nlocations));
        QVERIFY(app->locations.contains(QStringLiteral("Seattle, Puget Sound, Washington")));
        QCOMPARE(window->Location->text(), QStringLiteral("No Location Specified"));
    }

    void suggestedNames_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("comma, RSS") << "Seattle, Washington"
                                    << "RSS"
                                    << "Seattle.xml";
        QTest::newRow("comma, iCal") << "Seattle, Washington"
                                     << "iCal"
                                     << "Seattle.ics";
        QTest::newRow("Palm") << "Seattle, Washington"
                              << "Palm Desktop"
                              << "Seattle.txt";
        QTest::newRow("csv") << "Seattle, Washington"
                             << "Comma Separated Text"
                             << "Seattle.txt";
        QTest::newRow("40 characters")
            << QString(40, QChar('x')) << "iCal" << QString(27, QChar('x')) + ".ics";
        QTest::newRow("leading comma") << ",Bay"
                                       << "iCal"
                                       << ",Bay.ics";
        QTest::newRow("none chosen") << "No Location Specified"
                                     << "iCal"
                                     << "No Location Specified.ics";
    }
    void suggestedNames() {
        QFETCH(QString, location);
        QFETCH(QString, format);
        QFETCH(QString, suggested);
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        w->Location->setText(location);
        w->OutputFormat->setCurrentText(format);
        dialogs.Answer(QStringLiteral("/tmp/chosen.ics"));
        QTest::mouseClick(w->OutputPath, Qt::LeftButton);
        QCOMPARE(dialogs.requests.size(), 1);
        const DialogRequest& r = dialogs.requests.first();
        QCOMPARE(r.kind, DialogRequest::Kind::SaveAs);
        QCOMPARE(r.suggestedName, suggested);
        QCOMPARE(r.title, QStringLiteral("Output file dialog"));
        QCOMPARE(r.prompt, QStringLiteral("Select the output file"));
        QCOMPARE(w->OutputPath->text(), QStringLiteral("/tmp/chosen.ics"));
    }

    void outputDialogCancelled() {
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        w->OutputPath->setText(QStringLiteral("/tmp/kept.ics"));
        w->OutputPath_Action();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(w->OutputPath->text(), QStringLiteral("/tmp/kept.ics"));
    }

    void computeRefusesWithoutLocation() {
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        QTest::mouseClick(w->ComputeButton, Qt::LeftButton);
        QCOMPARE(dialogs.messages,
                 QStringList{"No tide location was specified - choose a tide station"});
        QCOMPARE(dialogs.requests.size(), 1);
        QVERIFY(!w->IsRunning());
    }

    // The initial caption in any letter case opens the dialog; a cancel leaves no trace.
    void computeAsksForThePath_data() {
        QTest::addColumn<QString>("caption");
        QTest::newRow("initial") << "No Output Path Specified";
        QTest::newRow("small letters") << "no output path specified";
    }
    void computeAsksForThePath() {
        QFETCH(QString, caption);
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        w->Location->setText(QStringLiteral("Seattle, Puget Sound, Washington"));
        w->OutputPath->setText(caption);
        w->ComputeButton_Action();
        QCOMPARE(dialogs.requests.size(), 1);
        QCOMPARE(dialogs.requests.first().kind, DialogRequest::Kind::SaveAs);
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(w->OutputPath->text(), caption);
        QVERIFY(!w->IsRunning());
        QCOMPARE(w->Status->text(), QString());
    }

    // Generate HTML Tables opens a generator window preset from this one; this one stays as it is.
    void handOffToTheGenerator() {
        QuorvexWindow* w = Quiet();
        app->locations = QStringList{"Alpha Bay", "Beta Point"};
        app->nlocations = 2;
        w->FirstMonth->setCurrentIndex(2);
        w->FirstYear->setCurrentText(QStringLiteral("2010"));
        w->LastMonth->setCurrentIndex(4);
        w->LastYear->setCurrentText(QStringLiteral("2011"));
        w->LowTideBelow->setText(QStringLiteral("1.5"));
        w->LowTideAbove->setText(QStringLiteral("-1"));
        w->Location->setText(QStringLiteral("Beta Point"));
        w->OutputPath->setText(QStringLiteral("/tmp/tides/march.ics"));
        QVERIFY(w->DispatchMenuCommand(QStringLiteral("GenerateHTMLTables")));
        QList<GenerateHTML*> generators = Generators();
        QCOMPARE(generators.size(), 1);
        std::unique_ptr<GenerateHTML> g(generators.first());
        QVERIFY(g->isVisible());
        QCOMPARE(g->FirstMonth->currentText(), QStringLiteral("March"));
        QCOMPARE(g->FirstYear->currentText(), QStringLiteral("2010"));
        QCOMPARE(g->LastMonth->currentText(), QStringLiteral("May"));
        QCOMPARE(g->LastYear->currentText(), QStringLiteral("2011"));
        QCOMPARE(g->DaylightMarginMenu->currentText(), QStringLiteral("2 hours"));
        QCOMPARE(g->MaximumHeightMenu->currentText(), QStringLiteral("1.5 ft"));
        QCOMPARE(g->Location->text(), QStringLiteral("Beta Point"));
        QCOMPARE(Items(g->LocationList), app->locations);
        QCOMPARE(g->LocationList->currentIndex(), -1);
        QCOMPARE(g->OutputPath->text(), QStringLiteral("/tmp/tides"));
        QCOMPARE(w->FirstYear->currentText(), QStringLiteral("2010"));
        QCOMPARE(w->OutputPath->text(), QStringLiteral("/tmp/tides/march.ics"));
        g.reset();

        // No lower-limit text and no output file: the generator keeps its own choices there.
        w->LowTideBelow->clear();
        w->OutputPath->setText(QStringLiteral("No Output Path Specified"));
        QVERIFY(w->GenerateHTMLTables_Action());
        QVERIFY(w->GenerateHTMLTables_Action());  // each use opens one more window
        generators = Generators();
        QCOMPARE(generators.size(), 2);
        GenerateHTML untouched;
        for (GenerateHTML* other : generators) {
            QCOMPARE(other->MaximumHeightMenu->currentText(),
                     untouched.MaximumHeightMenu->currentText());
            QCOMPARE(other->OutputPath->text(), untouched.OutputPath->text());
        }
        qDeleteAll(generators);
    }

    // Closing either window while the hand-off yields (filling the generator's location list,
    // selecting its daylight margin or its maximum height) ends the hand-off quietly.
    void handOffWithAWindowClosed_data() {
        QTest::addColumn<bool>("closeMain");
        QTest::addColumn<QString>("step");
        for (bool main : {true, false})
            for (const char* step : {"locations", "daylight margin", "maximum height"})
                QTest::addRow("%s window, %s", main ? "main" : "generator", step)
                    << main << QString::fromLatin1(step);
    }
    void handOffWithAWindowClosed() {
        QFETCH(bool, closeMain);
        QFETCH(QString, step);
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        app->locations = QStringList{"Alpha Bay", "Beta Point", "Gamma Reef"};
        app->nlocations = 3;
        w->LastYear->setCurrentText(QStringLiteral("2011"));
        w->LowTideBelow->setText(QStringLiteral("1.5"));
        w->Location->setText(QStringLiteral("Beta Point"));
        // The step the hand-off is in shows in the generator's controls.
        auto inStep = [&step](GenerateHTML* g) {
            const bool periodCopied = g->LastYear->currentText() == QLatin1String("2011");
            const bool marginSet = g->DaylightMarginMenu->currentText() == QLatin1String("2 hours");
            if (step == QLatin1String("locations")) return g->LocationList->count() > 0;
            if (step == QLatin1String("daylight margin")) return periodCopied && !marginSet;
            return marginSet && g->Location->text() == QLatin1String("No Location Specified");
        };
        QTimer watch;
        bool closed = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            const QList<GenerateHTML*> generators = Generators();
            if (closed || generators.size() != 1 || !inStep(generators.first())) return;
            closed = true;
            if (closeMain)
                window->close();
            else
                generators.first()->close();
        });
        watch.start(0);
        QVERIFY(w->DispatchMenuCommand(QStringLiteral("GenerateHTMLTables")));
        watch.stop();
        QVERIFY(closed);
        QTRY_VERIFY(closeMain ? window.isNull() : Generators().isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
        if (closeMain) {
            QCOMPARE(Generators().size(), 1);
            QPointer<GenerateHTML> left = Generators().first();
            QVERIFY(left->isVisible());
            left->close();
            QTRY_VERIFY(left.isNull());
        } else {
            QVERIFY(window);
            QCOMPARE(window->Location->text(), QStringLiteral("Beta Point"));
        }
    }

    // The output button of either window shows a path holding "&" as written, takes no Alt
    // shortcut from it and gives the path back unchanged (as the settings documents store it).
    void outputPathShownAsWritten_data() {
        QTest::addColumn<bool>("generator");
        QTest::addColumn<QString>("path");
        QTest::newRow("calendar window") << false << "/tmp/Tides &b Currents/Bay & Sound.ics";
        QTest::newRow("generator window") << true << "/tmp/Tides &b Currents";
        QTest::newRow("calendar window, doubled") << false << "/tmp/a&&b.ics";
    }
    void outputPathShownAsWritten() {
        QFETCH(bool, generator);
        QFETCH(QString, path);
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        std::unique_ptr<GenerateHTML> g(generator ? new GenerateHTML : nullptr);
        QWidget* owner = generator ? static_cast<QWidget*>(g.get()) : w;
        if (generator)
            g->OutputPath->setText(path);
        else
            w->OutputPath->setText(path);
        auto* button = owner->findChild<QPushButton*>(QStringLiteral("OutputPath"));
        QVERIFY(button);
        QCOMPARE(button->text(), path);
        QVERIFY(button->shortcut().isEmpty());

        // Drawn as a plain button draws a caption whose every "&" is doubled: all shown.
        QPushButton reference(QString(path).replace(QLatin1Char('&'), QLatin1String("&&")));
        reference.setFont(button->font());
        reference.setAutoDefault(false);
        reference.resize(button->size());
        const auto image = [](QWidget* w) {
            return w->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        };
        QCOMPARE(image(button), image(&reference));

        owner->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(owner));
        QTest::keyClick(owner, Qt::Key_B, Qt::AltModifier);
        QTest::qWait(300);                    // a shortcut clicks a button after a short delay
        QVERIFY(dialogs.requests.isEmpty());  // the folder or file dialog did not open
    }

    // A calendar file that cannot be created refuses the press with the system's reason, and
    // the window is ready for the next press. A named pipe without a reader fails at once.
    void computeCannotCreateTheFile_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<int>("reason");  // errno
        QTest::newRow("a missing folder") << "missing folder" << ENOENT;
        QTest::newRow("a file in place of the folder") << "file" << ENOTDIR;
        QTest::newRow("a folder without write permission") << "read-only folder" << EACCES;
        QTest::newRow("a named pipe without a reader") << "pipe" << ENXIO;
    }
    void computeCannotCreateTheFile() {
        QFETCH(QString, obstacle);
        QFETCH(int, reason);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("folder/out.ics"));
        if (obstacle == QLatin1String("file")) {
            QFile file(dir.filePath(QStringLiteral("folder")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (obstacle == QLatin1String("read-only folder")) {
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("folder"))));
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("folder")),
                                          QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else if (obstacle == QLatin1String("pipe")) {
            path = dir.filePath(QStringLiteral("pipe.ics"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        }
        ScriptedDialogs dialogs;
        QuorvexWindow* w = Quiet();
        w->Location->setText(QStringLiteral("Seattle, Puget Sound, Washington"));
        w->OutputPath->setText(path);
        {
            UserPermissions permissions;
            QVERIFY(permissions.isValid());
            w->ComputeButton_Action();
        }
        QCOMPARE(dialogs.messages,
                 QStringList{QStringLiteral("Unable to save to file ") + path +
                             QStringLiteral(": ") + QString::fromLocal8Bit(strerror(reason))});
        QVERIFY(!w->IsRunning());
        QVERIFY(w->ComputeButton->isEnabled());
        QFile::setPermissions(dir.filePath(QStringLiteral("folder")), QFileDevice::ReadOwner |
                                                                          QFileDevice::WriteOwner |
                                                                          QFileDevice::ExeOwner);
    }
};

QUORVEX_TEST_MAIN(TestQuorvexWindow)
#include "tst_QuorvexWindow.moc"
