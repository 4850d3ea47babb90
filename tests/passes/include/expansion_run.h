// Runs include expansion on a script given as lines and keeps what it left,
// listed and printed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/include_path.h"
#include "script/autoitsourcefile.h"
#include "support/script_builder.h"
#include "support/temp_folder.h"

struct expansion_run {
  std::vector<std::string> lines, included_files;
  std::string out, err;
  int32_t include_count = 0;
  // What the pass returned, and its error.
  bool ok = false;
  std::string error;
};

inline expansion_run expand(autoitsourcefile& script, const std::vector<std::string>& input,
                            const std::string& angle_dir, const std::string& quoted_dir) {
  load_lines(script, input);
  expansion_run run;
  testing::internal::CaptureStderr();
  run.out = captured_stdout([&] {
    run.ok = script.search_includes_and_add_to_lines(angle_dir.c_str(), quoted_dir.c_str(),
                                                     &run.error);
  });
  run.err = testing::internal::GetCapturedStderr();
  run.lines = current_lines(script);
  run.include_count = script.include_count;
  run.included_files.assign(script.included_files.begin() + 1, script.included_files.end());
  return run;
}

inline expansion_run expand(const std::vector<std::string>& input, const std::string& angle_dir,
                            const std::string& quoted_dir) {
  autoitsourcefile script("");
  return expand(script, input, angle_dir, quoted_dir);
}

inline std::string taken_up(const std::string& name, const std::string& path) {
  return "found #include: " + name + "\nstart: search/read: " + path + "...\nfinished: read " +
         name + "\n";
}

inline std::string already_listed(const std::string& name, const std::string& path) {
  return "found #include: " + name + "\n" + path + " file already includet\n";
}

// The built paths that the warnings of `err` looked for, in order.
inline std::vector<std::string> warned_paths(const std::string& err) {
  std::vector<std::string> paths;
  const std::string lead = "(looked for '";
  for (size_t start = 0, end; start < err.size(); start = end + 1) {
    end = err.find('\n', start);
    if (end == std::string::npos) end = err.size();
    std::string line = err.substr(start, end - start);
    size_t from = line.find(lead);
    if (from == std::string::npos) continue;
    from += lead.size();
    size_t to = line.rfind("', also in '");
    if (to == std::string::npos) to = line.rfind("')");
    paths.push_back(line.substr(from, to - from));
  }
  return paths;
}

// A built path as a warning shows it.
inline std::string cannot_open(const std::string& path) { return platform::shown_path(path); }

// A fresh folder of include files; in() builds a path as the pass does.
class include_folder_test : public testing::Test {
 protected:
  temp_folder folder;
  const std::string& root = folder.path();
  std::string in(const std::string& name) const { return root + "\\" + name; }
};
