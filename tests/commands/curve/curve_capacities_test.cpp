// Every capacity of the curve window's input, reached and passed through the
// commands the menus call: what is kept, what the user is told, and that the
// element after the last one kept is untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/curve/kmt_commands.h"
#include "commands/curve/manual_input.h"
#include "commands/curve/oax_commands.h"
#include "commands/curve/sas_commands.h"
#include "tests/commands/curve/kmt_test_support.h"
#include "tests/core/curve/oax_test_support.h"
#include "tests/support/fixture_path.h"

namespace orv {
namespace {

using testing::ScratchFolder;
using testing::TestWindow;
using Strings = std::vector<std::string>;

const std::string ReadingsCapped =
    "Soubor obsahuje víc měření, než lze načíst (nejvýše 200); zbytek souboru nebyl načten.";
const std::string SamplesCapped =
    "Vybíjecí křivka některého měření má víc než 1000 vzorků; načteno je prvních 1000.";

std::string plainOax(int rows) {
  std::string t = "x\r\n1.1.2026 8:00\r\nx\r\nx\r\n";
  for (int i = 0; i < rows; ++i) t += testing::oaxRow(10.0f + i, 1.0f + 0.1f * i, 0.5f, 1);
  return t;
}

std::string ipOax(int blocks, int samplesOfLast) {
  std::string t = testing::oaxIpHeader(2000, 0, 1800);
  for (int i = 0; i < blocks; ++i)
    t += testing::oaxBlock(10.0f + i, 1.0f + 0.1f * i, i + 1 == blocks ? samplesOfLast : 2);
  return t;
}

std::string sasFile(int lines) {
  std::string t =
      "Měření: x\r\n No. Time        Ax       Ay      Az       Bx       By      Bz       Mx\r\n";
  for (int n = 1; n <= lines; ++n) {
    const double ab = 1.0 + 0.1 * n;
    t += cformat("%d 1.0 %g 0 0 %g 0 0 -0.5 0 0 0.5 0 0 20.3 686.7 %g 10.1 0.6 3 5.9 12.6\r\n", n,
                 -ab, ab, 10.0 + n);
  }
  return t;
}

struct FileCase {
  const char* name;
  std::string bytes;
  std::function<void(CurveSession&)> command;
  int readings;
  Strings notices;  // the only messages shown
  int lastSamples;  // samples kept of the last reading; -1: not an IP file
  float firstRho;   // the files number their resistivities from it
};

TEST(CurveCapacities, InstrumentFilesThroughTheOpenCommands) {
  ScratchFolder dir("curve_caps");
  const FileCase cases[] = {
      {"oax rows at the limit", plainOax(MaxReadings), openInstrumentFile, MaxReadings, {}, -1, 10},
      {"oax rows past it",
       plainOax(MaxReadings + 1),
       openInstrumentFile,
       MaxReadings,
       {ReadingsCapped},
       -1,
       10},
      {"oax blocks at the limit",
       ipOax(MaxReadings, 2),
       openInstrumentFile,
       MaxReadings,
       {},
       2,
       10},
      {"oax blocks past it",
       ipOax(MaxReadings + 1, 2),
       openInstrumentFile,
       MaxReadings,
       {ReadingsCapped},
       2,
       10},
      {"decay at the limit",
       ipOax(3, MaxDecaySamples),
       openInstrumentFile,
       3,
       {},
       MaxDecaySamples,
       10},
      {"decay past it",
       ipOax(3, MaxDecaySamples + 1),
       openInstrumentFile,
       3,
       {SamplesCapped},
       MaxDecaySamples,
       10},
      {"sas at the limit", sasFile(MaxReadings), openSasFile, MaxReadings, {}, -1, 11},
      {"sas past it", sasFile(MaxReadings + 1), openSasFile, MaxReadings, {ReadingsCapped}, -1, 11},
  };
  for (const FileCase& k : cases) {
    SCOPED_TRACE(k.name);
    TestWindow w;
    w.dialogs.answer(dir.write("f.dat", k.bytes));
    k.command(w.session);
    const CurveWindowState& s = w.s();
    ASSERT_EQ(s.readingCount, k.readings);
    EXPECT_EQ(w.dialogs.messages(), k.notices);
    // The readings kept are the first ones of the file, in order.
    EXPECT_FLOAT_EQ(s.readingRho[0], k.firstRho);
    EXPECT_FLOAT_EQ(s.readingRho[k.readings - 1], k.firstRho + k.readings - 1);
    // What follows the reading arrays in the state holds reading 0, not a
    // reading past the last one.
    EXPECT_FLOAT_EQ(s.readingMnHalf[0], 0.5f);
    if (k.lastSamples >= 0) {
      const int last = k.readings - 1;
      EXPECT_EQ(s.decaySampleCount[last], k.lastSamples);
      EXPECT_EQ(s.decaySampleTime[last][k.lastSamples - 1], 2040 + 20 * (k.lastSamples - 1));
      // The row after the last reading's decay was never written.
      if (last + 1 < MaxReadings) {
        EXPECT_EQ(s.decaySampleTime[last + 1][0], 0);
        EXPECT_EQ(s.decaySampleValue[last + 1][0], 0.0f);
      }
    }
  }
}

TEST(CurveCapacities, MouseEntryEndsOnTheGridsLastCell) {
  const std::string Told = "Křivka VES končí nejdále bodem 199.";
  struct Case {
    const char* first;
    const char* last;
    int readings;
    int lastCell;
    Strings messages;
  } const cases[] = {
      {"0", "199", 200, 199, {}},        {"0", "200", 200, 199, {Told}},
      {"3", "100000", 197, 199, {Told}}, {"40", "250", 160, 199, {Told}},
      {"30", "10", 1, 30, {}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.first) + ".." + k.last);
    TestWindow w;
    for (const char* a : {"12", "4", k.first, k.last}) w.dialogs.answer(a);
    mouseEntry(w.session);
    EXPECT_EQ(w.dialogs.messages(), k.messages);
    EXPECT_EQ(w.s().readingCount, k.readings);
    EXPECT_EQ(w.s().gridMaxIndex, k.lastCell);
    EXPECT_EQ(w.s().readingGridIndex[k.readings - 1], k.lastCell);
  }
}

// A path of exactly the bytes a name buffer keeps, in folders of 200 bytes.
std::string pathFillingTheBuffer(const std::string& root) {
  std::filesystem::path p(root);
  while (p.string().size() + 201 + 60 < PathCapacity) p /= std::string(200, 'd');
  std::filesystem::create_directories(p);
  const std::size_t name = PathCapacity - 1 - p.string().size() - 1;
  return (p / std::string(name, 'f')).string();
}

// A path the name buffers cannot hold whole is refused: kept cut, it would
// read or name another file. Here the cut name is a readable file.
TEST(CurveCapacities, PathsLongerThanTheNameBuffersAreRefused) {
  ScratchFolder dir("curve_long_paths");
  const std::string cut = pathFillingTheBuffer(dir.file("x"));
  ASSERT_EQ(cut.size(), std::size_t(PathCapacity - 1));
  const std::string longPath = cut + "_jiny.OAX";
  struct Case {
    const char* name;
    std::string bytes;  // of the file under the cut name
    std::function<void(CurveSession&)> command;
    Strings messages;
  } const cases[] = {
      {"oax", plainOax(5), openInstrumentFile, {"Cannot open OAX file.", "chyba při čtení"}},
      {"sas", sasFile(5), openSasFile, {"Cannot open SAS file.", "chyba při čtení"}},
      {"kmt",
       testing::fileBytes(orv_test::fixturePath("lhota-pf1.kmt")),
       openKmtFile,
       {"Cannot open KMT file.", "záznam nenačten"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    std::ofstream(cut, std::ios::binary) << k.bytes;
    TestWindow w;
    setText(w.s().instrumentFilePath, "earlier.OAX");
    w.dialogs.answer(longPath);
    k.command(w.session);
    EXPECT_EQ(w.dialogs.messages(), k.messages);
    EXPECT_EQ(w.s().readingCount, 0);
    EXPECT_EQ(textOf(w.s().instrumentFilePath), "earlier.OAX");
    EXPECT_EQ(textOf(w.s().kmtOpenDialogFileName), "");
  }

  // Saving a KMT record under such a name creates nothing.
  TestWindow w;
  w.dialogs.answer(orv_test::fixturePath("lhota-pf1.kmt"));
  openKmtFile(w.session);
  ASSERT_GT(w.s().readingCount, 0);
  w.dialogs.clearRecords();
  w.dialogs.answer(cut + ".KMT");
  EXPECT_FALSE(writeRecord(w.session, true));
  EXPECT_EQ(w.dialogs.messages(), Strings{"Nemožno vytvořit zvolený soubor KMT !"});
  EXPECT_EQ(w.s().soundingOutputHandle, nullptr);
  EXPECT_FALSE(std::filesystem::exists(cut + ".KMT"));
}

}  // namespace
}  // namespace orv
