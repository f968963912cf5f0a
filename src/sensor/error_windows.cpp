#include "sensor/error.h"

#include <windows.h>

#ifdef _MSC_VER
#include <intrin.h>
#define DUSTLOG_RETURN_ADDRESS() _ReturnAddress()
#else
#define DUSTLOG_RETURN_ADDRESS() __builtin_return_address(0)
#endif

Error::Error(const char* className, const char* message) : Name(className), Text(message) {
  void* raw[MaxFrames + 2];
  const USHORT n = RtlCaptureStackBackTrace(0, MaxFrames + 2, raw, nullptr);
  // The raise site is where this constructor returns to: normally raw[1].
  const void* const site = DUSTLOG_RETURN_ADDRESS();
  KeepFrames(site, raw, n);
}

// The unwinder is part of the system and needs no warming.
void Error::Prepare() {}
