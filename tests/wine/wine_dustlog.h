#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>

#include "child_process.h"

// dustlog.exe and wine as scripts/test-windows names them:
//   DUSTLOG_EXE   the cross-built dustlog.exe
//   DUSTLOG_WINE  wine's loader (wine64)
//   WINEPREFIX    a prefix whose server is already running
struct WineSetupT {
  std::string Exe;
  std::string Wine;
  std::string Prefix;
};

// The set-up, or nullopt when the environment does not name one.
std::optional<WineSetupT> WineSetup();

// Skips the test when there is no wine set-up.
#define SKIP_WITHOUT_WINE(setup)                                                   \
  do {                                                                             \
    if (!(setup)) GTEST_SKIP() << "DUSTLOG_EXE, DUSTLOG_WINE or WINEPREFIX unset"; \
  } while (false)

// wine running dustlog.exe with args, quiet (WINEDEBUG=-all).
LaunchT WineLaunch(const WineSetupT& setup, std::initializer_list<std::string> args);

// $WINEPREFIX/dosdevices/comK pointing at target for one scope, so that
// dustlog.exe K opens it. K >= 5: wine remaps COM1..COM4 at each start.
class ComPortMapping {
public:
  ComPortMapping(const WineSetupT& setup, int port, const std::string& target);
  ~ComPortMapping();
  ComPortMapping(const ComPortMapping&) = delete;
  ComPortMapping& operator=(const ComPortMapping&) = delete;

private:
  std::string Link;
};

// The preferred image base of a PE file (where addr2line places its code),
// or nullopt when the file is not a 64-bit PE image.
std::optional<uint64_t> ImageBase(const std::string& exePath);
