#include "report/progress.h"

#include "report/console.h"

progress::progress(const char* output_mode)
    : verbose_(output_mode != nullptr && output_mode[0] == 'C') {}

void progress::dot(int64_t number) const {
  if (!verbose_ && number % 50 == 0) console::out(".");
}
