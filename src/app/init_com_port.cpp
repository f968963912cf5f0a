#include "app/init_com_port.h"

#include <string>

#include "sensor/port_device.h"

namespace {

constexpr int BaudRate = 9600;
constexpr int DataBits = 8;
constexpr char Parity = 'N';
constexpr int OneStopBit = 0;
constexpr std::string_view ErMsgOpenFailed = "Unable to open communications port. Terminating.";

}  // namespace

std::unique_ptr<SerialPort> InitComPort(int32_t ComPort, Console& console) {
  auto port = std::make_unique<SerialPort>();
  try {
    port->Connect(PortDevicePath(ComPort));
    port->Config(BaudRate, DataBits, Parity, OneStopBit, false, false);
  } catch (const Error& error) {
    console.WriteLine(error.Message());
    console.WriteLine(ErMsgOpenFailed);
    return nullptr;
  }
  return port;
}
