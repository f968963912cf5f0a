#include "sensor/block_serial.h"

#include "sensor/sensor_errors.h"

uint8_t TBlockSerial::RecvByte(int timeoutMs) {
  if (Head == Tail) {
    Head = Tail = 0;
    size_t got = Device.Read(LineBuffer, LineBufferSize);
    if (got == 0) {
      Device.WaitReadable(timeoutMs);
      got = Device.Read(LineBuffer, LineBufferSize);
      if (got == 0) throw ESynaSerError(ErrTimeoutCode);
    }
    Tail = static_cast<int32_t>(got);
  }
  return LineBuffer[Head++];
}
