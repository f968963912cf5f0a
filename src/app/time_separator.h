#pragma once

// The character between hour and minute in a strftime time format such as
// "%H:%M:%S"; ':' when the format has no single character there.
char TimeSeparatorFromFormat(const char* format);

// The time separator of the current LC_TIME locale.
char LocaleTimeSeparator();
