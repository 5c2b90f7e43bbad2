// MonthEdge  An event that both the month's tide run and the next month's print.
//
// tide finds each extremum by stepping from the one before, starting where its run begins, so an
// event within seconds of midnight can come out of two runs a minute apart: at 11:59 PM on the
// last day of one month and at 12:00 AM on the first of the next, with the same text after the
// time (zone, value, kind). The second is that same event, and a run reads it once. This is
// decided on tide's lines, before any filter, so every filter setting gives the same answer.
#pragma once

#include <QString>
#include <QStringList>

#include "calendar/TideEventLine.h"

// Use: one per run, new (or Clear()ed) when the run starts. Call BeginMonth() before reading a
// month's output, then RecordAndCheckRepeat() for each event line of the month, in order.
class MonthEdge {
  public:
    void Clear();
    // The run now reads the month (1-12) of `year`. The previous month's last-minute events
    // count for it only when it is the calendar month after the one read before.
    void BeginMonth(int month, int year);
    // Records `line` (whose event `event` is) when it lies in the month's last minute, for the
    // next month to compare with; true when it repeats an event of the previous month's last
    // minute, and the caller passes over it. Every line of the month is to be offered, in order.
    bool RecordAndCheckRepeat(const QString& line, const TideEventLine& event);

  private:
    // The text of a prediction line after its time: zone, value and kind.
    static QString AfterTime(const QString& line);

    int month = 0;
    int year = 0;
    int lastDay = 0;
    QStringList previous;  // after-time texts of the last minute of the month before
    QStringList current;   // the same of the month being read
};
