#include "sensor/sensor_errors.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// System texts differ between Windows versions, languages and wine: the
// tests pin what the program adds to them, not the texts.
TEST(SensorErrorsTest, SynaSerErrorMessageIsCodeAndSystemTextOnOneLine) {
  for (const int code : {2, 5, 21, 31, 50, 1167}) {
    const ESynaSerError error(code);
    const std::string message = error.Message();
    const std::string head = "Communication error " + std::to_string(code) + ": ";
    EXPECT_EQ(message.substr(0, head.size()), head) << message;
    EXPECT_GT(message.size(), head.size()) << "no system text for " << code;
    EXPECT_EQ(message.find_first_of("\r\n"), std::string::npos) << "line break kept: " << message;
    EXPECT_EQ(error.ErrorCode(), code);
    EXPECT_STREQ(error.ClassName(), "ESynaSerError");
  }
}

TEST(SensorErrorsTest, CodeWithoutSystemTextEndsInColonBlank) {
  EXPECT_STREQ(ESynaSerError(9997).Message(), "Communication error 9997: Timeout during operation");
  EXPECT_STREQ(ESynaSerError(9998).Message(), "Communication error 9998: ");
  EXPECT_STREQ(ESynaSerError(123456).Message(), "Communication error 123456: ");
}

}  // namespace
