// Tests of file names: reserved device names and wide paths.
#include "platform/file_names.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST(ReservedDeviceNames, WithOrWithoutExtensionInAnyCase) {
  for (const char* name : {"CON", "nul", "Aux", "PRN", "COM1", "com9", "LPT1", "lpt9", "aux.au3",
                           "NUL.txt", "Com1 .au3", "CONOUT$", "conin$", "inc\\NUL.AU3",
                           "C:\\x\\lpt3.au3", "./con", "Z:nul"}) {
    EXPECT_TRUE(platform::is_reserved_device_name(name)) << name;
  }
  for (const char* name : {"", "CONS", "NULL", "COM0", "COM10", "LPT", "auxiliary.au3", "con\\x",
                           "xnul", "my aux.au3", "COM1X", "nul\\file.au3"}) {
    EXPECT_FALSE(platform::is_reserved_device_name(name)) << name;
  }
}

#ifdef _WIN32
// Arguments come as UTF-8; a name in a script may be UTF-8 or in the ANSI
// code page. Each path component is read as UTF-8 when it is valid UTF-8.
TEST(WidePath, Utf8ComponentsElseTheAnsiCodePage) {
  EXPECT_EQ(platform::wide_path("caf\xc3\xa9\\\xce\xa9.au3"), L"caf\u00e9\\\u03a9.au3");
  wchar_t ansi = 0;
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xe9", 1, &ansi, 1), 1);
  EXPECT_EQ(platform::wide_path("d\xc3\xa9j\xc3\xa0/caf\xe9.au3"),
            std::wstring(L"d\u00e9j\u00e0/caf") + ansi + L".au3");
  EXPECT_EQ(platform::utf8_of(L"\u00e9\u03a9"), "\xc3\xa9\xce\xa9");
}
#endif

}  // namespace
