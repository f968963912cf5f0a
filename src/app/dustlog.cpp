#include "app/dustlog.h"

#include "app/acquisition_loop.h"
#include "app/banner.h"
#include "app/get_com_port.h"
#include "app/init_com_port.h"
#include "app/program_state.h"
#include "app/reporting_cycle.h"
#include "app/time_separator.h"
#include "sensor/block_serial.h"

int RunDustlog(std::span<const std::string_view> args, Console& console, Clock& clock) {
  ProgramT program;
  program.Report.TimeSep = LocaleTimeSeparator();

  console.WriteLine("");
  console.WriteLine(BuildBannerLine());
  console.WriteLine("");

  const PortChoiceT choice = GetComPort(args, console);
  if (!choice.Chosen) return choice.ExitStatus;
  program.RequestedPort = choice.Port;

  const auto port = InitComPort(program.RequestedPort, console);
  if (!port) return OpenFailedStatus;
  TBlockSerial ComCB(*port);

  StartReporting(program, clock);
  program.ErrChecksumCount = 0;
  program.ErrTimeoutCount = 0;
  return RunAcquisitionLoop(program, ComCB, clock, console);
}
