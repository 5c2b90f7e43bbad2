// TideRunCheck  Decides whether one month's tide run failed and what the user is told then.
// Shared by the calendar and HTML windows.
#pragma once

#include <QByteArray>
#include <QString>

class TideGetter;

struct TideRunResult {
    bool failed = false;
    QString message;  // for the message box; empty when the month did not fail
};

// A month fails when
//  - tide printed more than the getter takes (TideGetter::kOutputLimit) and was stopped;
//  - its whole output (standard output, then error output) begins with "harmonics.tcd:" in
//    any case: the message is that whole output;
//  - bash could not be started, the process was killed by a signal, or it exited non-zero;
//  - its error output reports an error ("Error:", as in "XTide Error:  STATION_NOT_FOUND",
//    which tide prints with exit status 0 and no prediction).
// Otherwise the error messages are tide's error output without its disclaimer banner and
// "Indexing ..." line, headed by "Unable to run tide (exit status N)" where that output
// names no error itself (a missing or unrunnable tide). A failed month stops the run.
class TideRunCheck {
  public:
    // Reads a TideGetter whose process has ended.
    static TideRunResult Check(const TideGetter& getter);
    static TideRunResult Check(bool started, bool crashed, int exitCode,
                               const QByteArray& standardOutput, const QByteArray& errorOutput);

    // The message of a month whose tide printed past the bound.
    static QString OutputLimitMessage();

    // `errorOutput` less tide's disclaimer banner (the block between two dashed lines and the
    // blank line after it), its "Indexing ..." lines and blank lines at both ends.
    static QString WithoutBanner(const QString& errorOutput);
};
