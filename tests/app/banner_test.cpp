#include "app/banner.h"

#include <gtest/gtest.h>

namespace {

TEST(BannerLine, RewritesCompilerDateAsYearMonthDay) {
  EXPECT_EQ(BannerLine("Dec 11 2026", "03:14:20"), "dustlog: dustlog. Compiled: 2026/12/11 03:14:20.");
  EXPECT_EQ(BannerLine("May  5 2021", "23:59:59"), "dustlog: dustlog. Compiled: 2021/05/05 23:59:59.");
  EXPECT_EQ(BannerLine("Jan  1 2000", "00:00:00"), "dustlog: dustlog. Compiled: 2000/01/01 00:00:00.");
}

}  // namespace
