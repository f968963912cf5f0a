#include "sensor/port_device.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(PortDeviceTest, PortNumberNamesItsComPort) {
  const struct {
    int32_t Port;
    const char* Path;
  } cases[] = {
      {1, R"(\\.\COM1)"},
      {9, R"(\\.\COM9)"},
      {10, R"(\\.\COM10)"},  // beyond the plain names COM1..COM9
      {256, R"(\\.\COM256)"},
      {INT32_MAX, R"(\\.\COM2147483647)"},
      {0, "COM0"},
      {-1, "COM-1"},
      {INT32_MIN, "COM-2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(PortDevicePath(c.Port), c.Path) << "port " << c.Port;
}

}  // namespace
