// Construction, loading, writing and normalizing the line table.
#include "script/autoitsourcefile.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/output_file.h"
#include "report/console.h"
#include "script/normalize.h"
#include "script/two_threads.h"

autoitsourcefile::autoitsourcefile(const char* path) : source_path(path) {
  lines.reserve(MAX_LINES);
  lines.resize(1);  // slot 0, never used
  transformed_lines.resize(1);
  included_files.reserve(MAX_INCLUDES);
  included_files.emplace_back();
  source_stream.open(path);
  complete_timer.start();
}

autoitsourcefile::~autoitsourcefile() { source_stream.close(); }

bool autoitsourcefile::read_to_array(std::string* err) {
  platform::file_bytes bytes;
  if (!source_stream.read_all(&bytes, err)) return false;
  lines.resize(static_cast<size_t>(line_count) + 1);
  // The lines are views of the bytes, which the table keeps.
  std::string_view text = lines.keep(std::move(bytes.data), bytes.size);
  // Room for a script of eight-byte lines, which costs address space only;
  // a script of shorter lines makes the table grow as it goes. Counting the
  // lines first would cost a read of the whole text.
  lines.reserve(lines.size() + text.size() / 8 + 1);
  const size_t first = lines.size();
  // A large text is split in two at a line end, the second half on a
  // second thread into a list of its own. A 0x1A in the first half ends the
  // input there, and the second half then holds no line.
  bool ended = false;
  std::vector<std::string_view> second_half;
  auto next_line_start = [&](size_t middle) {
    const size_t feed = text.find('\n', middle);
    return feed == std::string_view::npos ? text.size() : feed + 1;
  };
  two_threads::split_at(
      0, text.size(), next_line_start,
      [&](int half, size_t from, size_t to) {
        const std::string_view part = text.substr(from, to - from);
        if (half == 0) {
          ended = platform::for_each_text_line(part, [&](std::string_view line) { lines.push_kept(line); });
        } else if (!part.empty()) {
          second_half.reserve(part.size() / 8 + 1);
          platform::for_each_text_line(part, [&](std::string_view line) { second_half.push_back(line); });
        }
      },
      two_threads::kBytesPerLine);
  if (!ended) lines.append_kept(second_half);
  line_count = static_cast<int32_t>(lines.size() - 1);
  origins.clear();
  origins.start_run(first, origins.add_file(source_path), 1);
  return true;
}

void autoitsourcefile::output_current_lines() {
  for (int32_t i = 1; i <= line_count; ++i) {
    console::out(lines[i]);
    console::out("\n");
    console::flush();
  }
}

int64_t autoitsourcefile::measure_output(const char* path, std::string* err) {
  if (!output_stream.open(path, err)) return -1;
  console::out("file written.\n\n");
  return platform::stored_size(lines.views(), 1, static_cast<size_t>(line_count));
}

int64_t autoitsourcefile::write_to_file(const char* path, std::string* err) {
  if (!output_stream.is_open() && !output_stream.open(path, err)) return -1;
  int64_t size = 0;
  if (!output_stream.commit(lines.views(), 1, static_cast<size_t>(line_count), &size, err)) {
    return -1;
  }
  console::out("file written.\n\n");
  return size;
}

void autoitsourcefile::transform_lines() {
  // Each half of the script is normalized on a thread of its own. A line's
  // first bytes are looked at while they are at hand, for the region and
  // dead-code passes.
  transformed_lines.resize(1);
  transformed_lines.resize(lines.size());
  struct part {
    std::optional<line_table::builder> text;
    std::vector<int32_t> header_lines;
    std::vector<int32_t> declaration_lines;
    std::vector<int32_t> region_lines;
  };
  std::array<part, 2> parts;
  for (part& p : parts) p.text.emplace(transformed_lines);
  two_threads::split(1, static_cast<size_t>(line_count) + 1,
                     [&](int half, size_t first, size_t last) {
    part& p = parts[half];
    for (size_t i = first; i < last; ++i) {
      p.text->build(i, lines[i].size() + kNormalizeSlack,
                    [&](char* out) { return normalize_into(lines[i], out); });
      const std::string_view normal = transformed_lines[i];
      if (begins_like_function_header(normal)) {
        p.header_lines.push_back(static_cast<int32_t>(i));
      } else if (begins_like_declaration(normal)) {
        p.declaration_lines.push_back(static_cast<int32_t>(i));
      } else if (begins_like_region(normal)) {
        p.region_lines.push_back(static_cast<int32_t>(i));
      }
    }
  });
  header_lines.clear();
  declaration_lines.clear();
  region_lines.clear();
  for (part& p : parts) {
    region_lines.insert(region_lines.end(), p.region_lines.begin(), p.region_lines.end());
    transformed_lines.adopt(std::move(*p.text));
    header_lines.insert(header_lines.end(), p.header_lines.begin(), p.header_lines.end());
    declaration_lines.insert(declaration_lines.end(), p.declaration_lines.begin(),
                             p.declaration_lines.end());
  }
}
