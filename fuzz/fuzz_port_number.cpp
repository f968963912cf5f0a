// ParsePortNumber against a reference written another way: a regular
// expression splits the text, std::from_chars converts the digits.

#include <charconv>
#include <cstdint>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

#include "app/port_number.h"

namespace {

constexpr size_t LongestNumber = 255;  // characters, leading blanks included

std::optional<int32_t> ReferencePortNumber(std::string_view text) {
  if (text.size() > LongestNumber) return std::nullopt;
  // blanks, sign, base prefix (0x before a lone x would never match a digit), digits
  static const std::regex Shape(R"([ \t]*([+-]?)(0[xX]|[$xX&%]?)([0-9A-Za-z]+))");
  std::match_results<std::string_view::const_iterator> parts;
  if (!std::regex_match(text.begin(), text.end(), parts, Shape)) return std::nullopt;

  const bool negative = parts.str(1) == "-";
  const std::string prefix = parts.str(2);
  const std::string digits = parts.str(3);
  int base = 10;
  if (prefix == "&")
    base = 8;
  else if (prefix == "%")
    base = 2;
  else if (!prefix.empty())
    base = 16;

  uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, base);
  if (end != digits.data() + digits.size()) return std::nullopt;  // a digit foreign to the base
  if (error == std::errc::result_out_of_range) return std::nullopt;
  if (magnitude > UINT32_MAX) return std::nullopt;

  if (base == 10) {
    const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
  }
  // Any 32-bit pattern, sign applied modulo 2^32, read as two's complement.
  const uint32_t pattern = negative ? static_cast<uint32_t>(-magnitude) : static_cast<uint32_t>(magnitude);
  return static_cast<int32_t>(pattern);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (ParsePortNumber(text) != ReferencePortNumber(text)) __builtin_trap();
  return 0;
}
