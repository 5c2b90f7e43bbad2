// YieldPacer  Turns of the event loop for long loops, paced by time and by what they find.
#include "platform/YieldPacer.h"

#include "platform/EventLoop.h"

bool YieldPacer::Step() {
    if (!handled && sinceTurn.isValid() && sinceTurn.nsecsElapsed() < kIntervalMs * 1000000LL)
        return false;
    handled = EventLoop::Yield();
    sinceTurn.start();
    return true;
}
