#pragma once

#include <cstdint>

// A local wall-clock date and time, for printed stamps only.
struct LocalTimeT {
  int Year = 2000;  // e.g. 2024
  int Month = 1;    // 1..12
  int Day = 1;      // 1..31
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

// Elapsed time is monotonic milliseconds; the wall clock only labels rows.
class Clock {
public:
  virtual ~Clock() = default;
  virtual int64_t MonotonicMs() = 0;
  virtual LocalTimeT LocalNow() = 0;
};

class SystemClock final : public Clock {
public:
  int64_t MonotonicMs() override;
  LocalTimeT LocalNow() override;
};

// Whole seconds between two instants, either order; 299.999 s gives 299.
constexpr int64_t SecondsBetween(int64_t aMs, int64_t bMs) {
  return (aMs > bMs ? aMs - bMs : bMs - aMs) / 1000;
}
