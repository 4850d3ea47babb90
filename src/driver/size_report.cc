// The size report's arithmetic and text.
#include "driver/size_report.h"

#include <cmath>
#include <cstdio>

float percentage_saved(int64_t unshrunk, int64_t shrunk) {
  if (unshrunk == 0) return 0.0f;
  long double before = unshrunk;
  long double after = shrunk;
  return static_cast<float>((before - after) / before * 100.0L);
}

std::string size_report(int64_t unshrunk, int64_t shrunk) {
  long long percent = std::llround(static_cast<double>(percentage_saved(unshrunk, shrunk)));
  char text[256];
  std::snprintf(text, sizeof text,
                "%-30s%6lld bytes\n"
                "%-30s%6lld bytes\n"
                "%-30s%6lld %%\n\n",
                "file size without optimation: ", static_cast<long long>(unshrunk),
                "file size with optimation: ", static_cast<long long>(shrunk),
                "improvement: ", percent);
  return text;
}
