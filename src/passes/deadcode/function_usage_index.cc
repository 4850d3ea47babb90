#include "passes/deadcode/function_usage_index.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "passes/deadcode/name_matcher.h"

namespace {

bool is_word_byte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool is_word(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), is_word_byte);
}

// The occurrence text[begin, begin + length) stands as a whole word: no
// letter, digit, "_" or "$" right before it, no letter, digit or "_" right
// after it.
bool stands_alone(std::string_view text, size_t begin, size_t length) {
  size_t end = begin + length;
  if (begin > 0 && (is_word_byte(text[begin - 1]) || text[begin - 1] == '$')) return false;
  return end == text.size() || !is_word_byte(text[end]);
}

// The strings searched for: NAME(, "NAME" and 'NAME' for every name, and the
// bare name for names with a byte outside letters, digits and "_". A name
// made of those bytes only is a whole word exactly when it is a complete run
// of them not preceded by "$"; such runs are looked up in a hash instead,
// which keeps the walk linear however many names end alike.
struct search_strings {
  std::vector<std::string> texts;
  std::vector<int32_t> name;
  std::vector<bool> whole_word_only;

  void add(std::string text, int32_t owner, bool whole_word) {
    texts.push_back(std::move(text));
    name.push_back(owner);
    whole_word_only.push_back(whole_word);
  }
};

}  // namespace

function_usage_index::function_usage_index(const std::vector<std::string>& names,
                                           const std::vector<std::string>& transformed_lines,
                                           int32_t line_count)
    : uses_begin_(static_cast<size_t>(std::max(line_count, 0)) + 2, 0),
      counted_(uses_begin_.size(), false),
      lines_using_(names.size(), 0) {
  search_strings searched;
  std::unordered_map<std::string_view, int32_t> word_names;
  size_t longest_word_name = 0;
  for (size_t k = 0; k < names.size(); ++k) {
    const std::string& name = names[k];
    auto owner = static_cast<int32_t>(k);
    searched.add(name + "(", owner, false);
    searched.add("\"" + name + "\"", owner, false);
    searched.add("'" + name + "'", owner, false);
    if (is_word(name)) {
      word_names.emplace(name, owner);
      longest_word_name = std::max(longest_word_name, name.size());
    } else if (!name.empty()) {
      searched.add(name, owner, true);
    }
  }
  const name_matcher matcher(searched.texts);

  // seen_on[k] == i: name k is already noted for line i.
  std::vector<int32_t> seen_on(names.size(), 0);
  for (int32_t i = 1; i <= line_count; ++i) {
    uses_begin_[i] = used_names_.size();
    counted_[i] = true;
    std::string_view text = transformed_lines[i];
    auto note = [&](int32_t name) {
      if (seen_on[name] == i) return;
      seen_on[name] = i;
      used_names_.push_back(name);
      ++lines_using_[name];
    };
    matcher.for_each_match(text, [&](int32_t id, size_t begin) {
      if (!searched.whole_word_only[id] || stands_alone(text, begin, searched.texts[id].size())) {
        note(searched.name[id]);
      }
    });
    for (size_t begin = 0; begin < text.size();) {
      if (!is_word_byte(text[begin])) {
        ++begin;
        continue;
      }
      size_t end = begin;
      while (end < text.size() && is_word_byte(text[end])) ++end;
      if ((begin == 0 || text[begin - 1] != '$') && end - begin <= longest_word_name) {
        auto found = word_names.find(text.substr(begin, end - begin));
        if (found != word_names.end()) note(found->second);
      }
      begin = end;
    }
  }
  uses_begin_[static_cast<size_t>(std::max(line_count, 0)) + 1] = used_names_.size();
}

bool function_usage_index::line_uses(int32_t line, int32_t name) const {
  if (!counted_[line]) return false;
  return std::find(used_names_.begin() + uses_begin_[line], used_names_.begin() + uses_begin_[line + 1],
                   name) != used_names_.begin() + uses_begin_[line + 1];
}

void function_usage_index::forget_line(int32_t line) {
  if (!counted_[line]) return;
  counted_[line] = false;
  for (size_t k = uses_begin_[line]; k < uses_begin_[line + 1]; ++k) --lines_using_[used_names_[k]];
}
