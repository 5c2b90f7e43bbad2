// TideTableMonth  One month's tide table page from one month's tide output.
#include "htmltables/TideTableMonth.h"

#include <QFileDevice>

#include "calendar/MonthEdge.h"
#include "calendar/TideOutputReader.h"
#include "htmltables/PageStream.h"
#include "htmltables/TideTablePage.h"
#include "platform/FullWrite.h"
#include "platform/Text.h"

namespace {

const QString kErrorMarker = QStringLiteral("harmonics.tcd:");
const QString kSunrise = QStringLiteral("sunrise");
const QString kSunset = QStringLiteral("sunset");

bool StartsWith(const QString& text, const QString& word) {
    return text.startsWith(word, Qt::CaseInsensitive);
}

}  // namespace

TideTableMonth::TideTableMonth(int month, int year, const QString& monthName)
    : month(month), year(year), monthName(monthName) {}

QString TideTableMonth::FileName() const { return TideTablePage::FileName(month, year); }

QString TideTableMonth::StatusText() const { return TideTablePage::StatusText(month, year); }

QString TideTableMonth::IndexEntry() const {
    return TideTablePage::IndexEntry(FileName(), monthName, year);
}

TideTableMonth::Result TideTableMonth::WritePage(QIODevice* device, const QString& output,
                                                 const QString& location,
                                                 const TideTableSources& sources) const {
    Result result;
    PageStream page(device);
    auto period = [&] { return sources.period ? sources.period() : TablePeriod(); };
    auto failed = [&] {
        if (!page.Failed()) return false;
        result.outcome = Outcome::WriteFailed;
        result.message = page.ErrorString();
        return true;
    };
    auto stopped = [&] {
        if (!sources.yield || sources.yield()) return false;
        result.outcome = Outcome::Stopped;
        return true;
    };
    // Writes the finished day's row; false when the page must end here.
    auto writeRow = [&](const DayTides& tides) {
        const DayRow::RowResult row =
            DayRow::GenerateOneDay(page, tides, month, year, sources.hiking, sources.yield);
        if (row.csvWriteFailed) result.csvWriteFailed = true;
        if (failed()) return false;
        if (!row.finished) {
            result.outcome = Outcome::Stopped;
            return false;
        }
        ++result.rows;
        return true;
    };

    TideTablePage::WriteHead(page, location, monthName, month, year, period());
    if (failed()) return result;

    if (StartsWith(output, kErrorMarker)) {
        result.outcome = Outcome::TideError;
        result.message = output;
        return result;
    }

    const QString prefix = TideOutputReader::MonthPrefix(year, month);
    TideOutputReader reader(output);
    DayTides tides;  // day -1 until the first line of the month
    QString line;
    while (reader.NextLine(&line)) {
        if (const auto event = TideOutputReader::ReadLine(line, prefix);
            event && !(sources.edge && sources.edge->RecordAndCheckRepeat(line, *event))) {
            if (event->day != tides.day) {
                if (tides.day > 0 && !writeRow(tides)) return result;
                tides.Begin(event->day);
            }
            const int t = event->hour * 60 + event->minute;
            const QString text = Text::Trim(event->eventText);
            switch (event->kind) {
                case TideEventKind::SunEvent:
                    if (StartsWith(text, kSunrise))
                        tides.sunrise = t;
                    else if (StartsWith(text, kSunset))
                        tides.sunset = t;
                    break;
                case TideEventKind::HighTide:
                    tides.AddTide(t, float(TideOutputReader::Height(text)), QLatin1Char('H'));
                    break;
                case TideEventKind::LowTide:
                    tides.AddTide(t, float(TideOutputReader::Height(text)), QLatin1Char('L'));
                    break;
                default:
                    break;
            }
        }
        if (stopped()) return result;
    }
    if (tides.day > 0 && !writeRow(tides)) return result;

    TideTablePage::WriteTail(page, month, year, period());
    if (failed()) return result;
    if (auto* file = qobject_cast<QFileDevice*>(device); file && !FullWrite::Flush(*file)) {
        result.outcome = Outcome::WriteFailed;
        result.message = file->errorString();
    }
    return result;
}
