#include "app/time_separator.h"

#include <cstring>

#include <langinfo.h>

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

char LocaleTimeSeparator() { return TimeSeparatorFromFormat(nl_langinfo(T_FMT)); }
