// tst_GenerateHTMLWindow  The generator window: its controls, its open state, the location picker,
// the output folder dialog and the checks that come before a run starts.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/App.h"
#include "htmltables/GenerateHTML.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

class TestGenerateHTMLWindow : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void controlsInTabOrder();
    void windowIsFixedSize();
    void openState();

    void setupLocationsFillsListWithoutTouchingLocation();
    void choosingAnItemSetsLocation();
    void searchNarrowsOnReturnOnly();

    void folderDialogSuggestion_data();
    void folderDialogSuggestion();
    void folderDialogCancelKeepsCaption();

    void generateRefusesBeforeStarting_data();
    void generateRefusesBeforeStarting();
    void csvUntouchedWhenRunRefused();

    void doneClosesWindow();
    void menuServesTheSettingsCommands();
    void settingsRoundTripThroughTheMenu();

  private:
    App* app = nullptr;
    QPointer<GenerateHTML> w;
};

static const char* const kExpectedOrder[] = {
    "LocationList", "StaticText1", "SearchField",        "StaticText2", "Location",
    "StaticText3",  "FirstMonth",  "FirstYear",          "StaticText4", "LastMonth",
    "LastYear",     "StaticText5", "OutputPath",         "DoneButton",  "GenerateButton",
    "Status",       "StaticText6", "DaylightMarginMenu", "StaticText7", "MaximumHeightMenu",
    "AlsoGenCSV"};

void TestGenerateHTMLWindow::init() {
    app = new App;
    app->nlocations = 3;
    app->locations = {QStringLiteral("Alpha Bay"), QStringLiteral("Beta Point"),
                      QStringLiteral("Alpha Creek"), QString()};
    w = new GenerateHTML;
}

void TestGenerateHTMLWindow::cleanup() {
    delete w.data();
    delete app;
    app = nullptr;
}

void TestGenerateHTMLWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("rect");     // height: at least the given one
    QTest::addColumn<int>("pointSize");  // 0: the standard size

    auto row = [](const char* name, const char* cls, const char* text, QRect r, int size) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls)
                            << QString::fromUtf8(text) << r << size;
    };
    row("LocationList", "QComboBox", "", QRect(33, 70, 220, 20), 12);
    row("StaticText1", "QLabel", "Location", QRect(33, 14, 100, 20), 12);
    row("SearchField", "QLineEdit", "", QRect(111, 44, 142, 20), 12);
    row("StaticText2", "QLabel", "Search For", QRect(33, 43, 71, 20), 12);
    row("Location", "QLabel", "No Location Specified", QRect(33, 97, 220, 20), 12);
    row("StaticText3", "QLabel", "Time Period From", QRect(290, 11, 115, 20), 12);
    row("FirstMonth", "QComboBox", "January", QRect(304, 34, 91, 20), 12);
    row("StaticText4", "QLabel", "To", QRect(377, 58, 51, 20), 12);
    row("LastMonth", "QComboBox", "December", QRect(304, 76, 91, 20), 12);
    row("StaticText5", "QLabel", "Output To", QRect(2, 164, 86, 20), 12);
    row("OutputPath", "PathButton", "No Output Path Specified", QRect(33, 188, 502, 20), 10);
    row("DoneButton", "QPushButton", "Done", QRect(465, 312, 80, 20), 0);
    row("GenerateButton", "QPushButton", "Generate HTML Tide Tables", QRect(175, 248, 219, 20), 0);
    row("Status", "QLabel", "", QRect(33, 280, 502, 20), 0);
    row("StaticText6", "QLabel", "Daylight Margin", QRect(276, 125, 115, 20), 0);
    row("DaylightMarginMenu", "QComboBox", "none", QRect(398, 124, 137, 20), 0);
    row("StaticText7", "QLabel", "Maximum Height", QRect(33, 125, 115, 20), 0);
    row("MaximumHeightMenu", "QComboBox", "3 ft", QRect(160, 124, 118, 20), 0);
    row("AlsoGenCSV", "QCheckBox", "Also Generate CSV File", QRect(175, 218, 359, 20), 0);
}

void TestGenerateHTMLWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QString, cls);
    QFETCH(QString, text);
    QFETCH(QRect, rect);
    QFETCH(int, pointSize);

    auto* c = w->findChild<QWidget*>(name);
    QVERIFY2(c, qPrintable(name));
    QCOMPARE(QString::fromLatin1(c->metaObject()->className()), cls);
    QVERIFY(c->isEnabled());
    QVERIFY(c->isVisible());
    QCOMPARE(c->pos(), rect.topLeft());
    QCOMPARE(c->width(), rect.width());
    QVERIFY(c->height() >= rect.height());
    QVERIFY2(c->height() <= qMax(rect.height(), c->minimumSizeHint().height()),
             "a height grows only as far as its text needs");
    if (pointSize > 0) QCOMPARE(c->font().pixelSize(), pointSize);

    QString shown;
    if (auto* l = qobject_cast<QLabel*>(c)) shown = l->text();
    if (auto* p = qobject_cast<QComboBox*>(c)) shown = p->currentText();
    if (auto* e = qobject_cast<QLineEdit*>(c)) shown = e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(c)) shown = b->text();
    QCOMPARE(shown, text);
    if (auto* b = qobject_cast<QPushButton*>(c)) {
        QVERIFY(!b->isDefault());
        QVERIFY(!b->autoDefault());
    }
}

void TestGenerateHTMLWindow::controlsInTabOrder() {
    QStringList order;
    for (QObject* o : w->centralWidget()->children())
        if (o->isWidgetType()) order << o->objectName();
    QStringList expected;
    for (const char* n : kExpectedOrder) expected << QString::fromLatin1(n);
    QCOMPARE(order, expected);

    // The public members are the named controls.
    QCOMPARE(w->LocationList->objectName(), QStringLiteral("LocationList"));
    QCOMPARE(w->AlsoGenCSV->objectName(), QStringLiteral("AlsoGenCSV"));
    QCOMPARE(w->OutputPath->objectName(), QStringLiteral("OutputPath"));

    const QStringList months = {"January",   "February", "March",    "April",
                                "May",       "June",     "July",     "August",
                                "September", "October",  "November", "December"};
    for (QComboBox* m : {w->FirstMonth, w->LastMonth}) {
        QStringList items;
        for (int i = 0; i < m->count(); ++i) items << m->itemText(i);
        QCOMPARE(items, months);
    }
    QStringList margins, heights;
    for (int i = 0; i < w->DaylightMarginMenu->count(); ++i)
        margins << w->DaylightMarginMenu->itemText(i);
    for (int i = 0; i < w->MaximumHeightMenu->count(); ++i)
        heights << w->MaximumHeightMenu->itemText(i);
    QCOMPARE(margins, QStringList({"none", "30 minutes", "1 hour", "1 1/2 minutes", "2 hours",
                                   "2 1/2 hours", "3 hours"}));
    QCOMPARE(heights, QStringList({"0 ft", "0.5 ft", "1 ft", "1.5 ft", "2 ft", "2.5 ft", "3 ft",
                                   "3.5 ft", "4 ft", "4.5 ft", "5 ft"}));
}

void TestGenerateHTMLWindow::windowIsFixedSize() {
    QCOMPARE(w->windowTitle(), QStringLiteral("Generate HTML"));
    QCOMPARE(w->centralWidget()->size(), QSize(565, 352));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(w->isVisible());
}

void TestGenerateHTMLWindow::openState() {
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(w->FirstYear->currentText(), year);
    QCOMPARE(w->LastYear->currentText(), year);
    QCOMPARE(w->FirstYear->itemText(0), QStringLiteral("2008"));
    QCOMPARE(w->LastYear->itemText(w->LastYear->count() - 1),
             QString::number(QDate::currentDate().year() + 10));
    QCOMPARE(w->FirstMonth->currentIndex(), 0);
    QCOMPARE(w->LastMonth->currentIndex(), 11);
    QVERIFY(w->AlsoGenCSV->isChecked());
    QVERIFY(!w->updating);
    QVERIFY(w->theFile.isEmpty());
    QVERIFY(w->indexText.isEmpty());
    QVERIFY(!w->IsRunning());
    QCOMPARE(w->LocationList->count(), 0);
}

void TestGenerateHTMLWindow::setupLocationsFillsListWithoutTouchingLocation() {
    w->Location->setText(QStringLiteral("Gamma Reef"));
    w->SetupLocations();
    QCOMPARE(w->LocationList->count(), 3);
    QCOMPARE(w->LocationList->itemText(2), QStringLiteral("Alpha Creek"));
    QCOMPARE(w->Location->text(), QStringLiteral("Gamma Reef"));
    QVERIFY(!w->updating);
}

void TestGenerateHTMLWindow::choosingAnItemSetsLocation() {
    w->SetupLocations();
    QCOMPARE(w->LocationList->currentIndex(), -1);
    QCOMPARE(w->Location->text(), QStringLiteral("No Location Specified"));
    w->LocationList->setFocus();
    QTest::keyClick(w->LocationList, Qt::Key_Down);
    QTest::keyClick(w->LocationList, Qt::Key_Down);
    QCOMPARE(w->LocationList->currentIndex(), 1);
    QCOMPARE(w->Location->text(), QStringLiteral("Beta Point"));
}

void TestGenerateHTMLWindow::searchNarrowsOnReturnOnly() {
    w->SetupLocations();
    const QString before = w->Location->text();
    w->SearchField->setFocus();
    QTest::keyClicks(w->SearchField, QStringLiteral("alpha"));
    QCOMPARE(w->LocationList->count(), 3);
    QTest::keyClick(w->SearchField, Qt::Key_Enter);
    QCOMPARE(w->LocationList->count(), 3);
    QTest::keyClick(w->SearchField, Qt::Key_Return);
    QCOMPARE(w->LocationList->count(), 2);
    QCOMPARE(w->LocationList->itemText(0), QStringLiteral("Alpha Bay"));
    QCOMPARE(w->LocationList->itemText(1), QStringLiteral("Alpha Creek"));
    QCOMPARE(w->LocationList->currentIndex(), -1);
    QCOMPARE(w->SearchField->text(), QStringLiteral("alpha"));
    QCOMPARE(w->Location->text(), before);
}

void TestGenerateHTMLWindow::folderDialogSuggestion_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("suggested");
    QTest::newRow("before first comma") << "Seattle, Washington"
                                        << "Seattle.html";
    QTest::newRow("no location") << "No Location Specified"
                                 << "No Location Specified.html";
    QTest::newRow("leading comma") << ",Strait Of Juan De Fuca, Washington"
                                   << ",Strait Of Juan De Fuca, Wa.html";
    QTest::newRow("long, no comma") << "Admiralty Inlet off Bush Point Current"
                                    << "Admiralty Inlet off Bush Po.html";
}

void TestGenerateHTMLWindow::folderDialogSuggestion() {
    QFETCH(QString, location);
    QFETCH(QString, suggested);
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    dialogs.Answer(dir.path());
    w->Location->setText(location);
    QTest::mouseClick(w->OutputPath, Qt::LeftButton);
    QCOMPARE(dialogs.requests.size(), 1);
    const DialogRequest& r = dialogs.requests.first();
    QCOMPARE(r.kind, DialogRequest::Kind::SelectFolder);
    QCOMPARE(r.title, QStringLiteral("Output folder dialog"));
    QCOMPARE(r.prompt, QStringLiteral("Select the output folder"));
    QCOMPARE(r.suggestedName, suggested);
    QCOMPARE(w->OutputPath->text(), dir.path());
}

void TestGenerateHTMLWindow::folderDialogCancelKeepsCaption() {
    ScriptedDialogs dialogs;
    w->OutputPath->setText(QStringLiteral("/earlier/choice"));
    dialogs.Answer(QString());
    w->OutputPath_Action();
    QCOMPARE(w->OutputPath->text(), QStringLiteral("/earlier/choice"));
    QVERIFY(dialogs.messages.isEmpty());
}

void TestGenerateHTMLWindow::generateRefusesBeforeStarting_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("caption");  // "@file" names a plain file in a temporary folder
    QTest::addColumn<QString>("message");  // "@" is replaced by the caption
    QTest::newRow("no location, any case") << "no location specified"
                                           << "/tmp"
                                           << "No tide location was specified";
    QTest::newRow("no output folder") << "Alpha Bay"
                                      << "No Output Path Specified"
                                      << "No output folder was specified";
    QTest::newRow("no output folder, any case") << "Alpha Bay"
                                                << "NO OUTPUT PATH SPECIFIED"
                                                << "No output folder was specified";
    QTest::newRow("relative path") << "Alpha Bay"
                                   << "some/folder"
                                   << "Cannot access the output folder @";
    QTest::newRow("a plain file") << "Alpha Bay"
                                  << "@file"
                                  << "Cannot create the output folder @";
}

void TestGenerateHTMLWindow::generateRefusesBeforeStarting() {
    QFETCH(QString, location);
    QFETCH(QString, caption);
    QFETCH(QString, message);
    QTemporaryDir dir;
    if (caption == QLatin1String("@file")) {
        caption = dir.filePath(QStringLiteral("plain.txt"));
        QFile f(caption);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    message.replace(QLatin1Char('@'), caption);
    ScriptedDialogs dialogs;
    w->Location->setText(location);
    w->OutputPath->setText(caption);
    QTest::mouseClick(w->GenerateButton, Qt::LeftButton);
    QCOMPARE(dialogs.messages, QStringList{message});
    QCOMPARE(dialogs.requests.size(), 1);  // no folder dialog
    QVERIFY(!w->IsRunning());
    QVERIFY(w->GenerateButton->isEnabled());
    QVERIFY(w->Status->text().isEmpty());
    QVERIFY(w->tideShell.isNull());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("csv-version.txt"))));
}

void TestGenerateHTMLWindow::csvUntouchedWhenRunRefused() {
    // A refused run leaves an earlier list alone.
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("csv-version.txt"));
    {
        QFile f(csv);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("3/5/2009, 06:12 AM, -0.42\n");
    }
    ScriptedDialogs dialogs;
    w->OutputPath->setText(dir.path());
    w->GenerateButton_Action();  // no location
    QFile f(csv);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("3/5/2009, 06:12 AM, -0.42\n"));
}

void TestGenerateHTMLWindow::doneClosesWindow() {
    QTest::mouseClick(w->DoneButton, Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QTRY_VERIFY(w.isNull());  // deleted on close
}

void TestGenerateHTMLWindow::menuServesTheSettingsCommands() {
    w->RefreshMenuItems();
    for (const char* item : {"FileOpenSettings", "FileSaveSettings", "FileSaveSettingsAs"}) {
        QAction* a = w->MenuItem(QString::fromLatin1(item));
        QVERIFY2(a && a->isEnabled(), item);
    }
    QAction* close = w->MenuItem(QStringLiteral("FileClose"));
    QVERIFY(close && !close->isEnabled());

    // Every dialog cancelled: the handlers' own results.
    ScriptedDialogs dialogs;
    QCOMPARE(w->DispatchMenuCommand(QStringLiteral("FileOpenSettings")), true);
    QCOMPARE(w->DispatchMenuCommand(QStringLiteral("FileSaveSettings")), true);
    QCOMPARE(w->DispatchMenuCommand(QStringLiteral("FileSaveSettingsAs")), false);
    QCOMPARE(dialogs.unanswered, 3);
    QCOMPARE(dialogs.requests.at(1).suggestedName,
             QStringLiteral("Tide Generator Settings.tidehtml"));
    QVERIFY(w->theFile.isEmpty());
}

void TestGenerateHTMLWindow::settingsRoundTripThroughTheMenu() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Tide Generator Settings.tidehtml"));
    ScriptedDialogs dialogs;
    w->Location->setText(QStringLiteral("Beta Point"));
    w->FirstMonth->setCurrentIndex(2);
    w->FirstYear->setCurrentText(QStringLiteral("2010"));
    w->LastMonth->setCurrentIndex(4);
    w->LastYear->setCurrentText(QStringLiteral("2011"));
    w->OutputPath->setText(dir.path());
    w->DaylightMarginMenu->setCurrentText(QStringLiteral("1 1/2 minutes"));
    w->MaximumHeightMenu->setCurrentText(QStringLiteral("1.5 ft"));
    w->AlsoGenCSV->setChecked(false);
    dialogs.Answer(file);
    QCOMPARE(w->DispatchMenuCommand(QStringLiteral("FileSaveSettingsAs")), false);
    QCOMPARE(w->theFile, file);

    auto* other = new GenerateHTML;
    dialogs.Answer(file);
    QCOMPARE(other->DispatchMenuCommand(QStringLiteral("FileOpenSettings")), true);
    QCOMPARE(other->theFile, file);
    QCOMPARE(other->Location->text(), QStringLiteral("Beta Point"));
    QCOMPARE(other->FirstMonth->currentText(), QStringLiteral("March"));
    QCOMPARE(other->FirstYear->currentText(), QStringLiteral("2010"));
    QCOMPARE(other->LastMonth->currentText(), QStringLiteral("May"));
    QCOMPARE(other->LastYear->currentText(), QStringLiteral("2011"));
    QCOMPARE(other->OutputPath->text(), dir.path());
    QCOMPARE(other->DaylightMarginMenu->currentIndex(), 3);  // worth 90 minutes
    QCOMPARE(other->MaximumHeightMenu->currentText(), QStringLiteral("1.5 ft"));
    QVERIFY(!other->AlsoGenCSV->isChecked());
    QVERIFY(!other->updating);
    delete other;
}

QUORVEX_TEST_MAIN(TestGenerateHTMLWindow)
#include "tst_GenerateHTMLWindow.moc"
