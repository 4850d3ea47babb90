// libFuzzer target: one input is a whole run of the tool, from a main script
// and its include files on disk to the final write.

// Input layout (every byte string decodes to some run):
//   byte 0   bit 0 C, bit 1 F, bit 2 G (the pass letters; "-" when clear),
//            bit 3 output mode "C" (else "."), bit 4 output path = input path,
//            bits 5-7 runs, taken modulo 5
//   byte 1   bits 0-1 the quoted include folder, bits 2-3 the angle one, each
//            an index into kFolders; bit 4 --map and --metafile; bit 5
//            --tree-shaking, bit 6 --minify-whitespace, bit 7
//            --minify-identifiers
//   rest     the main script, then any number of include files, each starting
//            with kFileMarker, its name up to the next line feed, then its bytes
//
// File names are relative to a per-process folder; up to three components of
// [A-Za-z0-9._ -], so includes written in any letter case can hit them.
// Anything else is dropped, so nothing is written outside the folder.
//
// Besides the sanitizers, every run checks what the tool promises about its
// files: a completed run leaves a whole output (empty, or ending in CR LF),
// no temporary file stays behind, and no file descriptor stays open; a map
// has a line for each line of the output.
#include <dirent.h>
#include <sanitizer/common_interface_defs.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "driver/arguments.h"
#include "driver/pipeline.h"
#include "platform/console.h"
#include "script/two_threads.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFileMarker = "\n#@file ";
// Appended to the work folder, whose absolute path every argument uses:
// libFuzzer keeps working in the current folder.
constexpr const char* kFolders[] = {"", "/inc", "/INC", "/./inc\\"};
constexpr size_t kMaxFiles = 8;
constexpr size_t kMaxNameLength = 40;
constexpr int kMaxNameParts = 3;
constexpr std::string_view kTempPrefix = ".au3shrink-";

fs::path g_work;

void remove_work_folder() {
  std::error_code ignored;
  if (!g_work.empty()) fs::remove_all(g_work, ignored);
}

int open_descriptor_count() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count;
}

bool safe_component(std::string_view part) {
  if (part.empty() || part.size() > kMaxNameLength || part == "." || part == "..") return false;
  // The tool's temporary files: the check after the run looks for them.
  if (part.substr(0, kTempPrefix.size()) == kTempPrefix) return false;
  for (unsigned char c : part) {
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '_' || c == '-' || c == ' ';
    if (!ok) return false;
  }
  return true;
}

bool safe_name(std::string_view name) {
  for (int parts = 1; parts <= kMaxNameParts; ++parts) {
    size_t slash = name.find('/');
    if (!safe_component(name.substr(0, slash))) return false;
    if (slash == std::string_view::npos) return true;
    name.remove_prefix(slash + 1);
  }
  return false;
}

void write_file(const fs::path& path, std::string_view bytes) {
  std::error_code ignored;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void empty_work_folder() {
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(g_work, ignored)) {
    fs::remove_all(entry.path(), ignored);
  }
}

// The sanitizers' report channel stays open when libFuzzer closes stderr.
void check(bool ok, const char* what) {
  if (!ok) {
    __sanitizer_report_error_summary((std::string("pipeline_fuzz: ") + what).c_str());
    std::abort();
  }
}

std::string read_whole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool temp_file_left() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(g_work, ignored)) {
    if (entry.path().filename().string().rfind(kTempPrefix, 0) == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The report would cost more than the run; the key-press wait is main's,
  // which this target does not call.
  check(std::freopen("/dev/null", "w", stdout) != nullptr, "cannot silence stdout");
  console::setup_stdout();
  // Small inputs take the two-thread path of the passes too.
  two_threads::minimum_lines = 1;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
                        "/au3fuzz-XXXXXX";
  check(mkdtemp(pattern.data()) != nullptr, "cannot create the work folder");
  g_work = pattern;
  std::atexit(remove_work_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const uint8_t flags = data[0];
  const uint8_t folders = data[1];
  std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);

  empty_work_folder();
  size_t cut = rest.find(kFileMarker);
  write_file(g_work / "main.au3", rest.substr(0, cut));
  for (size_t files = 0; cut != std::string_view::npos && files < kMaxFiles; ++files) {
    rest.remove_prefix(cut + kFileMarker.size());
    size_t name_end = rest.find('\n');
    if (name_end == std::string_view::npos) break;
    std::string_view name = rest.substr(0, name_end);
    rest.remove_prefix(name_end + 1);
    cut = rest.find(kFileMarker);
    if (safe_name(name) && name != "main.au3" && name != "out.au3") {
      write_file(g_work / std::string(name), rest.substr(0, cut));
    }
  }

  const bool same_path = (flags & 0x10) != 0;
  const std::string input = (g_work / "main.au3").string();
  const std::string output = same_path ? input : (g_work / "out.au3").string();
  const std::string quoted_dir = g_work.string() + kFolders[folders & 3];
  const std::string angle_dir = g_work.string() + kFolders[(folders >> 2) & 3];
  arguments args;
  args.input = input.c_str();
  args.output = output.c_str();
  args.quoted_include_dir = quoted_dir.c_str();
  args.angle_include_dir = angle_dir.c_str();
  args.remove_comments = (flags & 1) != 0;
  args.remove_functions = (flags & 2) != 0;
  args.remove_vars = (flags & 4) != 0;
  args.output_mode = (flags & 8) != 0 ? "C" : ".";
  args.runs = (flags >> 5) % 5;
  const std::string map = (g_work / "out.map").string();
  args.map = args.metafile = (folders & 0x10) != 0;
  args.map_file = map;
  args.metafile_file = (g_work / "out.json").string();
  args.tree_shaking = (folders & 0x20) != 0;
  args.minify_whitespace = (folders & 0x40) != 0;
  args.minify_identifiers = (folders & 0x80) != 0;

  const int descriptors = open_descriptor_count();
  int status = shrink(args);
  console::flush();

  check(status == 0 || status == 1, "exit status other than 0 or 1");
  if (status == 0) {
    struct stat info;
    check(stat(args.output, &info) == 0 && S_ISREG(info.st_mode), "no output after a completed run");
    std::string written = read_whole(args.output);
    // A script read with a byte order mark goes out with the UTF-8 one,
    // also when no line is left.
    if (written.starts_with("\xEF\xBB\xBF")) written.erase(0, 3);
    check(written.empty() || (written.size() >= 2 && written.compare(written.size() - 2, 2, "\r\n") == 0),
          "output does not end in CR LF");
    if (args.map) {
      auto lines = [](const std::string& text) {
        size_t n = 0;
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
          ++n;
        }
        return n;
      };
      check(lines(read_whole(map.c_str())) == lines(written), "the map's lines are not the output's");
    }
  }
  check(!temp_file_left(), "a temporary output file was left behind");
  check(open_descriptor_count() == descriptors, "a file descriptor was left open");
  return 0;
}
