#pragma once

#include <cstdint>
#include <memory>

#include "app/console.h"
#include "sensor/serial_port.h"

constexpr int OpenFailedStatus = 1;

// The port opened and configured, or null after the failure has been
// reported on the console; the program then ends with OpenFailedStatus.
std::unique_ptr<SerialPort> InitComPort(int32_t ComPort, Console& console);
