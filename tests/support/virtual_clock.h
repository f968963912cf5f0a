#pragma once

#include <cstdint>

#include "sensor/clock.h"

// A clock that moves only when a test or a scripted wait moves it. The wall
// clock follows the monotonic one from a start date, plus any step a test
// injects (a daylight-saving change, an NTP correction).
class VirtualClock final : public Clock {
public:
  int64_t NowMs = 0;         // monotonic milliseconds
  int64_t WallOffsetMs = 0;  // wall clock minus monotonic, in ms
  // Wall-clock origin: 2024-03-05 07:08:00 local when NowMs + WallOffsetMs is 0.
  LocalTimeT Origin{2024, 3, 5, 7, 8, 0};

  int64_t MonotonicMs() override { return NowMs; }
  LocalTimeT LocalNow() override;
  void Advance(int64_t ms) { NowMs += ms; }
};
