// Tests of the calendar window's event filters: the check boxes and the tide height and time
// test.
#include "calendar/EventFilter.h"
#include "calendar/TideOutputReader.h"
#include "support/TestMain.h"

class TestEventFilter : public QObject {
    Q_OBJECT
  private slots:
    void validateTide_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("above");
        QTest::addColumn<QString>("below");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("wanted");
        const QString ft = " feet  Low Tide";
        // Height band; times 10:00 with no time limit.
        QTest::newRow("inverted band: below B") << "1.9" + ft << 10 << 0 << "5"
                                                << "2" << 0 << 0 << true;
        QTest::newRow("inverted band: B itself") << "2.0" + ft << 10 << 0 << "5"
                                                 << "2" << 0 << 0 << false;
        QTest::newRow("inverted band: between") << "3.5" + ft << 10 << 0 << "5"
                                                << "2" << 0 << 0 << false;
        QTest::newRow("inverted band: A itself") << "5.00" + ft << 10 << 0 << "5"
                                                 << "2" << 0 << 0 << false;
        QTest::newRow("inverted band: above A") << "5.1" + ft << 10 << 0 << "5"
                                                << "2" << 0 << 0 << true;
        QTest::newRow("band: lower bound") << "1.00" + ft << 10 << 0 << "1"
                                           << "4" << 0 << 0 << true;
        QTest::newRow("band: upper bound") << "4.00" + ft << 10 << 0 << "1"
                                           << "4" << 0 << 0 << true;
        QTest::newRow("band: over") << "4.01" + ft << 10 << 0 << "1"
                                    << "4" << 0 << 0 << false;
        QTest::newRow("band: under") << "0.99" + ft << 10 << 0 << "1"
                                     << "4" << 0 << 0 << false;
        QTest::newRow("equal bounds: the height") << "3.00" + ft << 10 << 0 << "3"
                                                  << "3" << 0 << 0 << true;
        QTest::newRow("equal bounds: just over") << "3.01" + ft << 10 << 0 << "3"
                                                 << "3" << 0 << 0 << false;
        QTest::newRow("equal bounds: just under") << "2.99" + ft << 10 << 0 << "3"
                                                  << "3" << 0 << 0 << false;
        QTest::newRow("above alone: at it") << "2.00" + ft << 10 << 0 << "2"
                                            << "" << 0 << 0 << true;
        QTest::newRow("above alone: under") << "1.99" + ft << 10 << 0 << "2"
                                            << "" << 0 << 0 << false;
        QTest::newRow("below alone: at it") << "1.50" + ft << 10 << 0 << ""
                                            << "1.5" << 0 << 0 << true;
        QTest::newRow("below alone: over") << "1.51" + ft << 10 << 0 << ""
                                           << "1.5" << 0 << 0 << false;
        QTest::newRow("negative height above -1") << "-0.40" + ft << 10 << 0 << "-1"
                                                  << "" << 0 << 0 << true;
        QTest::newRow("no limits") << "-9.00" + ft << 10 << 0 << ""
                                   << "" << 0 << 0 << true;
        QTest::newRow("blank field is limit 0") << "-0.10" + ft << 10 << 0 << " "
                                                << "" << 0 << 0 << false;
        QTest::newRow("blank below is limit 0") << "0.10" + ft << 10 << 0 << ""
                                                << " " << 0 << 0 << false;
        QTest::newRow("word field is limit 0") << "0.50" + ft << 10 << 0 << "low"
                                               << "" << 0 << 0 << true;
        QTest::newRow("word field rejects negative") << "-0.50" + ft << 10 << 0 << "low"
                                                     << "" << 0 << 0 << false;
        QTest::newRow("text with leading blank is height 0") << " 4.41" + ft << 10 << 0 << "1"
                                                             << "" << 0 << 0 << false;
        // Time window by hour index; no height limit.
        QTest::newRow("noon to noon: 12:00") << "1.0" + ft << 12 << 0 << ""
                                             << "" << 12 << 12 << true;
        QTest::newRow("noon to noon: 11:59") << "1.0" + ft << 11 << 59 << ""
                                             << "" << 12 << 12 << false;
        QTest::newRow("noon to noon: 12:01") << "1.0" + ft << 12 << 1 << ""
                                             << "" << 12 << 12 << false;
        QTest::newRow("before 1 PM: 13:00") << "1.0" + ft << 13 << 0 << ""
                                            << "" << 13 << 0 << true;
        QTest::newRow("before 1 PM: 13:01") << "1.0" + ft << 13 << 1 << ""
                                            << "" << 13 << 0 << false;
        QTest::newRow("after 6 PM before 6 AM: night") << "1.0" + ft << 23 << 0 << ""
                                                       << "" << 6 << 18 << false;
        QTest::newRow("after 6 PM before 6 AM: early") << "1.0" + ft << 5 << 0 << ""
                                                       << "" << 6 << 18 << false;
        QTest::newRow("midnight both: 00:00") << "1.0" + ft << 0 << 0 << ""
                                              << "" << 0 << 0 << true;
        QTest::newRow("midnight both: 23:59") << "1.0" + ft << 23 << 59 << ""
                                              << "" << 0 << 0 << true;
        QTest::newRow("no selection") << "1.0" + ft << 23 << 59 << ""
                                      << "" << -1 << -1 << true;
        QTest::newRow("after 6 AM: 05:59") << "1.0" + ft << 5 << 59 << ""
                                           << "" << 0 << 6 << false;
        QTest::newRow("after 6 AM: 06:00") << "1.0" + ft << 6 << 0 << ""
                                           << "" << 0 << 6 << true;
        QTest::newRow("height passes, time fails") << "2.0" + ft << 7 << 0 << "1"
                                                   << "" << 0 << 8 << false;
    }
    void validateTide() {
        QFETCH(QString, text);
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(QString, above);
        QFETCH(QString, below);
        QFETCH(int, before);
        QFETCH(int, after);
        QTEST(EventFilter::ValidateTide(text, hour, minute, above, below, before, after), "wanted");
    }

    void wanted_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("boxes");  // letters of the checked boxes: S M P H L
        QTest::addColumn<bool>("wanted");
        const QString sunrise = "2009-03-01  6:49 AM PST   Sunrise";
        const QString moonrise = "2009-03-01  8:16 AM PST   Moonrise";
        const QString quarter = "2009-03-03 11:45 PM PST   First Quarter";
        const QString high = "2009-03-01  7:03 AM PST  11.85 feet  High Tide";
        const QString low = "2009-03-01  1:49 PM PST   0.44 feet  Low Tide";
        const QString slack = "2009-03-01  6:59 AM PST  -0.00 knots  Slack, Ebb Begins";
        QTest::newRow("sun checked") << sunrise << "S" << true;
        QTest::newRow("sun unchecked") << sunrise << "MPHL" << false;
        QTest::newRow("moon checked") << moonrise << "M" << true;
        QTest::newRow("moon unchecked") << moonrise << "SPHL" << false;
        QTest::newRow("phase checked") << quarter << "P" << true;
        QTest::newRow("phase unchecked") << quarter << "SMHL" << false;
        QTest::newRow("high checked") << high << "H" << true;
        QTest::newRow("high unchecked") << high << "SMPL" << false;
        QTest::newRow("low checked") << low << "L" << true;
        QTest::newRow("low unchecked") << low << "SMPH" << false;
        QTest::newRow("other event with nothing checked") << slack << "" << true;
    }
    void wanted() {
        QFETCH(QString, line);
        QFETCH(QString, boxes);
        const auto event = TideOutputReader::ReadLine(line, "2009-03");
        QVERIFY(event);
        FilterSettings s;
        s.sunriseSunset = boxes.contains('S');
        s.moonriseMoonset = boxes.contains('M');
        s.showMoonPhases = boxes.contains('P');
        s.includeHighTides = boxes.contains('H');
        s.includeLowTides = boxes.contains('L');
        QTEST(EventFilter::Wanted(*event, s), "wanted");
    }

    // High tides are judged by the high-tide limits only, low tides by the low-tide limits.
    void eachTideKindUsesItsOwnLimits_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("wanted");
        QTest::newRow("high 11.85 within high band")
            << "2009-03-01  7:03 AM PST  11.85 feet  High Tide" << true;
        QTest::newRow("high at 20:22 after high Before")
            << "2009-03-01  8:22 PM PST   9.96 feet  High Tide" << false;
        QTest::newRow("low 0.44 within low band")
            << "2009-03-01  1:49 PM PST   0.44 feet  Low Tide" << true;
        QTest::newRow("low 4.41 over low Below")
            << "2009-03-01  1:03 AM PST   4.41 feet  Low Tide" << false;
    }
    void eachTideKindUsesItsOwnLimits() {
        QFETCH(QString, line);
        FilterSettings s;
        s.includeHighTides = true;
        s.highTideAbove = "9";
        s.highTideBelow = "";
        s.highTideBefore = 18;
        s.highTideAfter = 6;
        s.includeLowTides = true;
        s.lowTideAbove = "";
        s.lowTideBelow = "1";
        s.lowTideBefore = 0;
        s.lowTideAfter = 0;
        const auto event = TideOutputReader::ReadLine(line, "2009-03");
        QVERIFY(event);
        QTEST(EventFilter::Wanted(*event, s), "wanted");
    }
};

QUORVEX_TEST_MAIN(TestEventFilter)
#include "tst_EventFilter.moc"
