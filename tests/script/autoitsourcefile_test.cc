// Tests of the script object: reading, writing, encodings and normalizing.
#include "script/autoitsourcefile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/script_builder.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

class ScriptFile : public testing::Test {
 protected:

  std::string make(const std::string& bytes) {
    std::string path = (dir_ / "in.au3").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  // Reads `bytes` as a script and writes it back; returns what was written.
  std::string round_trip(const std::string& bytes, int32_t* size) {
    autoitsourcefile script(make(bytes).c_str());
    std::string err;
    EXPECT_TRUE(script.read_to_array(&err)) << err;
    std::string out = (dir_ / "out.au3").string();
    captured_stdout([&] { *size = script.write_to_file(out.c_str(), &err); });
    return slurp(out);
  }

  temp_folder folder_;
  fs::path dir_{folder_.path()};
};

TEST_F(ScriptFile, ReadsLinesAndWritesThemWithCrLf) {
  int32_t size = 0;
  EXPECT_EQ(round_trip("a\r\nb\r\n", &size), "a\r\nb\r\n");
  EXPECT_EQ(size, 6);
  EXPECT_EQ(round_trip("a\n\nb", &size), "a\r\n\r\nb\r\n");
  EXPECT_EQ(size, 8);
  EXPECT_EQ(round_trip("a\r\r\n", &size), "a\r\r\n");
  EXPECT_EQ(size, 4);
}

TEST_F(ScriptFile, EmptyInputWritesAnEmptyFile) {
  int32_t size = -1;
  EXPECT_EQ(round_trip("", &size), "");
  EXPECT_EQ(size, 0);
}

TEST_F(ScriptFile, LoadFillsSlotsFromOne) {
  autoitsourcefile script(make("first\nsecond\n").c_str());
  std::string err;
  ASSERT_TRUE(script.read_to_array(&err));
  EXPECT_EQ(script.line_count, 2);
  EXPECT_EQ(script.lines[0], "");
  EXPECT_EQ(current_lines(script), (std::vector<std::string>{"first", "second"}));
}

// The text is read in two halves cut at a line end; the lines are those of a
// read in one piece, wherever the end mark and the CR LF pairs fall.
TEST_F(ScriptFile, EveryPlaceOfTheEndMarkEndsTheLinesThere) {
  std::string text;
  for (int k = 0; k < 12; ++k) text += "line" + std::to_string(k) + (k % 2 == 0 ? "\r\n" : "\n");
  for (size_t mark = 0; mark <= text.size(); ++mark) {
    std::string bytes = text;
    bytes.insert(mark, 1, '\x1a');
    // Lines ended by LF lose a CR before it; a last line without one keeps it.
    std::vector<std::string> expected;
    const std::string kept = text.substr(0, mark);
    for (size_t from = 0; from < kept.size();) {
      const size_t feed = kept.find('\n', from);
      if (feed == std::string::npos) {
        expected.push_back(kept.substr(from));
        break;
      }
      const size_t end = feed > from && kept[feed - 1] == '\r' ? feed - 1 : feed;
      expected.push_back(kept.substr(from, end - from));
      from = feed + 1;
    }
    autoitsourcefile script(make(bytes).c_str());
    std::string err;
    ASSERT_TRUE(script.read_to_array(&err)) << err;
    EXPECT_EQ(current_lines(script), expected) << "end mark at " << mark;
  }
}

TEST_F(ScriptFile, UnreadableInputIsAnError) {
  autoitsourcefile missing((dir_ / "missing.au3").string().c_str());
  std::string err;
  EXPECT_FALSE(missing.read_to_array(&err));
  EXPECT_EQ(err, "No such file or directory");
  EXPECT_EQ(missing.line_count, 0);

  autoitsourcefile folder(dir_.string().c_str());
  EXPECT_FALSE(folder.read_to_array(&err));
  EXPECT_EQ(err, "Is a directory");
}

TEST_F(ScriptFile, WriteReportsOnConsoleAndFailsCleanly) {
  autoitsourcefile script(make("x\n").c_str());
  std::string err;
  ASSERT_TRUE(script.read_to_array(&err));
  int32_t size = 0;
  std::string printed = captured_stdout(
      [&] { size = script.write_to_file((dir_ / "o.au3").string().c_str(), &err); });
  EXPECT_EQ(printed, "file written.\n\n");
  EXPECT_EQ(size, 3);

  std::string bad = (dir_ / "no" / "o.au3").string();
  printed = captured_stdout([&] { size = script.write_to_file(bad.c_str(), &err); });
  EXPECT_EQ(printed, "") << "nothing claims a write that failed";
  EXPECT_EQ(size, -1);
  EXPECT_EQ(err, "No such file or directory");
}

// A script with a byte order mark is read as UTF-8 without it and goes out
// with the UTF-8 mark; both sizes count the mark.
TEST_F(ScriptFile, MarkedScriptsGoOutAsUtf8WithItsMark) {
  const std::string mark = "\xEF\xBB\xBF";
  const std::string utf16le("\xFF\xFE" "#\0i\0\r\0\n\0\xAC\x20", 12);
  const std::string utf16be("\xFE\xFF\0#\0i\0\r\0\n\x20\xAC", 12);
  for (const std::string& bytes : {utf16le, utf16be, mark + "#i\r\n\xE2\x82\xAC"}) {
    autoitsourcefile script(make(bytes).c_str());
    std::string err;
    ASSERT_TRUE(script.read_to_array(&err)) << err;
    EXPECT_EQ(current_lines(script), (std::vector<std::string>{"#i", "\xE2\x82\xAC"}));
    const std::string out = (dir_ / "o.au3").string();
    int64_t measured = 0, written = 0;
    captured_stdout([&] {
      measured = script.measure_output(out.c_str(), &err);
      written = script.write_to_file(out.c_str(), &err);
    });
    EXPECT_EQ(slurp(out), mark + "#i\r\n\xE2\x82\xAC\r\n");
    EXPECT_EQ(measured, 12);
    EXPECT_EQ(written, 12);
  }
  // Without a mark, nothing is added.
  int32_t size = 0;
  EXPECT_EQ(round_trip("\xE2\x82\xAC", &size), "\xE2\x82\xAC\r\n");
}

TEST_F(ScriptFile, InvalidUtf16InputIsAnError) {
  autoitsourcefile script(make(std::string("\xFF\xFE" "a\0\x00\xD8", 6)).c_str());
  std::string err;
  EXPECT_FALSE(script.read_to_array(&err));
  EXPECT_EQ(err, "not valid UTF-16 at byte offset 4: high surrogate without a low one after it");
}

TEST(TransformLines, UpperCasesLettersAndDropsBlanksAndTabs) {
  autoitsourcefile script("");
  load_lines(script, {"\tLocal $aB = 1", " \t ", "x\ry\fz", "\xe4\xc4 \x80", "MsgBox(0, 'a b')"});
  script.transform_lines();
  EXPECT_EQ(current_transformed_lines(script),
            (std::vector<std::string>{"LOCAL$AB=1", "", "X\rY\fZ", "\xe4\xc4\x80", "MSGBOX(0,'AB')"}));
  const std::vector<std::string> lines = current_lines(script);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[1], " \t ") << "the line itself keeps its blanks";
}

TEST(TransformLines, NotesTheLinesThatMayOpenAFunctionOrDeclare) {
  autoitsourcefile script("");
  load_lines(script, {"Func A()", "  local $x", "FuncCall()", "Global Const $y", "EndFunc",
                      "$z = 1", "Dim $a", "\tCONST $c = 1", "Static $s", "; Func B()"});
  script.transform_lines();
  EXPECT_EQ(script.header_lines, (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(script.declaration_lines, (std::vector<int32_t>{2, 4, 7, 8}));
}

}  // namespace
