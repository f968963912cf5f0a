#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "sensor/serial_device.h"
#include "support/virtual_clock.h"

// A serial device that delivers scripted bursts at virtual times. A wait
// advances the virtual clock to the next burst or to its own time-out, so a
// 30-second silence costs nothing. A hang-up can be scheduled too.
class ScriptedSerial final : public SerialDevice {
public:
  explicit ScriptedSerial(VirtualClock& clock) : Clock(clock) {}

  // Bytes arriving together at atMs (monotonic); bursts must be added in time order.
  void At(int64_t atMs, std::vector<uint8_t> bytes);
  // From atMs on, every operation fails as an unplugged device does (EIO).
  void HangUpAt(int64_t atMs) { HangUpMs = atMs; }

  int32_t Queued() override;
  size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) override;

  // The system calls a terminal device would make for the calls so far.
  int QueuedCalls = 0;  // FIONREAD
  int PollCalls = 0;    // one per Receive
  int ReadCalls = 0;    // one per Receive that found bytes
  int WaitCalls = 0;    // Receives that had to sleep: nothing was queued
  size_t Pending() const { return Queue.size() + FutureBytes(); }

private:
  struct BurstT {
    int64_t AtMs;
    std::vector<uint8_t> Bytes;
  };
  void Arrive();
  void CheckHangUp() const;
  size_t FutureBytes() const;

  VirtualClock& Clock;
  std::deque<BurstT> Bursts;
  std::deque<uint8_t> Queue;  // arrived, not yet read
  int64_t HangUpMs = INT64_MAX;
};
