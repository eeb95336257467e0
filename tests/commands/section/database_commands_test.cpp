#include "commands/section/database_commands.h"

#include <filesystem>

#include "tests/commands/section/section_test_support.h"
#include "tests/core/section/vdb_test_support.h"

namespace orv::testing {
namespace {

constexpr const char* CannotCreate = "Nemožno vytvořit zvolený soubor KMT !";
constexpr const char* NothingChosen = "Nevybral jste žádný soubor";
constexpr const char* CannotOpen = "Cannot open input file.";

class DatabaseCommandsTest : public SectionTest {
 protected:
  DatabaseCommandsTest() {
    session.setCaption = [this](const std::string& c) { captions.push_back(c); };
    session.showIfNeverShown = [this] { ++showRequests; };
    setTextFromUtf8(db().localityName, "Lhota");
  }
  bool exists(const std::string& name) { return std::filesystem::exists(dir + name); }

  ScratchFolder scratch;
  std::string dir = scratch.path();
  std::vector<std::string> captions;
  int showRequests = 0;
};

TEST_F(DatabaseCommandsTest, SavingNeverOverwritesAndTheCaptionNamesTheNewFile) {
  givePoints(2);
  dialogs.answer(dir + "x.vdb");
  saveDatabaseOrAsk(session);  // no name yet: the dialog is asked
  ASSERT_TRUE(exists("x.vdb"));
  const std::string original = fileBytes(dir + "x.vdb");

  dialogs.answer(dir + "x.vdb");
  readDatabase(session);
  dialogs.clearRecords();
  for (int n = 0; n < 3; ++n) saveDatabaseOrAsk(session);
  EXPECT_TRUE(dialogs.questions().empty());
  for (const char* name : {"x.vdb_1", "x.vdb_2", "x.vdb_3"}) EXPECT_TRUE(exists(name)) << name;
  EXPECT_FALSE(exists("x.vdb_4"));
  EXPECT_EQ(fileBytes(dir + "x.vdb"), original);
  EXPECT_EQ(captions.back(), "db: " + dir + "x.vdb_3 - lok:Lhota");
  // The file names itself as it was saved.
  EXPECT_EQ(fileBytes(dir + "x.vdb_3").substr(0, 15 + dir.size() + 7),
            utf8ToCp1250("název_souboru: ") + dir + "x.vdb_3");

  // A numbered file read and saved again goes on with the numbering of its
  // base name; "jako" asks even when a name is known, and its cancel saves.
  dialogs.answer(dir + "x.vdb_3");
  readDatabase(session);
  dialogs.cancel();
  saveDatabase(session, true);
  EXPECT_TRUE(exists("x.vdb_4"));
  EXPECT_EQ(textOf(db().fileName), dir + "x.vdb_4");
  EXPECT_EQ(textOf(db().baseFileName), dir + "x.vdb_3");
  EXPECT_EQ(dialogs.questions().back(), "save|Uložit databázi bodů VES|" + dir + "x.vdb_3");
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(DatabaseCommandsTest, ANameWithoutExtensionIsNumberedWithOne) {
  dialogs.answer(dir + "lok");
  saveDatabase(session, true);
  saveDatabase(session, false);
  EXPECT_TRUE(exists("lok"));
  EXPECT_TRUE(exists("lok.vdb_1"));
}

TEST_F(DatabaseCommandsTest, ReadSetsViewSelectionAndTheCurveWindowFree) {
  givePoints(3);
  ASSERT_TRUE(saveTo(db(), dir + "a.vdb"));
  db().currentPoint = 2;
  view.viewMaxChainage = 5;
  view.curvePixelsPerDecade = 80;
  curve().fromSection = true;  // it showed point 2 of the database now replaced
  curve().modelActive = true;
  dialogs.answer(dir + "a.vdb");
  readDatabase(session);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(view.viewMinChainage, -1000000.0f);
  EXPECT_EQ(view.viewMaxChainage, 1000000.0f);
  EXPECT_EQ(view.viewMinElevation, -10000.0f);
  EXPECT_EQ(view.viewMaxElevation, 10000.0f);
  EXPECT_EQ(view.curvePixelsPerDecade, 33.0f);
  EXPECT_EQ(db().currentPoint, 0);
  EXPECT_EQ(sectionRedraws, 1);
  EXPECT_EQ(showRequests, 1);
  EXPECT_FALSE(curve().fromSection);
  EXPECT_TRUE(link.transferVisible);

  curve().fromSection = true;
  curve().modelActive = false;
  curve().modelBoundaryCount = 0;
  link.transferCalls = 0;
  dialogs.answer(dir + "a.vdb");
  readDatabase(session);
  EXPECT_FALSE(curve().fromSection);
  EXPECT_EQ(link.transferCalls, 0);  // no model: nothing to file
}

// Every refusal of the file commands, the messages in order, and the
// database untouched.
struct Road {
  const char* name;
  bool save;
  std::vector<std::string> answers;  // "" cancels; "@" stands for the scratch folder
  std::vector<std::string> messages;
  int questions;
};

class DatabaseFailureTest : public DatabaseCommandsTest,
                            public ::testing::WithParamInterface<Road> {};

TEST_P(DatabaseFailureTest, ShowsItsMessagesAndKeepsTheDatabase) {
  const Road road = GetParam();
  givePoints(2);
  auto expand = [this](std::string s) {
    if (const std::size_t at = s.find('@'); at != std::string::npos) s.replace(at, 1, dir);
    return s;
  };
  for (const std::string& a : road.answers)
    a.empty() ? dialogs.cancel() : dialogs.answer(expand(a));
  if (road.save)
    saveDatabase(session, true);
  else
    readDatabase(session);
  std::vector<std::string> want;
  for (const std::string& m : road.messages) want.push_back(expand(m));
  EXPECT_EQ(dialogs.messages(), want);
  EXPECT_EQ(static_cast<int>(dialogs.questions().size()), road.questions);
  EXPECT_EQ(profile(0).mxindex_bodu, 1);
  EXPECT_EQ(textOf(profile(0).points[1].pointName), "bod2");
  EXPECT_EQ(sectionRedraws, 0);
  EXPECT_TRUE(captions.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

INSTANTIATE_TEST_SUITE_P(
    Roads, DatabaseFailureTest,
    ::testing::Values(Road{"SaveIntoMissingFolder", true, {"@chybi/x.vdb"}, {CannotCreate}, 1},
                      Road{"SaveCancelledWithoutName", true, {""}, {CannotCreate}, 1},
                      Road{"OpenCancelled", false, {""}, {NothingChosen}, 1},
                      Road{"OpenMissingThenCancelled",
                           false,
                           {"@a.vdb", ""},
                           {"Soubor@a.vdbnexistuje. Zvolte jiný název!", NothingChosen},
                           2},
                      Road{"OpenFolder", false, {"@"}, {CannotOpen}, 1}),
    [](const ::testing::TestParamInfo<Road>& i) { return std::string(i.param.name); });

TEST_F(DatabaseCommandsTest, AFileThatEndsEarlyLeavesOnlyWhatItHeld) {
  givePoints(3);
  ASSERT_TRUE(saveTo(db(), dir + "three.vdb"));
  std::string bytes = fileBytes(dir + "three.vdb");
  bytes.resize(bytes.find(utf8ToCp1250("datum_měření_bodu"),
                          bytes.find(utf8ToCp1250("název_bodu_VES: bod2"))));
  putBytes(dir + "cut.vdb", bytes);
  // A full profile stands in memory when the cut file is read.
  for (int b = 0; b < MaxPointsPerProfile; ++b) fillPoint(profile(0).points[b], 100 + b);
  profile(0).mxindex_bodu = MaxPointsPerProfile - 1;

  dialogs.answer(dir + "cut.vdb");
  readDatabase(session);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], "Soubor databáze je neúplný - počet načtených bodů: 1.");
  EXPECT_EQ(profile(0).mxindex_bodu, 0);
  EXPECT_EQ(textOf(profile(0).points[0].pointName), "bod1");

  saveDatabase(session, false);
  const std::string saved = fileBytes(dir + "cut.vdb_1");
  EXPECT_NE(saved.find("bod1"), std::string::npos);
  EXPECT_EQ(saved.find("bod2"), std::string::npos);
  EXPECT_EQ(saved.find("bod101"), std::string::npos);
}

}  // namespace
}  // namespace orv::testing
