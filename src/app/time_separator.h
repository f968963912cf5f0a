#pragma once

// The character between hour and minute in a strftime time format such as
// "%H:%M:%S"; ':' when the format has no single character there.
char TimeSeparatorFromFormat(const char* format);

// The same for a Windows time picture such as "HH:mm:ss" or "h.mm tt"
// (text in single quotes is literal); ':' when there is no single ASCII
// character between hours and minutes.
char TimeSeparatorFromPicture(const char* picture);

// The time separator of the user's locale: LC_TIME on POSIX
// (time_separator_posix.cpp), the user's time format on Windows
// (time_separator_windows.cpp).
char LocaleTimeSeparator();
