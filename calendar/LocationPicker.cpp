// LocationPicker  The location chooser both windows share.
#include "calendar/LocationPicker.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "core/App.h"
#include "platform/Text.h"
#include "platform/YieldPacer.h"

LocationPicker::LocationPicker(QObject* owner, QComboBox* locationList, QLineEdit* searchField,
                               QLabel* location, bool& updating)
    : QObject(owner),
      LocationList(locationList),
      SearchField(searchField),
      searchFieldObject(searchField),
      Location(location),
      updating(updating) {
    connect(locationList, &QComboBox::activated, this, [this](int) { LocationList_Change(); });
    searchField->installEventFilter(this);
}

bool LocationPicker::Matches(const QString& name, const QString& pattern) {
    return pattern.isEmpty() || Text::InStr(name, pattern) > 0;
}

void LocationPicker::SetupLocations() {
    QPointer<LocationPicker> self(this);
    App* app = App::Instance();
    updating = true;
    LocationList->clear();
    YieldPacer pacer;
    for (int i = 0; app && i < app->nlocations && i < app->locations.size(); ++i) {
        LocationList->addItem(app->locations.at(i));
        if (i == 0) LocationList->setCurrentIndex(-1);
        pacer.Step();
        if (!self || !LocationList) return;
        app = App::Instance();
    }
    LocationList->setCurrentIndex(-1);
    updating = false;
}

void LocationPicker::LocationList_Change() {
    if (updating || !LocationList || !Location) return;
    if (LocationList->currentIndex() < 0) return;
    Location->setText(LocationList->currentText());
}

bool LocationPicker::SearchField_KeyDown(const QString& key) {
    if (key.isEmpty() || key.at(0).unicode() != 13) return false;
    QPointer<LocationPicker> self(this);
    App* app = App::Instance();
    LocationList->clear();
    YieldPacer pacer;
    for (int i = 0; app && i < app->nlocations && i < app->locations.size(); ++i) {
        // The field is read for every name: text typed during the search applies at once.
        const QString& name = app->locations.at(i);
        if (SearchField && Matches(name, SearchField->text())) {
            LocationList->addItem(name);
            if (LocationList->count() == 1) LocationList->setCurrentIndex(-1);
        }
        pacer.Step();
        if (!self || !LocationList) return true;
        app = App::Instance();
    }
    return true;
}

bool LocationPicker::eventFilter(QObject* watched, QEvent* event) {
    // The event type comes first: while the field is being destroyed it is no longer a
    // QLineEdit, and only key presses need the comparison.
    if (event->type() == QEvent::KeyPress && watched == searchFieldObject) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Only the main Return key searches; the keypad's Enter types as usual.
        if (key->key() == Qt::Key_Return) return SearchField_KeyDown(QStringLiteral("\r"));
        if (key->key() == Qt::Key_Enter) return SearchField_KeyDown(QString(QChar(3)));
        if (key->text().startsWith(QChar(13))) return false;
        return SearchField_KeyDown(key->text());
    }
    return QObject::eventFilter(watched, event);
}
