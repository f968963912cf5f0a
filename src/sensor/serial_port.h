#pragma once

#include <string>

#include "sensor/serial_device.h"

// A terminal device opened for exclusive use.
class SerialPort final : public SerialDevice {
public:
  SerialPort() = default;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;
  ~SerialPort() override;

  // Opens devicePath ("" names no device: ENOENT without touching the file
  // system), takes it exclusively, raises DTR and RTS, discards both queues.
  void Connect(const std::string& devicePath);
  // Raw mode, 8 data bits, parity 'N', stopBits 0 = one stop bit.
  void Config(int baud, int bits, char parity, int stopBits, bool softFlow, bool hardFlow);

  int32_t Queued() override;
  size_t Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) override;

private:
  int Fd = -1;
};
