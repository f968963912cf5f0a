#pragma once

#include <span>
#include <string_view>

#include "app/console.h"
#include "sensor/clock.h"

// The whole program after process set-up: banner, port, then the
// acquisition loop. Returns the exit status; errors nothing handles escape.
int RunDustlog(std::span<const std::string_view> args, Console& console, Clock& clock);
