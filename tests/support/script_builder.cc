// Building script objects for unit tests and reading back what passes left.
#include "support/script_builder.h"

#include <gtest/gtest.h>

#include "platform/console.h"

void load_lines(autoitsourcefile& script, const std::vector<std::string>& lines, bool normalize) {
  script.lines = line_table{""};
  for (const std::string& line : lines) script.lines.push_back(line);
  script.line_count = static_cast<int32_t>(lines.size());
  script.origins.clear();
  script.origins.start_run(1, script.origins.add_file(script.source_path), 1);
  script.transformed_lines.resize(script.lines.size());
  if (normalize) script.transform_lines();
}

namespace {

std::vector<std::string> lines_of(const line_table& table, int32_t line_count) {
  std::vector<std::string> texts;
  for (int32_t i = 1; i <= line_count; ++i) texts.emplace_back(table[static_cast<size_t>(i)]);
  return texts;
}

}  // namespace

std::vector<std::string> current_lines(const autoitsourcefile& script) {
  return lines_of(script.lines, script.line_count);
}

std::vector<std::string> current_transformed_lines(const autoitsourcefile& script) {
  std::vector<std::string> texts;
  for (int32_t i = 1; i <= script.line_count; ++i) texts.emplace_back(script.transformed_lines[i]);
  return texts;
}

std::string begin_capture() {
  console::flush();
  testing::internal::CaptureStdout();
  return {};
}

std::string end_capture() {
  console::flush();
  return testing::internal::GetCapturedStdout();
}
