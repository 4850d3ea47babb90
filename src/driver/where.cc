#include "driver/where.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_file.h"
#include "report/console.h"
#include "report/diagnostics.h"
#include "report/map_entry.h"
#include "script/text_encoding.h"

namespace {

struct look_up {
  std::string_view asked;  // the LINE argument as written
  int64_t map_line = 0;    // 0 when `asked` is no line number
  bool in_map = false;     // the map has that line
  bool found = false;      // and it reads FILE:LINE
  std::string file;
  int64_t source_line = 0;
  std::string_view text;
  bool has_text = false;
};

// A source file as the run read it; the lines are views of `text`.
struct source_text {
  platform::file_bytes bytes;
  text_encoding::decoded converted;
  std::string_view text;
};

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
    asked[i].map_line = map_line_number(asked[i].asked);
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
      l.found = read_map_entry(entry, &l.file, &l.source_line);
    }
  });

  // Each source file is read once, for all its lines together.
  std::map<std::string_view, std::vector<size_t>> by_file;
  for (size_t i = 0; i < asked.size(); ++i) {
    if (asked[i].found) by_file[asked[i].file].push_back(i);
  }
  std::map<std::string_view, std::string> unreadable;
  std::map<std::string_view, int64_t> lines_now;
  // A deque: the lines found are views of the texts, which must stay put.
  std::deque<source_text> sources;
  for (auto& entry : by_file) {
    const std::string_view file = entry.first;
    std::vector<size_t>& wanted = entry.second;
    platform::file_bytes bytes;
    if (!platform::read_file_bytes(std::string(file), /*regular_only=*/true, &bytes, &err)) {
      unreadable[file] = err;
      continue;
    }
    // Read as the run read it: UTF-16 turned into UTF-8, a mark taken off.
    sources.emplace_back();
    source_text& source = sources.back();
    source.bytes = std::move(bytes);
    text_encoding::byte_order_mark mark;
    if (!text_encoding::script_text(source.bytes.view(), &source.converted, &source.text, &mark,
                                    &err)) {
      unreadable[file] = err;
      continue;
    }
    std::sort(wanted.begin(), wanted.end(),
              [&](size_t a, size_t b) { return asked[a].source_line < asked[b].source_line; });
    size_t at = 0;
    int64_t number = 0;
    platform::for_each_text_line(source.text, [&](std::string_view text) {
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
    // The file as the map writes it, so that each answer stays one line.
    std::string place = map_file_field(l.file);
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
                             "): the text of its lines cannot be shown",
                             "where-source");
      }
    } else {
      diagnostics::warning_at(l.file, l.source_line,
                              "the file has " + std::to_string(lines_now[l.file]) +
                                  " lines now: this line's text cannot be shown",
                              "where-source");
    }
  }
  console::flush();
  return status;
}
