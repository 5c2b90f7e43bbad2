// tst_GenerateHTMLBrowser  A generated monthly page as a browser shows it: headless Chromium
// renders the page, and the rendering must hold the table text and the green of the good tides.
// Skipped when Chromium is not installed (label "browser").
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
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

class TestGenerateHTMLBrowser : public QObject {
    Q_OBJECT
  private slots:
    void generatedPageRendersWithGreenTides();
};

void TestGenerateHTMLBrowser::generatedPageRendersWithGreenTides() {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) QSKIP("chromium is not installed");

    XTideFixture fixture;
    QVERIFY(fixture.isValid());
    App app;
    app.xtideFolder = fixture.xtideFolder();
    QTemporaryDir out;
    ScriptedDialogs dialogs;
    auto* w = new GenerateHTML;
    w->Location->setText(QStringLiteral("Seattle, Puget Sound, Washington"));
    w->OutputPath->setText(out.path());
    w->FirstMonth->setCurrentIndex(2);
    w->FirstYear->setCurrentText(QStringLiteral("2026"));
    w->LastMonth->setCurrentIndex(2);
    w->LastYear->setCurrentText(QStringLiteral("2026"));
    w->DaylightMarginMenu->setCurrentText(QStringLiteral("1 hour"));
    w->GenerateButton_Action();
    QTRY_COMPARE_WITH_TIMEOUT(w->Status->text(), QStringLiteral("Done"), 20000);
    delete w;

    const QString page = QDir(out.path()).filePath(QStringLiteral("2026-03-tides.html"));
    const QString shot = QDir(out.path()).filePath(QStringLiteral("page.png"));
    QProcess browser;
    browser.setProcessChannelMode(QProcess::MergedChannels);
    // Chromium keeps a socket in the temporary folder, whose path must stay short.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    browser.setProcessEnvironment(env);
    browser.start(chromium,
                  {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                   QStringLiteral("--disable-gpu"),
                   QStringLiteral("--user-data-dir=") + out.filePath("profile"),
                   QStringLiteral("--window-size=1000,1400"),
                   QStringLiteral("--screenshot=") + shot, QStringLiteral("file://") + page});
    QVERIFY(browser.waitForFinished(90000));
    QVERIFY2(browser.exitCode() == 0, browser.readAll().constData());

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

QUORVEX_TEST_MAIN(TestGenerateHTMLBrowser)
#include "tst_GenerateHTMLBrowser.moc"
