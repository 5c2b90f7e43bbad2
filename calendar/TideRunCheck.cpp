// TideRunCheck  Failure check of one month's tide run.
#include "calendar/TideRunCheck.h"

#include <QStringList>

#include "calendar/TideOutputReader.h"
#include "engine/TideGetter.h"
#include "platform/Text.h"

namespace {

const QString kHarmonicsError = QStringLiteral("harmonics.tcd:");
const QString kErrorMark = QStringLiteral("Error:");

bool IsDashLine(const QString& line) {
    const QString t = line.trimmed();
    return t.size() >= 10 && t.count(QLatin1Char('-')) == t.size();
}

bool IsBlank(const QString& line) { return line.trimmed().isEmpty(); }

}  // namespace

TideRunResult TideRunCheck::Check(const TideGetter& getter) {
    if (getter.OutputLimitReached()) return {true, OutputLimitMessage()};
    return Check(getter.Started(), getter.Crashed(), getter.ErrorCode(), getter.StandardOutput(),
                 getter.ErrorOutput());
}

QString TideRunCheck::OutputLimitMessage() {
    return QStringLiteral(
               "tide was stopped: it printed more than %1 MiB for one month, where a month of "
               "predictions takes some 10 KB. Check that the XTide folder holds XTide's tide "
               "program.")
        .arg(TideGetter::kOutputLimit / (1024 * 1024));
}

TideRunResult TideRunCheck::Check(bool started, bool crashed, int exitCode,
                                  const QByteArray& standardOutput, const QByteArray& errorOutput) {
    TideRunResult result;
    const QString all = TideOutputReader::OutputText(standardOutput + errorOutput);
    if (Text::Same(Text::Left(all, kHarmonicsError.size()), kHarmonicsError)) {
        result.failed = true;
        result.message = all;
        return result;
    }

    const QString errors = WithoutBanner(TideOutputReader::OutputText(errorOutput));
    const bool namesError = Text::InStr(errors, kErrorMark) > 0;
    QString heading;
    if (!started)
        heading = QStringLiteral("Unable to run tide: the shell could not be started.");
    else if (crashed)
        heading = QStringLiteral("tide stopped unexpectedly.");
    else if (exitCode != 0 && !namesError)
        heading = QStringLiteral("Unable to run tide (exit status %1)").arg(exitCode);

    if (heading.isEmpty() && !namesError && exitCode == 0) return result;

    result.failed = true;
    if (heading.isEmpty())
        result.message = errors;
    else if (errors.isEmpty())
        result.message = heading;
    else
        result.message = heading + QStringLiteral("\n\n") + errors;
    return result;
}

QString TideRunCheck::WithoutBanner(const QString& errorOutput) {
    QStringList lines = errorOutput.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);

    int first = 0;
    while (first < lines.size() && IsBlank(lines.at(first))) ++first;
    if (first < lines.size() && IsDashLine(lines.at(first))) {
        int close = first + 1;
        while (close < lines.size() && !IsDashLine(lines.at(close))) ++close;
        if (close < lines.size()) lines = lines.mid(close + 1);
    }

    QStringList kept;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1String("Indexing ")) && t.endsWith(QLatin1String("..."))) continue;
        kept.append(line);
    }
    while (!kept.isEmpty() && IsBlank(kept.first())) kept.removeFirst();
    while (!kept.isEmpty() && IsBlank(kept.last())) kept.removeLast();
    return kept.join(QLatin1Char('\n'));
}
