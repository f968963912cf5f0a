#include "sensor/serial_port.h"

#include <gtest/gtest.h>

#include "sensor/port_device.h"
#include "sensor/sensor_errors.h"

namespace {

int ConnectError(const std::string& path) {
  SerialPort port;
  try {
    port.Connect(path);
  } catch (const ESynaSerError& error) {
    return error.ErrorCode();
  }
  return 0;
}

// No COM port is mapped in the test prefix: every name fails with "not found"
// (2), the system's own number, whatever form the name takes.
TEST(SerialPortWindows, MissingPortFailsWithTheSystemsNumber) {
  EXPECT_EQ(ConnectError(""), 2);
  EXPECT_EQ(ConnectError(PortDevicePath(250)), 2);
  EXPECT_EQ(ConnectError(PortDevicePath(-1)), 2);
}

}  // namespace
