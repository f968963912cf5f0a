#include "app/port_number.h"

namespace {

constexpr size_t MaxPortText = 255;  // characters

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Strips a base prefix from text and returns the base; 10 when there is none.
int TakeBase(std::string_view& text) {
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    return 16;
  }
  if (text.empty()) return 10;
  switch (text.front()) {
    case '$':
    case 'x':
    case 'X': text.remove_prefix(1); return 16;
    case '&': text.remove_prefix(1); return 8;
    case '%': text.remove_prefix(1); return 2;
    default: return 10;
  }
}

}  // namespace

std::optional<int32_t> ParsePortNumber(std::string_view text) {
  if (text.size() > MaxPortText) return std::nullopt;
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const int base = TakeBase(text);
  if (text.empty()) return std::nullopt;

  // Decimal may reach 2^31 only as a negative number; a prefixed pattern, 2^32 - 1.
  const uint64_t limit = base != 10 ? 0xFFFF'FFFFu : negative ? 0x8000'0000u : 0x7FFF'FFFFu;
  uint64_t magnitude = 0;
  for (char c : text) {
    const int digit = DigitValue(c);
    if (digit >= base) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  const uint32_t pattern = static_cast<uint32_t>(negative ? 0 - magnitude : magnitude);
  return static_cast<int32_t>(pattern);
}
