#include "app/acquisition_loop.h"

#include <cstdio>

#include "app/reporting_cycle.h"
#include "sensor/frame_reader.h"
#include "sensor/sensor_errors.h"

namespace {

constexpr int LimitExceededStatus = 1;

int LimitExceeded(Console& console, const char* what, int32_t limit) {
  char line[64];
  std::snprintf(line, sizeof line, "%s error count exceeded %d", what, static_cast<int>(limit));
  console.WriteLine(line);
  return LimitExceededStatus;
}

}  // namespace

std::optional<int> RunPass(ProgramT& program, TBlockSerial& ComCB, Clock& clock, Console& console) {
  bool frameRead = false;
  try {
    program.Packet = GetPacket(ComCB, clock);
    program.ErrChecksumCount = 0;
    program.ErrTimeoutCount = 0;
    frameRead = true;
  } catch (const EChecksum&) {
    if (++program.ErrChecksumCount > MaxChecksumCount) {
      return LimitExceeded(console, "Checksum", MaxChecksumCount);
    }
  } catch (const ETimeout&) {
    if (++program.ErrTimeoutCount > MaxTimeoutCount) {
      return LimitExceeded(console, "Timeout", MaxTimeoutCount);
    }
  }
  RecordAndReport(program, frameRead, clock, console);
  return std::nullopt;
}

int RunAcquisitionLoop(ProgramT& program, TBlockSerial& ComCB, Clock& clock, Console& console) {
  for (;;) {
    if (const auto status = RunPass(program, ComCB, clock, console)) return *status;
  }
}
