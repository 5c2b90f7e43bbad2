// AboutQuorvex  The about window: the application's name line and two links, one to the maker's
// web page and one to XTide's home page, each opened in the user's web browser.
#pragma once

#include <QString>

#include "core/MenuWindow.h"

class QLabel;

class AboutQuorvex : public MenuWindow {
    Q_OBJECT
  public:
    // Builds the window and shows it; it deletes itself when closed.
    AboutQuorvex();
    ~AboutQuorvex() override;

    static inline const QString MakerURL = QStringLiteral("https://quorvex.example.org/");
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
