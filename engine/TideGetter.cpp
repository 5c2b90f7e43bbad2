// TideGetter  One month's tide run in the background and the hand-over of its completion.
#include "engine/TideGetter.h"

#include "calendar/QuorvexWindow.h"
#include "core/App.h"
#include "platform/ChildProcess.h"

TideGetter::TideGetter(QObject* parent) : QObject(parent) {
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // The command line runs in a process group of its own, so that ending it also ends the tide
    // that bash started.
    ChildProcess::UseOwnProcessGroup(process);
    // Queued: the receiver may release this getter, and the handler must not run inside
    // QProcess's own signal emission.
    connect(
        &process, &QProcess::finished, this, [this] { Event_Completed(false); },
        Qt::QueuedConnection);
    // The output is taken as it comes, so that a tide that never stops printing is stopped at
    // the bound instead of filling memory.
    connect(&process, &QProcess::readyReadStandardOutput, this, [this] { Take(out); });
    connect(&process, &QProcess::readyReadStandardError, this, [this] { Take(err); });
    connect(
        &process, &QProcess::errorOccurred, this,
        [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) Event_Completed(true);
        },
        Qt::QueuedConnection);
}

TideGetter::~TideGetter() {
    process.disconnect(this);
    ChildProcess::Stop(process);
}

void TideGetter::Execute(const QString& command) {
    if (running) Kill();
    out.clear();
    err.clear();
    overflowed = false;
    exitCode = -1;
    started = false;
    crashed = false;
    running = true;
    process.start(shell, {QStringLiteral("-c"), command});
    process.closeWriteChannel();
}

void TideGetter::Kill() {
    running = false;
    ChildProcess::Stop(process);
}

bool TideGetter::IsRunning() const { return running; }
QByteArray TideGetter::ReadAll() const { return out + err; }
QByteArray TideGetter::StandardOutput() const { return out; }
QByteArray TideGetter::ErrorOutput() const { return err; }
int TideGetter::ErrorCode() const { return exitCode; }
bool TideGetter::Started() const { return started; }
bool TideGetter::Crashed() const { return crashed; }
bool TideGetter::OutputLimitReached() const { return overflowed; }

void TideGetter::Take(QByteArray& channel) {
    const QByteArray bytes =
        &channel == &out ? process.readAllStandardOutput() : process.readAllStandardError();
    if (overflowed) return;
    if (out.size() + err.size() + bytes.size() > kOutputLimit) {
        // Ended here; the completion follows from the event loop as for any end.
        overflowed = true;
        ChildProcess::Kill(process);
        return;
    }
    channel += bytes;
}

void TideGetter::Event_Completed(bool failedToStart) {
    // Not after Kill, not twice, and not for a stale event of a command that a second Execute
    // replaced while its successor still runs.
    if (!running || process.state() != QProcess::NotRunning) return;
    running = false;
    started = !(failedToStart && process.error() == QProcess::FailedToStart);
    Take(out);
    Take(err);
    if (!started) {
        exitCode = -1;
    } else if (process.exitStatus() == QProcess::CrashExit) {
        crashed = true;
        exitCode = -1;
    } else {
        exitCode = process.exitCode();
    }

    QPointer<TideGetter> self(this);
    if (reportToSet) {
        if (reportTo) reportToReceiver->Completed();
    } else if (generateToSet) {
        if (generateTo) generateToReceiver->Completed();
    } else if (App* app = App::Instance()) {
        if (QPointer<QuorvexWindow> window = app->reportTo) window->Completed();
    }
    if (self) emit Finished();
}
