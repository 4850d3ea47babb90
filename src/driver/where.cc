#include "driver/where.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/console.h"
#include "platform/input_file.h"
#include "report/diagnostics.h"

namespace {

struct look_up {
  std::string_view asked;  // the LINE argument as written
  int64_t map_line = 0;    // 0 when `asked` is no line number
  bool in_map = false;     // the map has that line
  bool found = false;      // and it reads FILE:LINE
  std::string_view file;
  int64_t source_line = 0;
  std::string_view text;
  bool has_text = false;
};

// Decimal digits only; saturates, as a line that large is past any map.
int64_t line_number(std::string_view text) {
  if (text.empty() || text.size() > 18) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return c >= '0' && c <= '9'; })
               ? INT64_MAX
               : 0;
  }
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A map line is FILE:LINE; the file may hold colons itself (C:\...).
bool split_entry(std::string_view entry, std::string_view* file, int64_t* line) {
  const size_t colon = entry.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  *file = entry.substr(0, colon);
  *line = line_number(entry.substr(colon + 1));
  return *line > 0;
}

}  // namespace

int where_lines(const arguments& args) {
  const std::string map_path = args.where_map;
  platform::file_bytes map;
  std::string err;
  if (!platform::read_file_bytes(map_path, /*regular_only=*/false, &map, &err)) {
    diagnostics::error("cannot read map file '" + map_path + "': " + err);
    return 1;
  }
  std::vector<look_up> asked(args.where_lines.size());
  for (size_t i = 0; i < asked.size(); ++i) {
    asked[i].asked = args.where_lines[i];
    asked[i].map_line = line_number(asked[i].asked);
  }

  // One walk over the map finds every line asked for, in line order.
  std::vector<size_t> by_line(asked.size());
  for (size_t i = 0; i < by_line.size(); ++i) by_line[i] = i;
  std::sort(by_line.begin(), by_line.end(),
            [&](size_t a, size_t b) { return asked[a].map_line < asked[b].map_line; });
  size_t next = 0;
  while (next < by_line.size() && asked[by_line[next]].map_line == 0) ++next;
  int64_t map_lines = 0;
  platform::for_each_text_line(map.view(), [&](std::string_view entry) {
    ++map_lines;
    for (; next < by_line.size() && asked[by_line[next]].map_line == map_lines; ++next) {
      look_up& l = asked[by_line[next]];
      l.in_map = true;
      l.found = split_entry(entry, &l.file, &l.source_line);
    }
  });

  // Each source file is read once, for all its lines together.
  std::map<std::string_view, std::vector<size_t>> by_file;
  for (size_t i = 0; i < asked.size(); ++i) {
    if (asked[i].found) by_file[asked[i].file].push_back(i);
  }
  std::map<std::string_view, std::string> unreadable;
  std::map<std::string_view, int64_t> lines_now;
  std::vector<platform::file_bytes> sources;
  sources.reserve(by_file.size());
  for (auto& entry : by_file) {
    const std::string_view file = entry.first;
    std::vector<size_t>& wanted = entry.second;
    platform::file_bytes bytes;
    if (!platform::read_file_bytes(std::string(file), /*regular_only=*/true, &bytes, &err)) {
      unreadable[file] = err;
      continue;
    }
    sources.push_back(std::move(bytes));
    std::sort(wanted.begin(), wanted.end(),
              [&](size_t a, size_t b) { return asked[a].source_line < asked[b].source_line; });
    size_t at = 0;
    int64_t number = 0;
    platform::for_each_text_line(sources.back().view(), [&](std::string_view text) {
      ++number;
      for (; at < wanted.size() && asked[wanted[at]].source_line == number; ++at) {
        asked[wanted[at]].text = text;
        asked[wanted[at]].has_text = true;
      }
    });
    lines_now[file] = number;
  }

  int status = 0;
  std::set<std::string_view> warned;
  for (look_up& l : asked) {
    if (l.map_line == 0) {
      diagnostics::error("LINE '" + std::string(l.asked) + "' is not a line number");
      status = 1;
      continue;
    }
    if (!l.in_map) {
      diagnostics::error("LINE " + std::string(l.asked) + " is past the end of '" + map_path +
                         "' (" + std::to_string(map_lines) + " lines)");
      status = 1;
      continue;
    }
    if (!l.found) {
      diagnostics::error("line " + std::string(l.asked) + " of '" + map_path +
                         "' is not FILE:LINE");
      status = 1;
      continue;
    }
    std::string place(l.file);
    place += ':';
    place += std::to_string(l.source_line);
    if (l.has_text) {
      console::out(place + ": ");
      console::out(l.text);
      console::out("\n");
      continue;
    }
    console::out(place + "\n");
    if (auto reason = unreadable.find(l.file); reason != unreadable.end()) {
      // Once per file: the lines after it say the same.
      if (warned.insert(l.file).second) {
        diagnostics::warning("cannot read '" + std::string(l.file) + "' (" + reason->second +
                             "): the text of its lines cannot be shown");
      }
    } else {
      diagnostics::warning_at(l.file, l.source_line,
                              "the file has " + std::to_string(lines_now[l.file]) +
                                  " lines now: this line's text cannot be shown");
    }
  }
  console::flush();
  return status;
}
