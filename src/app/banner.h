#pragma once

#include <string>

// "dustlog: dustlog. Compiled: yyyy/mm/dd hh:nn:ss." for the given
// __DATE__ ("Mmm dd yyyy") and __TIME__ ("hh:mm:ss") texts.
std::string BannerLine(const char* date, const char* time);

// The banner of this build.
std::string BuildBannerLine();
