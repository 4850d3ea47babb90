// Tests of the eight-byte scans and of normalizing, against the byte-by-byte
// rule.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "platform/byte_scan.h"
#include "script/normalize.h"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#endif

namespace {

TEST(ByteScan, FindsTheFirstOfTheBytesInWordsAndInTheTail) {
  // 20 bytes: two whole words and a tail of four, so every place is tried.
  for (size_t at = 0; at < 20; ++at) {
    std::string text(20, 'x');
    text[at] = '#';
    if (at + 3 < text.size()) text[at + 3] = ';';
    EXPECT_EQ((byte_scan::find_first<';', '#'>(text)), at) << at;
    const size_t semicolon = at + 3 < text.size() ? at + 3 : std::string_view::npos;
    EXPECT_EQ(byte_scan::find_first<';'>(text), semicolon);
    // Searching from past the byte finds the next one, or nothing.
    EXPECT_EQ(byte_scan::find_first<'#'>(text, at + 1), std::string_view::npos) << at;
  }
  EXPECT_EQ(byte_scan::find_first<'#'>(""), std::string_view::npos);
}

// Every other byte value beside `sought` is passed over; its neighbours in
// value (0x0a beside 0x0b and 0x8a) are the ones bit tricks get wrong.
template <char sought>
void expect_only(int line) {
  for (int other = 0; other < 256; ++other) {
    std::string text(16, static_cast<char>(other));
    text[11] = sought;
    const size_t want = static_cast<char>(other) == sought ? 0 : 11;
    EXPECT_EQ(byte_scan::find_first<sought>(text), want) << "byte " << other << ", line " << line;
  }
}

TEST(ByteScan, MatchesExactlyTheByteSoughtAmongAll256) {
  expect_only<'\0'>(__LINE__);
  expect_only<'\n'>(__LINE__);
  expect_only<'\x1a'>(__LINE__);
  expect_only<';'>(__LINE__);
  expect_only<'\x7f'>(__LINE__);
  expect_only<'\x80'>(__LINE__);
  expect_only<'\xff'>(__LINE__);
}

// The normalized form written out plainly, one byte at a time.
std::string normalized_by_hand(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return out;
}

TEST(NormalizeInto, AgreesWithTheRuleOnRandomTextAndStaysInItsRoom) {
  std::mt19937 random(12345);
  // Blanks, tabs and the letters' neighbours are the bytes that matter most.
  const std::string often = "  \t\taz`{AZ@[$_(;#\x80\xe1\xc1\xfa";
  for (int round = 0; round < 2000; ++round) {
    std::string text(random() % 70, '\0');
    for (char& c : text) {
      c = random() % 2 ? often[random() % often.size()] : static_cast<char>(random() % 256);
    }
    // Exactly the room the contract promises: a sanitizer build sees any
    // store past it. Each kernel the processor runs must agree.
    const size_t room_size = text.size() + kNormalizeSlack;
    std::unique_ptr<char[]> room(new char[room_size]);
    const std::string want = normalized_by_hand(text);
    size_t n = normalize_into(text, room.get());
    EXPECT_EQ(std::string(room.get(), n), want) << text;
    n = normalize_kernels::words(text, room.get());
    EXPECT_EQ(std::string(room.get(), n), want) << text;
    if (normalize_kernels::sixteen_available()) {
      n = normalize_kernels::sixteen(text, room.get());
      EXPECT_EQ(std::string(room.get(), n), want) << text;
    }
  }
}

#ifdef __linux__
// A line at the very start of readable memory, right after a page that
// cannot be read: a kernel that reads a byte before the line crashes here,
// where a string's room would hide it. Lines of 8 to 15 bytes are too short
// for sixteen bytes at a time and long enough for eight.
TEST(NormalizeInto, ReadsNothingBeforeALineRightAfterAProtectedPage) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  void* mapped =
      mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  char* const guard = static_cast<char*>(mapped);
  char* const line = guard + page;
  ASSERT_EQ(mprotect(guard, page, PROT_NONE), 0);
  const std::string_view sample = "MsgBox(0,1) x\t=\ty";
  for (size_t size = 1; size <= sample.size(); ++size) {
    std::memcpy(line, sample.data(), size);
    const std::string_view text(line, size);
    const std::string want = normalized_by_hand(text);
    char room[64];
    EXPECT_EQ(std::string(room, normalize_into(text, room)), want) << size;
    EXPECT_EQ(std::string(room, normalize_kernels::words(text, room)), want) << size;
    if (normalize_kernels::sixteen_available()) {
      EXPECT_EQ(std::string(room, normalize_kernels::sixteen(text, room)), want) << size;
    }
  }
  munmap(mapped, 2 * page);
}
#endif

}  // namespace
