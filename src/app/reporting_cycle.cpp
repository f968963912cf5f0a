#include "app/reporting_cycle.h"

void StartReporting(ProgramT& program, Clock& clock) {
  HistoryInit(program.History);
  program.AvgTimer = clock.MonotonicMs();
}

void RecordAndReport(ProgramT& program, bool frameRead, Clock& clock, Console& console) {
  const int64_t now = clock.MonotonicMs();
  // Until the first good frame there is nothing measured to repeat: storing
  // the empty packet would report silence as clean air.
  if (frameRead || program.History.Len > 0) HistoryAdd(program.History, program.Packet, now);

  if (SecondsBetween(program.AvgTimer, now) < ReportPeriod) return;
  if (const auto average = HistoryAvg(ReportPeriod, program.History, now)) {
    program.Packet = *average;
    console.Write(PrintPacket(program.Report, program.Packet, clock.LocalNow()).View());
  }
  program.AvgTimer = clock.MonotonicMs();
}
