// TideTablePage  The fixed parts of a monthly HTML tide table: the page head with its table
// heading, the page tail, the page's file name, its index entry and the run's scrap file.
#pragma once

#include <QString>

#include "htmltables/Navigation.h"

class PageStream;

namespace TideTablePage {

// File names inside the output folder.
inline const QString kScrapFileName = QStringLiteral("output-scrap.html");
inline const QString kCsvFileName = QStringLiteral("csv-version.txt");

// "YYYY-MM-tides.html": "2009-03-tides.html" for March 2009.
QString FileName(int month, int year);

// The status line while a month is written: "03/2009 computed".
QString StatusText(int month, int year);

// `text` as pure ASCII page text: "&", "<" and ">" as HTML entities, every other character
// outside ASCII as a numeric character reference ("&#252;" for "ü"). A lone surrogate, which is
// how a location name keeps a byte that is no character (LocationName), becomes the replacement
// character "&#65533;", one per byte. ASCII but for those three stays as it is.
QString EscapeHtml(const QString& text);

// One line of the index list, ended by a carriage return:
// <li>Tide Table for <a href="2009-03-tides.html">March 2009</a>
QString IndexEntry(const QString& pageFileName, const QString& monthName, int year);

// The whole text of "output-scrap.html": "<ul>", CR, the index entries, "</ul>", CR.
QString ScrapText(const QString& indexText);

// Head lines 1-22: title and headings naming `location` (through EscapeHtml) and "monthName
// YYYY", the green legend, a rule, the navigation row for `period`, and the table start with
// its eight-column heading row.
void WriteHead(PageStream& page, const QString& location, const QString& monthName, int month,
               int year, const TablePeriod& period);

// Tail lines 1-35, after the last day row: the table end, the navigation row for `period`, and
// the fixed links, note and image links up to "</body></html>".
void WriteTail(PageStream& page, int month, int year, const TablePeriod& period);

}  // namespace TideTablePage
