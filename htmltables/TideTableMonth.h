// TideTableMonth  Writes one month's HTML tide table from that month's tide output: the page
// head, one row per day that the output names, the page tail; and the month's good hiking
// tides to "csv-version.txt".
#pragma once

#include <QString>

#include "htmltables/DayRow.h"
#include "htmltables/Navigation.h"

class MonthEdge;
class QIODevice;

// The window's side of a page, each read when the page needs it: the period popups for each of
// the two navigation rows, the hiking state for each tide judged, and the yield after every
// line of output and every tide column.
struct TideTableSources {
    TablePeriodSource period;  // empty: no period popups, so both links on every page
    HikingStateSource hiking;  // empty: margin 0, height 0, no csv list
    YieldFunction yield;       // empty: never yields, never stops
    // The run's events of the last minute of the month before, begun for this month; an event
    // line that repeats one of them is passed over. None: every line is read.
    MonthEdge* edge = nullptr;
};

class TideTableMonth {
  public:
    enum class Outcome {
        Written,      // the whole page is written
        TideError,    // the output is tide's "harmonics.tcd:" error: only the head is written
        Stopped,      // the yield said stop: the page is unfinished, nothing more was written
        WriteFailed,  // the page device refused bytes: the page is unfinished
    };
    struct Result {
        Outcome outcome = Outcome::Written;
        // TideError: the whole output, for the message box. WriteFailed: the device's error.
        QString message;
        int rows = 0;                 // day rows written
        bool csvWriteFailed = false;  // some line for "csv-version.txt" was refused
    };

    // `month` 1-12, four-digit `year`; `monthName` is the text the page shows for the month
    // (the window's month popup item, "March").
    TideTableMonth(int month, int year, const QString& monthName);

    QString FileName() const;    // "2009-03-tides.html"
    QString StatusText() const;  // "03/2009 computed"
    // The month's line of the index list, to be appended by the caller before the page is
    // written (see TideTablePage::IndexEntry).
    QString IndexEntry() const;

    // Writes the page to `page` (open for writing; the caller opens and closes it). `output`
    // is the month's whole tide output as text (TideOutputReader::OutputText). `location` is
    // the location name as the window shows it; the page escapes it.
    //
    // The output is read line by line with the shared reader; lines of other months are
    // skipped. A day's row is written when the next day begins and after the last line; a day
    // with no line gets no row. Sun lines beginning "sunrise"/"sunset" (any case) set the
    // day's sun times, the last one winning; high and low tides are collected in order with
    // their printed height; other events are ignored.
    //
    // The caller must not touch `page` during a yield except to end the run, and must see that
    // the devices `sources.hiking` names stay open while it names them. A QFileDevice page is
    // flushed at the end so that a full disk shows as WriteFailed.
    Result WritePage(QIODevice* page, const QString& output, const QString& location,
                     const TideTableSources& sources) const;

  private:
    int month;
    int year;
    QString monthName;
};
