// LocationPicker  The location chooser both windows share: a popup of location names, a search
// field whose Return key narrows the popup to the names holding its text, and the label that
// holds the chosen name (the label, not the popup, is the choice the runs read).
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QComboBox;
class QEvent;
class QLabel;
class QLineEdit;

class LocationPicker : public QObject {
    Q_OBJECT
  public:
    // Works on the window's own controls and its `updating` flag; `owner` (the window) owns the
    // picker, and `updating` must live as long as the owner. The picker connects the popup's
    // user choice (QComboBox::activated) to LocationList_Change and installs a key filter on the
    // search field that routes Return to SearchField_KeyDown. Nothing else is connected.
    LocationPicker(QObject* owner, QComboBox* locationList, QLineEdit* searchField,
                   QLabel* location, bool& updating);

    // Refills the popup with every name of App::Instance()->locations (read afresh), offering
    // the event loop a turn after every name (YieldPacer); raises `updating` meanwhile. Selects
    // nothing and leaves the label alone. Returns at once, without touching anything, when the
    // owner is destroyed during a yield.
    void SetupLocations();
    // The popup's choice: the label takes the chosen item's text unless `updating` is raised or
    // no item is selected.
    void LocationList_Change();
    // A key typed into the search field, as its text. Return ("\r") refills the popup with the
    // names that contain the field's text, ignoring letter case (the search always starts from
    // the whole of App::Instance()->locations), and returns true: the key is consumed. Every
    // other key, keypad Enter included, returns false and reaches the field as usual.
    bool SearchField_KeyDown(const QString& key);

    // Whether `name` is offered for the search text `pattern`: a case-blind substring test, the
    // blank counting as a character; the empty pattern matches every name.
    static bool Matches(const QString& name, const QString& pattern);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QComboBox> LocationList;
    QPointer<QLineEdit> SearchField;
    QObject* searchFieldObject = nullptr;  // the watched field, compared by address only
    QPointer<QLabel> Location;
    bool& updating;
};
