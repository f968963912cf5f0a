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

}  // namespace
