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
  // Waits up to timeoutMs for bytes, then takes up to max of them in one
  // read: one wait and one read per burst. 0 when nothing came in time.
  virtual size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) = 0;
};
