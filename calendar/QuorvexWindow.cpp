// QuorvexWindow  The calendar window: its controls, its commands and the calendar run.
#include "calendar/QuorvexWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include "calendar/CalendarSettingsFile.h"
#include "calendar/CalendarWriter.h"
#include "calendar/EventFilter.h"
#include "calendar/LocationPicker.h"
#include "calendar/MonthChain.h"
#include "calendar/MonthList.h"
#include "calendar/RunClaimant.h"
#include "calendar/TideOutputReader.h"
#include "calendar/TideRunCheck.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "engine/LocationGetter.h"
#include "engine/TideCommand.h"
#include "htmltables/GenerateHTML.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/FullWrite.h"
#include "platform/PathButton.h"
#include "platform/Text.h"
#include "platform/YieldPacer.h"

namespace {

const char* const kTitle = "Quorvex - Tides for iCal, RSS, HTML";
const char* const kNoLocation = "No Location Specified";
const char* const kNoOutputPath = "No Output Path Specified";
const char* const kNoLocationMessage = "No tide location was specified - choose a tide station";
const char* const kUnableToSave = "Unable to save to file ";
const char* const kUnableToWrite = "Unable to write to file ";
const char* const kOutputDialogTitle = "Output file dialog";
const char* const kOutputDialogPrompt = "Select the output file";

const char* const kHours[] = {"midnight", "1 AM", "2 AM", "3 AM", "4 AM",  "5 AM",
                              "6 AM",     "7 AM", "8 AM", "9 AM", "10 AM", "11 AM",
                              "noon",     "1 PM", "2 PM", "3 PM", "4 PM",  "5 PM",
                              "6 PM",     "7 PM", "8 PM", "9 PM", "10 PM", "11 PM"};
const char* const kFormats[] = {"iCal", "Palm Desktop", "Comma Separated Text", "RSS"};

template <std::size_t N>
QStringList Items(const char* const (&texts)[N]) {
    QStringList list;
    for (const char* t : texts) list << QString::fromLatin1(t);
    return list;
}

// Places a control at its position; the height grows where the widget cannot show its text in
// the given one (a 20-pixel popup with 12-point text).
void Place(QWidget* w, int left, int top, int width, int height) {
    int needed = qobject_cast<QLabel*>(w) ? w->fontMetrics().height() : w->sizeHint().height();
    w->setGeometry(left, top, width, std::max(height, needed));
}

// The layout's text sizes are points of a 72-dpi screen, one pixel each: at 96 dpi a 12-point
// text would not fit the layout's widths ("Time Period From", "December", "midnight").
void SetPoints(QWidget* w, int points) {
    QFont f = w->font();
    f.setPixelSize(points);
    w->setFont(f);
}

}  // namespace

QuorvexWindow::QuorvexWindow(OpenMode mode) {
    setAttribute(Qt::WA_DeleteOnClose);
    Layout();
    CreateControls();
    AddMenuHandlers();
    // Not resizable: the content area and the menu bar above it.
    setFixedSize(sizeHint());
    show();
    if (mode == OpenMode::Now) Open();
}

QuorvexWindow::~QuorvexWindow() {
    if (App* app = App::Instance(); app && app->reportTo == this) app->reportTo = nullptr;
    StopRun();
}

void QuorvexWindow::Open() {
    if (opened) return;
    opened = true;
    Event_Open();
}

// ---------------------------------------------------------------------------------------------
// Building the window

void QuorvexWindow::Layout() {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    central = new QWidget(this);
    central->setObjectName(QStringLiteral("QuorvexWindowContent"));
    central->setFixedSize(628, 436);
    setCentralWidget(central);
}

void QuorvexWindow::CreateControls() {
    CreateControls0();
    CreateControls1();
}

namespace {

template <class W>
W* Make(QWidget* parent, const char* name, int points) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    SetPoints(w, points);
    return w;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, Qt::Alignment align,
                  int points, int left, int top, int width, int height) {
    auto* label = Make<QLabel>(parent, name, points);
    label->setText(QString::fromLatin1(text));
    label->setAlignment(align | Qt::AlignVCenter);
    Place(label, left, top, width, height);
    return label;
}

QComboBox* MakePopup(QWidget* parent, const char* name, const QStringList& items, int selected,
                     int left, int top, int width, int height) {
    auto* popup = Make<QComboBox>(parent, name, 12);
    popup->addItems(items);
    popup->setCurrentIndex(selected);
    Place(popup, left, top, width, height);
    return popup;
}

QLineEdit* MakeField(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* field = Make<QLineEdit>(parent, name, 12);
    Place(field, left, top, width, height);
    return field;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const char* text, bool checked, int left,
                     int top, int width, int height) {
    auto* box = Make<QCheckBox>(parent, name, 12);
    box->setText(QString::fromLatin1(text));
    box->setChecked(checked);
    Place(box, left, top, width, height);
    return box;
}

template <class B = QPushButton>
B* MakeButton(QWidget* parent, const char* name, const char* text, int points, int left, int top,
              int width, int height) {
    auto* button = Make<B>(parent, name, points);
    button->setText(QString::fromLatin1(text));
    button->setAutoDefault(false);
    button->setDefault(false);
    Place(button, left, top, width, height);
    return button;
}

}  // namespace

void QuorvexWindow::CreateControls0() {
    QWidget* c = central;
    const Qt::Alignment left = Qt::AlignLeft, right = Qt::AlignRight;
    LocationList = MakePopup(c, "LocationList", {}, -1, 20, 66, 220, 20);
    LocationList->setEnabled(false);
    StaticText1 = MakeLabel(c, "StaticText1", "Location", left, 12, 20, 10, 100, 20);
    StaticText2 = MakeLabel(c, "StaticText2", "Time Period From", left, 12, 20, 129, 115, 20);
    FirstMonth = MakePopup(c, "FirstMonth", MonthList::Items(), 0, 20, 149, 91, 20);
    FirstYear = MakePopup(c, "FirstYear", YearList::Items(), 0, 127, 149, 80, 20);
    StaticText3 = MakeLabel(c, "StaticText3", "To", left, 12, 93, 173, 51, 20);
    LastMonth = MakePopup(c, "LastMonth", MonthList::Items(), 11, 20, 191, 91, 20);
    LastYear = MakePopup(c, "LastYear", YearList::Items(), 0, 127, 191, 80, 20);
    StaticText4 = MakeLabel(c, "StaticText4", "High Tide", left, 12, 294, 24, 100, 20);
    StaticText5 = MakeLabel(c, "StaticText5", "Above", right, 12, 294, 49, 60, 20);
    StaticText6 = MakeLabel(c, "StaticText6", "Below", right, 12, 294, 80, 60, 20);
    HighTideAbove = MakeField(c, "HighTideAbove", 361, 48, 52, 22);
    HighTideBelow = MakeField(c, "HighTideBelow", 361, 79, 52, 22);
    StaticText8 = MakeLabel(c, "StaticText8", "After", right, 12, 433, 48, 40, 20);
    StaticText7 = MakeLabel(c, "StaticText7", "Before", right, 12, 433, 80, 40, 20);
    HighTideBefore = MakePopup(c, "HighTideBefore", Items(kHours), 0, 485, 81, 95, 20);
    HighTideAfter = MakePopup(c, "HighTideAfter", Items(kHours), 0, 485, 49, 95, 20);
    StaticText9 = MakeLabel(c, "StaticText9", "Low Tide", left, 12, 294, 121, 100, 20);
    StaticText10 = MakeLabel(c, "StaticText10", "Above", right, 12, 294, 146, 60, 20);
    StaticText11 = MakeLabel(c, "StaticText11", "Below", right, 12, 294, 177, 60, 20);
    LowTideAbove = MakeField(c, "LowTideAbove", 361, 145, 52, 22);
    LowTideBelow = MakeField(c, "LowTideBelow", 361, 176, 52, 22);
    StaticText12 = MakeLabel(c, "StaticText12", "After", right, 12, 433, 145, 40, 20);
    StaticText13 = MakeLabel(c, "StaticText13", "Before", right, 12, 433, 177, 40, 20);
    LowTideBefore = MakePopup(c, "LowTideBefore", Items(kHours), 0, 485, 178, 95, 20);
    LowTideAfter = MakePopup(c, "LowTideAfter", Items(kHours), 0, 485, 146, 95, 20);
    StaticText14 = MakeLabel(c, "StaticText14", "Output To", right, 12, 31, 294, 100, 20);
    StaticText15 = MakeLabel(c, "StaticText15", "Output Format", right, 12, 143, 326, 100, 20);
    OutputFormat = MakePopup(c, "OutputFormat", Items(kFormats), 0, 264, 326, 146, 20);
    ComputeButton = MakeButton(c, "ComputeButton", "Compute Tides", 12, 285, 396, 120, 20);
    connect(ComputeButton, &QPushButton::clicked, this, [this] { ComputeButton_Action(); });
}

void QuorvexWindow::CreateControls1() {
    QWidget* c = central;
    PushButton2 = MakeButton(c, "PushButton2", "Quit", 12, 511, 396, 69, 20);
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Action(); });
    SearchField = MakeField(c, "SearchField", 98, 40, 142, 20);
    SearchField->setEnabled(false);
    StaticText16 = MakeLabel(c, "StaticText16", "Search For", Qt::AlignRight, 12, 20, 39, 71, 20);
    Location = MakeLabel(c, "Location", kNoLocation, Qt::AlignHCenter, 12, 20, 93, 220, 20);
    SunriseSunset =
        MakeCheck(c, "SunriseSunset", "Include Sunrise and Sunset", false, 294, 213, 240, 20);
    MoonriseMoonset =
        MakeCheck(c, "MoonriseMoonset", "Include Moonrise and Moonset", false, 294, 235, 240, 20);
    Status = MakeLabel(c, "Status", "", Qt::AlignHCenter, 14, 20, 358, 588, 26);
    ShowMoonPhases =
        MakeCheck(c, "ShowMoonPhases", "Include Phases of the Moon", false, 294, 258, 240, 20);
    IncludeHighTides =
        MakeCheck(c, "IncludeHighTides", "Include High Tides", true, 361, 24, 200, 20);
    IncludeLowTides = MakeCheck(c, "IncludeLowTides", "Include Low Tides", true, 361, 121, 200, 20);
    StaticText17 = MakeLabel(c, "StaticText17", "v19", Qt::AlignLeft, 9, 606, 421, 22, 12);
    OutputPath = MakeButton<PathButton>(c, "OutputPath", kNoOutputPath, 10, 143, 294, 437, 20);
    connect(OutputPath, &QPushButton::clicked, this, [this] { OutputPath_Action(); });

    GetLocationsShell = new LocationGetter(this);
    GetLocationsShell->setObjectName(QStringLiteral("GetLocationsShell"));
    connect(GetLocationsShell, &LocationGetter::Error, this,
            [this](const QString& m) { GetLocationsShell_Error(m); });
    connect(GetLocationsShell, &LocationGetter::Progress, this,
            [this](const QString& m) { GetLocationsShell_Progress(m); });
    connect(GetLocationsShell, &LocationGetter::HaveLocations, this,
            [this] { GetLocationsShell_HaveLocations(); });

    // The picker binds the popup's choice and the search field's keys.
    picker = new LocationPicker(this, LocationList, SearchField, Location, updating);

    // Tab order follows the order of creation.
    QList<QWidget*> order;
    for (QObject* o : central->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && w->focusPolicy() & Qt::TabFocus) order << w;
    for (int i = 1; i < order.size(); ++i) setTabOrder(order.at(i - 1), order.at(i));
}

void QuorvexWindow::AddMenuHandlers() {
    AddMenuHandler(QStringLiteral("FileClose"), [this] { return FileClose_Action(); });
    AddMenuHandler(QStringLiteral("FileOpenSettings"),
                   [this] { return FileOpenSettings_Action(); });
    AddMenuHandler(QStringLiteral("FileSaveSettingsAs"),
                   [this] { return FileSaveSettingsAs_Action(); });
    AddMenuHandler(QStringLiteral("FileSaveSettings"),
                   [this] { return FileSaveSettings_Action(); });
    AddMenuHandler(QStringLiteral("GenerateHTMLTables"),
                   [this] { return GenerateHTMLTables_Action(); });
}

void QuorvexWindow::Event_EnableMenuItems() {
    EnableMenuItem(QStringLiteral("GenerateHTMLTables"));
    EnableMenuItem(QStringLiteral("FileOpenSettings"));
    EnableMenuItem(QStringLiteral("FileSaveSettings"));
    EnableMenuItem(QStringLiteral("FileSaveSettingsAs"));
    EnableMenuItem(QStringLiteral("FileClose"));
}

void QuorvexWindow::Event_Open() {
    const int year = QDate::currentDate().year();
    FirstYear->setCurrentIndex(YearList::IndexOf(year, FirstYear));
    LastYear->setCurrentIndex(YearList::IndexOf(year, LastYear));
    GetLocations();
}

void QuorvexWindow::PushButton2_Action() { App::Quit(); }

bool QuorvexWindow::FileClose_Action() {
    close();
    return true;
}

void QuorvexWindow::closeEvent(QCloseEvent* e) {
    StopRun();
    MenuWindow::closeEvent(e);
}

// ---------------------------------------------------------------------------------------------
// Location picker and listing hand-over

void QuorvexWindow::SetupLocations() { picker->SetupLocations(); }

void QuorvexWindow::LocationList_Change() { picker->LocationList_Change(); }

bool QuorvexWindow::SearchField_KeyDown(const QString& key) {
    return picker->SearchField_KeyDown(key);
}

void QuorvexWindow::GetLocations() {
    if (App* app = App::Instance()) GetLocationsShell->GetLocations(app->xtideFolder);
}

void QuorvexWindow::GetLocationsShell_Error(const QString& message) {
    Status->setText(message);
    Status->repaint();
}

void QuorvexWindow::GetLocationsShell_Progress(const QString& message) {
    Status->setText(message);
    Status->repaint();
}

void QuorvexWindow::GetLocationsShell_HaveLocations() {
    QPointer<QuorvexWindow> self(this);
    const QStringList names = GetLocationsShell->locations;
    App* app = App::Instance();
    if (!app) return;
    app->nlocations = int(names.size());
    app->locations = QStringList();
    app->locations.reserve(names.size());
    YieldPacer pacer;
    for (const QString& name : names) {
        app->locations.append(name);
        pacer.Step();
        if (!self) return;
    }
    SetupLocations();
    if (!self) return;
    LocationList->setEnabled(true);
    SearchField->setEnabled(true);
}

// ---------------------------------------------------------------------------------------------
// The calendar run

QString QuorvexWindow::AskForOutputPath() {
    DialogRequest request;
    request.kind = DialogRequest::Kind::SaveAs;
    request.title = QString::fromLatin1(kOutputDialogTitle);
    const QString location = Location->text();
    const int comma = Text::InStr(location, QStringLiteral(","));
    QString extension = QStringLiteral(".txt");
    if (Text::Same(OutputFormat->currentText(), QStringLiteral("iCal")))
        extension = QStringLiteral(".ics");
    else if (Text::Same(OutputFormat->currentText(), QStringLiteral("RSS")))
        extension = QStringLiteral(".xml");
    if (comma > 1)
        request.suggestedName = Text::Left(location, comma - 1) + extension;
    else
        request.suggestedName = Text::Left(location, 27) + extension;
    request.prompt = QString::fromLatin1(kOutputDialogPrompt);
    return Dialogs::Run(request, this);
}

void QuorvexWindow::OutputPath_Action() {
    const QString path = AskForOutputPath();
    if (!path.isEmpty()) OutputPath->setText(path);
}

void QuorvexWindow::ComputeButton_Action() {
    if (running) return;  // one run at a time; the button is disabled meanwhile
    if (Text::Same(Location->text(), QString::fromLatin1(kNoLocation))) {
        Dialogs::MsgBox(QString::fromLatin1(kNoLocationMessage), this);
        return;
    }
    if (Text::Same(OutputPath->text(), QStringLiteral("No output path specified"))) {
        QPointer<QuorvexWindow> self(this);
        const QString chosen = AskForOutputPath();
        if (!self || chosen.isEmpty()) return;
        OutputPath->setText(chosen);
    }
    const QString caption = OutputPath->text();
    const QString path = Folders::GetFolderItem(caption);
    if (path.isEmpty()) {
        Dialogs::MsgBox(QString::fromLatin1(kUnableToSave) + caption, this);
        return;
    }
    // A file that another run is writing, in this process or another, is left as it is.
    ClaimedFile::Result claimed =
        ClaimedFile::Open(path, RunClaimant::For(RunClaimant::CalendarRun, this));
    if (!claimed.file) {
        Dialogs::MsgBox(QString::fromLatin1(kUnableToSave) + QFileInfo(path).absoluteFilePath() +
                            RunClaimant::Cause(claimed, this),
                        this);
        return;
    }
    outputFile = std::move(claimed.file);
    outputName = path;
    edge.Clear();
    outputHere = std::make_unique<CalendarWriter>(outputFile->File());
    // The whole file is written in the format the run starts with.
    runFormat = OutputFormat->currentText();
    SetRunning(true);
    if (!outputHere->WriteHeader(runFormat, Location->text())) {
        FailRun(WriteFailure());
        return;
    }
    const int year = Text::ToInt32(Text::Val(FirstYear->currentText()));
    ComputeTidesFor(FirstMonth->currentIndex() + 1, year);
}

void QuorvexWindow::ComputeTidesFor(int month, int year) {
    App* app = App::Instance();
    const QString command =
        TideCommand::Build(app ? app->xtideFolder : QString(), Location->text(), month, year);
    thisYear = year;
    thisMonth = month;
    // The previous month's getter may still be inside its completion call: release it later.
    if (tideShell) tideShell->deleteLater();
    tideShell = new TideGetter(this);
    tideShell->SetReportTo(this);
    if (app) app->reportTo = this;
    tideShell->Execute(command);
}

FilterSettings QuorvexWindow::ReadFilterSettings() const {
    FilterSettings s;
    s.sunriseSunset = SunriseSunset->isChecked();
    s.moonriseMoonset = MoonriseMoonset->isChecked();
    s.showMoonPhases = ShowMoonPhases->isChecked();
    s.includeHighTides = IncludeHighTides->isChecked();
    s.highTideAbove = HighTideAbove->text();
    s.highTideBelow = HighTideBelow->text();
    s.highTideBefore = HighTideBefore->currentIndex();
    s.highTideAfter = HighTideAfter->currentIndex();
    s.includeLowTides = IncludeLowTides->isChecked();
    s.lowTideAbove = LowTideAbove->text();
    s.lowTideBelow = LowTideBelow->text();
    s.lowTideBefore = LowTideBefore->currentIndex();
    s.lowTideAfter = LowTideAfter->currentIndex();
    return s;
}

QString QuorvexWindow::WriteFailure() const {
    // The file the run writes, whatever the caption shows by now.
    QString message =
        QString::fromLatin1(kUnableToWrite) + (outputFile ? outputName : OutputPath->text());
    if (outputHere && !outputHere->ErrorString().isEmpty())
        message += QStringLiteral(": ") + outputHere->ErrorString();
    else if (outputFile && outputFile->File()->error() != QFileDevice::NoError)
        message += QStringLiteral(": ") + outputFile->File()->errorString();
    return message;
}

void QuorvexWindow::Completed() {
    TideGetter* shell = tideShell;
    if (!running || !outputHere || !shell) return;  // a run that was stopped meanwhile
    QPointer<QuorvexWindow> self(this);
    const int run = runSerial;

    const QString mm = Text::Format(thisMonth, QStringLiteral("00"));
    const QString yyyy = Text::Format(thisYear, QStringLiteral("0000"));
    Status->setText(mm + QStringLiteral("/") + yyyy + QStringLiteral(" computed"));
    Status->repaint();

    const TideRunResult check = TideRunCheck::Check(*shell);
    if (check.failed) {
        FailRun(check.message);
        return;
    }

    TideOutputReader reader(TideOutputReader::OutputText(shell->ReadAll()));
    const QString prefix = TideOutputReader::MonthPrefix(thisYear, thisMonth);
    edge.BeginMonth(thisMonth, thisYear);
    outputHere->BeginMonth();
    YieldPacer pacer;
    QString line;
    while (reader.NextLine(&line)) {
        if (const auto event = TideOutputReader::ReadLine(line, prefix);
            event && !edge.RecordAndCheckRepeat(line, *event)) {
            if (EventFilter::Wanted(*event, ReadFilterSettings()) &&
                !outputHere->WriteEvent(runFormat, thisYear, thisMonth, event->day, event->hour,
                                        event->minute, event->eventText, event->zone)) {
                FailRun(WriteFailure());
                return;
            }
        }
        pacer.Step();
        // The window may have been closed, or its run stopped, while events were handled.
        if (!self || !running || runSerial != run) return;
    }
    // The month's entries reach the file together: a refused write stops the run here at the
    // latest.
    if (!outputHere->EndMonth()) {
        FailRun(WriteFailure());
        return;
    }

    MonthChain::Next(thisMonth, thisYear);
    const int lastYear = Text::ToInt32(Text::Val(LastYear->currentText()));
    const int lastMonth = LastMonth->currentIndex() + 1;
    if (MonthChain::WithinPeriod(thisMonth, thisYear, lastMonth, lastYear)) {
        ComputeTidesFor(thisMonth, thisYear);
        return;
    }

    const bool written =
        outputHere->WriteFooter(runFormat) && FullWrite::Flush(*outputFile->File());
    if (!written) {
        FailRun(WriteFailure());
        return;
    }
    // A file system that writes later reports its failure at the close: not "Done" then.
    if (!outputFile->Close()) {
        FailRun(QString::fromLatin1(kUnableToWrite) + outputName + QStringLiteral(": ") +
                outputFile->CloseError());
        return;
    }
    outputHere.reset();
    outputFile.reset();
    SetRunning(false);
    Status->setText(QStringLiteral("Done"));
}

void QuorvexWindow::StopRun() {
    if (tideShell) {
        tideShell->Kill();
        tideShell->deleteLater();
        tideShell = nullptr;
    }
    outputHere.reset();
    outputFile.reset();
    SetRunning(false);
}

void QuorvexWindow::FailRun(const QString& message) {
    StopRun();
    Dialogs::MsgBox(message, this);
}

void QuorvexWindow::SetRunning(bool on) {
    if (running != on) ++runSerial;
    running = on;
    if (ComputeButton) ComputeButton->setEnabled(!on);
    if (OutputFormat) OutputFormat->setEnabled(!on);
}

// ---------------------------------------------------------------------------------------------
// Settings documents and the hand-off to the HTML generator

void QuorvexWindow::OpenFile(const QString& item) { CalendarSettingsFile::OpenFile(*this, item); }
void QuorvexWindow::SaveFile(const QString& item) { CalendarSettingsFile::SaveFile(*this, item); }
void QuorvexWindow::DoSaveSettingsAs() { CalendarSettingsFile::DoSaveSettingsAs(*this); }

bool QuorvexWindow::FileOpenSettings_Action() {
    return CalendarSettingsFile::FileOpenSettings_Action(*this);
}
bool QuorvexWindow::FileSaveSettingsAs_Action() {
    return CalendarSettingsFile::FileSaveSettingsAs_Action(*this);
}
bool QuorvexWindow::FileSaveSettings_Action() {
    return CalendarSettingsFile::FileSaveSettings_Action(*this);
}

bool QuorvexWindow::GenerateHTMLTables_Action() {
    auto* generator = new GenerateHTML();
    QPointer<GenerateHTML> target(generator);
    QPointer<QuorvexWindow> self(this);
    // Filling the list and selecting a popup item yield: either window may be closed meanwhile,
    // and the hand-off then ends where it is.
    auto bothOpen = [&] { return target && self; };
    generator->SetupLocations();
    if (!bothOpen()) return true;
    generator->FirstMonth->setCurrentIndex(FirstMonth->currentIndex());
    generator->FirstYear->setCurrentIndex(FirstYear->currentIndex());
    generator->LastMonth->setCurrentIndex(LastMonth->currentIndex());
    generator->LastYear->setCurrentIndex(LastYear->currentIndex());
    generator->SetPopupMenu(generator->DaylightMarginMenu, QStringLiteral("2 hours"));
    if (!bothOpen()) return true;
    generator->SetPopupMenu(generator->MaximumHeightMenu,
                            LowTideBelow->text() + QStringLiteral(" ft"));
    if (!bothOpen()) return true;
    generator->Location->setText(Location->text());
    const QFileInfo output(OutputPath->text());
    if (output.isAbsolute() && !output.fileName().isEmpty())
        generator->OutputPath->setText(output.absolutePath());
    return true;
}
