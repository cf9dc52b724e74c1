#pragma once

#include <QString>

namespace orvane::playback {

// Outcome of waiting for the engines to take a location.
enum class LoadWait { Ready, Failed, TimedOut, Cancelled };

// How long a load may take before it counts as failed (milliseconds).
inline int LoadWaitLimitMs = 30000;

// Ends every load wait in progress with Cancelled (the Stop command).
void CancelLoadWait();
// A load wait is running (possibly several, nested).
bool isLoadWaiting();

} // namespace orvane::playback
