#include "core/curve/additions_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/fixed_text.h"
#include "commands/curve/curve_construction.h"
#include "core/curve/settings_file.h"
#include "tests/commands/curve/curvebase_fakes.h"
#include "tests/support/file_bytes.h"

namespace orv {
namespace {

using curvebase_test::CurveFixture;
namespace fs = std::filesystem;

const std::string kHeader = "doplnky programu ORV (presna prima uloha, ekvivalence)\r\n";
const std::string kAccurate = "presna_prima_uloha_dlouhy_filtr_(1=ano_0=ne) ";
const std::string kTolerance = "ekvivalence_pripustne_zhorseni_SSQ_(podil) ";

using orv_test::readBytes;
using orv_test::writeBytes;

// Each test in a fresh, empty current folder, which becomes the start-up one.
class AdditionsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/orv_additions_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    previous_ = fs::current_path();
    fs::current_path(dir_);
    setInitialCurveState(f.s);
    setText(f.s.StartFolder, dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  std::string path() const { return dir_ + "/orvplus.ini"; }

  std::string dir_;
  fs::path previous_;
  CurveFixture f;
};

TEST_F(AdditionsFile, TheDefaultsAreWrittenByteExact) {
  f.s.accurateForward = true;
  f.s.equivalenceTolerance = 0.25;
  ASSERT_TRUE(writeAdditions(f.s));
  EXPECT_EQ(readBytes(path()), kHeader + kAccurate + "1\r\n" + kTolerance + "0.25\r\n");
  applyDefaultAdditions(f.s);
  EXPECT_EQ(additionsFileText(f.s), kHeader + kAccurate + "0\r\n" + kTolerance + "0.1\r\n");
}

struct RoundTripCase {
  bool accurate;
  double tolerance;
};

class AdditionsRoundTrip : public AdditionsFile,
                           public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(AdditionsRoundTrip, ReadsBackWhatWasWritten) {
  f.s.accurateForward = GetParam().accurate;
  f.s.equivalenceTolerance = GetParam().tolerance;
  ASSERT_TRUE(writeAdditionsFile(f.s, path().c_str()));
  f.s.accurateForward = !GetParam().accurate;
  f.s.equivalenceTolerance = 77.0;
  ASSERT_TRUE(readAdditions(f.s));
  EXPECT_EQ(f.s.accurateForward, GetParam().accurate);
  EXPECT_DOUBLE_EQ(f.s.equivalenceTolerance, GetParam().tolerance);
  EXPECT_EQ(fs::exists(path() + ".tmp"), false);
}

INSTANTIATE_TEST_SUITE_P(Values, AdditionsRoundTrip,
                         ::testing::Values(RoundTripCase{false, 0.1}, RoundTripCase{true, 0.1},
                                           RoundTripCase{true, 0.0125}, RoundTripCase{false, 3.5},
                                           RoundTripCase{true, 1e-9}));

struct ContentCase {
  const char* name;
  std::string bytes;
  bool accurate;
  double tolerance;
};

class AdditionsContent : public AdditionsFile, public ::testing::WithParamInterface<ContentCase> {};

TEST_P(AdditionsContent, DamageFallsBackToTheDefaultOfThatEntry) {
  const ContentCase& t = GetParam();
  writeBytes(path(), t.bytes);
  f.s.accurateForward = !t.accurate;
  f.s.equivalenceTolerance = 55.0;
  EXPECT_TRUE(readAdditions(f.s)) << t.name;
  EXPECT_EQ(f.s.accurateForward, t.accurate) << t.name;
  EXPECT_DOUBLE_EQ(f.s.equivalenceTolerance, t.tolerance) << t.name;
  EXPECT_TRUE(f.dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, AdditionsContent,
    ::testing::Values(
        ContentCase{"empty", "", false, 0.1},
        ContentCase{"whole", kHeader + kAccurate + "1\r\n" + kTolerance + "0.3\r\n", true, 0.3},
        ContentCase{"lines swapped, no header, LF only", kTolerance + "0.3\n" + kAccurate + "1\n",
                    true, 0.3},
        ContentCase{"last line without its end, blank after the value",
                    kHeader + kAccurate + "1 \r\n" + kTolerance + "2", true, 2.0},
        ContentCase{"switch 2", kHeader + kAccurate + "2\r\n", false, 0.1},
        ContentCase{"switch word", kHeader + kAccurate + "ano\r\n", false, 0.1},
        ContentCase{"tolerance 0", kHeader + kAccurate + "1\r\n" + kTolerance + "0\r\n", true, 0.1},
        ContentCase{"tolerance negative", kTolerance + "-0.5\r\n", false, 0.1},
        ContentCase{"tolerance nan", kTolerance + "nan\r\n", false, 0.1},
        ContentCase{"tolerance inf", kTolerance + "inf\r\n", false, 0.1},
        ContentCase{"decimal comma", kTolerance + "0,5\r\n", false, 0.1},
        ContentCase{"trailing letters", kTolerance + "0.5x\r\n", false, 0.1},
        ContentCase{"key without value", kAccurate + "\r\n" + kTolerance + "\r\n", false, 0.1},
        ContentCase{"other key", "presna 1\r\nekvivalence 0.4\r\n", false, 0.1},
        ContentCase{"key at the end of an overlong line",
                    std::string(250, 'x') + kAccurate + "1\r\n", false, 0.1},
        ContentCase{"binary", std::string("\0\xff\r\n\x01 1\r\n", 8), false, 0.1}));

TEST_F(AdditionsFile, AMissingFileMeansTheDefaultsSilently) {
  f.s.accurateForward = true;
  f.s.equivalenceTolerance = 9.0;
  EXPECT_FALSE(readAdditions(f.s));
  EXPECT_FALSE(f.s.accurateForward);
  EXPECT_DOUBLE_EQ(f.s.equivalenceTolerance, 0.1);
  EXPECT_TRUE(f.dialogs.messages().empty());
}

TEST_F(AdditionsFile, NoFileIsMadeWhileTheAdditionsWereNeverUsed) {
  ASSERT_TRUE(writeAdditions(f.s));
  EXPECT_FALSE(fs::exists(path()));
  f.s.accurateForward = true;
  ASSERT_TRUE(writeAdditions(f.s));
  ASSERT_TRUE(fs::exists(path()));
  // Switched off again, the file says so rather than keeping the old value.
  f.s.accurateForward = false;
  ASSERT_TRUE(writeAdditions(f.s));
  EXPECT_EQ(readBytes(path()), additionsFileText(f.s));
}

TEST_F(AdditionsFile, AFailedWriteKeepsTheOldFile) {
  writeBytes(path(), kAccurate + "1\r\n");
  fs::create_directory(path() + ".tmp");  // the temporary cannot be made
  f.s.equivalenceTolerance = 0.5;
  EXPECT_FALSE(writeAdditions(f.s));
  EXPECT_EQ(readBytes(path()), kAccurate + "1\r\n");
  // Nor is anything written where the start-up folder is not known.
  setText(f.s.StartFolder, "");
  EXPECT_TRUE(writeAdditions(f.s));
}

TEST_F(AdditionsFile, ReadAtConstructionBesideAnUnchangedOrvwinIni) {
  applyDefaultSettings(f.s);
  f.s.inputMode = 4;
  ASSERT_TRUE(writeSettingsFile(f.s, (dir_ + "/orvwin.ini").c_str()));
  const std::string settings = readBytes(dir_ + "/orvwin.ini");
  writeBytes(dir_ + "/ORVPLUS.INI", kAccurate + "1\r\n" + kTolerance + "0.2\r\n");

  CurveFixture g;
  constructCurveState(g.session);
  EXPECT_TRUE(g.s.accurateForward);
  EXPECT_DOUBLE_EQ(g.s.equivalenceTolerance, 0.2);
  EXPECT_EQ(g.s.inputMode, 4);
  EXPECT_TRUE(g.dialogs.messages().empty());

  // Written back at close under the spelling found; orvwin.ini keeps its bytes.
  g.s.equivalenceTolerance = 0.35;
  ASSERT_TRUE(writeSettings(g.s, g.dialogs));
  ASSERT_TRUE(writeAdditions(g.s));
  EXPECT_EQ(readBytes(dir_ + "/orvwin.ini"), settings);
  EXPECT_EQ(readBytes(dir_ + "/ORVPLUS.INI"),
            kHeader + kAccurate + "1\r\n" + kTolerance + "0.35\r\n");
  EXPECT_FALSE(fs::exists(path()));
}

}  // namespace
}  // namespace orv
