#pragma once

#include <cstdint>

// Counts calls to the global operator new (every form) between Start and
// Stop. The soak binary replaces operator new and delete to do so.
//
// Thrown exceptions do not show up here: the C++ runtime allocates them with
// malloc (__cxa_allocate_exception), not operator new. Hooking malloc itself
// would fight the sanitizers' own allocator, so it is left alone.
void StartCountingAllocations();
// Allocations since the matching Start.
int64_t StopCountingAllocations();
