// GenerateHTML  The HTML tide table generator window: its controls, its commands and the run that
// writes one page a month into the output folder.
#pragma once

#include <QPointer>
#include <QString>
#include <memory>

#include "calendar/MonthEdge.h"
#include "core/MenuWindow.h"
#include "engine/TideGetter.h"
#include "engine/TideReceiver.h"
#include "platform/OutputFileClaim.h"
#include "platform/PathButton.h"

class ClaimedFile;
class QCheckBox;
class LocationPicker;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class GenerateHTML : public MenuWindow, public TideReceiver {
    Q_OBJECT
  public:
    // Builds the window with its controls, runs its Open handler and shows it. The caller fills
    // the location list afterwards (SetupLocations).
    GenerateHTML();
    // Ends a run that is still going: its child is killed and its files are closed.
    ~GenerateHTML() override;

    // Controls, in creation and tab order; each carries its name as objectName.
    QComboBox* LocationList = nullptr;
    QLabel* StaticText1 = nullptr;
    QLineEdit* SearchField = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* Location = nullptr;
    QLabel* StaticText3 = nullptr;
    QComboBox* FirstMonth = nullptr;
    QComboBox* FirstYear = nullptr;
    QLabel* StaticText4 = nullptr;
    QComboBox* LastMonth = nullptr;
    QComboBox* LastYear = nullptr;
    QLabel* StaticText5 = nullptr;
    PathButton* OutputPath = nullptr;  // caption: the output folder's absolute path
    QPushButton* DoneButton = nullptr;
    QPushButton* GenerateButton = nullptr;
    QLabel* Status = nullptr;
    QLabel* StaticText6 = nullptr;
    QComboBox* DaylightMarginMenu = nullptr;
    QLabel* StaticText7 = nullptr;
    QComboBox* MaximumHeightMenu = nullptr;
    QCheckBox* AlsoGenCSV = nullptr;

    // True while the window's own code changes LocationList or a popup; LocationList_Change
    // ignores changes meanwhile.
    bool updating = false;
    QPointer<TideGetter> tideShell;  // the running (or last ended) month
    int thisYear = 0;
    int thisMonth = 0;
    QString outputTo;         // output folder of the current run
    int daylightMargin = 0;   // minutes, taken at the start of each month
    float maximumHeight = 0;  // feet, taken at the start of each month
    QString indexText;        // index entries of the pages of the current run
    QString theFile;          // current settings document, "" until one is opened or saved
    std::unique_ptr<ClaimedFile> csvFile;  // open "csv-version.txt" of the run, or none

    // Location picker.
    void LocationList_Change();
    // True when the key was handled (Return runs the search).
    bool SearchField_KeyDown(const QString& key);
    // Refills LocationList from App::Instance()->locations.
    void SetupLocations();

    void FirstMonth_Change() {}
    void DaylightMarginMenu_Change() {}
    void MaximumHeightMenu_Change() {}
    void OutputPath_Action();
    void DoneButton_Action();
    void GenerateButton_Action();

    // Asks for the output folder; its absolute path, or "" when the user cancels.
    QString AskForOutputPath();

    // Settings documents.
    bool FileOpenSettings_Action();
    bool FileSaveSettings_Action();
    bool FileSaveSettingsAs_Action();
    void SaveGeneratorInfo(const QString& item);
    void LoadGeneratorInfo(const QString& item);
    // Selects the first item whose text equals `text` ignoring case; no match changes nothing.
    void SetPopupMenu(QComboBox* menu, const QString& text);

    // Starts the month (1-12) of `year` in the background; Completed() follows.
    void GenerateTidesFor(int month, int year);
    // The month's tide run has ended: writes its page, then starts the next month or finishes.
    void Completed() override;

    // True from the start of a run until it finishes, stops at a failure or is ended.
    bool IsRunning() const { return running; }
    // Ends a run that is going: the child is killed, the page and "csv-version.txt" closed.
    void EndRun();

  protected:
    void Event_EnableMenuItems() override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void Layout();
    void CreateControls();
    void CreateControls0();
    void AddMenuHandlers();
    void Event_Open();
    void FinishRun();  // after the last month: csv closed, "Done", the scrap file
    void StopRun();    // a failed month: files closed, the button free again
    // Who claims the run's folder and files: this window's generation run.
    OutputFileClaim::Claimant Claimant() const;

    QWidget* central = nullptr;
    LocationPicker* picker = nullptr;
    // Keeps other runs out of outputTo from the run's start until it ends, however it ends.
    std::unique_ptr<OutputFileClaim> folderClaim;
    std::unique_ptr<ClaimedFile> pageFile;  // page being written, or none
    MonthEdge edge;                         // the events of the last minute of the month before
    bool running = false;
    bool csvWriteFailed = false;  // a line of "csv-version.txt" was refused in this run
    int runSerial = 0;            // changes whenever a run starts or ends
};
