// tst_TideZone  The offsets of the zone words tide prints and the zone texts of RSS dates.
#include <QtTest>

#include "calendar/TideZone.h"
#include "support/TestMain.h"

class tst_TideZone : public QObject {
    Q_OBJECT
  private slots:
    void zoneWords_data();
    void zoneWords();
    void offsetsOfTheMachine_data();
    void offsetsOfTheMachine();
};

void tst_TideZone::zoneWords_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("zone");  // "-0000": not known
    // Every letter zone of the stations of tide's harmonics database, and the mountain zones.
    QTest::newRow("EST") << "EST"
                         << "-0500";
    QTest::newRow("EDT") << "EDT"
                         << "-0400";
    QTest::newRow("CST") << "CST"
                         << "-0600";
    QTest::newRow("CDT") << "CDT"
                         << "-0500";
    QTest::newRow("MST") << "MST"
                         << "-0700";
    QTest::newRow("MDT") << "MDT"
                         << "-0600";
    QTest::newRow("PST") << "PST"
                         << "-0800";
    QTest::newRow("PDT") << "PDT"
                         << "-0700";
    QTest::newRow("AKST") << "AKST"
                          << "-0900";
    QTest::newRow("AKDT") << "AKDT"
                          << "-0800";
    QTest::newRow("HST") << "HST"
                         << "-1000";
    QTest::newRow("HDT") << "HDT"
                         << "-0900";
    QTest::newRow("AST") << "AST"
                         << "-0400";
    QTest::newRow("ChST") << "ChST"
                          << "+1000";
    QTest::newRow("SST") << "SST"
                         << "-1100";
    QTest::newRow("letter case ignored") << "pdt"
                                         << "-0700";
    // Numeric words read as they stand.
    QTest::newRow("+12") << "+12"
                         << "+1200";
    QTest::newRow("-03") << "-03"
                         << "-0300";
    QTest::newRow("+00") << "+00"
                         << "+0000";
    QTest::newRow("+0530") << "+0530"
                           << "+0530";
    QTest::newRow("-0930") << "-0930"
                           << "-0930";
    QTest::newRow("+1345") << "+1345"
                           << "+1345";
    // Anything else is a local time of unknown offset.
    QTest::newRow("unknown letters") << "XYZT"
                                     << "-0000";
    QTest::newRow("empty") << ""
                           << "-0000";
    QTest::newRow("a height where the zone belongs") << "4.41"
                                                     << "-0000";
    QTest::newRow("no sign") << "12"
                             << "-0000";
    QTest::newRow("one digit") << "+1"
                               << "-0000";
    QTest::newRow("three digits") << "+123"
                                  << "-0000";
    QTest::newRow("minutes past 59") << "+0560"
                                     << "-0000";
    QTest::newRow("hours past 23") << "+24"
                                   << "-0000";
    QTest::newRow("with a colon") << "+05:30"
                                  << "-0000";
    QTest::newRow("zone with more") << "PST8PDT"
                                    << "-0000";
}

void tst_TideZone::zoneWords() {
    QFETCH(QString, word);
    QFETCH(QString, zone);
    QCOMPARE(TideZone::Rfc2822(word), zone);
    QCOMPARE(TideZone::OffsetMinutes(word).has_value(), zone != QLatin1String("-0000"));
}

void tst_TideZone::offsetsOfTheMachine_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("zone");
    QTest::newRow("UTC") << 0 << "+0000";
    QTest::newRow("ahead") << 3600 << "+0100";
    QTest::newRow("behind") << -7 * 3600 << "-0700";
    QTest::newRow("half hour behind") << -(3 * 3600 + 1800) << "-0330";
    QTest::newRow("quarter hours ahead") << 5 * 3600 + 45 * 60 << "+0545";
    QTest::newRow("furthest ahead") << 14 * 3600 << "+1400";
}

void tst_TideZone::offsetsOfTheMachine() {
    QFETCH(int, seconds);
    QTEST(TideZone::Rfc2822FromSeconds(seconds), "zone");
}

QUORVEX_TEST_MAIN(tst_TideZone)
#include "tst_TideZone.moc"
