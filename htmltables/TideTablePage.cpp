// TideTablePage  Literals and writers of a monthly tide table's head, tail and index.
#include "htmltables/TideTablePage.h"

#include "htmltables/PageStream.h"
#include "platform/Text.h"

namespace {

const char* const kTitleStart = "<html><head><title>Tide Table for ";
const char* const kTitleEnd = "</title></head>";
const char* const kBody = "<body bgcolor=\"#ffffff\">";
const char* const kHeadingStart = "<center><h1>Tide Table for ";
const char* const kHeadingEnd = "</h1></center>";
const char* const kMonthStart = "<center><h2>";
const char* const kMonthEnd = "</h2></center>";
const char* const kLegend =
    "<center><span style=\"color: rgb(51, 204, 0);\">The tides in green are good hiking "
    "tides</span></center>";
const char* const kRule = "<hr>";

const char* const kTableHeading[] = {
    "<table border=2px width=100%>",
    "<tr>",
    "<td width=9%><center><b>Day</b></center></td>",
    "<td width=13%><center><b>High</b></center></td>",
    "<td width=13%><center><b>Low</b></center></td>",
    "<td width=13%><center><b>High</b></center></td>",
    "<td width=13%><center><b>Low</b></center></td>",
    "<td width=13%><center><b>High</b></center></td>",
    "<td width=13%><center><b>Sunrise</b></center></td>",
    "<td width=13%><center><b>Sunset</b></center></td>",
    "</tr>",
};

const char* const kTableEnd = "</table>";

// Tail lines 7-35. Trailing blanks are part of the text.
const char* const kTailAfterNavigation[] = {
    "<hr>",
    "<center><span style=\"color: rgb(51, 204, 0);\">The tides in green are good hiking "
    "tides</span></center><p>",
    "<center>For more tide tables for the North Olympic Peninsula: ",
    "<a href=\"../alava/index.html\">Cape Alava</a> - ",
    "<a href=\"../dungeness/index.html\">Dungeness Spit</a> - ",
    "<a href=\"../lapush/index.html\">La Push, Second Beach and Rialto Beach</a>",
    "</center></p>",
    "<center>For more information about these beaches: ",
    "<a href=\"../../portangeles/alava/index.html\">Cape Alava</a> - ",
    "<a href=\"../../portangeles/dungeness.html\">Dungeness Spit</a> - ",
    "<a href=\"../../portangeles/second/index.html\">Second Beach</a> and <a "
    "href=\"../../portangeles/rialto/index.html\">Rialto Beach</a>",
    "</center></p>",
    "<center>For more on planning your trip and getting the most out of the peninsula, see our",
    "<a href=\"../../index.html\">home page</a></center></p>",
    "<hr>",
    "<center>",
    "NOTE: These tide tables were generated using XTide 2.6, an open source tide table "
    "generator. Our experience indicates that",
    "they are fairly accurate, but we've seen minor variations between these tables and other "
    "published and online tables. We make",
    "no claim as to their accuracy.Hiking Pacific beaches can be dangerous. Even at low tide you "
    "can encounter a rogue wave. Remember",
    "that you are hiking at your own risk. These tables are good for planning a trip, but as "
    "always, keep your eyes on the ocean and the",
    "beach logs.",
    "</center>",
    "<hr>",
    "<center>",
    "<a href=\"../../index.html\"><img src=\"../../smallvost.gif\">",
    "<a href=\"../../feedback.html\"><img src=\"../../smallmail.gif\">",
    "</center>",
    "<hr>",
    "</body></html>",
};

const char* const kPageSuffix = "-tides.html";
const char* const kComputed = " computed";
const char* const kIndexStart = "<li>Tide Table for <a href=\"";
const char* const kIndexLinkEnd = "\">";
const char* const kIndexEnd = "</a>";
const char* const kListStart = "<ul>";
const char* const kListEnd = "</ul>";

const QChar kCarriageReturn(13);

// The page declares no character set, so everything beyond ASCII goes out as "&#252;": a browser
// shows it right whatever encoding it assumes.
QString CharacterReference(char32_t code) {
    return QStringLiteral("&#") + QString::number(quint32(code)) + QLatin1Char(';');
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

QString YYYY(int year) { return Text::Format(year, QStringLiteral("0000")); }
QString MM(int month) { return Text::Format(month, QStringLiteral("00")); }

}  // namespace

namespace TideTablePage {

QString FileName(int month, int year) {
    return YYYY(year) + QLatin1Char('-') + MM(month) + QLatin1String(kPageSuffix);
}

QString StatusText(int month, int year) {
    return MM(month) + QLatin1Char('/') + YYYY(year) + QLatin1String(kComputed);
}

QString EscapeHtml(const QString& text) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u == '&') {
            out += QStringLiteral("&amp;");
        } else if (u == '<') {
            out += QStringLiteral("&lt;");
        } else if (u == '>') {
            out += QStringLiteral("&gt;");
        } else if (u < 0x80) {
            out += QChar(u);
        } else if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            out += CharacterReference(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(u)) {
            // A byte of the name that is no character (see LocationName): shown as such.
            out += CharacterReference(kReplacementCharacter);
        } else {
            out += CharacterReference(u);
        }
    }
    return out;
}

QString IndexEntry(const QString& pageFileName, const QString& monthName, int year) {
    return QLatin1String(kIndexStart) + pageFileName + QLatin1String(kIndexLinkEnd) + monthName +
           QLatin1Char(' ') + YYYY(year) + QLatin1String(kIndexEnd) + kCarriageReturn;
}

QString ScrapText(const QString& indexText) {
    return QLatin1String(kListStart) + kCarriageReturn + indexText + QLatin1String(kListEnd) +
           kCarriageReturn;
}

void WriteHead(PageStream& page, const QString& location, const QString& monthName, int month,
               int year, const TablePeriod& period) {
    const QString name = EscapeHtml(location);
    page.WriteLine(QLatin1String(kTitleStart) + name + QLatin1String(kTitleEnd));
    page.WriteLine(QLatin1String(kBody));
    page.WriteLine(QLatin1String(kHeadingStart) + name + QLatin1String(kHeadingEnd));
    page.WriteLine(QLatin1String(kMonthStart) + monthName + QLatin1Char(' ') + YYYY(year) +
                   QLatin1String(kMonthEnd));
    page.WriteLine(QLatin1String(kLegend));
    page.WriteLine(QLatin1String(kRule));
    Navigation::GenerateNavigation(page, month, year, period);
    for (const char* line : kTableHeading) page.WriteLine(QLatin1String(line));
}

void WriteTail(PageStream& page, int month, int year, const TablePeriod& period) {
    page.WriteLine(QLatin1String(kTableEnd));
    Navigation::GenerateNavigation(page, month, year, period);
    for (const char* line : kTailAfterNavigation) page.WriteLine(QLatin1String(line));
}

}  // namespace TideTablePage
