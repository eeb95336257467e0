#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/cp1250.h"
#include "base/fixed_text.h"
#include "base/line_reader.h"

namespace orv {
namespace {

TEST(Cp1250, CzechLettersRoundTrip) {
  const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ŠČŘŽÝÁÍÉŮÚĚŤĎŇ";
  std::string bytes = utf8ToCp1250(czech);
  EXPECT_EQ(bytes.size(), 53u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xF8);  // ř
  EXPECT_EQ(cp1250ToUtf8(bytes), czech);
}

TEST(Cp1250, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(utf8ToCp1250("a\xE2\x82\xAC b\xE4\xB8\xAD"), "a\x80 b?");
  EXPECT_EQ(utf8ToCp1250("\xC3"), "?");             // truncated sequence
  EXPECT_EQ(cp1250ToUtf8("\x81"), "\xEF\xBF\xBD");  // undefined byte
}

TEST(FixedText, CutsToCapacityMinusOne) {
  char buf[5];
  setText(buf, "abcdefgh");
  EXPECT_EQ(std::string(buf), "abcd");
  setText(buf, "ab");
  EXPECT_EQ(textOf(buf), "ab");
  char full[3] = {'x', 'y', 'z'};  // no terminator: never read past the end
  EXPECT_EQ(textOf(full), "xyz");
}

class LineReaderTest : public ::testing::Test {
 protected:
  std::string write(const std::string& bytes) {
    // CTest runs the cases in parallel: each needs a file of its own.
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = ::testing::TempDir() + "line_reader_" + info->name() + ".txt";
    std::ofstream(path_, std::ios::binary) << bytes;
    return path_;
  }
  std::vector<std::string> readAll(std::size_t bufSize) {
    LineReader r(path_.c_str());
    std::vector<std::string> lines;
    std::vector<char> buf(bufSize);
    while (r.next(buf.data(), buf.size())) lines.emplace_back(buf.data());
    return lines;
  }
  void TearDown() override {
    if (!path_.empty()) std::remove(path_.c_str());
  }
  std::string path_;
};

TEST_F(LineReaderTest, TranslatesCrLfAndNeedsNoFinalBreak) {
  write("n Novak\r\nb 25\r\nlast");
  EXPECT_EQ(readAll(300), (std::vector<std::string>{"n Novak\n", "b 25\n", "last"}));
}

TEST_F(LineReaderTest, DeliversLongLinesInPieces) {
  write(std::string(7, 'x') + "\r\ny");
  EXPECT_EQ(readAll(4), (std::vector<std::string>{"xxx", "xxx", "x\n", "y"}));
}

TEST_F(LineReaderTest, MissingFileIsNotOk) {
  LineReader r("/nonexistent/dir/file.kmt");
  char buf[10];
  EXPECT_FALSE(r.ok());
  EXPECT_FALSE(r.next(buf, sizeof buf));
}

}  // namespace
}  // namespace orv
