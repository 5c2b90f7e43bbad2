// CalendarWriter  Writes the header, entries and footer of the four calendar formats and of
// the plain fallback to an open device.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringEncoder>

class QIODevice;

// The file is UTF-8 with line feeds, except: comma-separated lines end with a carriage return
// only, and Palm Desktop records use the single bytes 252 (field separator) and 253 (record
// end), with no line ending. iCal TEXT values (calendar name, summaries) are escaped as
// iCalendar requires; the RSS location and event texts are escaped for XML. A character that a
// format cannot hold (a control character in iCal or RSS) is written as U+FFFD, and a line end
// inside a comma-separated text as a blank, so every file stays valid and keeps every event.
//
// The format is passed to every call, not held; a run passes the format it started with to
// the header, each event and the footer alike. Format texts are compared
// case-blind with "iCal", "Palm Desktop", "Comma Separated Text" and "RSS"; any other text
// (an empty one) writes plain event lines with no header and no footer.
//
// Short dates and times follow the default QLocale (the user's settings), ShortFormat.
class CalendarWriter {
  public:
    enum class Format { ICal, PalmDesktop, CommaSeparatedText, RSS, Plain };
    static Format FormatOf(const QString& outputFormat);

    // The device must be open for writing and outlive the writer.
    explicit CalendarWriter(QIODevice* device);
    // Hands the device what a month stopped early has written so far.
    ~CalendarWriter();

    // Each returns false when the device refused the bytes (disk full, file gone); the run
    // must then stop. After a failure every later call fails too and ErrorString() says why.
    // Outside a month (below) every call writes its bytes through to the file at once.
    bool WriteHeader(const QString& outputFormat, const QString& location);
    // As above with a given publication date (the RSS channel's pubDate, written with the offset
    // from UTC that `now` carries).
    bool WriteHeader(const QString& outputFormat, const QString& location, const QDateTime& now);
    // year and month of the month read, day as printed, hour 0-23; `zone` is the zone word tide
    // printed on the event's line, whose offset the RSS date carries (TideZone).
    bool WriteEvent(const QString& outputFormat, int year, int month, int day, int hour, int minute,
                    const QString& eventText, const QString& zone = QString());
    bool WriteFooter(const QString& outputFormat);

    // A month's entries: after BeginMonth() they are held and go to the file together, in
    // pieces of kPiece bytes and the rest at EndMonth(), so that a month costs a few writes
    // instead of several per entry. A refusal shows at the entry that completes a piece, or at
    // the latest at EndMonth(), which writes everything through to the file and returns false
    // when the device refused it. A writer destroyed within a month hands over what it holds.
    void BeginMonth();
    bool EndMonth();

    static constexpr qsizetype kPiece = 16384;

    bool Failed() const { return failed; }
    QString ErrorString() const { return error; }

    // One Palm Desktop record: text, F, date, F, F, time, F, date, F, F, F, "Not Private", R
    // where F is the byte 252 and R the byte 253; the texts in UTF-8.
    static QByteArray PalmDesktopEvent(int year, int month, int day, int hour, int minute,
                                       const QString& text);
    // Short date, ", ", short time, ",", the text unquoted (its line ends as blanks), and a
    // carriage return.
    static QString CommaSeparatedEvent(int year, int month, int day, int hour, int minute,
                                       const QString& text);
    // RFC 822 date as RSS uses it, with a four-digit year and the given zone text ("-0800"):
    // "Sun, 01 Mar 2009 14:30:00 -0800".
    static QString FormatToRSSDate(int year, int month, int day, int hour, int minute, int second,
                                   const QString& zone);

    // The maker's web page, written into the RSS generator comment (without the scheme), the
    // channel link and the generator element.
    static const char* const MakerAddress;

  private:
    bool Put(const QByteArray& bytes);
    bool Line(const QString& text);  // UTF-8 and a line feed
    bool Pass();          // hands the held bytes to the device when due; false on a refusal
    bool WriteThrough();  // flushes a file device; false (and failed) on a refusal
    bool Fail();          // records the device's refusal; returns false

    QIODevice* device;
    QStringEncoder encoder;
    QByteArray held;  // written but not yet handed to the device
    bool inMonth = false;
    bool failed = false;
    QString error;
};
