// EventLoop  The one yield of the system.
#include "platform/EventLoop.h"

#include <QCoreApplication>

namespace EventLoop {

void Yield() { QCoreApplication::processEvents(); }

}  // namespace EventLoop
