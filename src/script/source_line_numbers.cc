// Finding @ScriptLineNumber outside strings and comments and writing the
// source line's number in its place.
#include "script/source_line_numbers.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/ascii_case.h"
#include "script/autoitsourcefile.h"
#include "script/comment_blocks.h"

namespace {

constexpr std::string_view kMacro = "SCRIPTLINENUMBER";

// Whether the macro's name follows the "@" at `at`.
bool macro_at(std::string_view line, size_t at) {
  if (line.size() - at - 1 < kMacro.size()) return false;
  for (size_t i = 0; i < kMacro.size(); ++i) {
    if (upper_ascii(line[at + 1 + i]) != kMacro[i]) return false;
  }
  const size_t after = at + 1 + kMacro.size();
  return after == line.size() || !is_word_byte(line[after]);
}

}  // namespace

bool with_line_number(std::string_view line, int64_t number, std::string* out) {
  const std::string digits = std::to_string(number);
  std::string result;
  size_t copied = 0;
  char quote = 0;
  for (size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    if (quote != 0) {
      if (c == quote) quote = 0;  // a doubled quote closes and reopens
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';') {
      break;
    } else if (c == '@' && macro_at(line, at)) {
      result.append(line.substr(copied, at - copied));
      result += digits;
      copied = at + 1 + kMacro.size();
      at = copied - 1;
    }
  }
  if (copied == 0) return false;
  result.append(line.substr(copied));
  *out = std::move(result);
  return true;
}

void put_source_line_numbers(autoitsourcefile& script) {
  const std::vector<int32_t>& slots = script.records.output_slots;
  line_origins::cursor where(script.origins);
  // Comment blocks still in the output (comments kept) are comments too.
  comment_blocks::walker blocks;
  std::string changed;
  for (size_t k = 1; k <= static_cast<size_t>(script.line_count) && k <= slots.size(); ++k) {
    const std::string_view line = script.lines[k];
    if (blocks.in_block(comment_blocks::marker_of(line))) continue;
    if (line.empty() || std::memchr(line.data(), '@', line.size()) == nullptr) continue;
    uint32_t file = 0;
    int64_t number = 0;
    if (!where.find(static_cast<size_t>(slots[k - 1]), &file, &number)) continue;
    if (with_line_number(line, number, &changed)) script.lines.set(k, changed);
  }
}
