// The verbose lines and the progress dots of the dead-code passes.
#include "report/progress.h"

#include "platform/console.h"

progress::progress(const char* output_mode)
    : verbose_(output_mode != nullptr && output_mode[0] == 'C') {}

void progress::dot(int64_t number) const {
  if (dot_due(number)) console::out(".");
}

void progress::event(std::string_view before, int64_t number, std::string_view between,
                     std::string_view name, int64_t dot_number) const {
  if (!verbose_) {
    dot(dot_number);
    return;
  }
  console::out(before);
  console::out(static_cast<long long>(number));
  console::out(between);
  console::out(name);
  console::out("\n");
}
