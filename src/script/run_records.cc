// The name of a function as its header writes it, for the records.
#include "script/run_records.h"

#include "script/normalize.h"

std::string_view written_function_name(std::string_view header) {
  size_t at = 0;
  while (at < header.size() && is_blank_or_tab(header[at])) ++at;
  at += 4;  // "Func" in any case: only such lines are headers
  if (at > header.size()) return {};
  std::string_view rest = header.substr(at, header.find('(', at) - at);
  while (!rest.empty() && is_blank_or_tab(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && is_blank_or_tab(rest.back())) rest.remove_suffix(1);
  return rest;
}
