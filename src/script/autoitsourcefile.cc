// Construction, loading, writing and normalizing the line table.
#include "script/autoitsourcefile.h"

#include "platform/output_file.h"
#include "report/console.h"
#include "script/normalize.h"

autoitsourcefile::autoitsourcefile(const char* path) {
  lines.reserve(MAX_LINES);
  lines.emplace_back();  // slot 0, never used
  transformed_lines.emplace_back();
  included_files.reserve(MAX_INCLUDES);
  included_files.emplace_back();
  source_stream.open(path);
  complete_timer.start();
}

autoitsourcefile::~autoitsourcefile() { source_stream.close(); }

bool autoitsourcefile::read_to_array(std::string* err) {
  std::string bytes;
  if (!source_stream.read_all(&bytes, err)) return false;
  lines.resize(static_cast<size_t>(line_count) + 1);
  platform::split_text_lines(bytes, lines);
  line_count = static_cast<int32_t>(lines.size() - 1);
  return true;
}

void autoitsourcefile::output_current_lines() {
  for (int32_t i = 1; i <= line_count; ++i) {
    console::out(lines[i]);
    console::out("\n");
    console::flush();
  }
}

int32_t autoitsourcefile::write_to_file(const char* path, std::string* err) {
  int64_t size = 0;
  if (!platform::write_lines(path, lines, 1, static_cast<size_t>(line_count), &size, err)) {
    return -1;
  }
  console::out("file written.\n\n");
  return static_cast<int32_t>(size);
}

void autoitsourcefile::transform_lines() {
  if (transformed_lines.size() < lines.size()) transformed_lines.resize(lines.size());
  for (int32_t i = 1; i <= line_count; ++i) transformed_lines[i] = normalized(lines[i]);
}
