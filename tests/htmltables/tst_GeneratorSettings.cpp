// tst_GeneratorSettings  The generator window's nine-line settings documents: the lines, reading
// them back into the controls, selecting pop-up items by text, and the three settings commands.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "calendar/CalendarSettings.h"
#include "calendar/YearList.h"
#include "engine/LocationName.h"
#include "htmltables/GenerateHTML.h"
#include "htmltables/GeneratorSettings.h"
#include "htmltables/GeneratorSettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

namespace {

struct WindowDeleter {
    void operator()(GenerateHTML* w) const { delete w; }
};
using Window = std::unique_ptr<GenerateHTML, WindowDeleter>;

Window NewWindow() {
    Window w(new GenerateHTML);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    return w;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class tst_GeneratorSettings : public QObject {
    Q_OBJECT
  private slots:
    void init();

    void encodesNineLines();
    void decodesLines_data();
    void decodesLines();

    void roundTripThroughTheWindow_data();
    void roundTripThroughTheWindow();
    void loadingLeavesUnmatchedPopups_data();
    void loadingLeavesUnmatchedPopups();
    void shortDocument();
    void openingBinaryDocumentIsRefused_data();
    void openingBinaryDocumentIsRefused();
    void loadingMissingFileChangesNothing();
    void updatingDuringLoad();
    void setPopupMenu_data();
    void setPopupMenu();
    void windowClosedWhileLoading();

    void saveSettingsAsksOnceThenWrites();
    void saveSettingsCancelAsksAgain();
    void saveSettingsAs();
    void openSettings();
    void unwritableFile_data();
    void unwritableFile();

  private:
    std::unique_ptr<QTemporaryDir> dir;
    QString Path(const QString& name) const { return dir->filePath(name); }
};

void tst_GeneratorSettings::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void tst_GeneratorSettings::encodesNineLines() {
    GeneratorSettings s;
    s.location = QStringLiteral("Alameda, California");
    s.firstMonth = QStringLiteral("March");
    s.firstYear = QStringLiteral("2009");
    s.lastMonth = QStringLiteral("May");
    s.lastYear = QStringLiteral("2010");
    s.outputPath = QStringLiteral("/home/u/tables");
    s.daylightMargin = QStringLiteral("1 1/2 minutes");
    s.maximumHeight = QStringLiteral("0.5 ft");
    s.alsoGenCSV = true;
    QCOMPARE(s.Encode(), QByteArray("Alameda, California\nMarch\n2009\nMay\n2010\n/home/u/tables\n"
                                    "1 1/2 minutes\n0.5 ft\ntrue\n"));
    s.alsoGenCSV = false;
    QVERIFY(s.Encode().endsWith("\n0.5 ft\nfalse\n"));
    QVERIFY(GeneratorSettings::Decode(s.Encode()) == s);
}

void tst_GeneratorSettings::decodesLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("outputPath");
    QTest::addColumn<QString>("maximumHeight");
    QTest::addColumn<bool>("csv");
    QTest::newRow("LF") << QByteArray("L\nm\ny\nm\ny\n/o\nnone\n2 ft\ntrue\n") << "L"
                        << "/o"
                        << "2 ft" << true;
    QTest::newRow("CRLF") << QByteArray("L\r\nm\r\ny\r\nm\r\ny\r\n/o\r\nnone\r\n2 ft\r\nTRUE\r\n")
                          << "L"
                          << "/o"
                          << "2 ft" << true;
    QTest::newRow("CR") << QByteArray("L\rm\ry\rm\ry\r/o\rnone\r2 ft\rTrue") << "L"
                        << "/o"
                        << "2 ft" << true;
    QTest::newRow("no final line ending")
        << QByteArray("L\nm\ny\nm\ny\n/o\nnone\n2 ft\ntrue") << "L"
        << "/o"
        << "2 ft" << true;
    QTest::newRow("empty lines kept") << QByteArray("\n\n\n\n\n\n\n\nfalse\n") << ""
                                      << ""
                                      << "" << false;
    QTest::newRow("other word") << QByteArray("L\nm\ny\nm\ny\n/o\nnone\n2 ft\nyes\n") << "L"
                                << "/o"
                                << "2 ft" << false;
    QTest::newRow("blank after true") << QByteArray("L\nm\ny\nm\ny\n/o\nnone\n2 ft\ntrue \n") << "L"
                                      << "/o"
                                      << "2 ft" << false;
    QTest::newRow("lines after the ninth ignored")
        << QByteArray("L\nm\ny\nm\ny\n/o\nnone\n2 ft\ntrue\nextra\nmore\n") << "L"
        << "/o"
        << "2 ft" << true;
    QTest::newRow("byte order marks before line 1")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFL\nm\ny\nm\ny\n/o\nnone\n2 ft\ntrue\n") << "L"
        << "/o"
        << "2 ft" << true;
    QTest::newRow("U+FEFF inside the document is a character")
        << QByteArray("L\nm\ny\nm\ny\n\xEF\xBB\xBF/o\nnone\n2 ft\ntrue\n") << "L"
        << QString(QChar(0xFEFF)) + "/o"
        << "2 ft" << true;
    QTest::newRow("six lines") << QByteArray("L\nm\ny\nm\ny\n/o\n") << "L"
                               << "/o"
                               << "" << false;
    QTest::newRow("empty file") << QByteArray() << ""
                                << ""
                                << "" << false;
}

void tst_GeneratorSettings::decodesLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, location);
    QFETCH(QString, outputPath);
    QFETCH(QString, maximumHeight);
    QFETCH(bool, csv);
    const GeneratorSettings s = GeneratorSettings::Decode(bytes);
    QCOMPARE(s.location, location);
    QCOMPARE(s.outputPath, outputPath);
    QCOMPARE(s.maximumHeight, maximumHeight);
    QCOMPARE(s.alsoGenCSV, csv);
}

// Every control set away from its default, saved, then read into a fresh window.
void tst_GeneratorSettings::roundTripThroughTheWindow_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<int>("firstMonth");
    QTest::addColumn<int>("firstYear");
    QTest::addColumn<int>("lastMonth");
    QTest::addColumn<int>("lastYear");
    QTest::addColumn<QString>("outputPath");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("csv");
    QTest::newRow("typical") << "Alameda, California" << 2 << 1 << 10 << 4 << "/home/u/tables" << 4
                             << 1 << false;
    QTest::newRow("1 1/2 minutes, the 90-minute margin")
        << "Point Reyes, California" << 0 << 0 << 11 << 0 << "/t" << 3 << 10 << true;
    QTest::newRow("no location, no output path") << "No Location Specified" << 11 << 7 << 0 << 7
                                                 << "No Output Path Specified" << 6 << 0 << false;
    QTest::newRow("non-ASCII texts")
        << "Baie-Comeau, Québec" << 5 << 3 << 6 << 3 << "/home/ü/marées" << 1 << 5 << true;
    // A listed name cut inside "ñ" keeps its lone byte, which the tide command needs.
    QTest::newRow("location cut inside a character")
        << LocationName::FromListing(
               "Bah\xc3\xad"
               "a Sucia, 0.5 mile south of Isla de Ratones, Ca\xc3",
               LocationName::Charset::Utf8)
        << 2 << 1 << 10 << 4 << "/t" << 4 << 1 << false;
}

void tst_GeneratorSettings::roundTripThroughTheWindow() {
    QFETCH(QString, location);
    QFETCH(int, firstMonth);
    QFETCH(int, firstYear);
    QFETCH(int, lastMonth);
    QFETCH(int, lastYear);
    QFETCH(QString, outputPath);
    QFETCH(int, margin);
    QFETCH(int, height);
    QFETCH(bool, csv);
    const QString file = Path(QStringLiteral("a.tidehtml"));
    {
        Window w = NewWindow();
        w->Location->setText(location);
        w->FirstMonth->setCurrentIndex(firstMonth);
        w->FirstYear->setCurrentIndex(firstYear);
        w->LastMonth->setCurrentIndex(lastMonth);
        w->LastYear->setCurrentIndex(lastYear);
        w->OutputPath->setText(outputPath);
        w->DaylightMarginMenu->setCurrentIndex(margin);
        w->MaximumHeightMenu->setCurrentIndex(height);
        w->AlsoGenCSV->setChecked(csv);
        QVERIFY(GeneratorSettingsFile::SaveGeneratorInfo(*w, file));
        QVERIFY(w->theFile.isEmpty());
        const QList<QByteArray> lines = ReadAll(file).split('\n');
        QCOMPARE(lines.size(), 10);
        QCOMPARE(QString::fromUtf8(lines[6]), w->DaylightMarginMenu->currentText());
        QCOMPARE(lines[8], csv ? QByteArray("true") : QByteArray("false"));
    }
    Window w = NewWindow();
    QVERIFY(GeneratorSettingsFile::LoadGeneratorInfo(*w, file));
    QCOMPARE(w->Location->text(), location);
    QCOMPARE(w->FirstMonth->currentIndex(), firstMonth);
    QCOMPARE(w->FirstYear->currentIndex(), firstYear);
    QCOMPARE(w->LastMonth->currentIndex(), lastMonth);
    QCOMPARE(w->LastYear->currentIndex(), lastYear);
    QCOMPARE(w->OutputPath->text(), outputPath);
    QCOMPARE(w->DaylightMarginMenu->currentIndex(), margin);
    QCOMPARE(w->MaximumHeightMenu->currentIndex(), height);
    QCOMPARE(w->AlsoGenCSV->isChecked(), csv);
    QVERIFY(w->theFile.isEmpty());
    QVERIFY(!w->updating);
}

void tst_GeneratorSettings::loadingLeavesUnmatchedPopups_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("firstMonth");
    QTest::addColumn<QString>("firstYear");
    QTest::addColumn<QString>("height");
    const QByteArray after = QByteArray::number(YearList::LastYear() + 1);
    QTest::newRow("year after the list")
        << "L\nMarch\n" + after + "\nMay\n2009\n/o\nnone\n2 ft\ntrue\n"
        << "March"
        << "2010"
        << "2 ft";
    QTest::newRow("month in capitals")
        << QByteArray("L\nJUNE\n2009\nMay\n2009\n/o\nnone\n1 FT\n") << "June"
        << "2009"
        << "1 ft";
    QTest::newRow("height with a decimal zero")
        << QByteArray("L\nMarch\n2009\nMay\n2009\n/o\nnone\n2.0 ft\n") << "March"
        << "2009"
        << "3 ft";
    QTest::newRow("blanks around a month")
        << QByteArray("L\n March\n2009\nMay\n2009\n/o\nnone\n2 ft\n") << "January"
        << "2009"
        << "2 ft";
}

void tst_GeneratorSettings::loadingLeavesUnmatchedPopups() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, firstMonth);
    QFETCH(QString, firstYear);
    QFETCH(QString, height);
    const QString file = Path(QStringLiteral("b.tidehtml"));
    Write(file, bytes);
    Window w = NewWindow();
    w->FirstYear->setCurrentText(QStringLiteral("2010"));
    QVERIFY(GeneratorSettingsFile::LoadGeneratorInfo(*w, file));
    QCOMPARE(w->FirstMonth->currentText(), firstMonth);
    QCOMPARE(w->FirstYear->currentText(), firstYear);
    QCOMPARE(w->MaximumHeightMenu->currentText(), height);
}

void tst_GeneratorSettings::shortDocument() {
    const QString file = Path(QStringLiteral("short.tidehtml"));
    Write(file, "Alameda, California\nMarch\n");
    Window w = NewWindow();
    w->OutputPath->setText(QStringLiteral("/was/here"));
    w->LastMonth->setCurrentIndex(4);
    w->DaylightMarginMenu->setCurrentIndex(2);
    QVERIFY(w->AlsoGenCSV->isChecked());
    QVERIFY(GeneratorSettingsFile::LoadGeneratorInfo(*w, file));
    QCOMPARE(w->Location->text(), QStringLiteral("Alameda, California"));
    QCOMPARE(w->FirstMonth->currentText(), QStringLiteral("March"));
    QCOMPARE(w->LastMonth->currentIndex(), 4);
    QCOMPARE(w->OutputPath->text(), QString());
    QCOMPARE(w->DaylightMarginMenu->currentIndex(), 2);
    QVERIFY(!w->AlsoGenCSV->isChecked());
}

// The open dialog offers calendar settings documents too. Any text file is read as the nine
// lines; a file holding a NUL byte (every calendar settings document does) is no text: it is
// refused, changes no control and does not become the document that Save Settings overwrites.
void tst_GeneratorSettings::openingBinaryDocumentIsRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("firstLine");  // the Location label after a file that is read
    CalendarSettings calendar;
    calendar.location = QStringLiteral("Seattle, Puget Sound, Washington");
    QTest::newRow("calendar settings") << calendar.Encode() << true << QString();
    QFile saved(QStringLiteral(QUORVEX_TEST_FIXTURES "/settings-corpus/full-v1.quorvex"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QTest::newRow("calendar settings, first version") << saved.readAll() << true << QString();
    QTest::newRow("NUL after nine good lines")
        << QByteArray("Here\nMay\n2009\nMay\n2009\n/t\nnone\n0 ft\ntrue\n") + '\0' << true
        << QString();
    QTest::newRow("plain text") << QByteArray("Notes about tides\nMay\n") << false
                                << "Notes about tides";
    QTest::newRow("Latin-1 text") << QByteArray("Caf\xe9\nMay\n") << false
                                  << LocationName::FromListing("Caf\xe9",
                                                               LocationName::Charset::Utf8);
}

void tst_GeneratorSettings::openingBinaryDocumentIsRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    QFETCH(QString, firstLine);
    ScriptedDialogs dialogs;
    const QString file = Path(QStringLiteral("chosen.quorvex"));
    Write(file, bytes);
    const QString earlier = Path(QStringLiteral("earlier.tidehtml"));
    Window w = NewWindow();
    w->theFile = earlier;
    w->Location->setText(QStringLiteral("Port Angeles, Strait Of Juan De Fuca, Washington"));
    w->FirstMonth->setCurrentIndex(2);
    w->FirstYear->setCurrentIndex(3);
    w->LastMonth->setCurrentIndex(4);
    w->LastYear->setCurrentIndex(5);
    w->OutputPath->setText(QStringLiteral("/home/u/tables"));
    w->DaylightMarginMenu->setCurrentIndex(4);
    w->MaximumHeightMenu->setCurrentIndex(2);
    const auto controls = [&w] {
        return QStringList{
            w->Location->text(),
            w->FirstMonth->currentText(),
            w->FirstYear->currentText(),
            w->LastMonth->currentText(),
            w->LastYear->currentText(),
            w->OutputPath->text(),
            w->DaylightMarginMenu->currentText(),
            w->MaximumHeightMenu->currentText(),
            w->AlsoGenCSV->isChecked() ? QStringLiteral("true") : QStringLiteral("false")};
    };
    const QStringList before = controls();

    dialogs.Answer(file);
    QCOMPARE(GeneratorSettingsFile::FileOpenSettings_Action(*w), true);
    QVERIFY(!w->updating);
    if (!refused) {
        QCOMPARE(dialogs.messages, QStringList());
        QCOMPARE(w->theFile, file);
        QCOMPARE(w->Location->text(), firstLine);
        QCOMPARE(w->FirstMonth->currentText(), QStringLiteral("May"));
        return;
    }
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Invalid Quorvex settings file")});
    QCOMPARE(controls(), before);
    QCOMPARE(w->theFile, earlier);
    // Save Settings writes the window's document, and the refused file keeps its bytes.
    QCOMPARE(GeneratorSettingsFile::FileSaveSettings_Action(*w), false);
    QCOMPARE(ReadAll(file), bytes);
    QVERIFY(ReadAll(earlier).startsWith("Port Angeles, Strait Of Juan De Fuca, Washington\n"));
}

void tst_GeneratorSettings::loadingMissingFileChangesNothing() {
    Window w = NewWindow();
    w->updating = true;
    w->Location->setText(QStringLiteral("Here"));
    QVERIFY(GeneratorSettingsFile::LoadGeneratorInfo(*w, Path(QStringLiteral("none.tidehtml"))));
    QVERIFY(w->updating);
    QCOMPARE(w->Location->text(), QStringLiteral("Here"));

    // Loading lowers `updating` at the end, whatever it was before.
    const QString file = Path(QStringLiteral("c.tidehtml"));
    Write(file, "L\nMarch\n");
    QVERIFY(GeneratorSettingsFile::LoadGeneratorInfo(*w, file));
    QVERIFY(!w->updating);
}

// Events that run during the load's yields see `updating` raised.
void tst_GeneratorSettings::updatingDuringLoad() {
    const QString file = Path(QStringLiteral("d.tidehtml"));
    Write(file, "L\nDecember\n2009\nMay\n2009\n/o\n3 hours\n5 ft\ntrue\n");
    Window w = NewWindow();
    int seen = 0;
    int seenUpdating = 0;
    QTimer timer;
    timer.setInterval(0);
    connect(&timer, &QTimer::timeout, this, [&] {
        ++seen;
        if (w->updating) ++seenUpdating;
    });
    timer.start();
    QVERIFY(GeneratorSettingsFile::LoadGeneratorInfo(*w, file));
    timer.stop();
    QVERIFY(seen > 0);
    QCOMPARE(seenUpdating, seen);
    QVERIFY(!w->updating);
}

void tst_GeneratorSettings::setPopupMenu_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("2 ft is the fifth item") << "2 ft" << 4;
    QTest::newRow("letter case ignored") << "5 FT" << 10;
    QTest::newRow("decimal zero: no match") << "2.0 ft" << 6;
    QTest::newRow("trailing blank: no match") << "2 ft " << 6;
    QTest::newRow("empty: no match") << "" << 6;
}

void tst_GeneratorSettings::setPopupMenu() {
    QFETCH(QString, text);
    QFETCH(int, index);
    Window w = NewWindow();
    QCOMPARE(w->MaximumHeightMenu->currentIndex(), 6);
    bool updatingInChange = false;
    connect(w->MaximumHeightMenu, &QComboBox::currentIndexChanged, this,
            [&] { updatingInChange = w->updating; });
    QVERIFY(GeneratorSettingsFile::SetPopupMenu(*w, w->MaximumHeightMenu, text));
    QCOMPARE(w->MaximumHeightMenu->currentIndex(), index);
    QVERIFY(!w->updating);
    if (index != 6) QVERIFY(updatingInChange);

    // The earlier value of `updating` comes back after a selection.
    w->updating = true;
    QVERIFY(GeneratorSettingsFile::SetPopupMenu(*w, w->MaximumHeightMenu, QStringLiteral("0 ft")));
    QCOMPARE(w->MaximumHeightMenu->currentIndex(), 0);
    QVERIFY(w->updating);
}

// A window deleted during one of the load's yields ends the load without touching it.
void tst_GeneratorSettings::windowClosedWhileLoading() {
    const QString file = Path(QStringLiteral("e.tidehtml"));
    Write(file, "L\nDecember\n2015\nDecember\n2015\n/o\n3 hours\n5 ft\ntrue\n");
    QPointer<GenerateHTML> w = new GenerateHTML;
    QTimer::singleShot(0, w.data(), [&] { delete w.data(); });
    QVERIFY(!GeneratorSettingsFile::LoadGeneratorInfo(*w, file));
    QVERIFY(w.isNull());
}

void tst_GeneratorSettings::saveSettingsAsksOnceThenWrites() {
    ScriptedDialogs dialogs;
    const QString file = Path(QStringLiteral("s.tidehtml"));
    dialogs.Answer(file);
    Window w = NewWindow();
    w->Location->setText(QStringLiteral("First"));
    QCOMPARE(GeneratorSettingsFile::FileSaveSettings_Action(*w), false);
    QCOMPARE(dialogs.requests.size(), 1);
    const DialogRequest r = dialogs.requests[0];
    QCOMPARE(int(r.kind), int(DialogRequest::Kind::SaveAs));
    QCOMPARE(r.suggestedName, QStringLiteral("Tide Generator Settings.tidehtml"));
    QVERIFY(r.nameFilter.contains(QStringLiteral("*.tidehtml")));
    QCOMPARE(w->theFile, file);
    QVERIFY(ReadAll(file).startsWith("First\n"));

    w->Location->setText(QStringLiteral("Second"));
    QCOMPARE(GeneratorSettingsFile::FileSaveSettings_Action(*w), false);
    QCOMPARE(dialogs.requests.size(), 1);
    QVERIFY(ReadAll(file).startsWith("Second\n"));
}

void tst_GeneratorSettings::saveSettingsCancelAsksAgain() {
    ScriptedDialogs dialogs;
    Window w = NewWindow();
    QCOMPARE(GeneratorSettingsFile::FileSaveSettings_Action(*w), true);
    QVERIFY(w->theFile.isEmpty());
    QCOMPARE(GeneratorSettingsFile::FileSaveSettings_Action(*w), true);
    QCOMPARE(dialogs.requests.size(), 2);
}

void tst_GeneratorSettings::saveSettingsAs() {
    ScriptedDialogs dialogs;
    Window w = NewWindow();
    const QString first = Path(QStringLiteral("one.tidehtml"));
    const QString second = Path(QStringLiteral("two.tidehtml"));
    w->theFile = first;
    QCOMPARE(GeneratorSettingsFile::FileSaveSettingsAs_Action(*w), false);  // cancelled
    QCOMPARE(w->theFile, first);
    QVERIFY(!QFile::exists(first));

    dialogs.Answer(second);
    QCOMPARE(GeneratorSettingsFile::FileSaveSettingsAs_Action(*w), false);
    QCOMPARE(w->theFile, second);
    QCOMPARE(dialogs.requests.size(), 2);
    QCOMPARE(dialogs.requests[1].suggestedName, QStringLiteral("Tide Generator Settings.tidehtml"));
    QCOMPARE(ReadAll(second).count('\n'), 9);
}

void tst_GeneratorSettings::openSettings() {
    ScriptedDialogs dialogs;
    const QString file = Path(QStringLiteral("o.tidehtml"));
    Write(file, "Opened\nMay\n");
    Window w = NewWindow();
    QCOMPARE(GeneratorSettingsFile::FileOpenSettings_Action(*w), true);  // cancelled
    QVERIFY(w->theFile.isEmpty());
    const DialogRequest r = dialogs.requests.value(0);
    QCOMPARE(int(r.kind), int(DialogRequest::Kind::Open));
    for (const char* pattern : {"*.quorvex", "*.tidehtml"})
        QVERIFY2(r.nameFilter.contains(QLatin1String(pattern)), qPrintable(r.nameFilter));

    dialogs.Answer(file);
    QCOMPARE(GeneratorSettingsFile::FileOpenSettings_Action(*w), true);
    QCOMPARE(w->Location->text(), QStringLiteral("Opened"));
    QCOMPARE(w->FirstMonth->currentText(), QStringLiteral("May"));
    QCOMPARE(w->theFile, file);

    // A file that cannot be read still becomes the window's document.
    const QString missing = Path(QStringLiteral("missing.tidehtml"));
    dialogs.Answer(missing);
    QCOMPARE(GeneratorSettingsFile::FileOpenSettings_Action(*w), true);
    QCOMPARE(w->theFile, missing);
    QCOMPARE(w->Location->text(), QStringLiteral("Opened"));
}

// A document that cannot be written (a folder that cannot hold it, a disk that fills up) is
// reported with its path; an earlier document of that name and theFile stay as they were.
void tst_GeneratorSettings::unwritableFile_data() {
    QTest::addColumn<QString>("command");  // "Save Settings As" or "Save Settings"
    QTest::addColumn<QString>("theFile");  // before the command
    QTest::addColumn<bool>("diskFull");    // else the path lies under a plain file
    QTest::newRow("Save Settings As, no such folder") << "Save Settings As"
                                                      << "/earlier.tidehtml" << false;
    QTest::newRow("Save Settings As, disk full") << "Save Settings As"
                                                 << "" << true;
    QTest::newRow("first Save Settings, no such folder") << "Save Settings"
                                                         << "" << false;
    QTest::newRow("Save Settings, disk full") << "Save Settings"
                                              << "target" << true;
}

void tst_GeneratorSettings::unwritableFile() {
    QFETCH(QString, command);
    QFETCH(QString, theFile);
    QFETCH(bool, diskFull);
    ScriptedDialogs dialogs;
    Window w = NewWindow();
    w->Location->setText(QStringLiteral("A location long enough not to fit"));
    const QString blocker = Path(QStringLiteral("plain file"));
    Write(blocker, "x");
    const QString target =
        diskFull ? Path(QStringLiteral("kept.tidehtml")) : blocker + QStringLiteral("/x.tidehtml");
    const QByteArray earlier("Earlier\nMay\n2009\nJune\n2010\n/t\n1 hour\n2 ft\ntrue\n");
    if (diskFull) Write(target, earlier);
    if (theFile == QLatin1String("target")) theFile = target;
    w->theFile = theFile;
    if (theFile.isEmpty() || command == QLatin1String("Save Settings As")) dialogs.Answer(target);
    {
        FileSizeLimit limit(diskFull ? 16 : RLIM_INFINITY);
        QVERIFY(limit.isValid());
        QCOMPARE(command == QLatin1String("Save Settings As")
                     ? GeneratorSettingsFile::FileSaveSettingsAs_Action(*w)
                     : GeneratorSettingsFile::FileSaveSettings_Action(*w),
                 false);
    }
    QVERIFY(dialogs.answers.isEmpty());
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Unable to save to file ") + target});
    QCOMPARE(w->theFile, theFile);
    QCOMPARE(ReadAll(blocker), QByteArray("x"));
    if (diskFull) QCOMPARE(ReadAll(target), earlier);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             diskFull ? (QStringList{"kept.tidehtml", "plain file"}) : QStringList{"plain file"});
}

QUORVEX_TEST_MAIN(tst_GeneratorSettings)
#include "tst_GeneratorSettings.moc"
