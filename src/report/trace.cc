#include "report/trace.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

#include "script/autoitsourcefile.h"

namespace {

constexpr size_t kLineEnd = 2;  // CR LF
constexpr size_t kShownFiles = 20;

void append_number(std::string& out, int64_t number) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, end);
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
  if (map != nullptr) map->reserve(records.output_slots.size() * 24);
  line_origins::cursor where(script.origins);
  int64_t total = 0;
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
      if (k > 0) *map += "\r\n";
      if (known) {
        *map += script.origins.file_name(file);
        *map += ':';
        append_number(*map, line);
      }
    }
  }
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
