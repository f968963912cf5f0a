#include "app/time_separator.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeSeparatorFromFormat, IsTheCharacterBetweenHourAndMinute) {
  struct Case {
    const char* Format;
    char Sep;
  };
  const Case cases[] = {
      {"%H:%M:%S", ':'},    {"%H.%M.%S", '.'},
      {"%T", ':'},          {"%I:%M:%S %p", ':'},
      {"%k.%M", '.'},       {"%l.%M", '.'},
      {"%-H.%M", '.'},      {"%OH:%OM", ':'},
      {"%OH.%OM", '.'},     {"%Hh%M", 'h'},
      {"%H%M", ':'},        {"%H", ':'},
      {"%%H.%M", ':'},      {"", ':'},
      {nullptr, ':'},       {"%H\xE6\x99\x82%M", ':'},  // a multi-byte separator
      {"%H\xB7%M", '\xB7'},  // one byte above 0x7F (Latin-1), whatever the sign of char
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeSeparatorFromFormat(c.Format), c.Sep) << (c.Format ? c.Format : "(null)");
  }
}

// Windows time pictures (the user's LOCALE_STIMEFORMAT).
TEST(TimeSeparatorFromPicture, IsTheCharacterBetweenHoursAndMinutes) {
  struct Case {
    const char* Picture;
    char Sep;
  };
  const Case cases[] = {
      {"HH:mm:ss", ':'},        {"h:mm:ss tt", ':'}, {"H.mm.ss", '.'},
      {"tt hh:mm:ss", ':'},     {"HH'h'mm", 'h'},    {"HH' h 'mm", ':'},
      {"'Uhr' HH.mm", '.'},     {"HHmm", ':'},       {"HH", ':'},
      {"mm:ss", ':'},           {"", ':'},           {nullptr, ':'},
      {"H\xE6\x99\x82mm", ':'},  // a multi-byte separator
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimeSeparatorFromPicture(c.Picture), c.Sep) << (c.Picture ? c.Picture : "(null)");
  }
}

}  // namespace
