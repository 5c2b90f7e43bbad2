// EventLoop  The one yield of the system: long loops hand the event loop a turn after each step.
#pragma once

namespace EventLoop {

// Runs the pending events once. Code after a yield must not assume its window still exists.
void Yield();

}  // namespace EventLoop
