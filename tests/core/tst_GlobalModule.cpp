// tst_GlobalModule  Month lengths and the 12-hour clock text of the tide tables.
#include <QtTest>

#include "engine/GlobalModule.h"
#include "support/TestMain.h"

class tst_GlobalModule : public QObject {
    Q_OBJECT
  private slots:
    void daysInMonth_data();
    void daysInMonth();
    void formatHHMM_data();
    void formatHHMM();
};

void tst_GlobalModule::daysInMonth_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    const int longMonths[] = {1, 3, 5, 7, 8, 10, 12};
    for (int m : longMonths) QTest::addRow("month %d", m) << m << 2013 << 31;
    const int shortMonths[] = {4, 6, 9, 11};
    for (int m : shortMonths) QTest::addRow("month %d", m) << m << 2012 << 30;
    QTest::newRow("February of a leap year") << 2 << 2012 << 29;
    QTest::newRow("February of a common year") << 2 << 2013 << 28;
    QTest::newRow("February 2008") << 2 << 2008 << 29;
    QTest::newRow("February 2015") << 2 << 2015 << 28;
    QTest::newRow("month 13 follows February") << 13 << 2013 << 28;
    QTest::newRow("month 0 follows February") << 0 << 2012 << 29;
    QTest::newRow("negative month follows February") << -3 << 2011 << 28;
}

void tst_GlobalModule::daysInMonth() {
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QCOMPARE(GlobalModule::DaysInMonth(month, year), days);
}

void tst_GlobalModule::formatHHMM_data() {
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight") << 0 << "12:00 AM";
    QTest::newRow("last minute of hour 0") << 59 << "12:59 AM";
    QTest::newRow("1 AM") << 60 << "01:00 AM";
    QTest::newRow("leading zeros") << 545 << "09:05 AM";
    QTest::newRow("last morning minute") << 719 << "11:59 AM";
    QTest::newRow("noon") << 720 << "12:00 PM";
    QTest::newRow("half past noon") << 750 << "12:30 PM";
    QTest::newRow("1 PM") << 780 << "01:00 PM";
    QTest::newRow("last minute of the day") << 1439 << "11:59 PM";
    QTest::newRow("a full day does not wrap") << 1440 << "12:00 PM";
    QTest::newRow("past a day") << 1500 << "13:00 PM";
    QTest::newRow("no sunrise marker -1") << -1 << "12:-01 AM";
    QTest::newRow("-59 still hour 0") << -59 << "12:-59 AM";
    QTest::newRow("-61 hour -1") << -61 << "-01:-01 AM";
}

void tst_GlobalModule::formatHHMM() {
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(GlobalModule::FormatHHMM(minutes), text);
}

QUORVEX_TEST_MAIN(tst_GlobalModule)
#include "tst_GlobalModule.moc"
