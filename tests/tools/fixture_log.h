#pragma once

#include <string>

#include "dustplot/civil_time.h"

// dustlog's output for rows rows, five minutes apart from start: the banner,
// the header and rule before every tenth row, CR LF line ends. Values follow
// a smooth daily rhythm and are the same for the same row number.
std::string FixtureLog(const CivilTimeT& start, int rows);
