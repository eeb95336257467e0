#include "core/curve/kmt_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/derive_readings.h"
#include "core/curve/grid_index.h"
#include "core/interpretation/branch_merging.h"
#include "tests/commands/curve/kmt_test_support.h"
#include "tests/support/fixture_path.h"

namespace orv {
namespace {

using testing::fileBytes;
using testing::ScratchFolder;
using testing::TestWindow;

const std::string Samples = ORV_FIXTURES_DIR;
const std::string Fixtures = ORV_FIXTURES_DIR;

float gridValueOfIndex(int k) {
  return gridValueOf(k);
}

std::string header(const std::string& locality = "Lhota") {
  return "n Svoboda\r\nb 40\r\np 2\r\nl " + locality + "\r\nd 2024-06-01";
}

TEST(KmtRead, SampleRecordsCarryTheirHeaderAndReadings) {
  TestWindow w;
  const std::string path = Samples + "/lhota-pf1.kmt";
  ASSERT_TRUE(orv_test::fixturePresent(path));
  KmtReadResult r = readKmtRecord(w.s(), path.c_str(), 0);
  ASSERT_EQ(r.code, 1);
  EXPECT_EQ(textOf(w.s().operatorText), "Svoboda");
  EXPECT_EQ(w.s().pointNumber, 0);
  EXPECT_EQ(w.s().profileNumber, 1);
  EXPECT_EQ(textOf(w.s().localityText), "Lhota");
  EXPECT_EQ(textOf(w.s().dateText), "2026-04-02");
  ASSERT_EQ(w.s().readingCount, 27);
  EXPECT_EQ(r.readingCount, 27);
  EXPECT_FLOAT_EQ(w.s().readingRho[0], 116.915162f);
  EXPECT_FLOAT_EQ(w.s().readingS[0], 1.0f);
  EXPECT_FLOAT_EQ(w.s().readingAbHalf[0], 1.0f);
  EXPECT_FLOAT_EQ(w.s().readingMnHalf[0], 0.5f);
  EXPECT_EQ(w.s().readingBranch[0], 1);
  EXPECT_EQ(w.s().readingBranch[10], 2);
  EXPECT_EQ(w.s().readingBranch[26], 3);
  EXPECT_FLOAT_EQ(w.s().readingAbHalf[26], 301.1f);

  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 4).code, 1);
  EXPECT_EQ(w.s().pointNumber, 100);
}

TEST(KmtRead, RecordBeyondTheLastIsEndOfFileAndTouchesNothing) {
  TestWindow w;
  w.s().readingCount = 3;
  w.s().pointNumber = 77;
  const std::string path = Samples + "/lhota-pf1.kmt";
  ASSERT_TRUE(orv_test::fixturePresent(path));
  EXPECT_EQ(readKmtRecord(w.s(), path.c_str(), 5).code, -2);
  EXPECT_EQ(readKmtRecord(w.s(), path.c_str(), -1).code, -2);
  EXPECT_EQ(w.s().readingCount, 3);
  EXPECT_EQ(w.s().pointNumber, 77);
}

TEST(KmtRead, MissingFileCannotBeOpened) {
  TestWindow w;
  w.s().readingCount = 3;
  EXPECT_EQ(readKmtRecord(w.s(), "/nonexistent/folder/ves.kmt", 0).code, 0);
  EXPECT_EQ(w.s().readingCount, 3);
}

struct RhoCase {
  const char* written;
  float expected;
};

class KmtRhoTest : public ::testing::TestWithParam<RhoCase> {};

TEST_P(KmtRhoTest, AcceptedResistivityIsPositive) {
  ScratchFolder dir("kmt-rho");
  const std::string path =
      dir.write("a.kmt", header() + "\r\nr " + GetParam().written + " s1 a1.000000 m0.500000");
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  ASSERT_EQ(w.s().readingCount, 1);
  EXPECT_FLOAT_EQ(w.s().readingRho[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, KmtRhoTest,
                         ::testing::Values(RhoCase{"0", 0.000001f}, RhoCase{"0.000000", 0.000001f},
                                           RhoCase{"-35.2", 35.2f}, RhoCase{"35.2", 35.2f},
                                           RhoCase{"-0", 0.000001f}));

struct StopCase {
  const char* line;
  int readingsTaken;  // of the three lines around the tested one
};

class KmtStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(KmtStopTest, FirstInvalidLineEndsTheRecord) {
  ScratchFolder dir("kmt-stop");
  const std::string path = dir.write(
      "a.kmt", header() + "\r\nr 10 s1 a1.3 m0.5\r\n" + GetParam().line + "\r\nr 30 s1 a1.68 m0.5");
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(w.s().readingCount, GetParam().readingsTaken);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, KmtStopTest,
    ::testing::Values(StopCase{"r 20 s1 a0.8 m0.5", 1},  // AB/2 below 1 m
                      StopCase{"r 20 s1 a1 m0.05", 1},   // MN/2 below 0.1 m
                      StopCase{"r 20 s1 a1 m0.1", 3},    // the bounds themselves are valid
                      StopCase{"r 20 s1 a1.0 m0.099", 1}, StopCase{"r 20 s1 a1.3", 1},
                      StopCase{"x 20 s1 a1.3 m0.5", 1},   // not an "r" line
                      StopCase{" r 20 s1 a1.3 m0.5", 1},  // first character decides
                      StopCase{"r abc s1 a1.3 m0.5", 1},  // non-numeric fields
                      StopCase{"r 20 sx a1.3 m0.5", 1}, StopCase{"r 20 s08 a1.3 m0.5", 1},
                      StopCase{"r 20 s0x1F a1.3 m0.5", 3},  // "%i" reads hex
                      StopCase{"r nan s1 a1.3 m0.5", 1},    // not a number
                      StopCase{"r inf s1 a1.3 m0.5", 1}, StopCase{"r 20 s1 a1e39 m0.5", 1},
                      StopCase{"r 20 s1 a1.3 mnan", 1}, StopCase{"", 1}, StopCase{"n Dalsi", 1}));

TEST(KmtRead, SFieldReadsHexAndOctalPrefixes) {
  ScratchFolder dir("kmt-s");
  const std::string path =
      dir.write("a.kmt", header() + "\r\nr 10 s0x1F a1.3 m0.5\r\nr 10 s017 a1.68 m0.5");
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  ASSERT_EQ(w.s().readingCount, 2);
  EXPECT_FLOAT_EQ(w.s().readingS[0], 31.0f);
  EXPECT_FLOAT_EQ(w.s().readingS[1], 15.0f);
}

TEST(KmtRead, BranchFollowsMnHalf) {
  const struct {
    float mn;
    int branch;
  } cases[] = {{0.1f, 1},   {0.5f, 1},   {0.999f, 1}, {1.0f, 2},  {2.5f, 2},
               {4.99f, 2},  {5.0f, 3},   {10.0f, 3},  {20.0f, 4}, {50.0f, 4},
               {100.0f, 5}, {150.0f, 5}, {299.f, 5},  {300.f, 6}, {1000.f, 6}};
  for (const auto& c : cases) EXPECT_EQ(kmtBranchOfMnHalf(c.mn), c.branch) << c.mn;

  ScratchFolder dir("kmt-branch");
  const std::string path =
      dir.write("a.kmt", header() +
                             "\r\nr 10 s1 a1 m0.5\r\nr 10 s1 a10 m2.5\r\nr 10 s1 a20 m10"
                             "\r\nr 10 s1 a100 m50\r\nr 10 s1 a300 m150");
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  ASSERT_EQ(w.s().readingCount, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(w.s().readingBranch[i], i + 1);
}

TEST(KmtRead, AtMost200ReadingsAreTaken) {
  std::string text = header();
  for (int i = 0; i < 201; ++i) text += "\r\nr " + std::to_string(i + 1) + " s1 a1 m0.5";
  ScratchFolder dir("kmt-cap");
  const std::string path = dir.write("a.kmt", text);
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(w.s().readingCount, MaxReadings);
  EXPECT_FLOAT_EQ(w.s().readingRho[199], 200.0f);
}

TEST(KmtRead, TextsAreOneWordAndCutToTheirBuffers) {
  const std::string longWord(250, 'x');
  ScratchFolder dir("kmt-text");
  const std::string path = dir.write(
      "a.kmt", "n " + longWord + "\r\nb 1\r\np 1\r\nl Horn\xed Lhota\r\nd 2024 06\r\nr 1 s1 a1 m1");
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(textOf(w.s().operatorText), std::string(WordCapacity - 1, 'x'));
  EXPECT_EQ(textOf(w.s().localityText), "Horn\xed");
  EXPECT_EQ(shownText(w.s().localityText), "Horní");
  EXPECT_EQ(textOf(w.s().dateText), "2024");
}

TEST(KmtRead, HeaderLinesThatDoNotMatchLeaveTheMembers) {
  ScratchFolder dir("kmt-header");
  const std::string path =
      dir.write("a.kmt", "n\r\nb abc\r\np 0x1A\r\nq Jinde\r\nd\r\nr 1 s1 a1 m1");
  TestWindow w;
  setText(w.s().operatorText, "Stary");
  setText(w.s().localityText, "Stara");
  setText(w.s().dateText, "1999");
  w.s().pointNumber = 12;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(textOf(w.s().operatorText), "Stary");
  EXPECT_EQ(w.s().pointNumber, 12);
  EXPECT_EQ(w.s().profileNumber, 26);  // "%i" reads the hex prefix
  EXPECT_EQ(textOf(w.s().localityText), "Stara");
  EXPECT_EQ(textOf(w.s().dateText), "1999");
  EXPECT_EQ(w.s().readingCount, 1);
}

TEST(KmtRead, OctalPointNumber) {
  ScratchFolder dir("kmt-octal");
  const std::string path = dir.write("a.kmt", "n A\r\nb 010\r\np 1\r\nl L\r\nd D\r\nr 1 s1 a1 m1");
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(w.s().pointNumber, 8);
}

TEST(KmtRead, OverlongLinesAreCutAndTheirTailsIgnored) {
  const std::string path = Fixtures + "/kmt_long_lines.kmt";
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(textOf(w.s().localityText), std::string(WordCapacity - 1, 'A'));
  EXPECT_EQ(textOf(w.s().dateText), "2024");
  ASSERT_EQ(w.s().readingCount, 3);
  EXPECT_FLOAT_EQ(w.s().readingRho[1], 20.0f);
  EXPECT_FLOAT_EQ(w.s().readingRho[2], 30.0f);

  // The tail of the long locality line starts with "n" but opens no record.
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 1).code, 1);
  EXPECT_EQ(textOf(w.s().operatorText), "Druhy");
  EXPECT_EQ(w.s().pointNumber, 6);
  EXPECT_EQ(readKmtRecord(w.s(), path.c_str(), 2).code, -2);
}

TEST(KmtRead, LastLineNeedsNoBreakAndLineEndsMayBeBareLf) {
  const std::string path = Fixtures + "/kmt_no_final_break.kmt";
  TestWindow w;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(textOf(w.s().operatorText), "Bez");
  EXPECT_EQ(w.s().pointNumber, 7);
  EXPECT_EQ(textOf(w.s().localityText), "Konec");
  ASSERT_EQ(w.s().readingCount, 2);
  EXPECT_FLOAT_EQ(w.s().readingRho[1], 20.0f);
  EXPECT_FLOAT_EQ(w.s().readingAbHalf[1], 1.3f);
}

TEST(KmtRead, TruncatedRecordHasNoReadings) {
  const std::string path = Fixtures + "/kmt_truncated.kmt";
  TestWindow w;
  w.s().profileNumber = 9;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(textOf(w.s().operatorText), "Utnuty");
  EXPECT_EQ(w.s().pointNumber, 4);
  EXPECT_EQ(w.s().profileNumber, 9);
  EXPECT_EQ(w.s().readingCount, 0);
}

TEST(KmtRead, BinaryGarbageStaysInsideTheBuffers) {
  const std::string path = Fixtures + "/kmt_garbage.bin";
  TestWindow w;
  for (int record = 0; record < 4; ++record) {
    KmtReadResult r = readKmtRecord(w.s(), path.c_str(), record);
    ASSERT_TRUE(r.code == 1 || r.code == -2) << record;
    EXPECT_GE(w.s().readingCount, 0);
    EXPECT_LE(w.s().readingCount, MaxReadings);
    EXPECT_LT(std::strlen(w.s().operatorText), static_cast<size_t>(WordCapacity));
    EXPECT_LT(std::strlen(w.s().localityText), static_cast<size_t>(WordCapacity));
    EXPECT_LT(std::strlen(w.s().dateText), static_cast<size_t>(WordCapacity));
  }
  // The file holds two lines starting with "n": the first byte and the
  // planted "n\0\xff" line, whose word stops at the NUL.
  EXPECT_EQ(readKmtRecord(w.s(), path.c_str(), 1).code, 1);
  EXPECT_EQ(readKmtRecord(w.s(), path.c_str(), 2).code, -2);
}

TEST(KmtRead, ReadingsDropIpDataOfAnEarlierSounding) {
  ScratchFolder dir("kmt-ip");
  const std::string path = dir.write("a.kmt", header() + "\r\nr 10 s1 a1 m0.5");
  TestWindow w;
  w.s().readingIpReference[0] = 5;
  w.s().decaySampleCount[0] = 40;
  ASSERT_EQ(readKmtRecord(w.s(), path.c_str(), 0).code, 1);
  EXPECT_EQ(w.s().readingIpReference[0], 0);
  EXPECT_EQ(w.s().decaySampleCount[0], 0);
}

// --- writer -----------------------------------------------------------------

// Readings placed on the grid, derived and merged onto branch 2 as after a load.
void loadMerged(TestWindow& w) {
  ASSERT_EQ(deriveReadings(w.session, ReadingOrigin::Kmt), 1);
  mergeBranchesCore(w.s(), 2);
}

void addReading(CurveWindowState& s, float rho, float sv, float ab, float mn) {
  const int i = s.readingCount++;
  s.readingRho[i] = rho;
  s.readingS[i] = sv;
  s.readingAbHalf[i] = ab;
  s.readingMnHalf[i] = mn;
  s.readingBranch[i] = kmtBranchOfMnHalf(mn);
}

TEST(KmtWrite, RecordBytesOfATwoBranchSounding) {
  TestWindow w;
  CurveWindowState& s = w.s();
  setText(s.operatorText, "Nov\xe1k");
  setText(s.localityText, "Lhota");
  setText(s.dateText, "2024-06-01");
  s.pointNumber = 25;
  s.profileNumber = 3;
  // Branch 1 on grid indices 0..7, branch 2 on 6..9 reading twice as much.
  const float ab[] = {1.0f, 1.3f, 1.68f, 2.18f, 2.82f, 3.66f, 4.74f, 6.15f, 7.97f, 10.3f};
  for (int k = 0; k <= 7; ++k) addReading(s, 10.0f, 3, ab[k], 0.5f);
  for (int k = 6; k <= 9; ++k) addReading(s, 20.0f, 5, ab[k], 2.5f);
  loadMerged(w);
  ASSERT_EQ(kmtOutputBranchCount(s), 2);

  // Output branch 1 takes grid indices 0..7, output branch 2 those from 6 on;
  // every value is on the level of branch 2, the "s" figure of the lowest
  // branch with a value.
  const std::string want =
      "n Nov\xe1k\r\nb 25\r\np 3\r\nl Lhota\r\nd 2024-06-01"
      "\r\nr 20.000000 s3 a1.000000 m0.500000"
      "\r\nr 20.000000 s3 a1.300000 m0.500000"
      "\r\nr 20.000000 s3 a1.680000 m0.500000"
      "\r\nr 20.000000 s3 a2.180000 m0.500000"
      "\r\nr 20.000000 s3 a2.820000 m0.500000"
      "\r\nr 20.000000 s3 a3.660000 m0.500000"
      "\r\nr 20.000000 s3 a4.740000 m0.500000"
      "\r\nr 20.000000 s3 a6.150000 m0.500000"
      "\r\nr 20.000000 s3 a4.740000 m2.500000"
      "\r\nr 20.000000 s3 a6.150000 m2.500000"
      "\r\nr 20.000000 s5 a7.970000 m2.500000"
      "\r\nr 20.000000 s5 a10.299999 m2.500000";
  EXPECT_EQ(formatKmtRecord(s, true), want);
  EXPECT_EQ(formatKmtRecord(s, false), "\r\n" + want);
}

// Qt installs the user's locale for the process; the Czech one writes a
// decimal comma. File bytes must not follow it.
TEST(KmtWrite, BytesDoNotFollowTheProcessLocale) {
  TestWindow w;
  CurveWindowState& s = w.s();
  for (int k = 0; k < 3; ++k) addReading(s, 12.5f, 1, gridValueOfIndex(k), 0.5f);
  loadMerged(w);
  const std::string inC = formatKmtRecord(s, true);
  ScratchFolder dir("kmt-locale");
  const std::string path = dir.write("a.kmt", inC);

  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "cs_CZ.utf8"), nullptr);
  const std::string inCzech = formatKmtRecord(s, true);
  TestWindow back;
  const KmtReadResult r = readKmtRecord(back.s(), path.c_str(), 0);
  std::setlocale(LC_ALL, previous.c_str());

  EXPECT_EQ(inCzech, inC);
  EXPECT_NE(inC.find("r 12.500000 s1 a1.000000 m0.500000"), std::string::npos);
  ASSERT_EQ(r.code, 1);
  ASSERT_EQ(back.s().readingCount, 3);
  EXPECT_FLOAT_EQ(back.s().readingRho[2], 12.5f);
  EXPECT_FLOAT_EQ(back.s().readingMnHalf[2], 0.5f);
}

struct OutputBranchCase {
  int lastBranchCells;  // cells of branch 2 from grid index 6 on
  int expected;
};

class KmtOutputBranchTest : public ::testing::TestWithParam<OutputBranchCase> {};

TEST_P(KmtOutputBranchTest, SparseLastBranchGoesOutWithTheOneBefore) {
  TestWindow w;
  CurveWindowState& s = w.s();
  for (int k = 0; k <= 6; ++k) addReading(s, 10.0f, 1, gridValueOfIndex(k), 0.5f);
  // Branch 2 overlaps on grid index 5 and 6 and runs on above.
  addReading(s, 20.0f, 1, gridValueOfIndex(5), 2.5f);
  for (int n = 0; n < GetParam().lastBranchCells; ++n)
    addReading(s, 20.0f, 1, gridValueOfIndex(6 + n), 2.5f);
  loadMerged(w);
  EXPECT_EQ(kmtOutputBranchCount(s), GetParam().expected);
  // Every merged cell goes out at least once, whatever B is.
  const std::string bytes = formatKmtRecord(s, true);
  for (int k = s.gridMinIndex; k <= s.gridMaxIndex; ++k)
    EXPECT_NE(bytes.find(" a" + formatF(s.gridAbHalf[k])), std::string::npos) << k;
}

INSTANTIATE_TEST_SUITE_P(Counts, KmtOutputBranchTest,
                         ::testing::Values(OutputBranchCase{1, 1}, OutputBranchCase{2, 1},
                                           OutputBranchCase{3, 2}, OutputBranchCase{6, 2}));

TEST(KmtWrite, OutputBranchCountBounds) {
  TestWindow w;
  CurveWindowState& s = w.s();
  s.branchCount = 0;
  EXPECT_EQ(kmtOutputBranchCount(s), 0);
  for (int k = 0; k < 3; ++k) addReading(s, 10.0f, 1, gridValueOfIndex(k), 0.5f);
  loadMerged(w);
  EXPECT_EQ(kmtOutputBranchCount(s), 1);
  // A branch number the tables cannot hold is never written.
  s.branchCount = 6;
  EXPECT_LE(kmtOutputBranchCount(s), MaxBranch);
}

TEST(KmtWrite, MissingBranchBorrowsTheMnHalfOfTheBranchBelow) {
  TestWindow w;
  CurveWindowState& s = w.s();
  // Branches 1 and 3; branch 2 was never measured.
  for (int k = 0; k <= 8; ++k) addReading(s, 10.0f, 1, gridValueOfIndex(k), 0.5f);
  for (int k = 7; k <= 20; ++k) addReading(s, 10.0f, 1, gridValueOfIndex(k), 10.0f);
  loadMerged(w);
  ASSERT_EQ(s.branchCount, 3);
  ASSERT_EQ(kmtOutputBranchCount(s), 3);
  const std::string bytes = formatKmtRecord(s, true);
  EXPECT_EQ(bytes.find("m-999"), std::string::npos);

  // Every line reads back: nothing is lost behind an unreadable MN/2.
  ScratchFolder dir("kmt-gap");
  const std::string path = dir.write("a.kmt", bytes);
  TestWindow back;
  ASSERT_EQ(readKmtRecord(back.s(), path.c_str(), 0).code, 1);
  int lines = 0;
  for (size_t p = bytes.find("\r\nr "); p != std::string::npos; p = bytes.find("\r\nr ", p + 1))
    ++lines;
  EXPECT_EQ(back.s().readingCount, lines);
}

void expectSameComposite(const CurveWindowState& a, const CurveWindowState& b) {
  ASSERT_EQ(a.gridMinIndex, b.gridMinIndex);
  ASSERT_EQ(a.gridMaxIndex, b.gridMaxIndex);
  for (int k = a.gridMinIndex; k <= a.gridMaxIndex; ++k) {
    if (a.mergedRho[k][0] > 0) {
      EXPECT_NEAR(b.mergedRho[k][0], a.mergedRho[k][0], 2e-6 * a.mergedRho[k][0]) << k;
    } else {
      EXPECT_EQ(b.mergedRho[k][0], EmptyCell) << k;
    }
  }
}

TEST(KmtWrite, MergedSampleRoundTripsThroughTheFile) {
  const std::string sample = Samples + "/lhota-pf1.kmt";
  ASSERT_TRUE(orv_test::fixturePresent(sample));
  ScratchFolder dir("kmt-round");
  for (int record = 0; record < 5; ++record) {
    TestWindow w;
    ASSERT_EQ(readKmtRecord(w.s(), sample.c_str(), record).code, 1);
    loadMerged(w);
    ASSERT_GE(w.s().branchCount, 2) << record;
    const std::string first = formatKmtRecord(w.s(), true);
    const std::string path = dir.write("r" + std::to_string(record) + ".kmt", first);

    TestWindow back;
    ASSERT_EQ(readKmtRecord(back.s(), path.c_str(), 0).code, 1);
    EXPECT_EQ(textOf(back.s().operatorText), "Svoboda");
    EXPECT_EQ(back.s().pointNumber, 25 * record);
    loadMerged(back);
    expectSameComposite(w.s(), back.s());
    // Written again, the record gives the same bytes.
    EXPECT_EQ(formatKmtRecord(back.s(), true), first) << record;
  }
}

}  // namespace
}  // namespace orv
