// Tests of writing the output: line ends, replacing a file whole, links,
// permission bits, and failures that leave nothing behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/output_blocks.h"
#include "platform/output_file.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <climits>
#include <set>

namespace {

namespace fs = std::filesystem;

// Opens and commits in one call, as the program's two writes do apart.
bool write_lines(const std::string& path, const platform::line_reader& lines, size_t first,
                 size_t last, int64_t* size, std::string* err) {
  platform::output_file file;
  return file.open(path, err) && file.commit(lines, first, last, size, err);
}

class OutputFile : public testing::Test {
 protected:

  static std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  size_t entries() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  temp_folder folder_;
  fs::path dir_{folder_.path()};
};

TEST_F(OutputFile, EveryLineEndsInCrLf) {
  std::vector<std::string_view> lines{"unused", "a", "", "b\r"};
  int64_t size = 0;
  std::string err;
  ASSERT_TRUE(write_lines((dir_ / "out").string(), lines, 1, 3, &size, &err)) << err;
  EXPECT_EQ(slurp(dir_ / "out"), std::string("a\r\n\r\nb\r\r\n"));
  EXPECT_EQ(size, 9);
  EXPECT_EQ(entries(), 1u) << "no temporary file left behind";
}

TEST_F(OutputFile, NoLinesGiveAnEmptyFile) {
  std::vector<std::string_view> lines{""};
  int64_t size = -1;
  std::string err;
  ASSERT_TRUE(write_lines((dir_ / "out").string(), lines, 1, 0, &size, &err));
  EXPECT_EQ(size, 0);
  EXPECT_TRUE(fs::exists(dir_ / "out"));
}

#ifndef _WIN32
TEST_F(OutputFile, ReplacesAndKeepsPermissionBits) {
  { std::ofstream(dir_ / "out") << "old content that is longer"; }
  fs::permissions(dir_ / "out", fs::perms(0640));
  std::vector<std::string_view> lines{"", "new"};
  int64_t size = 0;
  std::string err;
  ASSERT_TRUE(write_lines((dir_ / "out").string(), lines, 1, 1, &size, &err));
  EXPECT_EQ(slurp(dir_ / "out"), "new\r\n");
  EXPECT_EQ(fs::status(dir_ / "out").permissions(), fs::perms(0640));
}

TEST_F(OutputFile, WritesThroughASymbolicLink) {
  { std::ofstream(dir_ / "real") << "old"; }
  fs::create_symlink("real", dir_ / "link");
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  ASSERT_TRUE(write_lines((dir_ / "link").string(), lines, 1, 1, &size, &err));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
  EXPECT_EQ(slurp(dir_ / "real"), "x\r\n");
}
#endif

TEST_F(OutputFile, FailuresNameTheReasonAndLeaveNothingBehind) {
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  EXPECT_FALSE(write_lines((dir_ / "missing" / "out").string(), lines, 1, 1, &size, &err));
  EXPECT_EQ(err, "No such file or directory");
  fs::create_directory(dir_ / "folder");
  EXPECT_FALSE(write_lines((dir_ / "folder").string(), lines, 1, 1, &size, &err));
  EXPECT_EQ(err, "Is a directory");
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
  EXPECT_EQ(entries(), 1u);
}

#ifndef _WIN32
TEST_F(OutputFile, FullDeviceIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  EXPECT_FALSE(write_lines("/dev/full", lines, 1, 1, &size, &err));
  EXPECT_EQ(err, "No space left on device");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}
#endif

#ifndef _WIN32
// A file written where it stands goes first: when it fails, the files that
// would have been moved over their paths keep what they held.
TEST_F(OutputFile, NoFileIsReplacedWhenOneOfThemFails) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  { std::ofstream(dir_ / "out") << "old"; }
  std::vector<std::string_view> lines{"", "new"};
  std::string err;
  int64_t size = 0;
  platform::output_file out, device;
  ASSERT_TRUE(out.open((dir_ / "out").string(), &err)) << err;
  ASSERT_TRUE(device.open("/dev/full", &err)) << err;
  ASSERT_TRUE(out.write(lines, 1, 1, &size, &err)) << err;
  ASSERT_TRUE(device.write(lines, 1, 1, &size, &err)) << "a device is written by the replace";
  platform::output_file* const both[] = {&out, &device};
  size_t failed = 9;
  EXPECT_FALSE(platform::replace_together(both, &failed, &err));
  EXPECT_EQ(failed, 1u);
  EXPECT_EQ(err, "No space left on device");
  EXPECT_EQ(slurp(dir_ / "out"), "old");
  EXPECT_EQ(entries(), 1u) << "the temporary file went with the failure";

  ASSERT_TRUE(out.open((dir_ / "out").string(), &err)) << err;
  ASSERT_TRUE(out.write(lines, 1, 1, &size, &err)) << err;
  platform::output_file* const one[] = {&out, &device};
  EXPECT_TRUE(platform::replace_together(one, &failed, &err)) << "a file not open is passed over";
  EXPECT_EQ(slurp(dir_ / "out"), "new\r\n");
  EXPECT_EQ(entries(), 1u);
}
#endif

TEST_F(OutputFile, NothingChangesBeforeTheCommit) {
  { std::ofstream(dir_ / "out") << "old"; }
  std::vector<std::string_view> lines{"", "new"};
  std::string err;
  {
    platform::output_file file;
    ASSERT_TRUE(file.open((dir_ / "out").string(), &err)) << err;
    EXPECT_EQ(slurp(dir_ / "out"), "old");
    EXPECT_EQ(entries(), 2u) << "the temporary file is made when the output is opened";
  }
  EXPECT_EQ(slurp(dir_ / "out"), "old") << "a run that stops before the commit costs nothing";
  EXPECT_EQ(entries(), 1u);

  platform::output_file file;
  ASSERT_TRUE(file.open((dir_ / "new").string(), &err)) << err;
  EXPECT_FALSE(fs::exists(dir_ / "new"));
  int64_t size = 0;
  ASSERT_TRUE(file.commit(lines, 1, 1, &size, &err)) << err;
  EXPECT_EQ(slurp(dir_ / "new"), "new\r\n");
  EXPECT_FALSE(file.is_open());
  EXPECT_EQ(entries(), 2u);
}

TEST(StoredSize, CountsEveryLineWithItsCrLfPastTwoGigabytes) {
  std::vector<std::string_view> lines{"unused", "a", "", "bc"};
  EXPECT_EQ(platform::stored_size(lines, 1, 3), 9);
  EXPECT_EQ(platform::stored_size(lines, 1, 0), 0);
  const std::string megabyte(size_t{1} << 20, 'x');
  std::vector<std::string_view> many(3001, megabyte);
  EXPECT_EQ(platform::stored_size(many, 1, 3000), int64_t{3000} * ((int64_t{1} << 20) + 2));
  EXPECT_GT(platform::stored_size(many, 1, 3000), INT32_MAX);
}

TEST(TextBlocks, LinesAroundAndPastTheBlockSizeComeOutWhole) {
  constexpr size_t kBlock = size_t{1} << 20;
  // A line that fills a block to its last byte, one a byte longer than a
  // block, one that would spill over the block being filled, and short ones.
  const std::string fills(kBlock - 2, 'a'), past(kBlock + 1, 'b'), spills(kBlock - 10, 'c');
  std::vector<std::string_view> lines{"unused", "x", fills, "y", past, spills, spills, "", "z"};
  std::string want;
  for (size_t i = 1; i < lines.size(); ++i) want += std::string(lines[i]) + "\r\n";
  std::string got;
  size_t largest = 0;
  int64_t written = 0;
  const int error = platform::write_text_blocks(
      lines, 1, lines.size() - 1,
      [&](const char* data, size_t n) {
        got.append(data, n);
        largest = std::max(largest, n);
        return 0;
      },
      &written);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(written, static_cast<int64_t>(want.size()));
  // Compared by size and content hash: a failing diff would be megabytes.
  EXPECT_EQ(got.size(), want.size());
  EXPECT_EQ(std::hash<std::string>{}(got), std::hash<std::string>{}(want));
  EXPECT_LE(largest, past.size()) << "only an over-long line goes out past a block";
}

TEST(TempFileNames, RandomAndDistinct) {
  std::set<std::string> names;
  for (int i = 0; i < 1000; ++i) {
    std::string name = platform::temp_file_name();
    ASSERT_TRUE(name.starts_with(".au3shrink-")) << name;
    ASSERT_EQ(name.size(), 23u) << name;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 1000u);
}

#ifndef _WIN32
TEST_F(OutputFile, HardLinksStayOneFile) {
  { std::ofstream(dir_ / "out") << "old content"; }
  fs::create_hard_link(dir_ / "out", dir_ / "other");
  std::vector<std::string_view> lines{"", "new"};
  int64_t size = 0;
  std::string err;
  ASSERT_TRUE(write_lines((dir_ / "out").string(), lines, 1, 1, &size, &err)) << err;
  EXPECT_EQ(slurp(dir_ / "other"), "new\r\n");
  EXPECT_TRUE(fs::equivalent(dir_ / "out", dir_ / "other"));
  EXPECT_EQ(entries(), 2u);
}

TEST_F(OutputFile, DanglingLinkGetsItsTarget) {
  fs::create_directory(dir_ / "real");
  fs::create_symlink("real/new", dir_ / "link");
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  ASSERT_TRUE(write_lines((dir_ / "link").string(), lines, 1, 1, &size, &err)) << err;
  EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
  EXPECT_EQ(slurp(dir_ / "real" / "new"), "x\r\n");
  fs::create_symlink("loop", dir_ / "loop");
  EXPECT_FALSE(write_lines((dir_ / "loop").string(), lines, 1, 1, &size, &err));
  EXPECT_EQ(err, "Too many levels of symbolic links");
}

TEST_F(OutputFile, NewFileModeFollowsTheUmaskAndReplacedModesStay) {
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  const mode_t saved = umask(027);
  bool written = write_lines((dir_ / "new").string(), lines, 1, 1, &size, &err);
  umask(saved);
  ASSERT_TRUE(written) << err;
  EXPECT_EQ(fs::status(dir_ / "new").permissions(), fs::perms(0640));

  { std::ofstream(dir_ / "special") << "old"; }
  ASSERT_EQ(chmod((dir_ / "special").c_str(), 03754), 0);
  ASSERT_TRUE(write_lines((dir_ / "special").string(), lines, 1, 1, &size, &err)) << err;
  struct stat info;
  ASSERT_EQ(stat((dir_ / "special").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 03754u) << "set-group-ID and sticky bits kept";
}
#endif

}  // namespace
