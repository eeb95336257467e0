#include "core/section/colour_scale_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/core/section/vdb_test_support.h"

namespace orv::testing {
namespace {

std::string cp(const std::string& utf8) {
  return utf8ToCp1250(utf8);
}

bool writeTo(const ColourScale& s, const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = writeColourScale(s, f, path);
  return std::fclose(f) == 0 && ok;
}

ColourScale sample() {
  ColourScale s{};
  const std::pair<int32_t, int32_t> e[] = {{0, 0}, {10, 255}, {100, -1}, {2147483647, 65280}};
  for (int k = 0; k < 4; ++k) s.colResBound[k] = e[k].first, s.colResColor[k] = e[k].second;
  s.colResCount = 4;
  s.colResBound[4] = ColourTableEnd;  // the terminator is not written
  s.colResColor[4] = 0xFFFFFF;
  return s;
}

class RscFileTest : public ::testing::Test {
 protected:
  ScratchFolder scratch;
  std::string dir = scratch.path();
};

TEST_F(RscFileTest, WrittenBytesAndRoundTrip) {
  const std::string a = dir + "škála.rsc";
  ASSERT_TRUE(writeTo(sample(), a));
  EXPECT_EQ(fileBytes(a), cp("název_souboru: " + a) +
                              "\r\nmxpocet_bodu_barev: 4\r\n0 0 \r\n10 255 \r\n100 -1 "
                              "\r\n2147483647 65280 ");

  ColourScale back{};
  const ColourScaleReadResult r = readColourScale(back, a.c_str());
  EXPECT_EQ(r.code, 1);
  EXPECT_FALSE(r.capped);
  ASSERT_EQ(back.colResCount, 4);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(back.colResBound[k], sample().colResBound[k]) << k;
    EXPECT_EQ(back.colResColor[k], sample().colResColor[k]) << k;
  }
  // One line more is read than written: the end entry repeats entry N - 1.
  EXPECT_EQ(back.colResBound[4], 2147483647);
  EXPECT_EQ(back.colResColor[4], 65280);
  const std::string first = fileBytes(a);
  ASSERT_TRUE(writeTo(back, a));
  EXPECT_EQ(fileBytes(a), first);
}

struct ReadCase {
  const char* name;
  std::string bytes;
  int code;
  int count;                                         // expected N when read
  std::vector<std::pair<int32_t, int32_t>> entries;  // 0..N
};

class RscReadTest : public RscFileTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(RscReadTest, ReadsAsTheCLibraryDoes) {
  const ReadCase& c = GetParam();
  putBytes(dir + "in.rsc", c.bytes);
  ColourScale s{};
  for (int k = 0; k < MaxColourEntries; ++k) s.colResBound[k] = 77, s.colResColor[k] = 88;
  s.colResCount = 9;
  EXPECT_EQ(readColourScale(s, (dir + "in.rsc").c_str()).code, c.code);
  EXPECT_EQ(s.colResCount, c.code == 1 ? c.count : 9);
  for (std::size_t k = 0; k < c.entries.size(); ++k) {
    EXPECT_EQ(s.colResBound[k], c.entries[k].first) << k;
    EXPECT_EQ(s.colResColor[k], c.entries[k].second) << k;
  }
  const std::size_t untouched = c.code == 1 ? c.entries.size() : 0;
  EXPECT_EQ(s.colResBound[untouched], 77);
}

const std::string LongHeader = "název_souboru: /" + std::string(300, 'x') + ".rsc";

INSTANTIATE_TEST_SUITE_P(
    Files, RscReadTest,
    ::testing::Values(
        ReadCase{"OctalAndHex",
                 "h\r\nk: 2\r\n010 0x1F \r\n0X10 -011 ",
                 1,
                 2,
                 {{8, 31}, {16, -9}, {16, -9}}},
        ReadCase{
            "CountInHex", "h\r\nk: 0x2\r\n1 2 \r\n3 4 \r\n5 6 ", 1, 2, {{1, 2}, {3, 4}, {5, 6}}},
        ReadCase{"LongFirstLine", LongHeader + "\r\nk: 1\r\n5 6 ", 1, 1, {{5, 6}, {5, 6}}},
        ReadCase{"LineFeedsOnly", "h\nk: 1\n5 6\n", 1, 1, {{5, 6}, {5, 6}}},
        // The file ends before its count: the last line stands for the rest.
        ReadCase{"ShortFile", "h\r\nk: 3\r\n5 6 ", 1, 3, {{5, 6}, {5, 6}, {5, 6}, {5, 6}}},
        // What does not convert keeps what it held.
        ReadCase{"HalfEntry", "h\r\nk: 1\r\n5\r\nx 1", 1, 1, {{5, 88}, {77, 88}}},
        ReadCase{"CountLineLast", "h\r\nk: 0", 1, 0, {{77, 88}}},
        ReadCase{"NoCount", "h\r\nmxpocet_bodu_barev: x\r\n1 2", -1, 0, {}},
        ReadCase{"OneLine", "název_souboru: a.rsc", -1, 0, {}}, ReadCase{"Empty", "", -1, 0, {}},
        ReadCase{"NegativeCount", "h\r\nk: -3\r\n1 2", -1, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RscFileTest, CountsBeyondTheTableAreCapped) {
  std::string bytes = "h\r\nmxpocet_bodu_barev: 600";
  for (int k = 0; k < 600; ++k)
    bytes += "\r\n" + std::to_string(k) + " " + std::to_string(-k) + " ";
  putBytes(dir + "big.rsc", bytes);
  ColourScale s{};
  const ColourScaleReadResult r = readColourScale(s, (dir + "big.rsc").c_str());
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.capped);
  EXPECT_EQ(s.colResCount, 499);
  EXPECT_EQ(s.colResBound[499], 499);
  EXPECT_EQ(s.colResColor[499], -499);

  // The writer cuts the count to the table and writes what it announces.
  s.colResCount = 100000;
  ASSERT_TRUE(writeTo(s, dir + "out.rsc"));
  const std::string out = fileBytes(dir + "out.rsc");
  EXPECT_NE(out.find("\r\nmxpocet_bodu_barev: 499\r\n0 0 "), std::string::npos);
  EXPECT_NE(out.find("\r\n498 -498 "), std::string::npos);
  EXPECT_EQ(out.find("\r\n499 -499 "), std::string::npos);
}

TEST_F(RscFileTest, MissingFileAndFailedWrite) {
  ColourScale s = sample();
  EXPECT_EQ(readColourScale(s, (dir + "none.rsc").c_str()).code, 0);
  EXPECT_EQ(s.colResCount, 4);
  EXPECT_EQ(s.colResBound[4], ColourTableEnd);
  if (std::FILE* full = std::fopen("/dev/full", "wb")) {
    EXPECT_FALSE(writeColourScale(s, full, "/dev/full"));
    std::fclose(full);
  }
}

}  // namespace
}  // namespace orv::testing
