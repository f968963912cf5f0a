#pragma once

#include <cstddef>
#include <cstdint>

// What the serial object needs from the port underneath. The real port is a
// terminal device; tests script one on a virtual clock. Every operation
// raises ESynaSerError on failure, including a hang-up.
class SerialDevice {
public:
  virtual ~SerialDevice() = default;
  // Bytes waiting in the system's receive queue; never waits.
  virtual int32_t Queued() = 0;
  // Takes up to max queued bytes without waiting; 0 when nothing is queued.
  virtual size_t Read(uint8_t* buffer, size_t max) = 0;
  // Returns when a byte is queued or timeoutMs has passed, whichever is first.
  virtual void WaitReadable(int64_t timeoutMs) = 0;
};
