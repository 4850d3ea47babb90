// The Windows runtime's atoi on every platform: leading white space, an
// optional sign, decimal digits up to the first other byte; out-of-range
// values clamp to the int range instead of wrapping as they may elsewhere.
#pragma once

namespace platform {

int atoi(const char* text);

// Whether atoi finds any digit in `text`; when not, its 0 stands for no number.
bool atoi_reads_digits(const char* text);

}  // namespace platform
