// TideReceiver  What a window offers a TideGetter: Completed() once the month's tide run ended.
// The receiver reads the output itself from its own tideShell.
#pragma once

class TideReceiver {
  public:
    virtual ~TideReceiver() = default;
    virtual void Completed() = 0;
};
