// AboutQuorvex  The about window: the application's name line and two links, one to the maker's
// web page and one to XTide's home page, each opened in the user's web browser.
#pragma once

#include <QString>

#include "calendar/CalendarWriter.h"
#include "core/MenuWindow.h"

class QLabel;

class AboutQuorvex : public MenuWindow {
    Q_OBJECT
  public:
    // Builds the window and shows it; it deletes itself when closed.
    AboutQuorvex();
    ~AboutQuorvex() override;

    // The maker's page, the same address the RSS calendars name.
    static inline const QString MakerURL = QString::fromLatin1(CalendarWriter::MakerAddress);
    static inline const QString XTideURL = QStringLiteral("https://flaterco.com/xtide/");

    QLabel* StaticText1 = nullptr;
    QLabel* VostraneURL = nullptr;
    QLabel* DrelmontURL = nullptr;

    // Open the link's page; the window stays open. Both return false.
    bool VostraneURL_MouseDown(int x, int y);
    bool DrelmontURL_MouseDown(int x, int y);
    // Closes the window; returns true.
    bool FileClose_Action();

  protected:
    void Event_EnableMenuItems() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Layout();
    void CreateControls();
    void AddMenuHandlers();
};
