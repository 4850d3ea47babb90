// The size report after the statistics: both sizes and the percentage saved.
#pragma once

#include <cstdint>
#include <string>

// The percentage saved, as a single-precision float computed in extended
// precision; 0 when the unshrunk size is 0.
float percentage_saved(int64_t unshrunk, int64_t shrunk);

// Three lines: both sizes and the percentage rounded half away from zero.
std::string size_report(int64_t unshrunk, int64_t shrunk);
