// The renamer's short names, counted from 0: a..z, then a letter and a
// letter, digit or "_", then three characters, and so on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace minify {

// The n-th short name.
std::string nth_short_name(uint64_t n);
// Adds the n-th short name to `out`.
void append_short_name(std::string& out, uint64_t n);

// The n for which nth_short_name(n) is `name` in any letter case, when
// that n is below `limit`; UINT64_MAX otherwise.
uint64_t short_name_number(std::string_view name, uint64_t limit);

}  // namespace minify
