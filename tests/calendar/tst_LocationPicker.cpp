// tst_LocationPicker  The shared location chooser: refill, case-blind search on Return only, the
// label as the choice, and the `updating` guard.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "calendar/LocationPicker.h"
#include "core/App.h"
#include "support/TestMain.h"

namespace {

QStringList Items(const QComboBox* popup) {
    QStringList items;
    for (int i = 0; i < popup->count(); ++i) items << popup->itemText(i);
    return items;
}

// A window holding the picker's controls, as both windows do.
struct PickerWindow {
    QWidget window;
    QComboBox* list = new QComboBox(&window);
    QLineEdit* search = new QLineEdit(&window);
    QLabel* location = new QLabel(QStringLiteral("No Location Specified"), &window);
    bool updating = false;
    LocationPicker* picker = new LocationPicker(&window, list, search, location, updating);
};

}  // namespace

class TestLocationPicker : public QObject {
    Q_OBJECT
    App* app = nullptr;

    void SetNames(const QStringList& names) {
        app->locations = names;
        app->nlocations = int(names.size());
    }

  private slots:
    void init() {
        app = new App;
        SetNames({QStringLiteral("Alpha Bay"), QStringLiteral("Beta Point"),
                  QStringLiteral("Alpha Creek")});
    }
    void cleanup() {
        delete app;
        app = nullptr;
    }

    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("small letters") << "alpha" << QStringList{"Alpha Bay", "Alpha Creek"};
        QTest::newRow("substring with blank") << "pha cr" << QStringList{"Alpha Creek"};
        QTest::newRow("capitals") << "POINT" << QStringList{"Beta Point"};
        QTest::newRow("no match") << "gamma" << QStringList{};
        QTest::newRow("empty text") << "" << QStringList{"Alpha Bay", "Beta Point", "Alpha Creek"};
    }
    void search() {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        PickerWindow w;
        w.picker->SetupLocations();
        w.location->setText(QStringLiteral("Chosen Before"));
        w.search->setText(typed);
        QTest::keyClick(w.search, Qt::Key_Return);
        QCOMPARE(Items(w.list), expected);
        QCOMPARE(w.list->currentIndex(), -1);  // nothing chosen for the user
        QCOMPARE(w.location->text(), QStringLiteral("Chosen Before"));
        QVERIFY(!w.updating);
        QCOMPARE(w.search->text(), typed);  // Return was consumed, not typed
    }

    void onlyReturnSearches() {
        PickerWindow w;
        w.picker->SetupLocations();
        QTest::keyClicks(w.search, QStringLiteral("beta"));
        QCOMPARE(w.list->count(), 3);  // typing alone changes nothing
        QTest::keyClick(w.search, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.list->count(), 3);  // keypad Enter does not search
        QVERIFY(!w.picker->SearchField_KeyDown(QString(QChar(3))));
        QTest::keyClick(w.search, Qt::Key_Return);
        QCOMPARE(Items(w.list), QStringList{"Beta Point"});
    }

    // The search starts from every known name, and a refill brings the whole list back.
    void searchWidensAndRefillRestores() {
        PickerWindow w;
        w.picker->SetupLocations();
        w.search->setText(QStringLiteral("creek"));
        QVERIFY(w.picker->SearchField_KeyDown(QStringLiteral("\r")));
        QCOMPARE(w.list->count(), 1);
        w.search->setText(QStringLiteral("a"));
        QVERIFY(w.picker->SearchField_KeyDown(QStringLiteral("\r")));
        QCOMPARE(w.list->count(), 3);
        w.search->setText(QStringLiteral("bay"));
        QVERIFY(w.picker->SearchField_KeyDown(QStringLiteral("\r")));
        w.picker->SetupLocations();
        QCOMPARE(Items(w.list), app->locations);
    }

    // Only the first nlocations names count.
    void refillReadsNlocations() {
        PickerWindow w;
        app->nlocations = 2;
        w.picker->SetupLocations();
        QCOMPARE(Items(w.list), (QStringList{"Alpha Bay", "Beta Point"}));
        w.search->setText(QStringLiteral("alpha"));
        QTest::keyClick(w.search, Qt::Key_Return);
        QCOMPARE(Items(w.list), QStringList{"Alpha Bay"});
    }

    void choosingSetsTheLabel() {
        PickerWindow w;
        w.picker->SetupLocations();
        QCOMPARE(w.list->currentIndex(), -1);
        QCOMPARE(w.location->text(), QStringLiteral("No Location Specified"));
        // The user chooses the first item of a popup that shows none (the arrow key selects it
        // and reports the choice, as a click in the open list does): it counts.
        QTest::keyClick(w.list, Qt::Key_Down);
        QCOMPARE(w.list->currentIndex(), 0);
        QCOMPARE(w.location->text(), QStringLiteral("Alpha Bay"));
        w.list->setCurrentIndex(2);
        emit w.list->activated(2);
        QCOMPARE(w.location->text(), QStringLiteral("Alpha Creek"));
    }

    // A label set elsewhere (a settings file) stays, even when the new list lacks the name.
    void refillKeepsTheLabel() {
        PickerWindow w;
        w.location->setText(QStringLiteral("Somewhere Else, Oregon"));
        w.picker->SetupLocations();
        QCOMPARE(w.location->text(), QStringLiteral("Somewhere Else, Oregon"));
        QVERIFY(!w.updating);
    }

    // A choice that arrives while the refill yields does not reach the label.
    void updatingGuardsTheRefill() {
        PickerWindow w;
        QStringList many;
        for (int i = 0; i < 50; ++i) many << QStringLiteral("Station %1").arg(i);
        SetNames(many);
        bool sawUpdating = false;
        QTimer::singleShot(0, &w.window, [&] {
            sawUpdating = w.updating;
            w.list->setCurrentIndex(0);
            emit w.list->activated(0);
        });
        w.picker->SetupLocations();
        QVERIFY(sawUpdating);
        QCOMPARE(w.location->text(), QStringLiteral("No Location Specified"));
        QVERIFY(!w.updating);
        QCOMPARE(w.list->count(), 50);
    }

    void zeroNames() {
        PickerWindow w;
        w.list->addItem(QStringLiteral("stale"));
        SetNames({});
        w.picker->SetupLocations();
        QCOMPARE(w.list->count(), 0);
        w.search->setText(QStringLiteral("x"));
        QTest::keyClick(w.search, Qt::Key_Return);
        QCOMPARE(w.list->count(), 0);
        QCOMPARE(w.location->text(), QStringLiteral("No Location Specified"));
    }

    // The window closing while the refill yields must not crash the refill.
    void ownerDestroyedDuringRefill() {
        auto* w = new PickerWindow;
        QStringList many;
        for (int i = 0; i < 20; ++i) many << QStringLiteral("Station %1").arg(i);
        SetNames(many);
        QTimer::singleShot(0, [w] { delete w; });
        QPointer<LocationPicker> picker(w->picker);
        picker->SetupLocations();
        QVERIFY(picker.isNull());
    }
};

QUORVEX_TEST_MAIN(TestLocationPicker)
#include "tst_LocationPicker.moc"
