#include "app/port_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

TEST(ParsePortNumber, AcceptsOnlyWholeNumbersInAnyBase) {
  constexpr int32_t Min = std::numeric_limits<int32_t>::min();
  constexpr int32_t Max = std::numeric_limits<int32_t>::max();
  struct Case {
    std::string Text;
    std::optional<int32_t> Port;
  };
  const Case cases[] = {
      {"3", 3},
      {"  \t12", 12},
      {"+5", 5},
      {"-1", -1},
      {"0", 0},
      {"0010", 10},
      {"$10", 16},
      {"x10", 16},
      {"X1f", 31},
      {"0x10", 16},
      {"0X10", 16},
      {"&17", 15},
      {"%101", 5},
      {"-$10", -16},
      {"2147483647", Max},
      {"-2147483648", Min},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$FFFFFFFF", -1},
      {"$80000000", Min},
      {"$100000000", std::nullopt},
      {"%11111111111111111111111111111111", -1},
      {"%111111111111111111111111111111111", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"x", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"-", std::nullopt},
      {"abc", std::nullopt},
      {"4 ", std::nullopt},
      {"4\t", std::nullopt},
      {" 4a", std::nullopt},
      {"&8", std::nullopt},
      {"%2", std::nullopt},
      {"$G", std::nullopt},
      {"1.5", std::nullopt},
      {"++1", std::nullopt},
      {"+-1", std::nullopt},
      {"- 1", std::nullopt},
      {"$-1", std::nullopt},
      // Bytes above 0x7F: negative as a signed char (x86-64), large as an
      // unsigned one (arm64); a digit on neither.
      {"\xB5", std::nullopt},
      {"1\xFF", std::nullopt},
      {"$\xC1", std::nullopt},
      {"\xA0"
       "5",
       std::nullopt},
      {std::string(254, '0') + "7", 7},
      {std::string(255, '0') + "7", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParsePortNumber(c.Text), c.Port) << "\"" << c.Text << "\"";
  }
}

}  // namespace
