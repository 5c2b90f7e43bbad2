// QuorvexWindow  The calendar window, the main window of the system: the location, the period, the
// tide, sun and moon filters, the output file and format, and the month-by-month calendar run.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "calendar/MonthEdge.h"
#include "core/MenuWindow.h"
#include "engine/TideGetter.h"
#include "engine/TideReceiver.h"
#include "platform/PathButton.h"

class CalendarWriter;
class ClaimedFile;
struct FilterSettings;
class LocationGetter;
class LocationPicker;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class QuorvexWindow : public MenuWindow, public TideReceiver {
    Q_OBJECT
  public:
    enum class OpenMode { Now, Deferred };
    // Builds the window and shows it; runs its Open handler at once, or (Deferred, for the
    // default window at start-up) when Open() is called after the application has opened.
    explicit QuorvexWindow(OpenMode mode = OpenMode::Now);
    // Runs the window's Open handler (once).
    void Open();
    // Ends a run that is still going: the child is killed and the output file closed.
    ~QuorvexWindow() override;

    // Controls, in creation and tab order; each carries its name as objectName.
    QComboBox* LocationList = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QComboBox* FirstMonth = nullptr;
    QComboBox* FirstYear = nullptr;
    QLabel* StaticText3 = nullptr;
    QComboBox* LastMonth = nullptr;
    QComboBox* LastYear = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText6 = nullptr;
    QLineEdit* HighTideAbove = nullptr;
    QLineEdit* HighTideBelow = nullptr;
    QLabel* StaticText8 = nullptr;
    QLabel* StaticText7 = nullptr;
    QComboBox* HighTideBefore = nullptr;
    QComboBox* HighTideAfter = nullptr;
    QLabel* StaticText9 = nullptr;
    QLabel* StaticText10 = nullptr;
    QLabel* StaticText11 = nullptr;
    QLineEdit* LowTideAbove = nullptr;
    QLineEdit* LowTideBelow = nullptr;
    QLabel* StaticText12 = nullptr;
    QLabel* StaticText13 = nullptr;
    QComboBox* LowTideBefore = nullptr;
    QComboBox* LowTideAfter = nullptr;
    QLabel* StaticText14 = nullptr;
    QLabel* StaticText15 = nullptr;
    QComboBox* OutputFormat = nullptr;
    QPushButton* ComputeButton = nullptr;
    QPushButton* PushButton2 = nullptr;
    QLineEdit* SearchField = nullptr;
    QLabel* StaticText16 = nullptr;
    QLabel* Location = nullptr;
    QCheckBox* SunriseSunset = nullptr;
    QCheckBox* MoonriseMoonset = nullptr;
    QLabel* Status = nullptr;
    QCheckBox* ShowMoonPhases = nullptr;
    QCheckBox* IncludeHighTides = nullptr;
    QCheckBox* IncludeLowTides = nullptr;
    QLabel* StaticText17 = nullptr;
    PathButton* OutputPath = nullptr;  // caption: the output file's absolute path
    LocationGetter* GetLocationsShell = nullptr;

    // True while SetupLocations refills LocationList; LocationList_Change ignores changes then.
    bool updating = false;
    QPointer<TideGetter> tideShell;  // the running (or last ended) month
    QString theFile;  // current calendar settings document, "" until one is opened or saved

    // Location picker and the hand-over of this window's own location listing.
    void LocationList_Change();
    bool SearchField_KeyDown(const QString& key);  // true when the key was handled
    virtual void SetupLocations();
    void GetLocations();
    void GetLocationsShell_Error(const QString& message);
    void GetLocationsShell_Progress(const QString& message);
    void GetLocationsShell_HaveLocations();

    // Buttons.
    void ComputeButton_Action();
    void PushButton2_Action();
    void OutputPath_Action();

    // Menu commands; each returns true (handled).
    bool FileClose_Action();
    bool FileOpenSettings_Action();
    bool FileSaveSettingsAs_Action();
    bool FileSaveSettings_Action();
    bool GenerateHTMLTables_Action();

    // Calendar settings documents.
    virtual void OpenFile(const QString& item);
    void SaveFile(const QString& item);
    void DoSaveSettingsAs();

    // Starts the month (1-12) of `year` in the background; Completed() follows.
    void ComputeTidesFor(int month, int year);
    // The month's tide run has ended: checks it, writes its wanted events, then starts the next
    // month or finishes the calendar.
    void Completed() override;

    // True from the moment a run has created its output file until it finishes or stops; the
    // compute button and the format popup are disabled meanwhile.
    bool IsRunning() const { return running; }
    int ThisYear() const { return thisYear; }
    int ThisMonth() const { return thisMonth; }

  protected:
    // The save dialog for the calendar file: the chosen absolute path, "" when cancelled.
    QString AskForOutputPath();
    void Event_EnableMenuItems() override;
    void closeEvent(QCloseEvent* e) override;

    int thisYear = 0;
    int thisMonth = 0;
    // The calendar file of the run, or none, claimed against other runs until the run ends.
    // Declared before the writer, which writes to it: the writer goes first.
    std::unique_ptr<ClaimedFile> outputFile;
    std::unique_ptr<CalendarWriter> outputHere;  // writes the open calendar file of the run
    QString outputName;                          // the path of the run's file, as the run opened it
    MonthEdge edge;     // the events of the last minute of the month read before
    QString runFormat;  // the OutputFormat text the run started with: header, entries, footer

  private:
    void Layout();
    void CreateControls();
    void CreateControls0();
    void CreateControls1();
    void AddMenuHandlers();
    void Event_Open();
    // Stops the run where it is: the child is killed, the file closed without its footer.
    void StopRun();
    // Stops the run, then shows `message` (taken before the stop, while the file is still known).
    void FailRun(const QString& message);
    void SetRunning(bool on);
    // The filter controls as they are now.
    FilterSettings ReadFilterSettings() const;
    QString WriteFailure() const;

    QWidget* central = nullptr;
    LocationPicker* picker = nullptr;
    bool opened = false;
    bool running = false;
    int runSerial = 0;  // changes whenever a run starts or ends
};
