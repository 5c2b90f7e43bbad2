// YieldPacer  Paces the yields of a long loop (the lines of a month, the names of a listing), so
// that the window stays live without paying a turn of the event loop after every step.
#pragma once

#include <QElapsedTimer>

// The loop calls Step() after each of its steps. The event loop gets a turn (EventLoop::Yield)
// at the first step; after that at the next step once a turn found events to handle, so that
// while the user types, clicks or drags the window gets a turn after every step; otherwise once
// kIntervalMs have passed since the last turn. Input thus waits at most about the interval and a
// step, and a loop with nothing to handle pays a turn every few milliseconds, not every step.
class YieldPacer {
  public:
    static constexpr int kIntervalMs = 4;

    // Returns true when it yielded: the caller's window or run may have gone meanwhile.
    bool Step();

  private:
    QElapsedTimer sinceTurn;  // invalid until the first turn
    bool handled = false;     // the last turn found events
};
