#pragma once

#include <cstdint>
#include <string>

#include "sensor/serial_device.h"

// A serial port opened for exclusive use. serial_port_posix.cpp drives a
// terminal device, serial_port_windows.cpp a COM port.
class SerialPort final : public SerialDevice {
public:
  SerialPort() = default;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort() override;

  // Opens devicePath ("" names no device: "not found" without touching the
  // file system), takes it exclusively, raises RTS and DTR, discards both queues.
  void Connect(const std::string& devicePath);
  // Raw mode, 8 data bits, parity 'N', stopBits 0 = one stop bit.
  void Config(int baud, int bits, char parity, int stopBits, bool softFlow, bool hardFlow);

  int32_t Queued() override;
  size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) override;

private:
  // The file descriptor, or the Windows HANDLE; -1 (INVALID_HANDLE_VALUE) when closed.
  intptr_t Handle = -1;
  // The read time-out the Windows port is set to, so an unchanged one costs no call.
  [[maybe_unused]] int64_t ReadTimeoutMs = -1;
};
