// Tests of reading input: devices refused, pipes and FIFOs read whole.
#include "platform/input_file.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "support/temp_folder.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

std::string read_input(const std::string& path, std::string* err) {
  platform::input_file file;
  platform::file_bytes bytes;
  if (!file.open(path)) {
    *err = file.error();
    return "(not opened)";
  }
  if (!file.read_all(&bytes, err)) return "(not read)";
  return std::string(bytes.view());
}

#ifdef _WIN32
TEST(InputFile, ReservedDeviceNamesAreNeverRead) {
  for (const char* name : {"NUL", "con", "aux.au3", "COM1", "lpt1.txt"}) {
    std::string err;
    EXPECT_EQ(read_input(name, &err), "(not opened)") << name;
    EXPECT_EQ(err, "Is a device") << name;
    platform::file_bytes bytes;
    EXPECT_FALSE(platform::read_file_bytes(name, true, &bytes, &err)) << name;
  }
}
#else
TEST(InputFile, DevicesAreRefusedPipesAndFifosAreRead) {
  std::string err;
  EXPECT_EQ(read_input("/dev/zero", &err), "(not opened)");
  EXPECT_EQ(err, "Is a device");
  EXPECT_EQ(read_input("/dev/null", &err), "(not opened)");

  // A pipe, as `<(...)` or /dev/stdin hands it over.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], "a\r\nb", 4), 4);
  close(ends[1]);
  EXPECT_EQ(read_input("/proc/self/fd/" + std::to_string(ends[0]), &err), "a\r\nb") << err;
  close(ends[0]);

  // A FIFO whose writer comes later: the input waits for it.
  temp_folder folder;
  const std::string fifo = folder.path() + "/fifo.au3";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] {
    int fd = open(fifo.c_str(), O_WRONLY);
    if (fd >= 0) {
      [[maybe_unused]] ssize_t ignored = write(fd, "x = 1\n", 6);
      close(fd);
    }
  });
  EXPECT_EQ(read_input(fifo, &err), "x = 1\n") << err;
  writer.join();

  // An include never waits for a FIFO.
  platform::file_bytes bytes;
  EXPECT_FALSE(platform::read_file_bytes(fifo, true, &bytes, &err));
  EXPECT_EQ(err, "Not a regular file");
}

// A pipe of more than one block: the buffer grows twice while it is read.
TEST(InputFile, APipeOfSeveralBlocksIsReadWhole) {
  std::string text;
  for (int i = 0; text.size() < 180000; ++i) {
    text += "$v" + std::to_string(i) + " = " + std::to_string(i) + "\r\n";
  }
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::thread writer([&] {
    for (size_t at = 0; at < text.size();) {
      const ssize_t n = write(ends[1], text.data() + at, text.size() - at);
      if (n <= 0) break;
      at += static_cast<size_t>(n);
    }
    close(ends[1]);
  });
  std::string err;
  const std::string got = read_input("/proc/self/fd/" + std::to_string(ends[0]), &err);
  writer.join();
  close(ends[0]);
  EXPECT_EQ(got.size(), text.size()) << err;
  EXPECT_TRUE(got == text) << "the bytes differ";
}

// A terminal is refused by what it is, before it is opened: in a session
// without a terminal, opening /dev/tty would fail for another reason.
TEST(InputFile, ATerminalIsRefusedBeforeItIsOpened) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    setsid();
    std::string err;
    const bool refused = read_input("/dev/tty", &err) == "(not opened)" && err == "Is a device";
    _exit(refused ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
#endif

}  // namespace
