// An include folder argument is read the way include paths are read.
#include "platform/folder_check.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

TEST(FolderCheck, FoldersOnlyAsIncludePathsFindThem) {
  temp_folder folder;
  folder.write("Lib/Util.au3", "");
  const std::string& root = folder.path();
  EXPECT_TRUE(platform::names_a_folder(root));
  EXPECT_TRUE(platform::names_a_folder(root + "/Lib"));
  EXPECT_TRUE(platform::names_a_folder(root + "\\Lib\\"));
  EXPECT_FALSE(platform::names_a_folder(root + "/Lib/Util.au3")) << "a file";
  EXPECT_FALSE(platform::names_a_folder(root + "/Lib/Util.au3\\")) << "a file";
  EXPECT_FALSE(platform::names_a_folder(root + "/missing"));
  EXPECT_FALSE(platform::names_a_folder(""));
  EXPECT_FALSE(platform::names_a_folder(std::string_view("a\0b", 3)));
  // Windows ignores letter case itself; elsewhere the include rules do.
  EXPECT_TRUE(platform::names_a_folder(root + "\\LIB"));
}

}  // namespace
