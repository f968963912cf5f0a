#pragma once

// WHO global air quality guidelines 2021, 24-hour mean levels, in ug/m3.
constexpr int WhoPm25Daily = 15;
constexpr int WhoPm10Daily = 45;
