// ChildProcess  Starting and ending a child in its own process group.
#include "platform/ChildProcess.h"

#include <signal.h>
#include <unistd.h>

#include <QProcess>

namespace ChildProcess {

void UseOwnProcessGroup(QProcess& process) {
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    const qint64 pid = process.processId();
    if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
    process.waitForFinished(2000);
}

}  // namespace ChildProcess
