#include "platform/file_names.h"

#include <gtest/gtest.h>

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

}  // namespace
