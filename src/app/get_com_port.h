#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/console.h"

// The port chosen, or the exit status the program must end with.
struct PortChoiceT {
  bool Chosen = false;
  int32_t Port = 0;
  int ExitStatus = 0;
};

// The port from the single argument, or asked for on the console when there
// is none. Writes the usage text or the "no port" message itself.
PortChoiceT GetComPort(std::span<const std::string_view> args, Console& console);
