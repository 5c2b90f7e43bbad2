// ChildProcess  Starting and ending a child in its own process group.
#include "platform/ChildProcess.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QProcess>

namespace ChildProcess {

void UseOwnProcessGroup(QProcess& process, qint64 fileSizeLimit) {
    process.setChildProcessModifier([fileSizeLimit] {
        ::setpgid(0, 0);
        // The application ignores SIGPIPE (IgnoreBrokenPipes), and an ignored signal is
        // inherited across exec: tide and the shell get the default back.
        ::signal(SIGPIPE, SIG_DFL);
        if (fileSizeLimit <= 0) return;
        rlimit limit;
        if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
        const rlim_t wanted = static_cast<rlim_t>(fileSizeLimit);
        if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > wanted) limit.rlim_cur = wanted;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        // An ignored SIGXFSZ would be inherited and let a writer go on failing forever.
        ::signal(SIGXFSZ, SIG_DFL);
    });
}

void IgnoreBrokenPipes() { ::signal(SIGPIPE, SIG_IGN); }

void Kill(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    const qint64 pid = process.processId();
    if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
}

void Stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    Kill(process);
    process.waitForFinished(2000);
}

}  // namespace ChildProcess
