#include "sim_frames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ParseHexCapture, TakesPairsOfHexDigitsAndRejectsAnythingElse) {
  using Bytes = std::vector<uint8_t>;
  struct Case {
    std::string Text;
    std::optional<Bytes> Expected;
  };
  const Case cases[] = {
      {"42 4d 00 1C", Bytes{0x42, 0x4D, 0x00, 0x1C}},
      {"424D,ff\r\n00", Bytes{0x42, 0x4D, 0xFF, 0x00}},
      {"# a capture\n42\t4D # start\n", Bytes{0x42, 0x4D}},
      {"# \xFF in a comment\n01", Bytes{0x01}},
      {"", Bytes{}},
      {"4", std::nullopt},
      {"4 2", std::nullopt},
      {"42 g0", std::nullopt},
      {"0x42", std::nullopt},
      // Bytes above 0x7F are not hex digits, whatever the sign of char.
      {"\xB4"
       "2",
       std::nullopt},
      {"42\xFF", std::nullopt},
      {"4\xC1", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseHexCapture(c.Text), c.Expected) << testing::PrintToString(c.Text);
  }
}

}  // namespace
