// tst_GenerateHTMLBrowser  Generated monthly pages as a browser shows them: headless Chromium
// renders a page, and the rendering must hold the table text and the green of the good tides; a
// station name outside ASCII must reach the browser's title and heading as itself.
// Chromium is part of the test set-up (tools/test installs it); without it these tests fail.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "core/App.h"
#include "htmltables/GenerateHTML.h"
#include "support/ScriptedDialogs.h"
#include "support/TestMain.h"
#include "support/XTideFixture.h"

namespace {

const int kBrowserTimeout = 60000;

QString FindChromium() {
    for (const char* name : {"chromium", "chromium-browser"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return QString();
}

// Generates the one page of `month` (1-12) of `year` for `location` into `folder` through the
// generator window; its path, or "" when the run did not finish.
QString GeneratePage(const QString& folder, const QString& location, int month, int year) {
    XTideFixture fixture;
    if (!fixture.isValid()) return QString();
    App app;
    app.xtideFolder = fixture.xtideFolder();
    ScriptedDialogs dialogs;
    QPointer<GenerateHTML> w = new GenerateHTML;
    w->Location->setText(location);
    w->OutputPath->setText(folder);
    w->FirstMonth->setCurrentIndex(month - 1);
    w->FirstYear->setCurrentText(QString::number(year));
    w->LastMonth->setCurrentIndex(month - 1);
    w->LastYear->setCurrentText(QString::number(year));
    w->DaylightMarginMenu->setCurrentText(QStringLiteral("1 hour"));
    w->GenerateButton_Action();
    const bool done =
        QTest::qWaitFor([&] { return !w || w->Status->text() == QLatin1String("Done"); }, 20000);
    const bool ok = done && w && dialogs.messages.isEmpty();
    delete w.data();
    if (!ok) return QString();
    return QDir(folder).filePath(
        QStringLiteral("%1-%2-tides.html").arg(year).arg(month, 2, 10, QLatin1Char('0')));
}

}  // namespace

class TestGenerateHTMLBrowser : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void generatedPageRendersWithGreenTides();
    void stationNameOutsideAsciiShows_data();
    void stationNameOutsideAsciiShows();

  private:
    // Runs headless Chromium on the page with `options`; false (with a message logged) when it
    // fails. Its standard output goes to `output`.
    bool RunChromium(const QString& page, const QStringList& options, const QString& profile,
                     QByteArray* output = nullptr);

    QString chromium;
};

void TestGenerateHTMLBrowser::initTestCase() {
    chromium = FindChromium();
    QVERIFY2(!chromium.isEmpty(),
             "Chromium is not installed; tools/test installs it (Debian package chromium)");
}

bool TestGenerateHTMLBrowser::RunChromium(const QString& page, const QStringList& options,
                                          const QString& profile, QByteArray* output) {
    QProcess browser;
    // Chromium keeps a socket in the temporary folder, whose path must stay short.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    browser.setProcessEnvironment(env);
    // Tests run as root in CI, where Chromium's sandbox cannot start: run without it.
    QStringList args{
        QStringLiteral("--headless"),     QStringLiteral("--no-sandbox"),
        QStringLiteral("--disable-gpu"),  QStringLiteral("--disable-background-networking"),
        QStringLiteral("--no-first-run"), QStringLiteral("--user-data-dir=") + profile};
    args << options << QStringLiteral("file://") + page;
    browser.start(chromium, args);
    if (!browser.waitForFinished(kBrowserTimeout)) {
        browser.kill();
        browser.waitForFinished();
        qWarning("chromium did not finish");
        return false;
    }
    if (output) *output = browser.readAllStandardOutput();
    if (browser.exitStatus() != QProcess::NormalExit || browser.exitCode() != 0) {
        qWarning("chromium failed: %s", browser.readAllStandardError().constData());
        return false;
    }
    return true;
}

void TestGenerateHTMLBrowser::generatedPageRendersWithGreenTides() {
    QTemporaryDir out;
    const QString page =
        GeneratePage(out.path(), QStringLiteral("Seattle, Puget Sound, Washington"), 3, 2026);
    QVERIFY(!page.isEmpty());

    const QString shot = QDir(out.path()).filePath(QStringLiteral("page.png"));
    QVERIFY(RunChromium(
        page, {QStringLiteral("--window-size=1000,1400"), QStringLiteral("--screenshot=") + shot},
        out.filePath("profile")));

    QImage image(shot);
    QVERIFY(!image.isNull());
    int green = 0, dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > 150 && c.red() < 120 && c.blue() < 80) ++green;
            if (c.lightness() < 60) ++dark;
        }
    }
    QVERIFY2(green > 500, qPrintable(QStringLiteral("green pixels: %1").arg(green)));
    QVERIFY2(dark > 5000, qPrintable(QStringLiteral("dark pixels: %1").arg(dark)));
}

void TestGenerateHTMLBrowser::stationNameOutsideAsciiShows_data() {
    QTest::addColumn<QString>("location");
    QTest::newRow("recorded station") << QString::fromUtf8("Mayagüez, Puerto Rico");
    QTest::newRow("fraction") << QString::fromUtf8(
        "Rincon Point, Pier 22½, San Francisco Bay, California");
}

// The page declares no character set, so Chromium guesses one; whatever it guesses, the title
// and the heading it builds must hold the station's name.
void TestGenerateHTMLBrowser::stationNameOutsideAsciiShows() {
    QFETCH(QString, location);
    QTemporaryDir out;
    const QString page = GeneratePage(out.path(), location, 3, 2009);
    QVERIFY(!page.isEmpty());

    QByteArray dom;
    QVERIFY(RunChromium(page, {QStringLiteral("--dump-dom")}, out.filePath("profile"), &dom));
    const QByteArray name = location.toUtf8();
    QVERIFY2(dom.contains("<title>Tide Table for " + name + "</title>"), dom.left(300).constData());
    QVERIFY2(dom.contains("<h1>Tide Table for " + name + "</h1>"), dom.left(300).constData());
}

QUORVEX_TEST_MAIN(TestGenerateHTMLBrowser)
#include "tst_GenerateHTMLBrowser.moc"
