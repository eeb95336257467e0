// Readings from spreadsheet tables: the shapes spreadsheets save, the same
// composite curve as the KMT file of the same readings, the refusal of a
// table without a reading, and the interpretation written back as a table.
#include "core/curve/table_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "base/c_format.h"
#include "commands/curve/derive_readings.h"
#include "commands/curve/table_commands.h"
#include "core/curve/kmt_file.h"
#include "core/curve/model_curves_csv.h"
#include "core/interpretation/branch_merging.h"
#include "tests/commands/curve/curvebase_fakes.h"
#include "tests/support/file_bytes.h"
#include "tests/support/fixture_path.h"

namespace {

using curvebase_test::CurveFixture;

struct Reading {
  float ab, mn, rho;
  int branch;
};

struct Shape {
  const char* name;
  std::string bytes;
  std::vector<Reading> readings;
  std::vector<int> badLines;
  const char* shownText = "";  // a bad line's text as the message shows it
};

TEST(TableFile, SpreadsheetShapesGiveTheirReadings) {
  const Shape shapes[] = {
      {"header, semicolons, decimal commas, closing separators",
       "AB/2;MN/2;\xcf\x81"
       "a [\xce\xa9\xc2\xb7m]\r\n1;0,5;120,5\r\n1,3;0,5;110;;\r\n1,3;2,5;60\r\n",
       {{1, .5f, 120.5f, 1}, {1.3f, .5f, 110, 1}, {1.3f, 2.5f, 60, 2}},
       {}},
      {"tabs, two header lines, branch column",
       "AB/2\tMN/2\tRa\tv\xc4\x9btev\nm\tm\tohm.m\t\n1\t0.5\t120\t2\n10\t2.5\t80\t3\n",
       {{1, .5f, 120, 2}, {10, 2.5f, 80, 3}},
       {}},
      {"commas and points, UTF-8 mark",
       "\xEF\xBB\xBF"
       "ab2,mn2,rho\n1.0,0.5,120\n1.3, 0.5, 110\n",
       {{1, .5f, 120, 1}, {1.3f, .5f, 110, 1}},
       {}},
      {"blanks with decimal commas",
       "  1  0,5  120\n1,3 0,5 110\n",
       {{1, .5f, 120, 1}, {1.3f, .5f, 110, 1}},
       {}},
      {"Windows-1250 header, a stray text line",
       "Lokalita \xe8\xed\xf8\xed\r\nAB/2;MN/2;\xe8\r\n1;0,5;120\r\npozn\xe1mka\r\n1,3;0,5;110\r\n",
       {{1, .5f, 120, 1}, {1.3f, .5f, 110, 1}},
       {4},
       "řádek 4: poznámka (není měření)"},
      {"UTF-16 with mark",
       std::string("\xFF\xFE"
                   "1\0\t\0"
                   "2\0\t\0"
                   "9\0\r\0\n\0",
                   16),
       {{1, 2, 9, 1}},
       {}},
      {"old line ends, six MN/2, a branch column in part",
       "1;0,5;100\r1,3;1;100\r1,68;2;100\r2,18;3;100\r2,82;4;100\r3,66;5;100\r4,74;0,5;90;1\r",
       {{1, .5f, 100, 1},
        {1.3f, 1, 100, 2},
        {1.68f, 2, 100, 3},
        {2.18f, 3, 100, 4},
        {2.82f, 4, 100, 5}},
       {6, 7},
       "řádek 6: 3,66;5;100 (víc než 5 různých MN/2)"},
      {"values outside the grid or not positive",
       "1;0,5;100\n0,5;0,5;100\n1;0;1\n1;1;-4\n2;1;5;6\n",
       {{1, .5f, 100, 1}},
       {2, 3, 4, 5},
       "řádek 2: 0,5;0,5;100 (AB/2 musí být větší než 0,6 m)"},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    CurveFixture f;
    const orv::TableReadResult read = orv::parseTableReadings(f.s, shape.bytes);
    ASSERT_EQ(read.code, 1);
    ASSERT_EQ(f.s.readingCount, static_cast<int>(shape.readings.size()));
    for (int i = 0; i < f.s.readingCount; ++i) {
      const Reading& r = shape.readings[i];
      EXPECT_EQ(f.s.readingAbHalf[i], r.ab) << i;
      EXPECT_EQ(f.s.readingMnHalf[i], r.mn) << i;
      EXPECT_EQ(f.s.readingRho[i], r.rho) << i;
      EXPECT_EQ(f.s.readingBranch[i], r.branch) << i;
    }
    std::vector<int> bad;
    for (const orv::TableBadLine& b : read.badLines) bad.push_back(b.line);
    EXPECT_EQ(bad, shape.badLines);
    const std::string notice = orv::tableNoticeText(read);
    if (*shape.shownText) {
      EXPECT_EQ(notice.find(shape.shownText), 0u) << notice;
    }
    EXPECT_EQ(notice.empty(), shape.badLines.empty());
  }
}

// The readings of a KMT record written out as a Czech spreadsheet saves
// them merge into the very same composite curve.
TEST(TableFile, MergesAsTheKmtRecordOfTheSameReadings) {
  const std::string kmt = orv_test::fixturePath("lhota-pf1.kmt");
  ASSERT_TRUE(orv_test::fixturePresent(kmt));
  CurveFixture fromKmt, fromTable;
  ASSERT_EQ(orv::readKmtRecord(fromKmt.s, kmt.c_str(), 0).code, 1);
  std::string csv = "AB/2;MN/2;rho\r\n";
  for (int i = 0; i < fromKmt.s.readingCount; ++i) {
    std::string line = orv::cformat("%f;%f;%f\r\n", fromKmt.s.readingAbHalf[i],
                                    fromKmt.s.readingMnHalf[i], fromKmt.s.readingRho[i]);
    for (char& ch : line)
      if (ch == '.') ch = ',';
    csv += line;
  }
  ASSERT_EQ(orv::parseTableReadings(fromTable.s, csv).code, 1);
  ASSERT_EQ(orv::deriveReadings(fromKmt.session, orv::ReadingOrigin::Kmt), 1);
  ASSERT_EQ(orv::deriveReadings(fromTable.session, orv::ReadingOrigin::InMemory), 1);
  orv::mergeBranchesCore(fromKmt.s, 2);
  orv::mergeBranchesCore(fromTable.s, 2);
  ASSERT_GT(fromKmt.s.branchCount, 1);
  EXPECT_EQ(fromTable.s.branchCount, fromKmt.s.branchCount);
  EXPECT_EQ(fromTable.s.gridMinIndex, fromKmt.s.gridMinIndex);
  ASSERT_EQ(fromTable.s.gridMaxIndex, fromKmt.s.gridMaxIndex);
  for (int g = fromKmt.s.gridMinIndex; g <= fromKmt.s.gridMaxIndex; ++g) {
    EXPECT_EQ(fromTable.s.mergedRho[g][0], fromKmt.s.mergedRho[g][0]) << g;
    EXPECT_EQ(fromTable.s.gridAbHalf[g], fromKmt.s.gridAbHalf[g]) << g;
  }
}

// "Otevřít tabulku (CSV/TXT)" on a file without a reading keeps the sounding.
TEST(TableFile, ATableWithoutAReadingIsRefusedAndTheSoundingStays) {
  const std::string dir = ::testing::TempDir() + "orv_table_refusal/";
  std::filesystem::create_directories(dir);
  std::ofstream(dir + "good.csv") << "1;0,5;100\n1,3;0,5;90\n";
  std::ofstream(dir + "empty.txt") << "AB/2;MN/2;rho\nnic\n";
  CurveFixture f;
  f.dialogs.answer(dir + "good.csv");
  orv::openTableFile(f.session);
  ASSERT_TRUE(f.s.compositeReady);
  f.dialogs.clearRecords();
  f.dialogs.answer(dir + "empty.txt");
  orv::openTableFile(f.session);
  EXPECT_EQ(f.dialogs.messages(),
            std::vector<std::string>{"chyba při čtení: " + dir + "empty.txt"});
  EXPECT_EQ(f.s.readingCount, 2);
  EXPECT_EQ(f.s.readingRho[1], 90.0f);
  EXPECT_EQ(std::string(f.s.instrumentFilePath), dir + "good.csv");
}

TEST(ModelCurvesCsv, HeaderModelRowsAndCellsNeverOverAFile) {
  CurveFixture f;
  orv::CurveWindowState& s = f.s;
  s.modelBoundaryCount = 1;
  s.modelRho[0] = 120.5f;
  s.modelRho[1] = 10;
  s.modelDepth[0] = 2.5f;
  s.rhoFixed[1] = 1;
  s.compositeReady = true;
  s.gridMinIndex = 3;
  s.gridMaxIndex = 4;
  s.gridAbHalf[3] = 2.18f;
  s.gridAbHalf[4] = 2.82f;
  s.mergedRho[3][0] = 100;
  s.mergedRho[4][0] = orv::EmptyCell;
  s.computedRho[3] = 99.5f;
  s.computedRho[4] = 98;
  const std::string expected =
      "druh,vrstva,ρ [Ω·m],h [m],hloubka [m],fix ρ,fix h,fix hloubka,buňka,AB/2 [m],"
      "ρa snesená [Ω·m],ρa vypočtená [Ω·m]\r\n"
      "model,1,120.5,2.5,2.5,0,0,0,,,,\r\n"
      "model,2,10,,,1,,,,,,\r\n"
      "křivka,,,,,,,,3,2.18,100,99.5\r\n"
      "křivka,,,,,,,,4,2.82,,98\r\n";
  EXPECT_EQ(orv::formatModelCurvesCsv(s, true), expected);

  const std::string dir = ::testing::TempDir() + "orv_model_csv/";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  EXPECT_EQ(orv::writeModelCurvesCsv(s, true, dir + "ves.csv"), dir + "ves.csv");
  EXPECT_EQ(orv::writeModelCurvesCsv(s, false, dir + "ves.csv"), dir + "ves_1.csv");
  EXPECT_EQ(orv_test::readBytes(dir + "ves.csv"), expected);
}

}  // namespace
