// Tests of the fixed page texts: file and status names, index entry, scrap file, HTML escaping
// of the location, and the navigation row.
#include <QBuffer>
#include <QTest>

#include "engine/LocationName.h"
#include "htmltables/Navigation.h"
#include "htmltables/PageStream.h"
#include "htmltables/TideTablePage.h"
#include "support/TestMain.h"

Q_DECLARE_METATYPE(TablePeriod)

class TestTideTablePage : public QObject {
    Q_OBJECT
  private slots:
    void monthNames_data();
    void monthNames();
    void indexAndScrapText();
    void escapeHtml_data();
    void escapeHtml();
    void headEscapesLocationOnly();
    void navigation_data();
    void navigation();
};

void TestTideTablePage::monthNames_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("status");
    QTest::newRow("March 2009") << 3 << 2009 << "2009-03-tides.html"
                                << "03/2009 computed";
    QTest::newRow("December 2010") << 12 << 2010 << "2010-12-tides.html"
                                   << "12/2010 computed";
    QTest::newRow("January 2027") << 1 << 2027 << "2027-01-tides.html"
                                  << "01/2027 computed";
}

void TestTideTablePage::monthNames() {
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(QString, fileName);
    QCOMPARE(TideTablePage::FileName(month, year), fileName);
    QFETCH(QString, status);
    QCOMPARE(TideTablePage::StatusText(month, year), status);
}

void TestTideTablePage::indexAndScrapText() {
    const QString march = TideTablePage::IndexEntry("2009-03-tides.html", "March", 2009);
    QCOMPARE(march, QString("<li>Tide Table for <a href=\"2009-03-tides.html\">March 2009</a>\r"));

    const QString index = march + TideTablePage::IndexEntry("2009-04-tides.html", "April", 2009) +
                          TideTablePage::IndexEntry("2009-05-tides.html", "May", 2009);
    QCOMPARE(TideTablePage::ScrapText(index),
             QString("<ul>\r"
                     "<li>Tide Table for <a href=\"2009-03-tides.html\">March 2009</a>\r"
                     "<li>Tide Table for <a href=\"2009-04-tides.html\">April 2009</a>\r"
                     "<li>Tide Table for <a href=\"2009-05-tides.html\">May 2009</a>\r"
                     "</ul>\r"));
    QCOMPARE(TideTablePage::ScrapText(QString()), QString("<ul>\r</ul>\r"));
}

void TestTideTablePage::escapeHtml_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("plain") << "Seattle, Puget Sound, Washington"
                           << "Seattle, Puget Sound, Washington";
    QTest::newRow("ampersand") << "Tom & Jerry Cove"
                               << "Tom &amp; Jerry Cove";
    QTest::newRow("tag") << "<b>Bay</b>"
                         << "&lt;b&gt;Bay&lt;/b&gt;";
    QTest::newRow("entity stays text") << "A&amp;B"
                                       << "A&amp;amp;B";
    QTest::newRow("quotes unchanged") << "O'Neil \"Point\""
                                      << "O'Neil \"Point\"";
    // The page names no character set: whatever lies beyond ASCII goes out as a reference.
    QTest::newRow("accented") << QString::fromUtf8("Mayagüez, Puerto Rico")
                              << "Mayag&#252;ez, Puerto Rico";
    QTest::newRow("two accents") << QString::fromUtf8("Bahía Sucia, Caño Boquerón")
                                 << "Bah&#237;a Sucia, Ca&#241;o Boquer&#243;n";
    QTest::newRow("fraction and ampersand") << QString::fromUtf8("Rincon Point, Pier 22½ & <Dock>")
                                            << "Rincon Point, Pier 22&#189; &amp; &lt;Dock&gt;";
    QTest::newRow("beyond the basic plane")
        << QString::fromUtf8("Cove \U0001D11E") << "Cove &#119070;";
    // Listed bytes that are no character (a name cut inside "ñ", a stray Latin-1 byte) are
    // shown as the replacement character, one per byte, never as some other letter.
    QTest::newRow("name cut inside a character")
        << LocationName::FromListing("Isla de Ratones, Ca\xc3", LocationName::Charset::Utf8)
        << "Isla de Ratones, Ca&#65533;";
    QTest::newRow("stray bytes") << LocationName::FromListing("Caf\xe9 \xff\xfe",
                                                              LocationName::Charset::Utf8)
                                 << "Caf&#65533; &#65533;&#65533;";
    QTest::newRow("Latin-1 listing")
        << LocationName::FromListing("Caf\xe9", LocationName::Charset::Latin1) << "Caf&#233;";
}

void TestTideTablePage::escapeHtml() {
    QFETCH(QString, text);
    QFETCH(QString, escaped);
    QCOMPARE(TideTablePage::EscapeHtml(text), escaped);
}

void TestTideTablePage::headEscapesLocationOnly() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PageStream page(&buffer);
    TideTablePage::WriteHead(page, "Smith & Sons <Dock>", "March", 3, 2009, {3, 2009, 3, 2009});
    const QList<QByteArray> lines = buffer.data().split('\n');
    QCOMPARE(lines.size(), 23);  // 22 lines, each ended by a line feed
    QCOMPARE(lines[0], QByteArray("<html><head><title>Tide Table for Smith &amp; Sons "
                                  "&lt;Dock&gt;</title></head>"));
    QCOMPARE(lines[2],
             QByteArray("<center><h1>Tide Table for Smith &amp; Sons &lt;Dock&gt;</h1></center>"));
    QCOMPARE(lines[3], QByteArray("<center><h2>March 2009</h2></center>"));
}

void TestTideTablePage::navigation_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<TablePeriod>("period");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("next");
    const QString none = "<td width=20%>&nbsp</td>";
    auto previous = [](const char* page) {
        return QString("<td width=20%><center><a href=\"%1\">Previous Month</a></center></td>")
            .arg(page);
    };
    auto next = [](const char* page) {
        return QString("<td width=20%><center><a href=\"%1\">Next Month</a></center></td>")
            .arg(page);
    };
    QTest::newRow("January inside the period")
        << 1 << 2009 << TablePeriod{11, 2008, 6, 2009} << previous("2008-12-tides.html")
        << next("2009-02-tides.html");
    QTest::newRow("December inside the period")
        << 12 << 2009 << TablePeriod{1, 2009, 3, 2010} << previous("2009-11-tides.html")
        << next("2010-01-tides.html");
    QTest::newRow("first month") << 5 << 2010 << TablePeriod{5, 2010, 8, 2010} << none
                                 << next("2010-06-tides.html");
    QTest::newRow("last month") << 8 << 2010 << TablePeriod{5, 2010, 8, 2010}
                                << previous("2010-07-tides.html") << none;
    QTest::newRow("one-month period") << 3 << 2009 << TablePeriod{3, 2009, 3, 2009} << none << none;
    QTest::newRow("same month, other year")
        << 3 << 2009 << TablePeriod{3, 2008, 3, 2010} << previous("2009-02-tides.html")
        << next("2009-04-tides.html");
    // The run ends after the month whose next month lies after the last (as it does with no
    // last month selected), so that page links to no next page.
    QTest::newRow("no popup selection")
        << 3 << 2009 << TablePeriod{0, 2009, 0, 2009} << previous("2009-02-tides.html") << none;
    QTest::newRow("last month before the first")
        << 5 << 2010 << TablePeriod{5, 2010, 3, 2010} << none << none;
    QTest::newRow("last year before the first")
        << 11 << 2010 << TablePeriod{11, 2010, 12, 2009} << none << none;
}

void TestTideTablePage::navigation() {
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(TablePeriod, period);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    PageStream page(&buffer);
    Navigation::GenerateNavigation(page, month, year, period);
    QFETCH(QString, previous);
    QFETCH(QString, next);
    const QString expected = "<table width=100%><tr>\n" + previous +
                             "\n<td width=60%>&nbsp</td>\n" + next + "\n</tr></table>\n";
    QCOMPARE(QString::fromUtf8(buffer.data()), expected);
}

QUORVEX_TEST_MAIN(TestTideTablePage)
#include "tst_TideTablePage.moc"
