// tst_CalendarRunE2E  Whole calendars through the window and the stand-in tide, one per format:
// Seattle, March to May 2026, compared byte for byte with files built from the recorded months.
#include <time.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "calendar/CalendarWriter.h"
#include "calendar/QuorvexWindow.h"
#include "calendar/YearList.h"
#include "core/App.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestCalendarRunE2E : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // A machine clock that is not UTC and changes to daylight time within the calendar's
        // months: the channel's date shows the machine's offset, and no event's time moves.
        qputenv("TZ", "America/Los_Angeles");
        tzset();
    }

    void wholeCalendar_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("iCal") << "iCal"
                              << "seattle-2026-03-05.ics";
        QTest::newRow("Palm Desktop") << "Palm Desktop"
                                      << "seattle-2026-03-05.palm.txt";
        QTest::newRow("Comma Separated Text") << "Comma Separated Text"
                                              << "seattle-2026-03-05.csv.txt";
        QTest::newRow("RSS") << "RSS"
                             << "seattle-2026-03-05.xml";
    }
    void wholeCalendar() {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        App app;
        XTideFixture fixture;
        QVERIFY(fixture.isValid());
        app.xtideFolder = fixture.xtideFolder();
        QTemporaryDir out;
        ScriptedDialogs dialogs;

        QPointer<QuorvexWindow> w = new QuorvexWindow(QuorvexWindow::OpenMode::Deferred);
        w->Location->setText(QStringLiteral("Seattle, Puget Sound, Washington"));
        w->FirstMonth->setCurrentIndex(2);
        w->FirstYear->setCurrentIndex(YearList::IndexOf(2026, w->FirstYear));
        w->LastMonth->setCurrentIndex(4);
        w->LastYear->setCurrentIndex(YearList::IndexOf(2026, w->LastYear));
        w->SunriseSunset->setChecked(true);
        w->ShowMoonPhases->setChecked(true);
        w->OutputFormat->setCurrentText(format);
        const QString path = out.filePath(QStringLiteral("calendar"));
        w->OutputPath->setText(path);
        const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
        w->ComputeButton_Action();
        QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), 20000);
        QVERIFY(dialogs.messages.isEmpty());
        delete w;

        QByteArray written = ReadFile(path);
        const QByteArray want =
            ReadFile(QStringLiteral(QUORVEX_TEST_FIXTURES "/calendar-e2e/") + expected);
        QVERIFY(!want.isEmpty());
        if (format == QLatin1String("RSS")) {
            // The channel's publication date is the time of the run, with the machine's offset.
            const QRegularExpression pub(
                QStringLiteral("<channel>\n(?:.*\n){3}<pubDate>(.*)</pubDate>"));
            const auto m = pub.match(QString::fromUtf8(written));
            QVERIFY(m.hasMatch());
            const QDateTime at = QDateTime::fromString(m.captured(1).left(25),
                                                       QStringLiteral("ddd, dd MMM yyyy HH:mm:ss"));
            QVERIFY2(at.isValid() && at >= started && at <= QDateTime::currentDateTime(),
                     qPrintable(m.captured(1)));
            const int offset = at.offsetFromUtc() / 60;
            QVERIFY(offset == -8 * 60 || offset == -7 * 60);
            QCOMPARE(m.captured(1).mid(25), QString::asprintf(" -%02d00", -offset / 60));
            written.replace(m.captured(1).toUtf8(), "PUBDATE");

            QXmlStreamReader xml(written);
            int items = 0;
            while (!xml.atEnd())
                if (xml.readNext() == QXmlStreamReader::StartElement &&
                    xml.name() == QLatin1String("item"))
                    ++items;
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QCOMPARE(items, want.count("<item>"));
        }
        if (written != want) {
            int at = 0;
            while (at < written.size() && at < want.size() && written[at] == want[at]) ++at;
            QFAIL(
                qPrintable(QStringLiteral("differs at byte %1: got '%2', expected '%3'")
                               .arg(QString::number(at),
                                    QString::fromLatin1(written.mid(at, 60).toPercentEncoding(" ")),
                                    QString::fromLatin1(want.mid(at, 60).toPercentEncoding(" ")))));
        }
    }
};

QUORVEX_TEST_MAIN(TestCalendarRunE2E)
#include "tst_CalendarRunE2E.moc"
