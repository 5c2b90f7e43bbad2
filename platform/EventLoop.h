// EventLoop  The one yield of the system: long loops hand the event loop a turn between steps.
#pragma once

namespace EventLoop {

// Runs the pending events once (QCoreApplication::processEvents). Returns true when there were
// any to handle. Code after a yield must not assume its window still exists.
bool Yield();

}  // namespace EventLoop
