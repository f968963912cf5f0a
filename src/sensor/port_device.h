#pragma once

#include <cstdint>
#include <string>

// The device a port number names, or "" when it names none.
// port_device_posix.cpp:
//   1..99     /dev/ttyS{n-1}     (COM1 is ttyS0)
//   100..199  /dev/ttyUSB{n-100} USB serial adapters
//   200..299  /dev/ttyACM{n-200} USB CDC devices
//   300..399  /dev/ttyAMA{n-300} on-board UARTs
//   1000..    /dev/pts/{n-1000}  pseudo-terminals
// port_device_windows.cpp:
//   1..       \\.\COM{n}         any COM port, 10 and above included
//   ..0       COM{n}             the plain name, which opens nothing
std::string PortDevicePath(int32_t port);
