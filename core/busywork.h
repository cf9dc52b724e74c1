#pragma once

namespace orvane::core {

// Lets pending events run; when none is pending, sleeps until one arrives
// or maxWaitMs have passed (0: does not sleep). Every wait of ours that
// keeps the window answering goes through here: adding media, the
// engines' load waits, a long playlist load.
void pumpEvents(int maxWaitMs);

// Held while media is being added. The engines and the playlist belong to
// the adding then: the window refuses the commands that would touch them.
class BusyScope
{
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;
};

bool isBusy();
// Ends the work under way at its next step, and every wait in it at once
// (the window is closing). Cleared when the outermost scope ends.
void cancelBusyWork();
bool busyWorkCancelled();

} // namespace orvane::core
