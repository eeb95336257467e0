// orv-cli on spreadsheet tables: the same composite as the KMT file of the
// same readings, the interpretation written as a table never over a file,
// and a table without a reading refused with its lines.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/c_format.h"
#include "base/zeroed_block.h"
#include "core/curve/kmt_file.h"
#include "tests/cli/cli_run.h"
#include "tests/support/file_bytes.h"
#include "tests/support/fixture_path.h"

namespace {

TEST(OrvCliTable, MergesAsTheKmtAndWritesTheInterpretationBesideAnExistingTable) {
  const std::string kmt = orv_test::fixturePath("lhota-pf1.kmt");
  ASSERT_TRUE(orv_test::fixturePresent(kmt));
  const std::string dir = ::testing::TempDir() + "orv_cli_table/";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  orv::ZeroedBlock<orv::CurveWindowState> s;
  ASSERT_EQ(orv::readKmtRecord(*s, kmt.c_str(), 0).code, 1);
  std::string tsv = "AB/2\tMN/2\trho\n";
  for (int i = 0; i < s->readingCount; ++i)
    tsv += orv::cformat("%f\t%f\t%f\n", s->readingAbHalf[i], s->readingMnHalf[i], s->readingRho[i]);
  orv_test::writeBytes(dir + "lhota.TXT", tsv);

  const cli_test::CliRun fromKmt = cli_test::run("merge " + kmt);
  const cli_test::CliRun fromTable = cli_test::run("merge " + dir + "lhota.TXT");
  ASSERT_EQ(fromTable.status, 0) << fromTable.err;
  EXPECT_EQ(fromTable.out, fromKmt.out);

  const std::string invert = "invert " + dir + "lhota.TXT --auto 3 --csv " + dir + "ves.csv";
  ASSERT_EQ(cli_test::run(invert).status, 0);
  const cli_test::CliRun again = cli_test::run(invert);
  EXPECT_EQ(again.status, 0);
  EXPECT_NE(again.err.find("written to " + dir + "ves_1.csv"), std::string::npos) << again.err;
  const std::string csv = orv_test::readBytes(dir + "ves_1.csv");
  EXPECT_EQ(csv, orv_test::readBytes(dir + "ves.csv"));
  EXPECT_EQ(csv.rfind("druh,vrstva,ρ [Ω·m],", 0), 0u);

  orv_test::writeBytes(dir + "notes.csv", "AB/2;MN/2;rho\nnothing measured\n");
  const cli_test::CliRun refused = cli_test::run("merge " + dir + "notes.csv");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("has no usable reading"), std::string::npos) << refused.err;
}

}  // namespace
