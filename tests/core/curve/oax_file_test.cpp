#include "core/curve/oax_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "commands/curve/kmt_commands.h"
#include "commands/curve/manual_input.h"
#include "commands/curve/oax_commands.h"
#include "core/curve/point_number.h"
#include "tests/commands/curve/kmt_test_support.h"
#include "tests/core/curve/oax_test_support.h"
#include "tests/support/fixture_path.h"

namespace orv {
namespace {

using namespace std::string_literals;
using testing::oaxBlock;
using testing::oaxIpHeader;
using testing::oaxRow;
using testing::ScratchFolder;
using testing::TestWindow;

TEST(OaxFile, TheSampleFilesOfBothVariants) {
  struct Case {
    const char* name;
    bool ipHeader;
    int readings;
    int firstSamples;
    float lastAbHalf;
    int pointNumber;
  } const cases[] = {{"oax-pf2/pf2_0.OAX", true, 23, 89, 138.0f, 0},
                     {"oax-pf2/pf2_50.OAX", true, 24, 177, 179.2f, 50},
                     {"oax-pf2/pf2_100.OAX", true, 22, 45, 107.0f, 100},
                     {"pf3_bod17a.OAX", false, 20, 0, 82.3f, 17}};
  for (const Case& k : cases) {
    const std::string path = orv_test::fixturePath(k.name);
    ASSERT_TRUE(orv_test::fixturePresent(path));
    TestWindow w;
    w.s().decaySampleCount[0] = 77;  // a variant-B reading carries no decay
    const InstrumentReadResult r = readOaxData(w.s(), path.c_str());
    ASSERT_EQ(r.code, 1) << k.name;
    EXPECT_EQ(r.ipHeader, k.ipHeader) << k.name;
    EXPECT_EQ(w.s().readingCount, k.readings) << k.name;
    EXPECT_EQ(w.s().decaySampleCount[0], k.firstSamples) << k.name;
    EXPECT_EQ(w.s().readingAbHalf[0], 1.0f) << k.name;
    EXPECT_NEAR(w.s().readingAbHalf[k.readings - 1], k.lastAbHalf, 0.01f) << k.name;
    EXPECT_EQ(instrumentNoticeText(r.notice), "") << k.name;
    w.s().sourceKind = SourceInstrument;
    setText(w.s().instrumentFilePath, path);
    EXPECT_EQ(pointNumberFromFileName(w.s()), k.pointNumber);
  }
  // The row of the last block of pf2_100.OAX, column by column.
  TestWindow w;
  readOaxData(w.s(), orv_test::fixturePath("oax-pf2/pf2_100.OAX").c_str());
  const int last = w.s().readingCount - 1;
  EXPECT_EQ(w.s().readingIpReference[last], 6.465f);
  EXPECT_EQ(w.s().readingRho[last], 68.528f);
  EXPECT_EQ(w.s().readingS[last], 0.4f);
  EXPECT_EQ(w.s().readingMnHalf[last], 5.0f);
  EXPECT_EQ(w.s().readingBranch[last], 3);
  EXPECT_EQ(w.s().decaySampleTime[0][0], 2040);
  EXPECT_EQ(w.s().decaySampleValue[0][0], 11.73079f);
  EXPECT_EQ(textOf(w.s().dateText), "14.05.2026");
  EXPECT_EQ(w.s().ipTailTime, 1800);
}

TEST(OaxFile, DefaultWindowsOnlyWhileNoneAreDefined) {
  struct Case {
    int tail;
    int windows;
  } const cases[] = {{2000, 12}, {5000, 20}, {249, 0}, {-5000, 0}};
  ScratchFolder dir("oax_windows");
  for (const Case& k : cases) {
    TestWindow w;
    const std::string a = dir.write("a.OAX", oaxIpHeader(2000, 0, k.tail) + oaxBlock(50, 1, 3));
    readOaxData(w.s(), a.c_str());
    ASSERT_EQ(w.s().ipWindowCount, k.windows) << k.tail;
    if (k.windows == 12) {
      EXPECT_EQ(w.s().ipWindowStart[0], 2100);
      EXPECT_EQ(w.s().ipWindowEnd[0], 2250);
      EXPECT_EQ(w.s().ipWindowMidTime[0], 2175);
      EXPECT_EQ(w.s().ipWindowEnd[11], 2100 + 12 * 150);
    }
    // A second file's timing replaces the timing, not the windows.
    const std::string b = dir.write("b.OAX", oaxIpHeader(1000, 300, 9000) + oaxBlock(50, 1, 3));
    readOaxData(w.s(), b.c_str());
    EXPECT_EQ(w.s().ipWindowCount, k.windows);
    EXPECT_EQ(w.s().ipOnTime, 1000);
    EXPECT_EQ(w.s().ipLeadTime, 300);
    if (k.windows > 0) {
      EXPECT_EQ(w.s().ipWindowStart[0], 2100);
    }
  }
}

TEST(OaxFile, RowsWithoutResistivityOrWithAForeignBranchGiveTheirSlotAway) {
  ScratchFolder dir("oax_rho0");
  const std::string path = dir.write(
      "z.OAX", oaxIpHeader(2000, 0, 1800) + oaxBlock(100, 1, 4) + oaxBlock(0, 1.3f, 5) +
                   oaxBlock(-3, 1.68f, 6) + oaxBlock(80, 2.18f, 7, 6) + oaxBlock(300, 2.82f, 8));
  TestWindow w;
  const InstrumentReadResult r = readOaxData(w.s(), path.c_str());
  ASSERT_EQ(w.s().readingCount, 2);
  EXPECT_EQ(w.s().readingRho[1], 300.0f);
  EXPECT_EQ(w.s().readingAbHalf[1], 2.82f);
  EXPECT_EQ(w.s().decaySampleCount[1], 8);
  EXPECT_EQ(w.s().decaySampleValue[1][7], 17.5f);
  EXPECT_EQ(r.notice.droppedBranch, 1);
}

TEST(OaxFile, CapacitiesAreHeldAndToldOnce) {
  ScratchFolder dir("oax_caps");
  std::string manyBlocks = oaxIpHeader(2000, 0, 1800);
  for (int i = 0; i < MaxReadings + 5; ++i) manyBlocks += oaxBlock(10.0f + i, 1, 1);
  std::string manyRows = "x\r\n1.1.2026 8:00\r\nx\r\nx\r\n";
  for (int i = 0; i < MaxReadings + 5; ++i) manyRows += oaxRow(10.0f + i, 1, 0.5f, 1);
  struct Case {
    std::string bytes;
    int readings;
    bool readingsCapped, samplesCapped;
  } const cases[] = {
      {oaxIpHeader(2000, 0, 1800) + oaxBlock(100, 1, MaxDecaySamples + 5) + oaxBlock(200, 1.3f, 2),
       2, false, true},
      {manyBlocks, MaxReadings, true, false},
      {manyRows, MaxReadings, true, false},
  };
  for (const Case& k : cases) {
    TestWindow w;
    const std::string path = dir.write("c.OAX", k.bytes);
    const InstrumentReadResult r = readOaxData(w.s(), path.c_str());
    EXPECT_EQ(w.s().readingCount, k.readings);
    EXPECT_EQ(r.notice.readingsCapped, k.readingsCapped);
    EXPECT_EQ(r.notice.samplesCapped, k.samplesCapped);
    EXPECT_EQ(w.s().readingRho[k.readings - 1], k.samplesCapped ? 200.0f : 10.0f + MaxReadings - 1);
    if (k.samplesCapped) {
      // The stream stays in step: the second block is whole.
      EXPECT_EQ(w.s().decaySampleCount[0], MaxDecaySamples);
      EXPECT_EQ(w.s().decaySampleTime[0][MaxDecaySamples - 1], 2040 + 20 * (MaxDecaySamples - 1));
      EXPECT_EQ(w.s().decaySampleCount[1], 2);
    }
  }
}

// A window holding pf2_100.OAX meets a bad file: refused with its message
// (or read up to the damage and told), the previous sounding kept whole.
TEST(OaxCommands, BadFilesLeaveThePreviousSoundingAndTheSection) {
  const std::string good = orv_test::fixturePath("oax-pf2/pf2_100.OAX");
  ASSERT_TRUE(orv_test::fixturePresent(good));
  ScratchFolder dir("oax_bad");
  const std::string header = oaxIpHeader(2000, 0, 1800);
  const std::string block = oaxBlock(100, 1, 4);
  std::string noImpulse = header;
  const std::size_t impulse = noImpulse.find(";\t[Impulse");
  noImpulse.erase(impulse, noImpulse.find('\n', impulse) + 1 - impulse);
  struct Case {
    const char* name;
    std::string bytes;
    bool refused;
  } const cases[] = {
      {"garbage.OAX", "\x01\xff;U 99999999\n\0\0U -5\n"s, true},
      {"empty.OAX", "", true},
      {"noimpulse.OAX", noImpulse + block, true},
      {"allzero.OAX", "a\r\nb\r\nc\r\nd\r\n" + oaxRow(0, 1, 0.5f, 1) + oaxRow(-1, 2, 0.5f, 1),
       true},
      {"truncated.OAX", header + block + block.substr(0, block.size() / 3), false},
  };
  for (const Case& k : cases) {
    TestWindow w;
    w.dialogs.answer(good);
    openInstrumentFile(w.session);
    ASSERT_EQ(w.s().readingCount, 22);
    const float rho = w.s().readingRho[21];
    const float sample = w.s().decaySampleValue[21][44];
    const int windows = w.s().ipWindowCount;
    w.s().ipOnTime = 1234;  // a refused file's timing must not replace it
    w.dialogs.clearRecords();

    const std::string path = dir.write(k.name, k.bytes);
    w.dialogs.answer(path);
    openInstrumentFile(w.session);
    EXPECT_EQ(w.section.deletions, 0) << k.name;
    if (k.refused) {
      EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"chyba při čtení: " + path});
      EXPECT_EQ(w.s().readingCount, 22) << k.name;
      EXPECT_EQ(w.s().readingRho[21], rho) << k.name;
      EXPECT_EQ(w.s().decaySampleValue[21][44], sample) << k.name;
      EXPECT_EQ(w.s().ipWindowCount, windows) << k.name;
      EXPECT_EQ(w.s().ipOnTime, 1234) << k.name;
      EXPECT_EQ(textOf(w.s().instrumentFilePath), good) << k.name;
      EXPECT_TRUE(w.s().compositeReady) << k.name;
    } else {
      ASSERT_EQ(w.dialogs.messages().size(), 1u);
      EXPECT_NE(w.dialogs.messages()[0].find("uprostřed měření"), std::string::npos);
      EXPECT_EQ(w.s().readingCount, 1);
      EXPECT_EQ(w.chrome.caption, "ORV-program na zpracování VES - otevřen: " + path);
    }
  }
  TestWindow w;
  w.dialogs.answer(dir.file("none.OAX"));
  openInstrumentFile(w.session);
  EXPECT_EQ(w.dialogs.messages(),
            (std::vector<std::string>{"Cannot open OAX file.", "chyba při čtení"}));
}

TEST(OaxCommands, DWalksOnFromTheLastOaxFileWhateverWasLoadedSince) {
  ScratchFolder dir("oax_after_last");
  const std::string file = oaxIpHeader(2000, 0, 1800) + oaxBlock(100, 1, 3) + oaxBlock(90, 1.3f, 3);
  dir.write("pf_1.OAX", file);
  dir.write("pf_2.OAX", file);
  const std::vector<std::string> kmt{orv_test::fixturePath("lhota-pf1.kmt")},
      typed{"5", "1", "0", "10", "20", "30", "0"};
  for (const std::vector<std::string>* since : {&kmt, &typed}) {
    TestWindow w;
    w.dialogs.answer(dir.file("pf_1.OAX"));
    openInstrumentFile(w.session);
    for (const std::string& a : *since) w.dialogs.answer(a);
    since == &kmt ? openKmtFile(w.session) : keyboardEntry(w.session);
    const std::string shown(textOf(w.s().instrumentFilePath));
    loadNextInstrumentFile(w.session);  // "<-" walks only from the sounding shown
    ASSERT_EQ(textOf(w.s().instrumentFilePath), shown);
    loadNextInstrumentFileAfterLast(w.session);
    EXPECT_EQ(textOf(w.s().instrumentFilePath), dir.file("pf_2.OAX"));
    EXPECT_EQ(w.s().readingCount, 2);
  }
}

class DescribingSection : public testing::RecordingSection {
 public:
  explicit DescribingSection(CurveWindowState& s) : s_(s) {}
  void describeCurrentPoint() override { positions.push_back(s_.pointPosition); }
  std::vector<float> positions;

 private:
  CurveWindowState& s_;
};

TEST(OaxCommands, TheFolderIsWalkedInChainageOrderPastABadFile) {
  ScratchFolder dir("oax_walk");
  const std::string file = oaxIpHeader(2000, 0, 1800) + oaxBlock(100, 1, 3) + oaxBlock(90, 1.3f, 3);
  dir.write("pf_100.OAX", file);
  dir.write("pf_50.OAX", "garbage");
  dir.write("pf_7.oax", file);
  dir.write("pf_-25.OAX", file);
  dir.write("notes.txt", file);
  TestWindow w;
  w.dialogs.answer(dir.file("pf_-25.OAX"));
  openInstrumentFile(w.session);
  loadNextInstrumentFile(w.session);
  EXPECT_EQ(textOf(w.s().instrumentFilePath), dir.file("pf_7.oax"));
  EXPECT_EQ(w.s().pointPosition, 7.0f);
  loadNextInstrumentFile(w.session);
  EXPECT_EQ(w.dialogs.messages(),
            std::vector<std::string>{"chyba při importu: " + dir.file("pf_50.OAX")});
  EXPECT_EQ(textOf(w.s().instrumentFilePath), dir.file("pf_100.OAX"));
  EXPECT_EQ(w.chrome.caption,
            "ORV-program na zpracování VES načítá soubor: " + dir.file("pf_100.OAX"));
  EXPECT_EQ(w.s().pointPosition, 100.0f);
  w.s().pointPosition = -1;
  loadNextInstrumentFile(w.session);  // the last file: nothing happens
  EXPECT_EQ(w.s().pointPosition, -1.0f);
  EXPECT_EQ(w.dialogs.messages().size(), 1u);

  // The quick import offers each readable file's point dialog; a file whose
  // extension is not exactly ".OAX" proposes the point number.
  ZeroedBlock<CurveWindowState> state;
  ui::ScriptedDialogs dialogs;
  ui::RecordingChrome chrome;
  testing::FakeCanvas canvas;
  DescribingSection section(*state);
  CurveSession c{*state, dialogs, canvas, chrome, section};
  setInitialCurveState(*state);
  finishCurveStateConstruction(*state);
  state->pointNumber = 33;
  dialogs.answer(dir.file("pf_100.OAX"));
  quickDirectoryImport(c);
  EXPECT_EQ(section.positions, (std::vector<float>{-25, 33, 100}));
  EXPECT_EQ(section.deletions, 0);
}

}  // namespace
}  // namespace orv
