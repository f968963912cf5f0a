#include "sensor/sensor_errors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Tests run with LC_MESSAGES at "C": strerror's texts are glibc's English ones.
TEST(SensorErrorsTest, SynaSerErrorMessageIsCodeAndSystemText) {
  const struct {
    int Code;
    const char* Message;
  } cases[] = {
      {2, "Communication error 2: No such file or directory"},
      {5, "Communication error 5: Input/output error"},
      {16, "Communication error 16: Device or resource busy"},
      {25, "Communication error 25: Inappropriate ioctl for device"},
      {9997, "Communication error 9997: Timeout during operation"},
      {9998, "Communication error 9998: "},  // no system text
      {123456, "Communication error 123456: "},
  };
  for (const auto& c : cases) {
    const ESynaSerError error(c.Code);
    EXPECT_EQ(error.ErrorCode(), c.Code);
    EXPECT_STREQ(error.Message(), c.Message);
    EXPECT_STREQ(error.ClassName(), "ESynaSerError");
  }
}

}  // namespace
