// The check that no written file lands on another file of the run, by file
// identity.
#include "driver/file_clashes.h"

#include <vector>

#include "platform/file_identity.h"

namespace {

// A file of the run, as messages name it.
struct run_file {
  const char* role;  // "the input file"
  std::string path;
  bool known = false;  // `where` is known
  platform::write_target where;
};

run_file read_file(const char* role, const std::string& path) {
  run_file file{role, path, false, {}};
  file.known = platform::identify_regular_file(path, &file.where.identity);
  return file;
}

run_file written_file(const char* role, const std::string& path) {
  run_file file{role, path, false, {}};
  file.known = platform::identify_write_target(path, &file.where);
  return file;
}

// One file by identity; a device or a path not yet there by its spelling.
bool clash(const run_file& a, const run_file& b) {
  return a.path == b.path || (a.known && b.known && platform::same_file(a.where, b.where));
}

}  // namespace

bool check_file_clashes(const arguments& args, const autoitsourcefile& script, std::string* err) {
  // The input and every file the include pass read, as it opened them.
  std::vector<run_file> others;
  for (uint32_t i = 0; i < script.origins.file_count(); ++i) {
    others.push_back(read_file(i == 0 ? "the input file" : "the included file",
                               script.origins.file_name(i)));
  }
  if (others.empty()) others.push_back(read_file("the input file", args.input));
  run_file output = written_file("the output file", args.output);
  // The output may replace the input (a run in place), never a file the
  // input includes: that file would be lost to the shrunk script.
  for (size_t i = 1; i < others.size(); ++i) {
    if (!clash(output, others[i])) continue;
    *err = std::string("cannot write output file '") + args.output + "': it is the same file as " +
           others[i].role + " '" + others[i].path + "'";
    return false;
  }
  if (!args.map && !args.metafile) return true;
  others.push_back(std::move(output));
  auto check = [&](const char* what, const std::string& path) {
    run_file written = written_file("", path);
    for (const run_file& other : others) {
      if (!clash(written, other)) continue;
      *err = std::string("cannot write ") + what + " '" + path + "': it is the same file as " +
             other.role + " '" + other.path + "'";
      return false;
    }
    others.push_back(std::move(written));
    return true;
  };
  if (args.map) {
    if (!check("map file", args.map_file)) return false;
    others.back().role = "the map file";
  }
  return !args.metafile || check("metafile", args.metafile_file);
}
