#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A port number: leading blanks and tabs, an optional sign, an optional base
// prefix ($ x X 0x 0X hex, & octal, % binary) and digits of that base up to
// the end. Decimal must fit a signed 32-bit value; with a prefix any 32-bit
// pattern is taken as two's complement ($FFFFFFFF is -1). Texts over 255
// characters are never port numbers.
std::optional<int32_t> ParsePortNumber(std::string_view text);
