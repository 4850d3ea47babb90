#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/output_file.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

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
  ASSERT_TRUE(platform::write_lines((dir_ / "out").string(), lines, 1, 3, &size, &err)) << err;
  EXPECT_EQ(slurp(dir_ / "out"), std::string("a\r\n\r\nb\r\r\n"));
  EXPECT_EQ(size, 9);
  EXPECT_EQ(entries(), 1u) << "no temporary file left behind";
}

TEST_F(OutputFile, NoLinesGiveAnEmptyFile) {
  std::vector<std::string_view> lines{""};
  int64_t size = -1;
  std::string err;
  ASSERT_TRUE(platform::write_lines((dir_ / "out").string(), lines, 1, 0, &size, &err));
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
  ASSERT_TRUE(platform::write_lines((dir_ / "out").string(), lines, 1, 1, &size, &err));
  EXPECT_EQ(slurp(dir_ / "out"), "new\r\n");
  EXPECT_EQ(fs::status(dir_ / "out").permissions(), fs::perms(0640));
}

TEST_F(OutputFile, WritesThroughASymbolicLink) {
  { std::ofstream(dir_ / "real") << "old"; }
  fs::create_symlink("real", dir_ / "link");
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  ASSERT_TRUE(platform::write_lines((dir_ / "link").string(), lines, 1, 1, &size, &err));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
  EXPECT_EQ(slurp(dir_ / "real"), "x\r\n");
}
#endif

TEST_F(OutputFile, FailuresNameTheReasonAndLeaveNothingBehind) {
  std::vector<std::string_view> lines{"", "x"};
  int64_t size = 0;
  std::string err;
  EXPECT_FALSE(platform::write_lines((dir_ / "missing" / "out").string(), lines, 1, 1, &size, &err));
  EXPECT_EQ(err, "No such file or directory");
  fs::create_directory(dir_ / "folder");
  EXPECT_FALSE(platform::write_lines((dir_ / "folder").string(), lines, 1, 1, &size, &err));
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
  EXPECT_FALSE(platform::write_lines("/dev/full", lines, 1, 1, &size, &err));
  EXPECT_EQ(err, "No space left on device");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}
#endif

}  // namespace
