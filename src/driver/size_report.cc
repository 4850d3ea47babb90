#include "driver/size_report.h"

#include <cmath>
#include <cstdio>

float percentage_saved(int32_t unshrunk, int32_t shrunk) {
  if (unshrunk == 0) return 0.0f;
  long double before = unshrunk;
  long double after = shrunk;
  return static_cast<float>((before - after) / before * 100.0L);
}

std::string size_report(int32_t unshrunk, int32_t shrunk) {
  long long percent = std::llround(static_cast<double>(percentage_saved(unshrunk, shrunk)));
  char text[256];
  std::snprintf(text, sizeof text,
                "%-30s%6d bytes\n"
                "%-30s%6d bytes\n"
                "%-30s%6lld %%\n\n",
                "file size without optimation: ", unshrunk, "file size with optimation: ", shrunk,
                "improvement: ", percent);
  return text;
}
