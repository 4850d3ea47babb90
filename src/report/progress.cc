#include "report/progress.h"

#include "report/console.h"

progress::progress(const char* output_mode)
    : verbose_(output_mode != nullptr && output_mode[0] == 'C') {}

void progress::dot(int64_t number) const {
  if (dot_due(number)) console::out(".");
}
