#pragma once

#include "sensor/error.h"

constexpr int UnhandledStatus = 217;

// The report for an error nothing handled, on standard error.
void ReportUnhandled(const Error& error);
// The same for a foreign exception, raised where nobody recorded.
void ReportUnhandled(const char* className, const char* message);
// The same for a fault the processor raised at frames[0], with its callers.
void ReportUnhandled(const char* className, const char* message, const void* const* frames, int count);
