// GenerateHTML  The HTML tide table generator window: its controls, its commands and the run that
// writes one page a month into the output folder.
#include "htmltables/GenerateHTML.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>

#include "calendar/LocationPicker.h"
#include "calendar/MonthChain.h"
#include "calendar/MonthList.h"
#include "calendar/RunClaimant.h"
#include "calendar/TideOutputReader.h"
#include "calendar/TideRunCheck.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "engine/TideCommand.h"
#include "htmltables/GeneratorSettingsFile.h"
#include "htmltables/PageStream.h"
#include "htmltables/TideTableMonth.h"
#include "htmltables/TideTablePage.h"
#include "platform/ClaimedFile.h"
#include "platform/Dialogs.h"
#include "platform/Folders.h"
#include "platform/FullWrite.h"
#include "platform/OutputFileClaim.h"
#include "platform/PathButton.h"
#include "platform/Text.h"
#include "platform/YieldPacer.h"

namespace {

const char* const kNoLocation = "No Location Specified";
const char* const kNoOutputPath = "No Output Path Specified";
const char* const kUnableToOutput = "Unable to output to file ";

const char* const kMargins[] = {"none",    "30 minutes",  "1 hour", "1 1/2 minutes",
                                "2 hours", "2 1/2 hours", "3 hours"};
const char* const kHeights[] = {"0 ft", "0.5 ft", "1 ft", "1.5 ft", "2 ft", "2.5 ft",
                                "3 ft", "3.5 ft", "4 ft", "4.5 ft", "5 ft"};

QStringList Items(const char* const* texts, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i) list << QString::fromLatin1(texts[i]);
    return list;
}

// A file of the run that refused what was written to it, with the system's reason.
QString WriteFailure(const QString& path, const QString& reason) {
    return QString::fromLatin1(kUnableToOutput) + path + QStringLiteral(": ") + reason;
}

// The year a year popup shows, as its selected text reads.
int YearOf(const QComboBox* popup) { return Text::ToInt32(Text::Val(popup->currentText())); }

}  // namespace

GenerateHTML::GenerateHTML() {
    setAttribute(Qt::WA_DeleteOnClose);
    Layout();
    CreateControls();
    AddMenuHandlers();
    Event_Open();
    show();
}

GenerateHTML::~GenerateHTML() {
    EndRun();
    // The picker filters the search field's events: let it go before the controls do.
    delete picker;
    picker = nullptr;
    // The getter may be inside its own completion call right now; let it return first.
    if (tideShell) tideShell->deleteLater();
}

void GenerateHTML::Layout() {
    setWindowTitle(QStringLiteral("Generate HTML"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    central = new QWidget(this);
    central->setFixedSize(565, 352);
    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void GenerateHTML::CreateControls() { CreateControls0(); }

void GenerateHTML::CreateControls0() {
    // Places a control at its position; a height too small for its text grows as little as
    // needed. Text sizes are points of a 72-dpi screen, so one point is one pixel here; a size
    // of 0 keeps the standard size.
    auto place = [this](QWidget* w, const char* name, int pointSize, int left, int top, int width,
                        int height) {
        w->setObjectName(QString::fromLatin1(name));
        if (pointSize > 0) {
            QFont f = w->font();
            f.setPixelSize(pointSize);
            w->setFont(f);
        }
        const int needed = w->minimumSizeHint().height();
        w->setGeometry(left, top, width, needed > height ? needed : height);
    };
    auto label = [&](const char* name, const char* text, int size, int l, int t, int w, int h,
                     Qt::Alignment align) {
        auto* s = new QLabel(QString::fromUtf8(text), central);
        s->setAlignment(align | Qt::AlignVCenter);
        place(s, name, size, l, t, w, h);
        return s;
    };
    auto popup = [&](const char* name, const QStringList& items, int index, int size, int l, int t,
                     int w, int h) {
        auto* p = new QComboBox(central);
        p->addItems(items);
        p->setCurrentIndex(index);
        place(p, name, size, l, t, w, h);
        return p;
    };
    auto button = [&](const char* name, const char* caption, int size, int l, int t, int w, int h) {
        auto* b = new QPushButton(QString::fromUtf8(caption), central);
        b->setAutoDefault(false);
        place(b, name, size, l, t, w, h);
        return b;
    };
    const QStringList months = MonthList::Items();

    LocationList = popup("LocationList", {}, -1, 12, 33, 70, 220, 20);
    StaticText1 = label("StaticText1", "Location", 12, 33, 14, 100, 20, Qt::AlignLeft);
    SearchField = new QLineEdit(central);
    place(SearchField, "SearchField", 12, 111, 44, 142, 20);
    StaticText2 = label("StaticText2", "Search For", 12, 33, 43, 71, 20, Qt::AlignRight);
    Location = label("Location", kNoLocation, 12, 33, 97, 220, 20, Qt::AlignHCenter);
    StaticText3 = label("StaticText3", "Time Period From", 12, 290, 11, 115, 20, Qt::AlignLeft);
    FirstMonth = popup("FirstMonth", months, 0, 12, 304, 34, 91, 20);
    connect(FirstMonth, &QComboBox::currentIndexChanged, this, [this] { FirstMonth_Change(); });
    FirstYear = popup("FirstYear", YearList::Items(), 0, 12, 411, 34, 80, 20);
    StaticText4 = label("StaticText4", "To", 12, 377, 58, 51, 20, Qt::AlignLeft);
    LastMonth = popup("LastMonth", months, 11, 12, 304, 76, 91, 20);
    LastYear = popup("LastYear", YearList::Items(), 0, 12, 411, 76, 80, 20);
    StaticText5 = label("StaticText5", "Output To", 12, 2, 164, 86, 20, Qt::AlignRight);
    OutputPath = new PathButton(central);
    OutputPath->setText(QString::fromLatin1(kNoOutputPath));
    OutputPath->setAutoDefault(false);
    place(OutputPath, "OutputPath", 10, 33, 188, 502, 20);
    connect(OutputPath, &QPushButton::clicked, this, [this] { OutputPath_Action(); });
    DoneButton = button("DoneButton", "Done", 0, 465, 312, 80, 20);
    connect(DoneButton, &QPushButton::clicked, this, [this] { DoneButton_Action(); });
    GenerateButton = button("GenerateButton", "Generate HTML Tide Tables", 0, 175, 248, 219, 20);
    connect(GenerateButton, &QPushButton::clicked, this, [this] { GenerateButton_Action(); });
    Status = label("Status", "", 0, 33, 280, 502, 20, Qt::AlignHCenter);
    StaticText6 = label("StaticText6", "Daylight Margin", 0, 276, 125, 115, 20, Qt::AlignRight);
    DaylightMarginMenu = popup("DaylightMarginMenu", Items(kMargins, 7), 0, 0, 398, 124, 137, 20);
    connect(DaylightMarginMenu, &QComboBox::currentIndexChanged, this,
            [this] { DaylightMarginMenu_Change(); });
    StaticText7 = label("StaticText7", "Maximum Height", 0, 33, 125, 115, 20, Qt::AlignRight);
    MaximumHeightMenu = popup("MaximumHeightMenu", Items(kHeights, 11), 6, 0, 160, 124, 118, 20);
    connect(MaximumHeightMenu, &QComboBox::currentIndexChanged, this,
            [this] { MaximumHeightMenu_Change(); });
    AlsoGenCSV = new QCheckBox(QStringLiteral("Also Generate CSV File"), central);
    AlsoGenCSV->setChecked(true);
    place(AlsoGenCSV, "AlsoGenCSV", 0, 175, 218, 359, 20);

    picker = new LocationPicker(this, LocationList, SearchField, Location, updating);
}

void GenerateHTML::AddMenuHandlers() {
    AddMenuHandler(QStringLiteral("FileOpenSettings"),
                   [this] { return FileOpenSettings_Action(); });
    AddMenuHandler(QStringLiteral("FileSaveSettings"),
                   [this] { return FileSaveSettings_Action(); });
    AddMenuHandler(QStringLiteral("FileSaveSettingsAs"),
                   [this] { return FileSaveSettingsAs_Action(); });
}

void GenerateHTML::Event_Open() {
    const int year = QDate::currentDate().year();
    updating = true;
    for (QComboBox* popup : {FirstYear, LastYear})
        popup->setCurrentIndex(YearList::IndexOf(year, popup));
    updating = false;
}

void GenerateHTML::Event_EnableMenuItems() {
    EnableMenuItem(QStringLiteral("FileOpenSettings"));
    EnableMenuItem(QStringLiteral("FileSaveSettings"));
    EnableMenuItem(QStringLiteral("FileSaveSettingsAs"));
}

void GenerateHTML::closeEvent(QCloseEvent* e) {
    EndRun();
    MenuWindow::closeEvent(e);
}

// ---- location picker

void GenerateHTML::LocationList_Change() { picker->LocationList_Change(); }

bool GenerateHTML::SearchField_KeyDown(const QString& key) {
    return picker->SearchField_KeyDown(key);
}

void GenerateHTML::SetupLocations() { picker->SetupLocations(); }

// ---- commands

QString GenerateHTML::AskForOutputPath() {
    const QString location = Location->text();
    const int p = Text::InStr(location, QStringLiteral(","));
    DialogRequest r;
    r.kind = DialogRequest::Kind::SelectFolder;
    r.title = QStringLiteral("Output folder dialog");
    r.suggestedName =
        (p >= 2 ? Text::Left(location, p - 1) : Text::Left(location, 27)) + QStringLiteral(".html");
    r.prompt = QStringLiteral("Select the output folder");
    return Dialogs::Run(r, this);
}

void GenerateHTML::OutputPath_Action() {
    const QString folder = AskForOutputPath();
    if (!folder.isEmpty()) OutputPath->setText(QFileInfo(folder).absoluteFilePath());
}

void GenerateHTML::DoneButton_Action() { close(); }

bool GenerateHTML::FileOpenSettings_Action() {
    return GeneratorSettingsFile::FileOpenSettings_Action(*this);
}

bool GenerateHTML::FileSaveSettings_Action() {
    return GeneratorSettingsFile::FileSaveSettings_Action(*this);
}

bool GenerateHTML::FileSaveSettingsAs_Action() {
    return GeneratorSettingsFile::FileSaveSettingsAs_Action(*this);
}

void GenerateHTML::SaveGeneratorInfo(const QString& item) {
    GeneratorSettingsFile::SaveGeneratorInfo(*this, item);
}

void GenerateHTML::LoadGeneratorInfo(const QString& item) {
    GeneratorSettingsFile::LoadGeneratorInfo(*this, item);
}

void GenerateHTML::SetPopupMenu(QComboBox* menu, const QString& text) {
    GeneratorSettingsFile::SetPopupMenu(*this, menu, text);
}

// ---- the run

void GenerateHTML::GenerateButton_Action() {
    if (running) return;  // one run at a time: the button is disabled meanwhile
    if (Text::Same(Location->text(), QString::fromLatin1(kNoLocation))) {
        Dialogs::MsgBox(QStringLiteral("No tide location was specified"), this);
        return;
    }
    const QString p = OutputPath->text();
    if (Text::Same(p, QStringLiteral("No output path specified"))) {
        Dialogs::MsgBox(QStringLiteral("No output folder was specified"), this);
        return;
    }
    outputTo = QDir::isAbsolutePath(p) ? QDir::cleanPath(p) : QString();
    if (outputTo.isEmpty()) {
        Dialogs::MsgBox(QStringLiteral("Cannot access the output folder ") + p, this);
        return;
    }
    if (!QFileInfo::exists(outputTo)) QDir().mkdir(outputTo);
    if (!QFileInfo(outputTo).isDir()) {
        Dialogs::MsgBox(QStringLiteral("Cannot create the output folder ") + p, this);
        return;
    }
    // A folder that a run of another window, or of another Quorvex, is writing is left as it
    // is: nothing in it is created, emptied or replaced.
    OutputFileClaim::Result claim = OutputFileClaim::TakeFolder(outputTo, Claimant());
    if (claim.status != OutputFileClaim::Status::Taken) {
        Dialogs::MsgBox(QStringLiteral("Cannot access the output folder ") + p +
                            (claim.status == OutputFileClaim::Status::Held
                                 ? QString::fromLatin1(RunClaimant::kGenerationRunHolds)
                                 : QString()),
                        this);
        return;
    }
    csvFile.reset();
    if (AlsoGenCSV->isChecked()) {
        // Asked for and impossible: the run would end without the list, or with an earlier
        // run's list beside this run's pages. A list that a calendar run is writing stays as it
        // is.
        ClaimedFile::Result csv =
            ClaimedFile::OpenIn(*claim.claim, outputTo, TideTablePage::kCsvFileName, Claimant());
        if (!csv.file) {
            Dialogs::MsgBox(QStringLiteral("Unable to save to file ") +
                                Folders::Child(outputTo, TideTablePage::kCsvFileName) +
                                RunClaimant::Cause(csv, this),
                            this);
            return;
        }
        csvFile = std::move(csv.file);
    }
    folderClaim = std::move(claim.claim);
    indexText.clear();
    edge.Clear();
    csvWriteFailed = false;
    pageFile.reset();
    running = true;
    ++runSerial;
    GenerateButton->setEnabled(false);
    GenerateTidesFor(FirstMonth->currentIndex() + 1, YearOf(FirstYear));
}

void GenerateHTML::GenerateTidesFor(int month, int year) {
    thisYear = year;
    thisMonth = month;
    daylightMargin = DaylightMarginMenu->currentIndex() * 30;
    maximumHeight = static_cast<float>(MaximumHeightMenu->currentIndex() * 0.5);
    // The getter that called Completed is still inside its completion call: release it later.
    if (tideShell) tideShell->deleteLater();
    tideShell = new TideGetter();
    tideShell->SetGenerateTo(this);
    App* app = App::Instance();
    tideShell->Execute(
        TideCommand::Build(app ? app->xtideFolder : QString(), Location->text(), month, year));
}

void GenerateHTML::Completed() {
    if (!running || !tideShell) return;  // the run was ended meanwhile
    QPointer<GenerateHTML> self(this);
    const int serial = runSerial;
    // False once the window is gone or its run was ended during a yield.
    auto alive = [self, serial] { return self && self->runSerial == serial; };

    const QString monthName = FirstMonth->itemText(thisMonth - 1);
    const TideTableMonth month(thisMonth, thisYear, monthName);
    Status->setText(month.StatusText());
    Status->repaint();

    // Every file of the run is the one in the folder claimed at the press, wherever the
    // folder's path leads by now.
    const QString pagePath = Folders::Child(outputTo, month.FileName());
    ClaimedFile::Result page =
        ClaimedFile::OpenIn(*folderClaim, outputTo, month.FileName(), Claimant());
    pageFile = std::move(page.file);
    if (!pageFile) {
        StopRun();
        Dialogs::MsgBox(
            QString::fromLatin1(kUnableToOutput) + pagePath + RunClaimant::Cause(page, this), this);
        return;
    }

    indexText += month.IndexEntry();
    // The index so far goes on the clipboard before any message of this month and, when the run
    // goes on, once the next month's tide has started: under X, setting the clipboard waits on
    // the display server, and that wait then overlaps the tide run instead of lengthening it.
    auto publishIndex = [index = indexText] { QGuiApplication::clipboard()->setText(index); };

    TideTableSources sources;
    sources.period = [self] {
        TablePeriod p;
        if (!self) return p;
        p.firstMonth = self->FirstMonth->currentIndex() + 1;
        p.firstYear = YearOf(self->FirstYear);
        p.lastMonth = self->LastMonth->currentIndex() + 1;
        p.lastYear = YearOf(self->LastYear);
        return p;
    };
    sources.hiking = [self] {
        HikingState h;
        if (!self) return h;
        h.daylightMargin = self->daylightMargin;
        h.maximumHeight = self->maximumHeight;
        h.csv = self->csvFile ? self->csvFile->File() : nullptr;
        return h;
    };
    YieldPacer pacer;  // lives while the page is written, within this call
    sources.yield = [alive, &pacer] {
        pacer.Step();
        return alive();
    };

    // A month whose tide run failed keeps the page as far as it got, its head, as it does for
    // tide's own "harmonics.tcd:" text, and the run stops there.
    const TideRunResult check = TideRunCheck::Check(*tideShell);
    if (check.failed) {
        publishIndex();
        PageStream head(pageFile->File());
        TideTablePage::WriteHead(head, Location->text(), monthName, thisMonth, thisYear,
                                 sources.period());
        StopRun();
        Dialogs::MsgBox(check.message, this);
        return;
    }
    const QString output = TideOutputReader::OutputText(tideShell->ReadAll());
    edge.BeginMonth(thisMonth, thisYear);
    sources.edge = &edge;

    const TideTableMonth::Result written =
        month.WritePage(pageFile->File(), output, Location->text(), sources);
    if (!alive()) {
        publishIndex();
        return;  // ended meanwhile: the run's files are closed already
    }
    csvWriteFailed = csvWriteFailed || written.csvWriteFailed;
    if (written.outcome != TideTableMonth::Outcome::Written) {
        publishIndex();
        StopRun();
        Dialogs::MsgBox(written.outcome == TideTableMonth::Outcome::TideError
                            ? written.message
                            : WriteFailure(pagePath, written.message),
                        this);
        return;
    }
    if (!pageFile->Close()) {
        publishIndex();
        StopRun();
        Dialogs::MsgBox(WriteFailure(pagePath, pageFile->CloseError()), this);
        return;
    }

    // The period's end is read now, so a change made during the run moves it.
    MonthChain::Next(thisMonth, thisYear);
    if (MonthChain::WithinPeriod(thisMonth, thisYear, LastMonth->currentIndex() + 1,
                                 YearOf(LastYear))) {
        GenerateTidesFor(thisMonth, thisYear);
        publishIndex();
        return;
    }
    publishIndex();
    FinishRun();
}

void GenerateHTML::FinishRun() {
    // What did not reach the disk shows now at the latest: the list's last lines are still
    // buffered, and a disk that fills loses them as surely as a refused line. "Done" only when
    // the list and the scrap file are whole; otherwise the month's text stays with the message.
    QStringList failures;
    if (csvFile) {
        // Closing writes what is still buffered and reports what the disk refused then.
        if (csvWriteFailed)
            failures << WriteFailure(csvFile->Path(), csvFile->File()->errorString());
        else if (!csvFile->Close())
            failures << WriteFailure(csvFile->Path(), csvFile->CloseError());
        csvFile.reset();
    }
    const QString scrapPath = Folders::Child(outputTo, TideTablePage::kScrapFileName);
    if (folderClaim) {
        const ClaimedFile::Result scrap =
            ClaimedFile::OpenIn(*folderClaim, outputTo, TideTablePage::kScrapFileName, Claimant());
        const QByteArray bytes = TideTablePage::ScrapText(indexText).toUtf8();
        if (!scrap.file)
            failures << QString::fromLatin1(kUnableToOutput) + scrapPath +
                            RunClaimant::Cause(scrap, this);
        else if (QFile* file = scrap.file->File(); !FullWrite::Write(*file, bytes))
            failures << WriteFailure(scrapPath, file->errorString());
        else if (!scrap.file->Close())
            failures << WriteFailure(scrapPath, scrap.file->CloseError());
    }
    StopRun();
    if (failures.isEmpty()) {
        Status->setText(QStringLiteral("Done"));
        return;
    }
    QPointer<GenerateHTML> self(this);
    for (const QString& message : failures) {
        Dialogs::MsgBox(message, this);
        if (!self) return;
    }
}

OutputFileClaim::Claimant GenerateHTML::Claimant() const {
    return RunClaimant::For(RunClaimant::GenerationRun, this);
}

void GenerateHTML::StopRun() {
    running = false;
    ++runSerial;
    // A page writer may still hold the page (a run ended during one of its yields): close the
    // file now, release it with the next page.
    if (pageFile) pageFile->Close();
    csvFile.reset();
    folderClaim.reset();
    if (GenerateButton) GenerateButton->setEnabled(true);
}

void GenerateHTML::EndRun() {
    if (!running) return;
    if (tideShell) tideShell->Kill();
    StopRun();
}
