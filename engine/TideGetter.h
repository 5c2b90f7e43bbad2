// TideGetter  One month's tide prediction run in the background (bash -c). When the process
// has ended it calls Completed() of its receiver; it parses nothing itself.
//
// Lifetime: a window keeps its getter in a QPointer and releases the old one with deleteLater(),
// never delete: the receiver starts the next month (a new getter) from inside Completed(), and
// the old getter and its output must stay valid until its completion handler has returned.
// Destroying a getter whose command still runs ends the child process (the whole process group
// of the command line) and calls nothing.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>

#include "engine/TideReceiver.h"

class TideGetter : public QObject {
    Q_OBJECT
  public:
    explicit TideGetter(QObject* parent = nullptr);
    ~TideGetter() override;  // a running child process is killed

    // Receivers: the main window and the HTML window; each must be a QObject that is also a
    // TideReceiver. On completion: ReportTo when one was set, else GenerateTo when one was set,
    // else the main window in App::reportTo, else nobody. A receiver that was set and has been
    // destroyed meanwhile is not replaced by another: that completion is dropped.
    template <class W>
    void SetReportTo(W* window) {
        reportTo = window;
        reportToReceiver = window;
        reportToSet = window != nullptr;
    }
    template <class W>
    void SetGenerateTo(W* window) {
        generateTo = window;
        generateToReceiver = window;
        generateToSet = window != nullptr;
    }
    bool HasReportTo() const { return reportTo; }
    bool HasGenerateTo() const { return generateTo; }

    // Starts `command` under /bin/bash -c and returns at once. Completed follows exactly once,
    // always from the event loop, also when the shell cannot be started (Started() is then
    // false). A getter runs one command; a second Execute ends the first without its Completed.
    void Execute(const QString& command);
    // Ends a running command (its Completed is not called afterwards).
    void Kill();
    // True from Execute until the completion has been handed over (or Kill).
    bool IsRunning() const;

    // After completion: the whole output, standard output then error output.
    QByteArray ReadAll() const;
    QByteArray StandardOutput() const;
    QByteArray ErrorOutput() const;
    int ErrorCode() const;  // exit status; -1 when the process did not start or crashed
    bool Started() const;   // false when bash itself could not be started
    bool Crashed() const;   // killed by a signal
    // True when the command printed more than kOutputLimit bytes: it was stopped there, and the
    // output holds what came before the bound. A real month is some 10 KB.
    bool OutputLimitReached() const;

    static constexpr qsizetype kOutputLimit = 64 * 1024 * 1024;

    // The program that runs command lines ("/bin/bash" unless a test changes it).
    void SetShellForTesting(const QString& program) { shell = program; }

  signals:
    // Emitted after the receiver's Completed() has returned (not after Kill).
    void Finished();

  private:
    // Appends what the process has printed on the channel `channel` stands for (out or err),
    // or stops the process when that would pass the bound.
    void Take(QByteArray& channel);
    void Event_Completed(bool failedToStart);

    QProcess process;
    QString shell = QStringLiteral("/bin/bash");
    QPointer<QObject> reportTo;
    TideReceiver* reportToReceiver = nullptr;
    bool reportToSet = false;
    QPointer<QObject> generateTo;
    TideReceiver* generateToReceiver = nullptr;
    bool generateToSet = false;
    QByteArray out;
    QByteArray err;
    int exitCode = -1;
    bool started = false;
    bool crashed = false;
    bool overflowed = false;
    bool running = false;
};
