#include "sensor/error.h"

#include <unwind.h>

namespace {

struct FrameWalkT {
  void** Frames;
  int Max;
  int Count = 0;
};

_Unwind_Reason_Code TakeFrame(_Unwind_Context* context, void* arg) {
  auto& walk = *static_cast<FrameWalkT*>(arg);
  const _Unwind_Ptr ip = _Unwind_GetIP(context);
  // The outermost frame reports no address: the stack ends there.
  if (ip == 0 || walk.Count == walk.Max) return _URC_END_OF_STACK;
  walk.Frames[walk.Count++] =
      reinterpret_cast<void*>(ip);  // NOLINT(performance-no-int-to-ptr): printed, never followed
  return _URC_NO_REASON;
}

// The return addresses of the calling frames, innermost first. The unwinder
// is called directly: glibc's backtrace() would load libgcc_s.so at run time
// and keep it resident for the rest of a week-long run.
int CallerFrames(void** frames, int max) {
  FrameWalkT walk{frames, max};
  _Unwind_Backtrace(TakeFrame, &walk);
  return walk.Count;
}

}  // namespace

Error::Error(const char* className, const char* message) : Name(className), Text(message) {
  void* raw[MaxFrames + 2];
  const int n = CallerFrames(raw, MaxFrames + 2);
  // The raise site is where this constructor returns to: the first frame
  // past this one, whichever frames the unwinder reports before it.
  const void* const site = __builtin_return_address(0);
  KeepFrames(site, raw, n);
}

void Error::Prepare() {
  void* raw[1];
  CallerFrames(raw, 1);
}
