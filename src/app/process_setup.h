#pragma once

// What the process needs before anything runs: the locale, and failures that
// must reach the program as errors instead of ending it silently.
// process_setup_posix.cpp, process_setup_windows.cpp.
void SetUpProcess();
