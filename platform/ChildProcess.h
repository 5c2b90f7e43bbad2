// ChildProcess  Background command lines in a process group of their own, so that ending one
// also ends the programs it started (bash -c runs tide as its own child).
#pragma once

#include <QtGlobal>

class QProcess;

namespace ChildProcess {

// Every later start of `process` puts the child at the head of a new process group. Call it
// before the first start. With `fileSizeLimit` > 0 no file that the child or its children write
// may grow past that many bytes: a write beyond it ends the writer (SIGXFSZ).
void UseOwnProcessGroup(QProcess& process, qint64 fileSizeLimit = 0);

// Writes to a pipe whose reader has gone then fail with EPIPE, reported as any failed write,
// instead of ending the whole application with SIGPIPE. Process-wide; every child that
// UseOwnProcessGroup() starts still gets the default action back.
void IgnoreBrokenPipes();

// Ends a running child with its whole process group and waits (at most 2 s) until it has ended.
// Does nothing when `process` is not running.
void Stop(QProcess& process);
// The same without waiting: the end arrives through the event loop as any end does.
void Kill(QProcess& process);

}  // namespace ChildProcess
