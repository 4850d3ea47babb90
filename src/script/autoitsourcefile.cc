// Construction, loading, writing and normalizing the line table.
#include "script/autoitsourcefile.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/console.h"
#include "platform/output_file.h"
#include "script/normalize.h"
#include "script/text_encoding.h"
#include "script/two_threads.h"

namespace {

// Appends the lines of `text`, which the table keeps, as views of it. A
// large text is split in two at a line end, each half on a thread of its
// own: the lines of each half are counted, then put in their places. A 0x1A
// in the first half ends the input there, and the second half then holds
// no line.
void append_text_lines(std::string_view text, line_table& lines) {
  const size_t first = lines.size();
  auto next_line_start = [&](size_t middle) {
    const size_t feed = text.find('\n', middle);
    return feed == std::string_view::npos ? text.size() : feed + 1;
  };
  auto half_of = [&](size_t from, size_t to) { return text.substr(from, to - from); };
  std::array<size_t, 2> bound{};
  std::array<bool, 2> marked{};
  two_threads::split_at(
      0, text.size(), next_line_start,
      [&](int half, size_t from, size_t to) {
        if (from < to) bound[half] = platform::text_line_bound(half_of(from, to), &marked[half]);
      },
      two_threads::kBytesPerLine);
  lines.resize_for_overwrite(first + bound[0] + bound[1]);
  std::array<size_t, 2> found{};
  two_threads::split_at(
      0, text.size(), next_line_start,
      [&](int half, size_t from, size_t to) {
        if (from == to || (half == 1 && marked[0])) return;
        // The first half ends in a line feed, so it holds as many lines as
        // line feeds, unless an end mark cut it short.
        const size_t start = half == 0 ? first : first + bound[0] - 1;
        size_t at = start;
        platform::for_each_text_line(half_of(from, to),
                                     [&](std::string_view line) { lines.put_kept(at++, line); });
        found[half] = at - start;
      },
      two_threads::kBytesPerLine);
  lines.resize(first + found[0] + found[1]);
}

}  // namespace

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
  // The lines are views of the text, which the table keeps.
  std::string_view text;
  text_encoding::byte_order_mark mark;
  if (!text_encoding::keep_script_text(std::move(bytes), lines, &text, &mark, err)) return false;
  // A script that came with a byte order mark goes out with the UTF-8 one.
  if (mark != text_encoding::byte_order_mark::none) utf8_mark = true;
  source_text = text;
  const size_t first = lines.size();
  append_text_lines(text, lines);
  line_count = static_cast<int32_t>(lines.size() - 1);
  origins.clear();
  origins.start_run(first, origins.add_file(source_path), 1);
  return true;
}

int64_t autoitsourcefile::measure_output(const char* path, std::string* err) {
  if (!output_stream.open(path, err)) return -1;
  console::out("file written.\n\n");
  // Each half of a large script is measured on a thread of its own.
  std::array<int64_t, 2> size{};
  const int64_t mark = utf8_mark ? static_cast<int64_t>(text_encoding::kUtf8Mark.size()) : 0;
  two_threads::split(1, static_cast<size_t>(line_count) + 1,
                     [&](int half, size_t first, size_t last) {
                       if (first < last) size[half] = platform::stored_size(lines, first, last - 1);
                     });
  return mark + size[0] + size[1];
}

int64_t autoitsourcefile::stage_output(const char* path, std::string* err) {
  if (!output_stream.is_open() && !output_stream.open(path, err)) return -1;
  int64_t size = 0;
  if (utf8_mark) output_stream.set_head(text_encoding::kUtf8Mark);
  if (!output_stream.write(lines, 1, static_cast<size_t>(line_count), &size, err)) return -1;
  return size;
}

int64_t autoitsourcefile::write_to_file(const char* path, std::string* err) {
  const int64_t size = stage_output(path, err);
  if (size < 0 || !output_stream.replace(err)) return -1;
  console::out("file written.\n\n");
  return size;
}

void autoitsourcefile::transform_lines() {
  // Each half of the script is normalized on a thread of its own, into its
  // own part of the copy's text: the first half from the start, the second
  // after as many bytes as the first half's lines hold, which is room
  // enough, as normalizing only drops bytes. kNormalizeSlack bytes lie
  // between, as normalizing may write that far past a line's end. A line's
  // first bytes are looked at while they are at hand, for the region and
  // dead-code passes.
  const size_t count = static_cast<size_t>(line_count) + 1;
  std::array<size_t, 2> bytes{};
  size_t second_first = count;
  two_threads::split(1, count, [&](int half, size_t first, size_t last) {
    if (half == 1) second_first = first;
    for (size_t i = first; i < last; ++i) bytes[half] += lines[i].size();
  });
  transformed_lines.reserve_text(lines.size(), bytes[0] + bytes[1] + 2 * kNormalizeSlack);
  transformed_lines.begin_part(second_first, bytes[0] + kNormalizeSlack);
  // Slot 0 and any slot past the last line stay empty.
  transformed_lines.set(0, 0, 0);
  for (size_t i = count; i < lines.size(); ++i) {
    transformed_lines.set(i, 0, 0);
    transformed_lines.clear(i);
  }
  struct part {
    std::vector<int32_t> header_lines;
    std::vector<int32_t> declaration_lines;
    std::vector<int32_t> region_lines;
  };
  std::array<part, 2> parts;
  two_threads::split(1, count, [&](int half, size_t first, size_t last) {
    part& p = parts[half];
    size_t at = half == 0 ? 0 : bytes[0] + kNormalizeSlack;
    for (size_t i = first; i < last; ++i) {
      const size_t length = normalize_into(lines[i], transformed_lines.text_at(at));
      transformed_lines.set(i, at, length);
      at += length;
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
  header_lines = two_threads::joined(std::move(parts[0].header_lines), parts[1].header_lines);
  declaration_lines =
      two_threads::joined(std::move(parts[0].declaration_lines), parts[1].declaration_lines);
  region_lines = two_threads::joined(std::move(parts[0].region_lines), parts[1].region_lines);
}
