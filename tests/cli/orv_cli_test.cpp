// Runs the built orv-cli and checks its output, its error lines and its exit
// status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "core/section/vdb_file.h"
#include "tests/cli/cli_run.h"
#include "tests/support/fixture_path.h"

namespace {

using cli_test::CliRun;
using cli_test::readAll;
using cli_test::run;

using cli_test::table;

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

TEST(OrvCli, HelpListsTheCommands) {
  const CliRun r = run("--help");
  EXPECT_EQ(r.status, 0);
  for (const char* word : {"merge", "forward", "invert", "--record", "--fix-depth"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
  EXPECT_TRUE(r.err.empty());
}

TEST(OrvCli, MergePrintsTheCompositeCurve) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun r = run("merge " + kSample);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = table(r.out);
  ASSERT_GT(rows.size(), 10u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"cell", "ab2", "rho"}));
  int previous = -1;
  for (size_t i = 1; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), 3u);
    const int cell = std::stoi(rows[i][0]);
    EXPECT_GT(cell, previous);
    previous = cell;
    EXPECT_GT(std::stod(rows[i][2]), 0.0);
  }
  EXPECT_EQ(rows[1][0], "0");  // the record starts at AB/2 = 1 m
  EXPECT_EQ(rows[1][1], "1");
}

TEST(OrvCli, MergeChoosesTheReaderByTheExtensionInAnyCase) {
  const std::string copies =
      ::testing::TempDir() + "orv_cli_ext_" + std::to_string(static_cast<long>(getpid()));
  struct Case {
    const char* fixture;
    const char* copy;  // the same bytes under another name
    int copyStatus;
  } const cases[] = {{"oax-pf2/pf2_0.OAX", ".oax", 0},
                     {"pf3_bod17a.OAX", ".kmt", 1},  // read as KMT it has no record
                     {"profil-sas.sas", ".SaS", 0}};
  for (const Case& k : cases) {
    const std::string path = orv_test::fixturePath(k.fixture);
    ASSERT_TRUE(orv_test::fixturePresent(path));
    const CliRun r = run("merge " + path);
    ASSERT_EQ(r.status, 0) << k.fixture << r.err;
    const auto rows = table(r.out);
    ASSERT_GT(rows.size(), 15u) << k.fixture;
    EXPECT_EQ(rows[0], (std::vector<std::string>{"cell", "ab2", "rho"}));
    EXPECT_EQ(rows[1][1], "1") << k.fixture;  // every sounding starts at AB/2 = 1 m
    const std::string copy = copies + k.copy;
    std::ofstream(copy, std::ios::binary) << readAll(path);
    const CliRun again = run("merge " + copy);
    EXPECT_EQ(again.status, k.copyStatus) << k.copy;
    if (k.copyStatus == 0) {
      EXPECT_EQ(again.out, r.out) << k.copy;
    }
    EXPECT_EQ(run("merge " + path + " --record 1").status, 2) << k.fixture;
  }
}

TEST(OrvCli, MergeOfAnotherRecordAndBranchDiffers) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun a = run("merge " + kSample + " --record 1");
  const CliRun b = run("merge " + kSample + " --record 1 --onto 1");
  ASSERT_EQ(a.status, 0) << a.err;
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_NE(a.out, b.out);
}

TEST(OrvCli, ForwardOfAHalfSpaceLikeModelIsFlat) {
  const CliRun r = run("forward --rho 100,100 --depth 10 --cells 0:20");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = table(r.out);
  ASSERT_EQ(rows.size(), 22u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"cell", "ab2", "rho"}));
  for (size_t i = 1; i < rows.size(); ++i) {
    EXPECT_EQ(std::stoi(rows[i][0]), static_cast<int>(i) - 1);
    EXPECT_NEAR(std::stod(rows[i][2]), 100.0, 1e-3);
  }
  EXPECT_NEAR(std::stod(rows[10][1]), std::pow(10.0, 9 / 8.876), 1e-5);
}

TEST(OrvCli, HalfSpaceModelsHaveAnEmptyDepthList) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun f = run("forward --rho 37.5 --depth \"\" --cells 0:30");
  ASSERT_EQ(f.status, 0) << f.err;
  const auto rows = table(f.out);
  ASSERT_EQ(rows.size(), 32u);
  for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i][2], "37.5") << i;

  // A lone half-space is returned unchanged by the inversion.
  const CliRun v = run("invert " + kSample + " --rho 80 --depth \"\"");
  ASSERT_EQ(v.status, 0) << v.err;
  const auto model = table(v.out);
  ASSERT_EQ(model.size(), 3u);
  EXPECT_EQ(model[1], (std::vector<std::string>{"0", "80", "inf"}));
  EXPECT_EQ(model[2][0], "SSQ");
}

TEST(OrvCli, ForwardOfAConductiveTopLayerRises) {
  const CliRun r = run("forward --rho 10,100 --depth 10 --cells 0:60");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = table(r.out);
  EXPECT_NEAR(std::stod(rows[1][2]), 10.0, 0.1);
  EXPECT_NEAR(std::stod(rows.back()[2]), 100.0, 1.0);
}

TEST(OrvCli, InvertImprovesTheFitAndPrintsTheModel) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun r = run("invert " + kSample + " --rho 100,30,300 --depth 3,20");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = table(r.out);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"layer", "rho", "depth"}));
  EXPECT_EQ(rows[3][2], "inf");
  EXPECT_EQ(rows[4][0], "SSQ");
  EXPECT_LT(std::stod(rows[4][1]), 0.01);
  EXPECT_LT(std::stod(rows[1][2]), std::stod(rows[2][2]));
}

TEST(OrvCli, InvertKeepsFixedValues) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun r =
      run("invert " + kSample + " --rho 100,30,300 --depth 3,20 --fix-rho 2 --fix-depth 1");
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = table(r.out);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[3][1], "300");
  EXPECT_EQ(rows[2][2], "20");
}

struct ErrorCase {
  const char* args;
  int status;
};

class OrvCliErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(OrvCliErrors, OneLineOnStandardErrorAndTheStatus) {
  std::string args = GetParam().args;
  const size_t at = args.find("SAMPLE");
  if (at != std::string::npos) args.replace(at, 6, kSample);
  // A picture is no database: refused by name.
  const size_t png = args.find("PNG");
  const std::string picture = orv_test::fixturePath("profil5_section.png");
  if (png != std::string::npos) args.replace(png, 3, picture);
  const CliRun r = run(args);
  EXPECT_EQ(r.status, GetParam().status) << args;
  EXPECT_TRUE(r.out.empty()) << args;
  ASSERT_FALSE(r.err.empty());
  EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  if (png != std::string::npos) {
    EXPECT_EQ(r.err, "orv-cli: Soubor " + picture + " není databáze VDB.\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OrvCliErrors,
    ::testing::Values(ErrorCase{"", 2}, ErrorCase{"frobnicate", 2}, ErrorCase{"merge", 2},
                      ErrorCase{"merge SAMPLE --bogus 1", 2}, ErrorCase{"merge SAMPLE --onto 6", 2},
                      ErrorCase{"merge SAMPLE --record x", 2},
                      ErrorCase{"merge SAMPLE --record", 2},
                      ErrorCase{"forward --rho 1,2 --depth 1", 2},
                      ErrorCase{"forward --rho 1,2,3 --depth 1 --cells 0:5", 2},
                      ErrorCase{"forward --rho 1,2 --depth \"\" --cells 0:5", 2},
                      ErrorCase{"forward --rho 1,2 --depth 1 --cells 5:2", 2},
                      ErrorCase{"forward --rho 1,2 --depth 1 --cells 0:200", 2},
                      ErrorCase{"forward --rho 1,a --depth 1 --cells 0:5", 2},
                      ErrorCase{"forward --rho 1,2 --depth 1 --cells 0:5 --record 1", 2},
                      ErrorCase{"invert SAMPLE --rho 1,2 --depth 1 --fix-depth 1", 2},
                      ErrorCase{"invert SAMPLE --rho 1,2 --depth 1 --fix-rho 2", 2},
                      ErrorCase{"merge /nonexistent/none.kmt", 1},
                      ErrorCase{"merge SAMPLE --record 99", 1},
                      ErrorCase{"forward --rho nan,2 --depth 1 --cells 0:5", 1},
                      ErrorCase{"invert SAMPLE --rho 0,30,300 --depth 3,20", 1},
                      ErrorCase{"invert SAMPLE --rho 100,30,300 --depth 20,3", 1}));

// What the window shows in a message box, the command line prints on
// standard error, and the result still goes to standard output.
TEST(OrvCli, MergeAndInvertTellOfBranchesWithoutATie) {
  const std::string file = orv_test::fixturePath("kmt_no_overlap.kmt");
  ASSERT_TRUE(orv_test::fixturePresent(file));
  const std::string tie =
      "orv-cli: Mezi větví1 a 2 nemáš převaz!, snos byl proveden s delta Rz = 0 !!!\n";
  for (const std::string& args : {"merge " + file, "invert " + file + " --rho 100,50 --depth 3"}) {
    SCOPED_TRACE(args);
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, tie);
    EXPECT_FALSE(r.out.empty());
  }
}

TEST(OrvCli, InvertRefusesAModelWithoutThicknessWithTheWindowsReason) {
  ASSERT_TRUE(orv_test::fixturePresent(kSample));
  const CliRun r = run("invert " + kSample + " --rho 100,30,300 --depth 3,3");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "orv-cli: Model má vrstvu nulové mocnosti - optimalizace neproběhla.\n");
  EXPECT_TRUE(r.out.empty());
}

// --- IP values ------------------------------------------------------------------------

TEST(OrvCli, IpPrintsEveryReadingsWindowsAndWritesTheGridOnce) {
  const std::string oax = orv_test::fixturePath("oax-pf2/pf2_100.OAX");
  ASSERT_TRUE(orv_test::fixturePresent(oax));
  const std::string grid =
      ::testing::TempDir() + "orv_cli_ip_" + std::to_string(static_cast<long>(getpid())) + ".DAT";
  std::filesystem::remove(grid);
  const CliRun r = run("ip " + oax + " --dat " + grid);
  ASSERT_EQ(r.status, 0) << r.err;
  const auto rows = table(r.out);
  // A tail of 1800 ms holds eleven windows of 150 ms after the first 100 ms.
  ASSERT_EQ(rows.size(), 23u);
  ASSERT_EQ(rows[0].size(), 13u);
  EXPECT_EQ(rows[0][2], "w1");
  EXPECT_EQ(rows[0][12], "w11");
  // Readings of two branches at one AB/2 share one value.
  std::map<std::string, std::string> firstOfAbHalf;
  int shared = 0;
  for (size_t i = 1; i < rows.size(); ++i) {
    const auto [at, fresh] = firstOfAbHalf.emplace(rows[i][1], rows[i][2]);
    if (fresh) continue;
    EXPECT_EQ(at->second, rows[i][2]) << "ab2 " << rows[i][1];
    ++shared;
  }
  EXPECT_EQ(shared, 3);
  // The grid: window by window, the readings in file order, the same values.
  const std::string bytes = readAll(grid);
  EXPECT_EQ(bytes.compare(0, 5, "AB/4\t"), 0);
  std::vector<std::string> lines;
  for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at + 2))
    lines.push_back(bytes.substr(at + 2, bytes.find("\r\n", at + 2) - at - 2));
  ASSERT_EQ(lines.size(), 11u * 22u);
  const auto cells = table(lines[22 * 3 + 5]);  // window 4, reading 5
  ASSERT_EQ(cells.size(), 1u);
  EXPECT_NEAR(std::stod(cells[0][0]), std::stod(rows[6][1]) / 4, 1e-6);
  EXPECT_NEAR(std::stod(cells[0][2]), std::stod(rows[6][5]), 1e-6);
  const CliRun again = run("ip " + oax + " --dat " + grid);
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(readAll(grid), bytes) << "an existing grid is never overwritten";
  std::filesystem::remove(grid);
}

TEST(OrvCli, IpRefusesFilesWithoutIpData) {
  const std::string plain = orv_test::fixturePath("pf3_bod17a.OAX");
  ASSERT_TRUE(orv_test::fixturePresent(plain));
  for (const std::string& args : {"ip " + plain, std::string("ip /nonexistent/x.OAX")}) {
    const CliRun r = run(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_TRUE(r.out.empty()) << args;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  for (const std::string& args : {std::string("ip"), "ip " + orv_test::fixturePath("lhota-pf1.kmt"),
                                  "ip " + plain + " --dat"}) {
    EXPECT_EQ(run(args).status, 2) << args;
  }
}

// --- section database files ---------------------------------------------------------

class OrvCliVdb : public ::testing::Test {
 protected:
  OrvCliVdb() {
    dir = ::testing::TempDir() + "orv_cli_vdb_" + std::to_string(static_cast<long>(getpid())) +
          "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    orv::SectionDatabase& d = *db;
    orv::setInitialDatabaseState(d);
    d.mxindex_profilu = 1;
    orv::SectionProfile& pf = d.profiles[1];
    pf.mxindex_bodu = 1;
    orv::setTextFromUtf8(pf.points[0].pointName, "bod tři\tslova");
    pf.points[0].profileChainage = 12.5f;
    pf.points[0].fitError = 0.03125f;
    pf.points[0].Mermx = 2;
    pf.points[0].MDLmx = 2;
    const float rho[] = {100, -150, 20}, depth[] = {-4.5f, 10, -1};
    for (int i = 0; i < 3; ++i)
      pf.points[0].layerRho[i] = rho[i], pf.points[0].layerDepth[i] = depth[i];
    orv::setText(pf.points[1].pointName, "b2");
    std::FILE* f = std::fopen((dir + "in.vdb").c_str(), "wb");
    orv::writeVdb(d, f);
    std::fclose(f);
  }
  ~OrvCliVdb() override { std::filesystem::remove_all(dir); }
  std::string dir;
  orv::ZeroedBlock<orv::SectionDatabase> db;
};

TEST_F(OrvCliVdb, ListShowsEveryPointAndItsModel) {
  const CliRun r = run("vdb-list " + dir + "in.vdb");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty());
  using Row = std::vector<std::string>;
  const auto rows = table(r.out);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0], (Row{"profile", "point", "name", "chainage", "readings", "layers", "ssq"}));
  EXPECT_EQ(rows[1], (Row{"", "layer", "rho", "depth", "fixed"}));
  EXPECT_EQ(rows[2], (Row{"1", "0", "bod tři slova", "12.5", "2", "3", "0.03125"}));
  EXPECT_EQ(rows[3], (Row{"", "0", "100", "4.5", "depth"}));
  EXPECT_EQ(rows[4], (Row{"", "1", "150", "10", "rho"}));
  EXPECT_EQ(rows[5], (Row{"", "2", "20", "inf", "-"}));  // the half-space has no depth
  EXPECT_EQ(rows[6], (Row{"1", "1", "b2", "0", "0", "1", "0"}));
}

TEST_F(OrvCliVdb, CopyWritesWithTheProgramsWriterAndNeverOverwrites) {
  const CliRun r = run("vdb-copy " + dir + "in.vdb " + dir + "out.vdb");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string in = readAll(dir + "in.vdb"), out = readAll(dir + "out.vdb");
  // Only the first record differs: the file names itself.
  ASSERT_NE(in.find("\r\n"), std::string::npos);
  EXPECT_EQ(out.substr(out.find("\r\n")), in.substr(in.find("\r\n")));
  EXPECT_EQ(out.substr(0, out.find("\r\n")), "n\xE1zev_souboru: " + dir + "out.vdb");

  const CliRun again = run("vdb-copy " + dir + "in.vdb " + dir + "out.vdb");
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "orv-cli: " + dir + "out.vdb exists, not overwritten\n");
  EXPECT_EQ(readAll(dir + "out.vdb"), out);
}

TEST_F(OrvCliVdb, AFileThatEndsEarlyIsListedButNotCopied) {
  const std::string in = readAll(dir + "in.vdb");
  std::ofstream(dir + "cut.vdb", std::ios::binary) << in.substr(0, in.find("b2"));
  const CliRun list = run("vdb-list " + dir + "cut.vdb");
  EXPECT_EQ(list.status, 1);
  EXPECT_EQ(table(list.out).size(), 6u);  // the first point and its model
  EXPECT_EQ(list.err,
            "orv-cli: " + dir + "cut.vdb: Soubor databáze je neúplný - počet načtených bodů: 1.\n");
  const CliRun copy = run("vdb-copy " + dir + "cut.vdb " + dir + "out.vdb");
  EXPECT_EQ(copy.status, 1);
  EXPECT_EQ(copy.err.find('\n'), copy.err.size() - 1);
  EXPECT_FALSE(std::ifstream(dir + "out.vdb").good());
}

INSTANTIATE_TEST_SUITE_P(VdbCases, OrvCliErrors,
                         ::testing::Values(ErrorCase{"vdb-list", 2}, ErrorCase{"vdb-list a b", 2},
                                           ErrorCase{"vdb-list --x a.vdb", 2},
                                           ErrorCase{"vdb-copy a.vdb", 2},
                                           ErrorCase{"vdb-list /nonexistent/none.vdb", 1},
                                           ErrorCase{"vdb-copy /nonexistent/none.vdb /tmp/x", 1},
                                           ErrorCase{"vdb-list PNG", 1},
                                           ErrorCase{"vdb-copy PNG /nonexistent/x.vdb", 1}));

}  // namespace

// The picture itself is compared with its reference in the window suites;
// here the command's contract: the file, its size, and never an overwrite.
class OrvCliSection : public ::testing::Test {
 protected:
  OrvCliSection() {
    dir = ::testing::TempDir() + "orv_cli_section_" + std::to_string(static_cast<long>(getpid())) +
          "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  ~OrvCliSection() override { std::filesystem::remove_all(dir); }

  // Width and height from the PNG's header chunk.
  static std::pair<int, int> pngSize(const std::string& bytes) {
    auto be = [&](size_t at) {
      return int((unsigned char)bytes[at]) << 24 | int((unsigned char)bytes[at + 1]) << 16 |
             int((unsigned char)bytes[at + 2]) << 8 | int((unsigned char)bytes[at + 3]);
    };
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    return {be(16), be(20)};
  }

  std::string dir;
  const std::string vdb = orv_test::fixturePath("profil5.vdb");
  const std::string rsc = orv_test::fixturePath("profil5.rsc");
};

TEST_F(OrvCliSection, DrawsTheProfileAtTheScreenSizeAndNeverOverwrites) {
  ASSERT_TRUE(orv_test::fixturePresent(vdb));
  struct Case {
    std::string options;
    int width, height;
  } cases[] = {{"", 1600, 1000}, {" --size 800x600 --profile 0", 800, 600}};
  int n = 0;
  for (const Case& c : cases) {
    const std::string png = dir + "p" + std::to_string(n++) + ".png";
    const CliRun r = run("section " + vdb + " --scale " + rsc + " --png " + png + c.options);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    const std::string bytes = readAll(png);
    EXPECT_EQ(pngSize(bytes), std::make_pair(c.width, c.height)) << c.options;
    const CliRun again = run("section " + vdb + " --png " + png);
    EXPECT_EQ(again.status, 1);
    EXPECT_EQ(again.err, "orv-cli: " + png + " exists, not overwritten\n");
    EXPECT_EQ(readAll(png), bytes);
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "p0.png.part"));
}

INSTANTIATE_TEST_SUITE_P(
    SectionCases, OrvCliErrors,
    ::testing::Values(ErrorCase{"section", 2}, ErrorCase{"section a.vdb", 2},
                      ErrorCase{"section a.vdb --png", 2},
                      ErrorCase{"section a.vdb --png /tmp/x.png --size 0x5", 2},
                      ErrorCase{"section a.vdb --png /tmp/x.png --size 800", 2},
                      ErrorCase{"section a.vdb --png /tmp/x.png --profile 20", 2},
                      ErrorCase{"section a.vdb --png /tmp/x.png --frob", 2},
                      ErrorCase{"section /nonexistent/none.vdb --png /tmp/x.png", 1},
                      ErrorCase{"section SAMPLE --png /tmp/x.png --profile 3", 1}));

// Width and height from a JPEG's frame header.
std::pair<int, int> jpegSize(const std::string& b) {
  if (b.size() < 4 || (unsigned char)b[0] != 0xFF || (unsigned char)b[1] != 0xD8) return {0, 0};
  for (size_t i = 2; i + 9 < b.size();) {
    if ((unsigned char)b[i] != 0xFF) return {0, 0};
    const unsigned char marker = (unsigned char)b[i + 1];
    const int length = (unsigned char)b[i + 2] << 8 | (unsigned char)b[i + 3];
    if (marker >= 0xC0 && marker <= 0xC2)
      return {(unsigned char)b[i + 7] << 8 | (unsigned char)b[i + 8],
              (unsigned char)b[i + 5] << 8 | (unsigned char)b[i + 6]};
    i += 2 + length;
  }
  return {0, 0};
}

TEST_F(OrvCliSection, ExportsWriteEachFormOnceAndNeverOverAFile) {
  const std::string lines = orv_test::fixturePath("profil8.vdb");
  ASSERT_TRUE(orv_test::fixturePresent(lines));
  struct Case {
    const char* option;
    const char* file;
    std::string head;
  } cases[] = {
      {"--dxf", "p.dxf", "  0\r\nSECTION"},
      {"--grid model", "m.DAT", "X\tZ\tR - soubor"},
      {"--grid pseudo", "s.DAT", "X\tZ\tR - soubor"},
      {"--grid ip", "i.DAT", "X\tZ\tVP - soubor"},
      {"--grid layers", "l.DAT", "X\tZ\tRint - soubor"},
      {"--jpeg", "p.jpg", "\xFF\xD8"},
  };
  for (const Case& c : cases) {
    const std::string out = dir + c.file;
    const CliRun r = run("export " + lines + " --scale " + rsc + " " + c.option + " " + out);
    ASSERT_EQ(r.status, 0) << c.option << ": " << r.err;
    const std::string bytes = readAll(out);
    EXPECT_EQ(bytes.substr(0, c.head.size()), c.head) << c.option;
    const CliRun again = run("export " + lines + " " + c.option + " " + out);
    EXPECT_EQ(again.status, 1) << c.option;
    EXPECT_EQ(readAll(out), bytes) << c.option;
  }
  const std::string dxf = readAll(dir + "p.dxf");
  EXPECT_EQ(dxf.substr(dxf.size() - 5), "\r\nEOF");
  EXPECT_NE(dxf.find("POLYLINE"), std::string::npos);
  // The drawn part of the 3200 x 2000 bitmap, within the default screen.
  const auto [width, height] = jpegSize(readAll(dir + "p.jpg"));
  EXPECT_TRUE(width > 1000 && width < 1600 && height > 500 && height < 1000);
}

INSTANTIATE_TEST_SUITE_P(
    ExportCases, OrvCliErrors,
    ::testing::Values(ErrorCase{"export", 2}, ErrorCase{"export a.vdb", 2},
                      ErrorCase{"export a.vdb --grid volume /tmp/x.DAT", 2},
                      ErrorCase{"export a.vdb --dxf /tmp/x.dxf --jpeg /tmp/x.jpg", 2},
                      ErrorCase{"export /nonexistent/none.vdb --dxf /tmp/x.dxf", 1}));
