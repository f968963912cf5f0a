#include "sensor/block_serial.h"

#include "sensor/sensor_errors.h"

bool TBlockSerial::Refill(int64_t timeoutMs) {
  if (Head != Tail) return true;
  Head = Tail = 0;
  Tail = static_cast<int32_t>(Device.Receive(LineBuffer, LineBufferSize, timeoutMs));
  return Tail > 0;
}

uint8_t TBlockSerial::RecvByte(int timeoutMs) {
  if (!Refill(timeoutMs)) throw ESynaSerError(ErrTimeoutCode);
  return LineBuffer[Head++];
}
