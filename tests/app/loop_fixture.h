#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/acquisition_loop.h"
#include "app/program_state.h"
#include "app/reporting_cycle.h"
#include "scripted_console.h"
#include "sim_frames.h"
#include "support/scripted_serial.h"

inline std::vector<uint8_t> Wire(const PacketT& packet) {
  const FrameBytesT frame = EncodeFrame(packet);
  return {frame.begin(), frame.end()};
}

// The program as main sets it up, on a scripted sensor and a virtual clock
// that starts at 0 with reporting started.
struct LoopFixture : ::testing::Test {
  VirtualClock clock;
  ScriptedSerial device{clock};
  TBlockSerial serial{device};
  ScriptedConsole console;
  ProgramT program;

  void SetUp() override { StartReporting(program, clock); }

  void Send(int64_t atMs, const PacketT& packet) { device.At(atMs, Wire(packet)); }
  void SendBadChecksum(int64_t atMs, const PacketT& packet) {
    std::vector<uint8_t> bytes = Wire(packet);
    bytes.back() ^= 0x01;
    device.At(atMs, bytes);
  }

  std::optional<int> Pass() { return RunPass(program, serial, clock, console); }

  // False as soon as a pass ends the program.
  bool RunPasses(int count) {
    for (int i = 0; i < count; ++i) {
      if (Pass()) return false;
    }
    return true;
  }
};
