#pragma once

#include <cstdint>

#include "sensor/serial_device.h"

// The serial object: a port plus its own buffer of bytes received but not yet
// handed out. Each refill takes the whole receive queue in one read.
class TBlockSerial {
public:
  static constexpr int LineBufferSize = 4096;  // bytes; the tty layer's own queue size

  explicit TBlockSerial(SerialDevice& device) : Device(device) {}

  // Bytes in the system's receive queue, not counting those held here.
  int32_t WaitingData() { return Device.Queued(); }
  // Bytes held here, already received.
  int32_t Held() const { return Tail - Head; }
  // With nothing held, takes the next burst, waiting up to timeoutMs for it;
  // false when nothing came in time.
  bool Refill(int64_t timeoutMs);

  // Oldest held byte; when none is held, refills first, waiting up to
  // timeoutMs (ESynaSerError 9997 when nothing comes).
  uint8_t RecvByte(int timeoutMs);

private:
  SerialDevice& Device;
  uint8_t LineBuffer[LineBufferSize] = {};
  int32_t Head = 0;
  int32_t Tail = 0;
};
