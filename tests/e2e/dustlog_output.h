#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "child_process.h"

// What dustlog prints, and runs of the real binary.

// Each text followed by CR LF.
std::string ConsoleLines(std::initializer_list<std::string_view> lines);

// The output after the start-up banner; nullopt when out does not begin with one.
std::optional<std::string> AfterBanner(const std::string& out);

// stderr is the top-level error report: the raise address, "message", then
// 1..16 frames, the first being the raise address, and a blank line.
testing::AssertionResult IsErrorReport(const std::string& err, std::string_view message);

// The raise address from an error report, as addr2line takes it ("0x...").
std::string RaiseAddress(const std::string& err);

// The full path of an installed program, if any.
std::optional<std::string> FindProgram(std::string_view name);

LaunchT DustlogLaunch(std::initializer_list<std::string> args);

enum class FakedClocksT { Both, WallOnly };

// Why dustlog cannot run under libfaketime here, or "" when it can.
std::string FaketimeMissing();

// dustlog on port under libfaketime with the given start time and rate, in
// UTC. The monotonic clock, which the time-outs and the report timer run on,
// is faked too unless only the wall clock is asked for.
LaunchT FakedDustlogLaunch(const std::string& timeSpec, const std::string& port,
                           FakedClocksT clocks = FakedClocksT::Both);
