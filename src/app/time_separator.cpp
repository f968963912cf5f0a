#include "app/time_separator.h"

namespace {

constexpr char DefaultTimeSep = ':';

bool IsHourDirective(char c) { return c == 'H' || c == 'I' || c == 'k' || c == 'l'; }

}  // namespace

char TimeSeparatorFromFormat(const char* format) {
  if (format == nullptr) return DefaultTimeSep;
  for (const char* p = format; *p != '\0'; ++p) {
    if (p[0] != '%') continue;
    // Skip flags such as %-H and %OH.
    const char* d = p + 1;
    while (*d == '-' || *d == '_' || *d == '0' || *d == 'O' || *d == 'E') ++d;
    if (!IsHourDirective(*d)) {
      if (*d == '\0') break;
      p = d;
      continue;
    }
    const char sep = d[1];
    if (sep != '\0' && sep != '%' && d[2] == '%') return sep;
    return DefaultTimeSep;
  }
  return DefaultTimeSep;
}

char TimeSeparatorFromPicture(const char* picture) {
  if (picture == nullptr) return DefaultTimeSep;
  const char* p = picture;
  bool quoted = false;
  // The first hour field outside quotes.
  for (; *p != '\0'; ++p) {
    if (*p == '\'') quoted = !quoted;
    if (!quoted && (*p == 'h' || *p == 'H')) break;
  }
  if (*p == '\0') return DefaultTimeSep;
  while (*p == 'h' || *p == 'H') ++p;
  // What lies before the minutes, quotes dropped, must be one ASCII character.
  char sep = '\0';
  int count = 0;
  for (; *p != '\0' && (quoted || *p != 'm'); ++p) {
    if (*p == '\'') {
      quoted = !quoted;
      continue;
    }
    sep = *p;
    ++count;
  }
  if (*p != 'm' || count != 1 || static_cast<unsigned char>(sep) >= 0x80) return DefaultTimeSep;
  return sep;
}
