#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "app/process_setup.h"
#include "app/unhandled_error.h"
#include "sensor/error.h"

namespace {

struct FaultNameT {
  DWORD Code;
  const char* ClassName;
  const char* Message;
};

constexpr FaultNameT FaultNames[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EAccessViolation", "Access violation"},
    {EXCEPTION_IN_PAGE_ERROR, "EAccessViolation", "Access violation"},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "ERangeError", "Range check error"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EDivByZero", "Division by zero"},
    {EXCEPTION_INT_OVERFLOW, "EIntOverflow", "Arithmetic overflow"},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "EZeroDivide", "Floating point division by zero"},
    {EXCEPTION_FLT_OVERFLOW, "EOverflow", "Floating point overflow"},
    {EXCEPTION_FLT_UNDERFLOW, "EUnderflow", "Floating point underflow"},
    {EXCEPTION_FLT_INVALID_OPERATION, "EInvalidOp", "Invalid floating point operation"},
    {EXCEPTION_STACK_OVERFLOW, "EStackOverflow", "Stack overflow"},
    {EXCEPTION_PRIV_INSTRUCTION, "EPrivilege", "Privileged instruction"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EExternalException", "Illegal instruction"},
};

// The faulting address, then the return addresses of its callers, unwound
// from the fault's own context rather than from this handler's stack.
int FaultFrames(const CONTEXT& fault, const void** frames, int max) {
#if defined(_M_X64) || defined(__x86_64__)
  CONTEXT context = fault;
  int count = 0;
  frames[count++] = reinterpret_cast<const void*>(context.Rip);
  while (count < max) {
    DWORD64 imageBase = 0;
    PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
    if (function == nullptr) {
      // A leaf function: the return address is on top of the stack.
      context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
      context.Rsp += sizeof(DWORD64);
    } else {
      void* handlerData = nullptr;
      DWORD64 establisher = 0;
      RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData,
                       &establisher, nullptr);
    }
    if (context.Rip == 0) break;
    frames[count++] = reinterpret_cast<const void*>(context.Rip);
  }
  return count;
#else
  (void)fault;
  (void)max;
  frames[0] = nullptr;
  return 0;
#endif
}

// Reports a processor fault as the program's other errors are reported,
// instead of the system's crash dialog, and ends with the same status.
LONG WINAPI ReportFault(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
  char generic[48];
  const char* className = "EExternalException";
  const char* message = generic;
  std::snprintf(generic, sizeof generic, "External exception %08lX",
                static_cast<unsigned long>(record.ExceptionCode));
  for (const FaultNameT& name : FaultNames) {
    if (name.Code == record.ExceptionCode) {
      className = name.ClassName;
      message = name.Message;
    }
  }
  const void* frames[Error::MaxFrames] = {};
  const int count = FaultFrames(*pointers->ContextRecord, frames, Error::MaxFrames);
  ReportUnhandled(className, message, frames, count);
  ExitProcess(UnhandledStatus);
}

}  // namespace

void SetUpProcess() {
  // No dialog box may wait for a click: a missing device or a fault is reported on the console.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportFault);
}
