#include <langinfo.h>

#include "app/time_separator.h"

char LocaleTimeSeparator() { return TimeSeparatorFromFormat(nl_langinfo(T_FMT)); }
