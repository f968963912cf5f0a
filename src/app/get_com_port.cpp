#include "app/get_com_port.h"

#include <string>

#include "app/port_number.h"

namespace {

constexpr std::string_view PortPrompt = "Enter comm port to use (digits only): ";
constexpr std::string_view ErMsgNoPort = "No com port selected, exiting.";

constexpr std::string_view UsageText[] = {
    "",
    "Monitors Air Quality sensor. Command Format is:",
    "",
    "dustlog [comport]",
    "",
    "where ",
    "",
    "  comport     comport number such as 1. If omitted, then program ",
    "              will prompt for it.",
    "",
};

}  // namespace

PortChoiceT GetComPort(std::span<const std::string_view> args, Console& console) {
  if (!args.empty()) {
    if (args.size() == 1) {
      if (const auto port = ParsePortNumber(args[0])) return {true, *port, 0};
    }
    for (std::string_view line : UsageText) console.WriteLine(line);
    return {false, 0, 1};
  }
  std::string line;
  for (;;) {
    console.Write(PortPrompt);
    // End of input reads as an empty line.
    if (!console.ReadLine(line)) line.clear();
    if (line.empty()) {
      console.WriteLine(ErMsgNoPort);
      return {false, 0, 0};
    }
    if (const auto port = ParsePortNumber(line)) return {true, *port, 0};
  }
}
