#include "support/scripted_serial.h"

#include <cerrno>

#include "sensor/sensor_errors.h"

void ScriptedSerial::At(int64_t atMs, std::vector<uint8_t> bytes) {
  Bursts.push_back({atMs, std::move(bytes)});
}

void ScriptedSerial::Arrive() {
  while (!Bursts.empty() && Bursts.front().AtMs <= Clock.NowMs) {
    Queue.insert(Queue.end(), Bursts.front().Bytes.begin(), Bursts.front().Bytes.end());
    Bursts.pop_front();
  }
}

void ScriptedSerial::CheckHangUp() const {
  if (Clock.NowMs >= HangUpMs) throw ESynaSerError(EIO);
}

size_t ScriptedSerial::FutureBytes() const {
  size_t n = 0;
  for (const BurstT& burst : Bursts) n += burst.Bytes.size();
  return n;
}

int32_t ScriptedSerial::Queued() {
  ++QueuedCalls;
  CheckHangUp();
  Arrive();
  return static_cast<int32_t>(Queue.size());
}

size_t ScriptedSerial::Receive(uint8_t* buffer, size_t max, int64_t timeoutMs) {
  ++PollCalls;
  CheckHangUp();
  Arrive();
  if (Queue.empty()) {
    ++WaitCalls;
    int64_t wakeMs = Clock.NowMs + (timeoutMs < 0 ? 0 : timeoutMs);
    if (!Bursts.empty() && Bursts.front().AtMs < wakeMs) wakeMs = Bursts.front().AtMs;
    if (HangUpMs < wakeMs) wakeMs = HangUpMs;
    Clock.NowMs = wakeMs;
    CheckHangUp();
    Arrive();
    if (Queue.empty()) return 0;
  }
  ++ReadCalls;
  size_t n = 0;
  while (n < max && !Queue.empty()) {
    buffer[n++] = Queue.front();
    Queue.pop_front();
  }
  return n;
}
