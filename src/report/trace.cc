#include "report/trace.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/large_pages.h"
#include "report/map_entry.h"
#include "script/autoitsourcefile.h"
#include "script/text_encoding.h"

namespace {

constexpr size_t kLineEnd = 2;  // CR LF
constexpr size_t kShownFiles = 20;

void append_number(std::string& out, int64_t number) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, static_cast<size_t>(end - digits));
}

// Adds one to the decimal number in [digits, end); false when that takes
// another digit (it then reads all zeros).
bool count_up(char* digits, char* end) {
  for (char* p = end; p != digits;) {
    --p;
    if (*p != '9') {
      ++*p;
      return true;
    }
    *p = '0';
  }
  return false;
}

// The share in tenths of a percent, rounded half up: integers only, so
// every platform prints the same.
std::string share(int64_t part, int64_t whole) {
  const int64_t tenths = whole == 0 ? 0 : (part * 1000 + whole / 2) / whole;
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%lld%%", static_cast<long long>(tenths / 10),
                static_cast<long long>(tenths % 10));
  return text;
}

}  // namespace

void measure_expanded_files(autoitsourcefile& script) {
  run_records& records = script.records;
  records.files.resize(std::max(records.files.size(), script.origins.file_count()));
  script.origins.for_each_run(
      static_cast<size_t>(script.line_count) + 1, [&](size_t first, size_t end, uint32_t file) {
        run_records::source_file& f = records.files[file];
        f.expanded_lines += static_cast<int64_t>(end - first);
        for (size_t i = first; i < end; ++i) {
          f.expanded_bytes += static_cast<int64_t>(script.lines[i].size() + kLineEnd);
        }
      });
}

int64_t trace_output(autoitsourcefile& script, std::string* map) {
  run_records& records = script.records;
  const bool per_file = records.names_on;
  if (per_file) records.files.resize(std::max(records.files.size(), script.origins.file_count()));
  if (map != nullptr) {
    map->reserve(records.output_slots.size() * 24);
    platform::prefer_large_pages(map->data(), map->capacity());
  }
  line_origins::cursor where(script.origins);
  int64_t total = 0;
  // A map line in one piece: the line end, "FILE:" of the file last named,
  // made again only when the file changes, and the number. Most lines
  // follow the line before them in the same file: the number's digits
  // then only count up by one.
  std::string piece;
  size_t number_at = 0;
  uint32_t piece_file = 0;
  char* number_end = nullptr;  // none yet: the number is written whole
  int64_t next_line = 0;
  // Lines gather in a block that joins the map when full: one append for
  // many lines.
  char block[1 << 14];
  size_t used = 0;
  auto put = [&](const char* text, size_t size) {
    if (used + size > sizeof block) {
      map->append(block, used);
      used = 0;
    }
    if (size > sizeof block) {
      map->append(text, size);
    } else {
      std::memcpy(block + used, text, size);
      used += size;
    }
  };
  for (size_t k = 0; k < records.output_slots.size(); ++k) {
    uint32_t file = 0;
    int64_t line = 0;
    const bool known = where.find(static_cast<size_t>(records.output_slots[k]), &file, &line);
    const auto bytes = static_cast<int64_t>(script.lines[k + 1].size() + kLineEnd);
    total += bytes;
    if (per_file && known) {
      records.files[file].output_lines += 1;
      records.files[file].output_bytes += bytes;
    }
    if (map != nullptr) {
      const size_t skip = k == 0 ? kLineEnd : 0;
      if (!known) {
        put("\r\n", kLineEnd - skip);
        continue;
      }
      if (piece.empty() || file != piece_file) {
        piece = "\r\n" + map_file_field(script.origins.file_name(file));
        number_at = piece.size();
        piece.resize(number_at + 24);
        piece_file = file;
        number_end = nullptr;
      }
      char* const digits = piece.data() + number_at;
      if (number_end == nullptr || line != next_line || !count_up(digits, number_end)) {
        number_end = std::to_chars(digits, digits + 24, line).ptr;
      }
      next_line = line + 1;
      put(piece.data() + skip, static_cast<size_t>(number_end - piece.data()) - skip);
    }
  }
  if (map != nullptr) map->append(block, used);
  return total;
}

std::string size_analysis(const autoitsourcefile& script) {
  const run_records& records = script.records;
  const size_t count = records.files.size();
  std::vector<int64_t> kept(count), deleted(count);
  for (const run_records::function_record& f : records.functions) {
    uint32_t file = 0;
    int64_t line = 0;
    if (!script.origins.locate(static_cast<size_t>(f.slot), &file, &line) || file >= count)
      continue;
    (f.status == run_records::state::kept ? kept : deleted)[file] += 1;
  }
  std::vector<uint32_t> order(count);
  for (uint32_t i = 0; i < count; ++i) order[i] = i;
  // Largest first; equal sizes in the order the files were taken in.
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return records.files[a].output_bytes > records.files[b].output_bytes;
  });
  int64_t total = 0, total_expanded = 0, total_kept = 0, total_deleted = 0;
  for (uint32_t i = 0; i < count; ++i) {
    total += records.files[i].output_bytes;
    total_expanded += records.files[i].expanded_bytes;
    total_kept += kept[i];
    total_deleted += deleted[i];
  }
  // The output's UTF-8 mark belongs to no source file, but the report
  // counts it, so the total does too.
  if (script.utf8_mark) total += static_cast<int64_t>(text_encoding::kUtf8Mark.size());

  std::string text = "output bytes by source file, with the functions kept and deleted in it:\n";
  auto row = [&](const std::string& bytes, const std::string& part, const std::string& expanded,
                 const std::string& fn_kept, const std::string& fn_deleted,
                 const std::string& name) {
    char line[128];
    std::snprintf(line, sizeof line, "%10s %7s %10s %6s %8s  ", bytes.c_str(), part.c_str(),
                  expanded.c_str(), fn_kept.c_str(), fn_deleted.c_str());
    text += line;
    text += name;
    text += '\n';
  };
  auto numbers = [&](int64_t bytes, int64_t expanded, int64_t k, int64_t d,
                     const std::string& name) {
    row(std::to_string(bytes), share(bytes, total), std::to_string(expanded), std::to_string(k),
        std::to_string(d), name);
  };
  row("output", "share", "expanded", "kept", "deleted", "file");
  const size_t shown = std::min(count, kShownFiles);
  for (size_t n = 0; n < shown; ++n) {
    const uint32_t i = order[n];
    numbers(records.files[i].output_bytes, records.files[i].expanded_bytes, kept[i], deleted[i],
            script.origins.file_name(i));
  }
  if (count > shown) {
    int64_t bytes = 0, expanded = 0, k = 0, d = 0;
    for (size_t n = shown; n < count; ++n) {
      const uint32_t i = order[n];
      bytes += records.files[i].output_bytes;
      expanded += records.files[i].expanded_bytes;
      k += kept[i];
      d += deleted[i];
    }
    std::string rest = "(";
    append_number(rest, static_cast<int64_t>(count - shown));
    rest += " more files)";
    numbers(bytes, expanded, k, d, rest);
  }
  numbers(total, total_expanded, total_kept, total_deleted, "total");
  return text;
}
