#include <windows.h>

#include "app/time_separator.h"

char LocaleTimeSeparator() {
  // LOCALE_STIME is kept only for old programs; the time format is what the
  // user set in the control panel.
  wchar_t picture[80];
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STIMEFORMAT, picture, 80) == 0) {
    return TimeSeparatorFromPicture(nullptr);
  }
  char utf8[240];
  if (WideCharToMultiByte(CP_UTF8, 0, picture, -1, utf8, sizeof utf8, nullptr, nullptr) == 0) {
    return TimeSeparatorFromPicture(nullptr);
  }
  return TimeSeparatorFromPicture(utf8);
}
