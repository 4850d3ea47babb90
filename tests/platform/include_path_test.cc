// Include paths are written for a case-insensitive file system with "\" as
// separator; on Linux they must still find the files.
#include "platform/include_path.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "script/normalize.h"
#include "support/temp_folder.h"

namespace {

std::string resolved(platform::include_path_resolver& resolver, const std::string& built) {
  std::string path;
  if (!resolver.resolve(built, &path)) return "<none>";
  return path;
}

TEST(IncludePath, NulByteNamesNoFile) {
  platform::include_path_resolver resolver;
  std::string path;
  EXPECT_FALSE(resolver.resolve(std::string_view("a\0b.au3", 7), &path));
}

#ifdef _WIN32

TEST(IncludePath, OpenedAsBuiltOnWindows) {
  platform::include_path_resolver resolver;
  EXPECT_EQ(resolved(resolver, "C:\\Lib\\ARRAY.AU3"), "C:\\Lib\\ARRAY.AU3");
}

#else

class IncludePathOnLinux : public testing::Test {
 protected:
  void SetUp() override {
    folder.write("Inc/Array.au3", "");
    folder.write("Inc/Sub Dir/Deep.Au3", "");
    folder.write("cases/aBc.txt", "");
    folder.write("cases/ABc.txt", "");
    folder.write("cases/abc.txt", "");
    folder.write("plain.au3", "");
    root = folder.path();
  }
  temp_folder folder;
  std::string root;
  platform::include_path_resolver resolver;
};

TEST_F(IncludePathOnLinux, BackslashesSeparateAndCaseOfEveryComponentIsIgnored) {
  EXPECT_EQ(resolved(resolver, root + "/inc\\ARRAY.AU3"), root + "/Inc/Array.au3");
  EXPECT_EQ(resolved(resolver, root + "\\INC\\SUB DIR\\deep.au3"), root + "/Inc/Sub Dir/Deep.Au3");
  // A second name from the same folder, after its listing has been taken.
  EXPECT_EQ(resolved(resolver, root + "\\INC\\array.AU3"), root + "/Inc/Array.au3");
  EXPECT_EQ(resolved(resolver, root + "/Inc/./..\\INC\\ARRAY.AU3"), root + "/Inc/./../Inc/Array.au3");
}

TEST_F(IncludePathOnLinux, ExactNameFirstElseFirstInByteOrder) {
  EXPECT_EQ(resolved(resolver, root + "\\cases\\abc.txt"), root + "/cases/abc.txt");
  EXPECT_EQ(resolved(resolver, root + "\\cases\\aBc.txt"), root + "/cases/aBc.txt");
  EXPECT_EQ(resolved(resolver, root + "\\CASES\\ABC.TXT"), root + "/cases/ABc.txt");
  EXPECT_EQ(resolved(resolver, root + "\\CASES\\abC.txt"), root + "/cases/ABc.txt");
}

TEST_F(IncludePathOnLinux, FolderArgumentEndingInASeparator) {
  EXPECT_EQ(resolved(resolver, root + "/inc/\\ARRAY.AU3"), root + "/Inc/Array.au3");
  EXPECT_EQ(resolved(resolver, root + "\\inc\\\\ARRAY.AU3"), root + "/Inc/Array.au3");
}

TEST_F(IncludePathOnLinux, EmptyFirstComponentIsTheRoot) {
  // The whole absolute path of the test folder, upper-cased and written with
  // backslashes, as an empty folder argument followed by a name would be.
  std::string built = upper_copy(root + "/INC/ARRAY.AU3");
  std::replace(built.begin(), built.end(), '/', '\\');
  EXPECT_EQ(built[0], '\\');
  std::string path = resolved(resolver, built);
  EXPECT_EQ(upper_copy(path), upper_copy(root + "/Inc/Array.au3"));
  EXPECT_TRUE(path.ends_with("/Inc/Array.au3"));
}

TEST_F(IncludePathOnLinux, RelativePathStartsInTheWorkingFolder) {
  // "." is an exact entry everywhere; what follows it is matched as usual.
  EXPECT_EQ(resolved(resolver, ".\\" + std::string("NO-SUCH-FILE.AU3")), "<none>");
  EXPECT_EQ(resolved(resolver, "."), ".");
}

TEST_F(IncludePathOnLinux, UnmatchedComponentNamesNoFile) {
  EXPECT_EQ(resolved(resolver, root + "\\INC\\MISSING.AU3"), "<none>");
  EXPECT_EQ(resolved(resolver, root + "\\MISSING\\ARRAY.AU3"), "<none>");
  // A file used as a folder.
  EXPECT_EQ(resolved(resolver, root + "\\PLAIN.AU3\\ARRAY.AU3"), "<none>");
}

TEST_F(IncludePathOnLinux, FinalSeparatorIsKeptSoThatAFileIsRefused) {
  EXPECT_EQ(resolved(resolver, root + "\\PLAIN.AU3\\"), root + "/plain.au3/");
  EXPECT_EQ(resolved(resolver, root + "\\INC\\"), root + "/Inc/");
}

#endif

}  // namespace
