#pragma once

#include <optional>

#include "app/console.h"
#include "app/program_state.h"
#include "sensor/block_serial.h"
#include "sensor/clock.h"

// One pass: read a frame under the error policy, then record and report.
// Returns the exit status when the program must end.
std::optional<int> RunPass(ProgramT& program, TBlockSerial& ComCB, Clock& clock, Console& console);

// Runs passes until one ends the program; returns its exit status.
int RunAcquisitionLoop(ProgramT& program, TBlockSerial& ComCB, Clock& clock, Console& console);
