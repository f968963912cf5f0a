#pragma once

#include "app/console.h"
#include "app/program_state.h"
#include "sensor/clock.h"

constexpr int32_t ReportPeriod = 300;  // seconds between rows, and the window each averages

void StartReporting(ProgramT& program, Clock& clock);

// Records the current packet and prints the average when a report is due.
// frameRead tells whether this pass read a good frame.
void RecordAndReport(ProgramT& program, bool frameRead, Clock& clock, Console& console);
