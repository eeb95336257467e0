#include "core/curve/sas_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/sas_commands.h"
#include "core/curve/oax_file.h"
#include "tests/commands/curve/kmt_test_support.h"
#include "tests/core/curve/oax_test_support.h"
#include "tests/support/fixture_path.h"

namespace orv {
namespace {

using testing::ScratchFolder;
using testing::TestWindow;

const char* const Header =
    "Měření: x\r\n No. Time        Ax       Ay      Az       Bx       By      Bz       Mx\r\n";

// A data line with A, B at -/+ab on the x axis and M, N at -/+mn.
std::string sasLine(int number, float ab, float mn, float rho) {
  return cformat("%d 1.0 %g 0 0 %g 0 0 %g 0 0 %g 0 0 20.3 686.7 %g 10.1 0.6 3 5.9 12.6\r\n", number,
                 -ab, ab, -mn, mn, static_cast<double>(rho));
}

TEST(SasFile, SpacingsFromTheElectrodesAndTheirBranches) {
  EXPECT_EQ(sasHalfSpacing(-5, 0, 0, 5, 0, 0), 5.0f);
  EXPECT_EQ(sasHalfSpacing(-0.5f, 0, 0, 0.5f, 0, 0), 0.5f);
  EXPECT_EQ(sasHalfSpacing(0, 0, 0, 6, 0, 8), 5.0f);
  const struct {
    float mn;
    int branch;
  } branches[] = {{0.5f, 1}, {2, 2}, {10, 3}, {20, 4}, {100, 5}, {114.9f, 5}, {115, 0}, {300, 0}};
  for (const auto& b : branches) EXPECT_EQ(sasBranchOfMnHalf(b.mn), b.branch) << b.mn;
}

TEST(SasFile, RunningNumbersCapacityAndWideSpacings) {
  ScratchFolder dir("sas_lines");
  std::string many = Header;
  for (int n = 1; n <= 250; ++n) many += sasLine(n, 1.0f + n, 0.5f, 10.0f + n);
  struct Case {
    std::string bytes;
    int readings;
    bool capped;
    int droppedWideMn;
  } const cases[] = {
      {Header + sasLine(1, 5, 0.5f, 80) + sasLine(2, 6, 0.5f, 90) + sasLine(4, 7, 0.5f, 99), 2,
       false, 0},
      {Header + sasLine(2, 5, 0.5f, 80), 0, false, 0},  // must start at 1
      {Header + sasLine(1, 5, 0.5f, 0) + sasLine(2, 500, 150, 40) + sasLine(3, 6, 0.5f, 90), 1,
       false, 1},
      {many, MaxReadings, true, 0},
  };
  for (const Case& k : cases) {
    TestWindow w;
    const InstrumentReadResult r = readSasData(w.s(), dir.write("a.sas", k.bytes).c_str());
    EXPECT_EQ(w.s().readingCount, k.readings);
    EXPECT_EQ(r.notice.readingsCapped, k.capped);
    EXPECT_EQ(r.notice.droppedWideMn, k.droppedWideMn);
  }
}

TEST(SasCommands, TheSampleFileAndTheWindowsOfASasFileReadFirst) {
  const std::string path = orv_test::fixturePath("profil-sas.sas");
  ASSERT_TRUE(orv_test::fixturePresent(path));
  TestWindow w;
  w.dialogs.answer(path);
  w.s().decaySampleCount[3] = 40;
  openSasFile(w.session);
  EXPECT_TRUE(w.dialogs.messages().empty());
  EXPECT_EQ(w.s().readingCount, 21);
  EXPECT_EQ(w.s().branchCount, 3);
  EXPECT_EQ(w.s().decaySampleCount[3], 0);
  EXPECT_EQ(w.s().sourceKind, SourceInstrument);
  EXPECT_EQ(w.chrome.caption, "ORV-program na zpracování VES - otevřen: " + path);
  ScratchFolder dir("sas_then_oax");
  // A file without a usable reading is refused; the sounding stays.
  const std::string bad = dir.write("bad.sas", Header + sasLine(1, 5, 0.5f, -4));
  w.dialogs.answer(bad);
  openSasFile(w.session);
  EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"chyba při čtení: " + bad});
  EXPECT_EQ(w.s().readingCount, 21);
  EXPECT_EQ(textOf(w.s().instrumentFilePath), path);
  // No timing yet: no window, and an OAX file read later generates none.
  EXPECT_EQ(w.s().ipWindowCount, 0);
  const std::string oax =
      dir.write("a.OAX", testing::oaxIpHeader(2000, 0, 2000) + testing::oaxBlock(50, 1, 3));
  readOaxData(w.s(), oax.c_str());
  EXPECT_EQ(w.s().ipWindowCount, 0);

  EXPECT_EQ(w.section.deletions, 0);
}

}  // namespace
}  // namespace orv
