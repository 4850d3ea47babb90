#include "support/script_builder.h"

#include <gtest/gtest.h>

#include "report/console.h"

void load_lines(autoitsourcefile& script, const std::vector<std::string>& lines, bool normalize) {
  script.lines.assign(1, std::string());
  script.lines.insert(script.lines.end(), lines.begin(), lines.end());
  script.line_count = static_cast<int32_t>(lines.size());
  script.transformed_lines.assign(script.lines.size(), std::string());
  if (normalize) script.transform_lines();
}

std::vector<std::string> current_lines(const autoitsourcefile& script) {
  return {script.lines.begin() + 1, script.lines.begin() + 1 + script.line_count};
}

std::vector<std::string> current_transformed_lines(const autoitsourcefile& script) {
  return {script.transformed_lines.begin() + 1,
          script.transformed_lines.begin() + 1 + script.line_count};
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
