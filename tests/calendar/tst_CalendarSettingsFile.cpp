// tst_CalendarSettingsFile  Calendar settings documents through the calendar window: saving and
// opening every control, damaged and rejected documents, and the three settings commands.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "calendar/CalendarSettingsFile.h"
#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "platform/Folders.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"

namespace {

struct WindowDeleter {
    void operator()(QuorvexWindow* w) const { delete w; }
};
using Window = std::unique_ptr<QuorvexWindow, WindowDeleter>;

Window NewWindow() {
    Window w(new QuorvexWindow);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    return w;
}

// Every control of the document, as one comparable text per control.
QStringList State(const QuorvexWindow& w) {
    const auto b = [](const QCheckBox* c) { return c->isChecked() ? "on" : "off"; };
    const auto i = [](const QComboBox* c) { return QString::number(c->currentIndex()); };
    return {w.Location->text(),      i(w.FirstMonth),           w.FirstYear->currentText(),
            i(w.LastMonth),          w.LastYear->currentText(), b(w.IncludeHighTides),
            w.HighTideAbove->text(), w.HighTideBelow->text(),   i(w.HighTideBefore),
            i(w.HighTideAfter),      b(w.IncludeLowTides),      w.LowTideAbove->text(),
            w.LowTideBelow->text(),  i(w.LowTideBefore),        i(w.LowTideAfter),
            b(w.SunriseSunset),      b(w.MoonriseMoonset),      b(w.ShowMoonPhases),
            w.OutputPath->text(),    i(w.OutputFormat)};
}

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }
QByteArray P(const QByteArray& text) { return char(text.size()) + text; }

// A version 2 document written field by field: "Alameda, California", March 2009 to November
// 2012, high tides off, above "5.5" below "7", before 6 PM after 6 AM, low tides on, above "-1"
// below "0.5", before noon after 3 AM, sunrise on, moonrise off, phases on, "/t/a.xml", RSS.
// Fields start at: location 4, first month 24, first year 26, last month 28, last year 30,
// include high tides 32, high-tide hours 39 and 41, output format 67 (69 bytes in all).
QByteArray TypicalDocument(const char* version = "00000002") {
    return Hex(version) + P("Alameda, California") +
           Hex("0002"
               "07d9"
               "000a"
               "07dc"
               "00") +
           P("5.5") + P("7") +
           Hex("0012"
               "0006"
               "01") +
           P("-1") + P("0.5") +
           Hex("000c"
               "0003"
               "01"
               "00"
               "01") +
           P("/t/a.xml") + Hex("0003");
}

const QStringList kTypicalState{"Alameda, California",
                                "2",
                                "2009",
                                "10",
                                "2012",
                                "off",
                                "5.5",
                                "7",
                                "18",
                                "6",
                                "on",
                                "-1",
                                "0.5",
                                "12",
                                "3",
                                "on",
                                "off",
                                "on",
                                "/t/a.xml",
                                "3"};

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class tst_CalendarSettingsFile : public QObject {
    Q_OBJECT
  private slots:
    void init();

    void roundTrip_data();
    void roundTrip();
    void openingAFixtureWrittenByteByByte();
    void textsOf255BytesInTheOriginalLayout();
    void allTextsEmpty();
    void rejected_data();
    void rejected();
    void damaged_data();
    void damaged();
    void corpusOpensInAWindow();
    void openingLeavesTheRestAlone();

    void suggestedNames_data();
    void suggestedNames();
    void saveSettingsAs();
    void saveSettingsAsksOnceThenWrites();
    void saveFailureIsReported_data();
    void saveFailureIsReported();
    void openSettings();

  private:
    std::unique_ptr<QTemporaryDir> dir;
    QString Path(const QString& name) const { return dir->filePath(name); }
};

void tst_CalendarSettingsFile::init() {
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

void tst_CalendarSettingsFile::roundTrip_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("outputPath");
    QTest::addColumn<QString>("text");  // the four filter fields take variations of it
    QTest::addColumn<int>("month");     // first month; the last month is 11 - month
    QTest::addColumn<int>("year");      // index of the first year; the last year takes the next
    QTest::addColumn<int>("hour");      // before-hours; the after-hours take 23 - hour
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("on");  // sunrise and phases; moonrise and the tide boxes take !on
    const int lastYearIndex = int(YearList::Items().size()) - 1;
    QTest::newRow("typical") << "Alameda, California"
                             << "/home/u/tides.ics"
                             << "5.5" << 2 << 1 << 18 << 1 << true;
    QTest::newRow("ends of every list") << "Point Reyes"
                                        << "/t.csv"
                                        << "-0.25" << 11 << lastYearIndex - 1 << 23 << 3 << false;
    QTest::newRow("path and location over 254 bytes")
        << "Place, " + QString(300, QLatin1Char('p'))
        << "/" + QString(600, QLatin1Char('d')) + ".xml" << QString(255, QLatin1Char('9')) << 0 << 0
        << 0 << 2 << true;
    QTest::newRow("non-ASCII texts") << "Baie-Comeau, Québec"
                                     << "/home/ü/marées.ics"
                                     << "½" << 5 << 3 << 12 << 0 << false;
    QTest::newRow("nothing chosen") << "No Location Specified"
                                    << "No Output Path Specified"
                                    << "" << 6 << 2 << 1 << 3 << true;
}

// Every control set away from its default, saved, and opened in a fresh window.
void tst_CalendarSettingsFile::roundTrip() {
    QFETCH(QString, location);
    QFETCH(QString, outputPath);
    QFETCH(QString, text);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, hour);
    QFETCH(int, format);
    QFETCH(bool, on);
    const QString file = Path(QStringLiteral("round.quorvex"));

    Window a = NewWindow();
    a->Location->setText(location);
    a->FirstMonth->setCurrentIndex(month);
    a->FirstYear->setCurrentIndex(year);
    a->LastMonth->setCurrentIndex(11 - month);
    a->LastYear->setCurrentIndex(year + 1);
    a->IncludeHighTides->setChecked(!on);
    a->HighTideAbove->setText(text);
    a->HighTideBelow->setText(text + QLatin1Char('1'));
    a->HighTideBefore->setCurrentIndex(hour);
    a->HighTideAfter->setCurrentIndex(23 - hour);
    a->IncludeLowTides->setChecked(!on);
    a->LowTideAbove->setText(QLatin1Char('-') + text);
    a->LowTideBelow->setText(text + QLatin1Char('2'));
    a->LowTideBefore->setCurrentIndex((hour + 5) % 24);
    a->LowTideAfter->setCurrentIndex((hour + 7) % 24);
    a->SunriseSunset->setChecked(on);
    a->MoonriseMoonset->setChecked(!on);
    a->ShowMoonPhases->setChecked(on);
    a->OutputPath->setText(outputPath);
    a->OutputFormat->setCurrentIndex(format);
    QVERIFY(CalendarSettingsFile::SaveFile(*a, file));
    QCOMPARE(a->theFile, file);

    Window b = NewWindow();
    QVERIFY(State(*b) != State(*a));
    QVERIFY(CalendarSettingsFile::OpenFile(*b, file));
    QCOMPARE(State(*b), State(*a));
    QCOMPARE(b->theFile, file);
}

// The byte layout, independent of the writer: a document built byte by byte opens into the
// controls, and saving those controls writes the same bytes.
void tst_CalendarSettingsFile::openingAFixtureWrittenByteByByte() {
    const QString file = Path(QStringLiteral("fixture.quorvex"));
    QCOMPARE(TypicalDocument().size(), 69);
    Write(file, TypicalDocument());
    Window w = NewWindow();
    QVERIFY(CalendarSettingsFile::OpenFile(*w, file));
    QCOMPARE(State(*w), kTypicalState);
    QCOMPARE(w->FirstYear->currentIndex(), 1);  // 2009 in a list that starts at "2008"

    const QString again = Path(QStringLiteral("again.quorvex"));
    QVERIFY(CalendarSettingsFile::SaveFile(*w, again));
    QCOMPARE(ReadAll(again), TypicalDocument());

    // A version 1 document reads exactly alike.
    Window v1 = NewWindow();
    Write(file, TypicalDocument("00000001"));
    QVERIFY(CalendarSettingsFile::OpenFile(*v1, file));
    QCOMPARE(State(*v1), kTypicalState);
}

// A document of the original layout, whose 255-byte texts take one length byte, opens with every
// control set, and Save Settings writes it back byte for byte.
void tst_CalendarSettingsFile::textsOf255BytesInTheOriginalLayout() {
    const QByteArray location = "Seattle, Puget Sound, " + QByteArray(233, 'W');
    const QByteArray path = "/" + QByteArray(250, 'd') + ".xml";
    const QByteArray above = QByteArray(254, '0') + "9";
    QCOMPARE(location.size(), 255);
    QCOMPARE(path.size(), 255);
    QCOMPARE(above.size(), 255);
    const QByteArray bytes = Hex("00000002") + Hex("ff") + location +
                             Hex("0002"
                                 "07d9"
                                 "000a"
                                 "07dc"
                                 "00") +
                             Hex("ff") + above + P("7") +
                             Hex("0012"
                                 "0006"
                                 "01") +
                             P("-1") + P("0.5") +
                             Hex("000c"
                                 "0003"
                                 "01"
                                 "00"
                                 "01") +
                             Hex("ff") + path + Hex("0003");
    const QString file = Path(QStringLiteral("original.quorvex"));
    Write(file, bytes);

    ScriptedDialogs dialogs;
    Window w = NewWindow();
    dialogs.Answer(file);
    QVERIFY(w->FileOpenSettings_Action());
    QCOMPARE(dialogs.messages, QStringList{});
    QStringList expected = kTypicalState;
    expected[0] = QString::fromLatin1(location);
    expected[6] = QString::fromLatin1(above);
    expected[18] = QString::fromLatin1(path);
    QCOMPARE(State(*w), expected);
    QCOMPARE(w->theFile, file);

    QVERIFY(w->FileSaveSettings_Action());
    QCOMPARE(ReadAll(file), bytes);
}

void tst_CalendarSettingsFile::allTextsEmpty() {
    const QByteArray empty =
        Hex("00000002"
            "00"
            "0001"
            "07d9"
            "0002"
            "07da"
            "01"
            "00"
            "00"
            "0003"
            "0004"
            "01"
            "00"
            "00"
            "0005"
            "0006"
            "00"
            "00"
            "00"
            "00"
            "0001");
    QCOMPARE(empty.size(), 33);
    const QString file = Path(QStringLiteral("empty.quorvex"));
    Write(file, empty);
    Window w = NewWindow();
    w->HighTideAbove->setText(QStringLiteral("1"));
    w->HighTideBelow->setText(QStringLiteral("2"));
    w->LowTideAbove->setText(QStringLiteral("3"));
    w->LowTideBelow->setText(QStringLiteral("4"));
    QVERIFY(CalendarSettingsFile::OpenFile(*w, file));
    QCOMPARE(State(*w), (QStringList{"", "1", "2009", "2", "2010", "on",  "",    "", "3", "4", "on",
                                     "", "",  "5",    "6", "off",  "off", "off", "", "1"}));
}

void tst_CalendarSettingsFile::rejected_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("version 0") << TypicalDocument("00000000");
    QTest::newRow("version 3") << TypicalDocument("00000003");
    QTest::newRow("version -1") << TypicalDocument("ffffffff");
    QTest::newRow("too short for a version") << Hex("0000");
    QTest::newRow("empty file") << QByteArray();
}

// A rejected document shows the message and changes neither a control nor theFile.
void tst_CalendarSettingsFile::rejected() {
    QFETCH(QByteArray, bytes);
    ScriptedDialogs dialogs;
    const QString file = Path(QStringLiteral("bad.quorvex"));
    Write(file, bytes);
    Window w = NewWindow();
    w->theFile = QStringLiteral("/earlier.quorvex");
    const QStringList before = State(*w);
    QVERIFY(!CalendarSettingsFile::OpenFile(*w, file));
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Invalid Quorvex settings file")});
    QCOMPARE(State(*w), before);
    QCOMPARE(w->theFile, QStringLiteral("/earlier.quorvex"));
}

void tst_CalendarSettingsFile::damaged_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("expected");  // "*" marks a control left as it was
    const QByteArray doc = TypicalDocument();
    const QString lastYear = YearList::Items().last();
    const auto keep = [](QStringList s, int from) {
        for (int i = from; i < s.size(); ++i) s[i] = QStringLiteral("*");
        return s;
    };
    QTest::newRow("ends inside the location") << doc.left(10) << keep(kTypicalState, 0);
    QTest::newRow("ends after the first year") << doc.left(28) << keep(kTypicalState, 3);
    QTest::newRow("ends inside the output path")
        << doc.left(doc.size() - 4) << keep(kTypicalState, 18);
    QTest::newRow("length byte past the end")
        << Hex("00000002") + P("Somewhere") +
               Hex("0004"
                   "07d8"
                   "0005"
                   "07d9"
                   "01") +
               Hex("40") + "short"
        << QStringList{"Somewhere", "4", "2008", "5", "2009", "on", "*", "*", "*", "*",
                       "*",         "*", "*",    "*", "*",    "*",  "*", "*", "*", "*"};

    QByteArray years = doc;
    years.replace(26, 2, Hex("0400"));  // first year 1024
    years.replace(30, 2, Hex("7fff"));  // last year 32767
    QStringList yearState = kTypicalState;
    yearState[2] = QStringLiteral("2008");
    yearState[4] = lastYear;
    QTest::newRow("years before and after the list") << years << yearState;

    QByteArray swapped = doc;
    swapped.replace(26, 2, Hex("7fff"));  // first year after the list
    swapped.replace(30, 2, Hex("8000"));  // last year before it (negative)
    QStringList swappedState = kTypicalState;
    swappedState[2] = lastYear;
    swappedState[4] = QStringLiteral("2008");
    QTest::newRow("first year after, last year before") << swapped << swappedState;

    QByteArray indexes = doc;
    indexes.replace(24, 2, Hex("000c"));                  // month 12
    indexes.replace(28, 2, Hex("ffff"));                  // month -1
    indexes.replace(39, 2, Hex("0018"));                  // hour 24
    indexes.replace(41, 2, Hex("8000"));                  // hour -32768
    indexes.replace(indexes.size() - 2, 2, Hex("0004"));  // format 4
    QStringList indexState = kTypicalState;
    for (int i : {1, 3, 8, 9, 19}) indexState[i] = QStringLiteral("*");
    QTest::newRow("indexes outside their lists") << indexes << indexState;

    QByteArray booleans = doc;
    booleans[32] = char(0x80);  // include high tides
    QStringList booleanState = kTypicalState;
    booleanState[5] = QStringLiteral("on");
    QTest::newRow("a Boolean of 0x80") << booleans << booleanState;
}

// Damaged documents set what they hold and leave the rest; nothing fails.
void tst_CalendarSettingsFile::damaged() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, expected);
    ScriptedDialogs dialogs;
    const QString file = Path(QStringLiteral("damaged.quorvex"));
    Write(file, bytes);
    Window w = NewWindow();
    // A state unlike the typical document's in every control.
    w->Location->setText(QStringLiteral("Before"));
    w->FirstMonth->setCurrentIndex(7);
    w->FirstYear->setCurrentIndex(4);
    w->LastMonth->setCurrentIndex(8);
    w->LastYear->setCurrentIndex(5);
    w->IncludeHighTides->setChecked(true);
    w->HighTideAbove->setText(QStringLiteral("a"));
    w->HighTideBelow->setText(QStringLiteral("b"));
    w->HighTideBefore->setCurrentIndex(1);
    w->HighTideAfter->setCurrentIndex(2);
    w->IncludeLowTides->setChecked(false);
    w->LowTideAbove->setText(QStringLiteral("c"));
    w->LowTideBelow->setText(QStringLiteral("d"));
    w->LowTideBefore->setCurrentIndex(4);
    w->LowTideAfter->setCurrentIndex(5);
    w->SunriseSunset->setChecked(false);
    w->MoonriseMoonset->setChecked(true);
    w->ShowMoonPhases->setChecked(false);
    w->OutputPath->setText(QStringLiteral("/before"));
    w->OutputFormat->setCurrentIndex(1);
    const QStringList before = State(*w);

    QVERIFY(CalendarSettingsFile::OpenFile(*w, file));
    const QStringList after = State(*w);
    for (int i = 0; i < expected.size(); ++i) {
        const QString want = expected[i] == QLatin1String("*") ? before[i] : expected[i];
        QVERIFY2(
            after[i] == want,
            qPrintable(QStringLiteral("control %1: %2, expected %3").arg(i).arg(after[i], want)));
    }
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(w->theFile, file);
}

// Whatever a document holds, every popup ends with an item selected and no control fails.
void tst_CalendarSettingsFile::corpusOpensInAWindow() {
    ScriptedDialogs dialogs;
    const QDir corpus(QStringLiteral(QUORVEX_TEST_FIXTURES "/settings-corpus"));
    Window w = NewWindow();
    for (const QString& name : corpus.entryList(QDir::Files)) {
        const bool accepted = CalendarSettingsFile::OpenFile(*w, corpus.filePath(name));
        QCOMPARE(accepted, w->theFile == corpus.filePath(name));
        for (const QComboBox* popup :
             {w->FirstMonth, w->FirstYear, w->LastMonth, w->LastYear, w->HighTideBefore,
              w->HighTideAfter, w->LowTideBefore, w->LowTideAfter, w->OutputFormat})
            QVERIFY2(popup->currentIndex() >= 0 && popup->currentIndex() < popup->count(),
                     qPrintable(name + QLatin1Char(' ') + popup->objectName()));
    }
    QVERIFY(!dialogs.messages.isEmpty());  // the corpus holds rejected versions
}

void tst_CalendarSettingsFile::openingLeavesTheRestAlone() {
    const QString file = Path(QStringLiteral("fixture.quorvex"));
    Write(file, TypicalDocument());
    Window w = NewWindow();
    w->LocationList->addItems({QStringLiteral("One"), QStringLiteral("Two")});
    w->LocationList->setCurrentIndex(1);
    w->SearchField->setText(QStringLiteral("sea"));
    w->Status->setText(QStringLiteral("Listing"));
    QVERIFY(CalendarSettingsFile::OpenFile(*w, file));
    QCOMPARE(w->LocationList->currentIndex(), 1);
    QCOMPARE(w->LocationList->count(), 2);
    QCOMPARE(w->SearchField->text(), QStringLiteral("sea"));
    QCOMPARE(w->Status->text(), QStringLiteral("Listing"));
    QVERIFY(!w->updating);

    // A missing file changes nothing, silently.
    ScriptedDialogs dialogs;
    w->theFile = file;
    QVERIFY(!CalendarSettingsFile::OpenFile(*w, Path(QStringLiteral("none.quorvex"))));
    QCOMPARE(w->theFile, file);
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_CalendarSettingsFile::suggestedNames_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("name");
    QTest::newRow("place, region") << "Alameda, California"
                                   << "Alameda.quorvex";
    QTest::newRow("fresh window") << "No Location Specified"
                                  << "No Location Specified.quorvex";
    QTest::newRow("empty") << ""
                           << "Saved Settings.quorvex";
    QTest::newRow("long without a comma") << "Golden Gate Bridge Approach Channel"
                                          << "Golden Gate Bridge Appr.quorvex";
    QTest::newRow("comma first") << ",Golden Gate Bridge Approach"
                                 << ",Golden Gate Bridge App.quorvex";
    QTest::newRow("one character before the comma") << "X, Y"
                                                    << "X.quorvex";
    QTest::newRow("exactly 23 characters") << "Twenty-three characters"
                                           << "Twenty-three characters.quorvex";
    QTest::newRow("long place before the comma") << "San Francisco Bay Entrance Outside, California"
                                                 << "San Francisco Bay Entrance Outside.quorvex";
}

void tst_CalendarSettingsFile::suggestedNames() {
    QFETCH(QString, location);
    QFETCH(QString, name);
    QCOMPARE(CalendarSettingsFile::SuggestedName(location), name);
}

void tst_CalendarSettingsFile::saveSettingsAs() {
    ScriptedDialogs dialogs;
    Window w = NewWindow();
    w->Location->setText(QStringLiteral("Alameda, California"));
    QVERIFY(CalendarSettingsFile::FileSaveSettingsAs_Action(*w));  // cancelled
    QVERIFY(w->theFile.isEmpty());
    QCOMPARE(dialogs.requests.size(), 1);
    const DialogRequest r = dialogs.requests[0];
    QCOMPARE(int(r.kind), int(DialogRequest::Kind::SaveAs));
    QCOMPARE(r.title, QStringLiteral("Save the Quorvex Settings"));
    QCOMPARE(r.prompt, QStringLiteral("Specify a file for saving the Quorvex settings"));
    QCOMPARE(r.suggestedName, QStringLiteral("Alameda.quorvex"));
    QCOMPARE(r.nameFilter, QString());

    const QString file = Path(QStringLiteral("Alameda.quorvex"));
    dialogs.Answer(file);
    QVERIFY(CalendarSettingsFile::FileSaveSettingsAs_Action(*w));
    QCOMPARE(w->theFile, file);
    QVERIFY(ReadAll(file).startsWith(Hex("00000002") + P("Alameda, California")));
}

void tst_CalendarSettingsFile::saveSettingsAsksOnceThenWrites() {
    ScriptedDialogs dialogs;
    const QString file = Path(QStringLiteral("s.quorvex"));
    dialogs.Answer(file);
    Window w = NewWindow();
    w->Location->setText(QStringLiteral("First"));
    QVERIFY(CalendarSettingsFile::FileSaveSettings_Action(*w));
    QCOMPARE(dialogs.requests.size(), 1);
    QCOMPARE(w->theFile, file);

    w->Location->setText(QStringLiteral("Second"));
    QVERIFY(CalendarSettingsFile::FileSaveSettings_Action(*w));
    QCOMPARE(dialogs.requests.size(), 1);
    QVERIFY(ReadAll(file).startsWith(Hex("00000002") + P("Second")));

    // After an open, Save Settings writes to the opened document.
    const QString opened = Path(QStringLiteral("opened.quorvex"));
    Write(opened, TypicalDocument());
    Window other = NewWindow();
    QVERIFY(CalendarSettingsFile::OpenFile(*other, opened));
    other->HighTideAbove->setText(QStringLiteral("9"));
    QVERIFY(CalendarSettingsFile::FileSaveSettings_Action(*other));
    QCOMPARE(dialogs.requests.size(), 1);
    QVERIFY(ReadAll(opened).contains(P("9") + P("7")));
}

// A document that cannot be written (a folder that cannot hold it, a disk that fills up) is
// reported with its path; an earlier document of that name and theFile stay as they were.
void tst_CalendarSettingsFile::saveFailureIsReported_data() {
    QTest::addColumn<QString>("command");  // "Save Settings As" or "Save Settings"
    QTest::addColumn<bool>("diskFull");    // else the path lies under a plain file
    QTest::newRow("Save Settings As, no such folder") << "Save Settings As" << false;
    QTest::newRow("Save Settings As, disk full") << "Save Settings As" << true;
    QTest::newRow("Save Settings, disk full") << "Save Settings" << true;
}

void tst_CalendarSettingsFile::saveFailureIsReported() {
    QFETCH(QString, command);
    QFETCH(bool, diskFull);
    ScriptedDialogs dialogs;
    const QString blocker = Path(QStringLiteral("plain file"));
    Write(blocker, "x");
    const QString target =
        diskFull ? Path(QStringLiteral("kept.quorvex")) : blocker + QStringLiteral("/x.quorvex");
    const QByteArray earlier = TypicalDocument();
    if (diskFull) Write(target, earlier);
    Window w = NewWindow();
    w->Location->setText(QStringLiteral("A location long enough not to fit"));
    const bool saveAs = command == QLatin1String("Save Settings As");
    const QString before = saveAs ? QStringLiteral("/earlier.quorvex") : target;
    w->theFile = before;
    if (saveAs) dialogs.Answer(target);
    {
        FileSizeLimit limit(diskFull ? 16 : RLIM_INFINITY);
        QVERIFY(limit.isValid());
        QVERIFY(saveAs ? CalendarSettingsFile::FileSaveSettingsAs_Action(*w)
                       : CalendarSettingsFile::FileSaveSettings_Action(*w));
    }
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Unable to save to file ") + target});
    QCOMPARE(w->theFile, before);
    QCOMPARE(ReadAll(blocker), QByteArray("x"));
    if (diskFull) QCOMPARE(ReadAll(target), earlier);
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden),
             diskFull ? (QStringList{"kept.quorvex", "plain file"}) : QStringList{"plain file"});
}

void tst_CalendarSettingsFile::openSettings() {
    ScriptedDialogs dialogs;
    const QString documents = Folders::Documents();
    QVERIFY(!documents.isEmpty());
    QVERIFY(QDir().mkpath(documents));
    Window w = NewWindow();
    QVERIFY(CalendarSettingsFile::FileOpenSettings_Action(*w));  // cancelled
    QCOMPARE(dialogs.requests.size(), 1);
    const DialogRequest r = dialogs.requests[0];
    QCOMPARE(int(r.kind), int(DialogRequest::Kind::Open));
    QCOMPARE(r.title, QStringLiteral("Open a saved Quorvex settings file"));
    QCOMPARE(r.prompt, QStringLiteral("Specify the Quorvex settings file to open"));
    QVERIFY2(r.nameFilter.contains(QStringLiteral("*.quorvex")), qPrintable(r.nameFilter));
    QVERIFY(!r.nameFilter.contains(QStringLiteral("tidehtml")));
    QCOMPARE(QFileInfo(r.initialDirectory).canonicalFilePath(),
             QFileInfo(documents).canonicalFilePath());
    QVERIFY(w->theFile.isEmpty());

    const QString file = Path(QStringLiteral("open.quorvex"));
    Write(file, TypicalDocument());
    dialogs.Answer(file);
    QVERIFY(CalendarSettingsFile::FileOpenSettings_Action(*w));
    QCOMPARE(State(*w), kTypicalState);
    QCOMPARE(w->theFile, file);
}

QUORVEX_TEST_MAIN(tst_CalendarSettingsFile)
#include "tst_CalendarSettingsFile.moc"
