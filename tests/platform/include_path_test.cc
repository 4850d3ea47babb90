// Include paths are written for a case-insensitive file system with "\" as
// separator; on Linux they must still find their files.
#include "platform/include_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "script/normalize.h"
#include "support/temp_folder.h"

namespace {

TEST(IncludePath, NulByteNamesNoFile) {
  platform::include_path_resolver resolver;
  std::string path;
  EXPECT_FALSE(resolver.resolve(std::string_view("a\0b.au3", 7), &path));
}

#ifndef _WIN32

std::string resolved(platform::include_path_resolver& resolver, const std::string& built) {
  std::string path;
  return resolver.resolve(built, &path) ? path : "<none>";
}

TEST(IncludePath, EveryComponentMatchedExactlyElseIgnoringCaseInByteOrder) {
  temp_folder folder;
  folder.write("Inc/Array.au3", "");
  folder.write("Inc/Sub Dir/Deep.Au3", "");
  folder.write("cases/aBc.txt", "");
  folder.write("cases/ABc.txt", "");
  folder.write("cases/abc.txt", "");
  folder.write("plain.au3", "");
  const std::string& root = folder.path();
  platform::include_path_resolver resolver;
  struct {
    std::string built, path;
  } rows[] = {
      {root + "/inc\\ARRAY.AU3", root + "/Inc/Array.au3"},
      {root + "\\INC\\SUB DIR\\deep.au3", root + "/Inc/Sub Dir/Deep.Au3"},
      {root + "/Inc/./..\\INC\\array.AU3", root + "/Inc/./../Inc/Array.au3"},
      {root + "\\cases\\aBc.txt", root + "/cases/aBc.txt"},
      {root + "\\CASES\\ABC.TXT", root + "/cases/ABc.txt"},
      {root + "/inc/\\ARRAY.AU3", root + "/Inc/Array.au3"},  // folder ending in a separator
      {root + "\\inc\\\\ARRAY.AU3", root + "/Inc/Array.au3"},
      {root + "\\INC\\", root + "/Inc/"},  // a final separator stays: a file is refused
      {root + "\\PLAIN.AU3\\", root + "/plain.au3/"},
      {root + "\\INC\\MISSING.AU3", "<none>"},
      {root + "\\MISSING\\ARRAY.AU3", "<none>"},
      {root + "\\PLAIN.AU3\\ARRAY.AU3", "<none>"},
  };
  for (const auto& row : rows) EXPECT_EQ(resolved(resolver, row.built), row.path) << row.built;

  // An empty first component is the root: the whole path, upper-cased.
  std::string from_root = upper_copy(root + "/INC/ARRAY.AU3");
  std::replace(from_root.begin(), from_root.end(), '/', '\\');
  EXPECT_TRUE(resolved(resolver, from_root).ends_with("/Inc/Array.au3"));

  // Relative paths start in the working folder.
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(root);
  EXPECT_EQ(resolved(resolver, ".\\INC\\ARRAY.AU3"), "./Inc/Array.au3");
  EXPECT_EQ(resolved(resolver, "INC\\SUB DIR\\DEEP.AU3"), "Inc/Sub Dir/Deep.Au3");
  std::filesystem::current_path(before);
}

#endif

// The folder a file's own includes are looked for in, and paths as shown.
TEST(IncludePath, FolderOfAFileAndShownPaths) {
  EXPECT_EQ(platform::folder_of("main.au3"), ".");
  EXPECT_EQ(platform::folder_of("src/ui/form.au3"), "src/ui");
  // A file in the root: the folder is empty, and "" + "\\NAME" names the root.
  EXPECT_EQ(platform::folder_of("/main.au3"), "");
#ifdef _WIN32
  EXPECT_EQ(platform::folder_of("src\\ui\\form.au3"), "src\\ui");
  // Drive-relative: the current folder of that drive, not its root.
  EXPECT_EQ(platform::folder_of("C:main.au3"), "C:.");
  EXPECT_EQ(platform::shown_path(".\\INC\\A.AU3"), ".\\INC\\A.AU3");
#else
  // A backslash is part of a Linux file name.
  EXPECT_EQ(platform::folder_of("src\\main.au3"), ".");
  EXPECT_EQ(platform::shown_path(".\\INC\\A.AU3"), "./INC/A.AU3");
#endif
}

}  // namespace
