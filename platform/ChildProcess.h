// ChildProcess  Background command lines in a process group of their own, so that ending one
// also ends the programs it started (bash -c runs tide as its own child).
#pragma once

class QProcess;

namespace ChildProcess {

// Every later start of `process` puts the child at the head of a new process group. Call it
// before the first start.
void UseOwnProcessGroup(QProcess& process);

// Ends a running child with its whole process group and waits (at most 2 s) until it has ended.
// Does nothing when `process` is not running.
void Stop(QProcess& process);

}  // namespace ChildProcess
