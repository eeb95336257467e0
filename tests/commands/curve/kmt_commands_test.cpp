#include "commands/curve/kmt_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/fixed_text.h"
#include "tests/commands/curve/kmt_test_support.h"

namespace orv {
namespace {

using testing::fileBytes;
using testing::ScratchFolder;
using testing::TestWindow;

const std::string ThreeRecords = std::string(ORV_FIXTURES_DIR) + "/kmt_three_records.kmt";

const char* const EndOfFile = "Konec souboru KMT. Toto bude opět první VES.";
const char* const CannotOpen = "Cannot open KMT file.";
const char* const NothingRead = "záznam nenačten";

std::string titleOf(const std::string& path, int point, int profile, const char* locality,
                    const char* date) {
  return "ORV-otevřen: " + path + " bod: " + std::to_string(point) +
         " pf: " + std::to_string(profile) + " lok: " + locality + " datum: " + date;
}

void openThreeRecords(TestWindow& w) {
  w.dialogs.answer(ThreeRecords);
  openKmtFile(w.session);
}

TEST(KmtCommands, WalkThroughThreeRecords) {
  TestWindow w;
  openThreeRecords(w);
  ASSERT_EQ(w.dialogs.questions().size(), 1u);
  EXPECT_EQ(w.dialogs.questions()[0], "open|Otevřít KMT|ves.kmt");
  EXPECT_TRUE(w.dialogs.messages().empty());
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(w.s().soundingRecordIndex, 1);
  EXPECT_EQ(w.s().sourceKind, SourceKmt);
  EXPECT_TRUE(w.s().curveLoaded);
  EXPECT_TRUE(w.s().compositeReady);
  EXPECT_EQ(textOf(w.s().soundingFilePath), ThreeRecords);
  EXPECT_EQ(w.chrome.caption, titleOf(ThreeRecords, 10, 1, "Alfa", "2024-05-01"));

  readNextKmtRecord(w.session);
  EXPECT_EQ(w.s().pointNumber, 20);
  EXPECT_EQ(w.s().readingCount, 2);
  EXPECT_EQ(w.s().soundingRecordIndex, 2);
  readNextKmtRecord(w.session);
  EXPECT_EQ(w.s().pointNumber, 30);
  EXPECT_EQ(textOf(w.s().operatorText), "Dvorak");
  EXPECT_EQ(w.s().soundingRecordIndex, 3);
  EXPECT_EQ(w.chrome.caption, titleOf(ThreeRecords, 30, 2, "Gama", "2024-05-03"));
  EXPECT_TRUE(w.dialogs.messages().empty());

  // Past the last record: the message, then record 0 again.
  readNextKmtRecord(w.session);
  ASSERT_EQ(w.dialogs.messages(), std::vector<std::string>{EndOfFile});
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(w.s().readingCount, 3);
  EXPECT_EQ(w.s().soundingRecordIndex, 1);
  EXPECT_EQ(w.chrome.caption, titleOf(ThreeRecords, 10, 1, "Alfa", "2024-05-01"));

  // With the first record shown "previous" does nothing.
  w.dialogs.clearRecords();
  w.s().readingRho[0] = 1234.0f;
  readPreviousKmtRecord(w.session);
  EXPECT_TRUE(w.dialogs.questions().empty());
  EXPECT_EQ(w.s().soundingRecordIndex, 1);
  EXPECT_EQ(w.s().readingRho[0], 1234.0f);

  readNextKmtRecord(w.session);
  readNextKmtRecord(w.session);
  ASSERT_EQ(w.s().soundingRecordIndex, 3);
  readPreviousKmtRecord(w.session);
  EXPECT_EQ(w.s().pointNumber, 20);
  EXPECT_EQ(w.s().soundingRecordIndex, 2);
  EXPECT_TRUE(w.dialogs.questions().empty());
  EXPECT_TRUE(w.dialogs.unexpected().empty());
}

TEST(KmtCommands, PreviousBackToRecordZeroChoosesTheFileAgain) {
  TestWindow w;
  openThreeRecords(w);
  readNextKmtRecord(w.session);
  ASSERT_EQ(w.s().soundingRecordIndex, 2);
  w.dialogs.clearRecords();
  w.dialogs.answer(ThreeRecords);
  readPreviousKmtRecord(w.session);
  ASSERT_EQ(w.dialogs.questions().size(), 1u);
  EXPECT_EQ(w.dialogs.questions()[0], "open|Otevřít KMT|" + ThreeRecords);
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(w.s().soundingRecordIndex, 1);
}

TEST(KmtCommands, NextWithoutAFileOpensTheDialog) {
  TestWindow w;
  w.dialogs.answer(ThreeRecords);
  readNextKmtRecord(w.session);
  EXPECT_EQ(w.dialogs.questions().size(), 1u);
  EXPECT_EQ(w.s().pointNumber, 10);
}

TEST(KmtCommands, CancelledOpenDialogReadsNothingAndMergesAgain) {
  TestWindow w;
  openThreeRecords(w);
  w.dialogs.clearRecords();
  w.s().mergedRho[0][0] = 55.0f;  // an edited composite is merged afresh
  w.s().fromSection = true;
  w.dialogs.cancel();
  openRecord(w.session, 0);
  EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{"nevybral jste žádný soubor"});
  EXPECT_EQ(textOf(w.s().soundingFilePath), ThreeRecords);
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(w.s().readingCount, 3);
  EXPECT_FALSE(w.s().fromSection);
  EXPECT_TRUE(w.s().compositeReady);
  EXPECT_EQ(w.s().mergedRho[0][0], 100.0f);
}

TEST(KmtCommands, MissingFileKeepsThePreviousSounding) {
  TestWindow w;
  openThreeRecords(w);
  const std::string caption = w.chrome.caption;
  w.dialogs.clearRecords();
  w.dialogs.answer("/nonexistent/folder/ves.kmt");
  openKmtFile(w.session);
  EXPECT_EQ(w.dialogs.messages(), (std::vector<std::string>{CannotOpen, CannotOpen, NothingRead}));
  EXPECT_EQ(w.s().readingCount, 3);
  EXPECT_FLOAT_EQ(w.s().readingRho[0], 100.0f);
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(textOf(w.s().operatorText), "Novak");
  EXPECT_EQ(w.chrome.caption, caption);
  EXPECT_TRUE(w.s().compositeReady);
  EXPECT_FLOAT_EQ(w.s().mergedRho[0][0], 100.0f);
}

TEST(KmtCommands, RecordWithoutReadingsIsReplacedByRecordZero) {
  ScratchFolder dir("kmt-cmd-empty");
  const std::string path =
      dir.write("a.kmt",
                "n A\r\nb 1\r\np 1\r\nl L\r\nd D\r\nr 10 s1 a1 m0.5\r\nr 12 s1 a1.3 m0.5\r\n"
                "n B\r\nb 2\r\np 1\r\nl L\r\nd D\r\nr 10 s1 a0.5 m0.5");
  TestWindow w;
  w.dialogs.answer(path);
  openKmtFile(w.session);
  ASSERT_EQ(w.s().pointNumber, 1);
  readNextKmtRecord(w.session);
  EXPECT_EQ(w.section.deletions, 0);  // the section keeps its points
  EXPECT_EQ(w.s().pointNumber, 1);
  EXPECT_EQ(w.s().readingCount, 2);
  // The counter is not wound back for a record without readings, so the next
  // read goes past it.
  EXPECT_EQ(w.s().soundingRecordIndex, 2);
  EXPECT_TRUE(w.dialogs.messages().empty());
}

TEST(KmtCommands, FileWithNoUsableRecordLeavesThePreviousReadings) {
  ScratchFolder dir("kmt-cmd-none");
  const std::string path = dir.write("a.kmt", "n X\r\nb 99\r\np 9\r\nl Jinde\r\nd D\r\nq");
  TestWindow w;
  openThreeRecords(w);
  w.dialogs.clearRecords();
  w.dialogs.answer(path);
  openKmtFile(w.session);
  EXPECT_EQ(w.dialogs.messages(), std::vector<std::string>{NothingRead});
  EXPECT_EQ(w.section.deletions, 0);  // the section keeps its points
  EXPECT_EQ(w.s().readingCount, 3);
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(textOf(w.s().localityText), "Alfa");
  EXPECT_EQ(w.chrome.caption, titleOf(ThreeRecords, 10, 1, "Alfa", "2024-05-01"));
}

TEST(KmtCommands, ReadRecordFromSectionOnlyCompletes) {
  TestWindow w;
  openThreeRecords(w);
  const int counter = w.s().soundingRecordIndex;
  w.s().fromSection = true;
  w.s().readingRho[0] = 77.0f;
  EXPECT_EQ(readRecord(w.session, 2), 1);
  EXPECT_EQ(w.s().readingRho[0], 77.0f);
  EXPECT_EQ(w.s().pointNumber, 10);
  EXPECT_EQ(w.s().soundingRecordIndex, counter + 1);
}

// --- writing ------------------------------------------------------------------

const char* const AskOperator = "Zadej jméno operátora:";
const char* const AskLocality = "Zadej jméno lokality:";
const char* const AskPoint = "Zadej číslo bodu či metráž bodu na profilu: ";
const char* const AskProfile = "Zadej číslo profilu:";
const char* const NoFileChosen = "Nevybral jste žádný soubor";
const char* const FileExists = "Vybraný soubor existuje. Zvolte jiný název!";

std::string question(const char* caption, const std::string& value) {
  return std::string(caption) + "||" + value;
}

const std::string Record0Readings =
    "\r\nr 100.000000 s1 a1.000000 m0.500000"
    "\r\nr 90.000000 s2 a1.300000 m0.500000"
    "\r\nr 80.000000 s3 a1.680000 m0.500000";

TEST(KmtCommands, WritingWithoutCompositeAsksAndWritesNothing) {
  TestWindow w;
  appendKmtRecord(w.session);
  EXPECT_TRUE(w.dialogs.questions().empty());
  EXPECT_TRUE(w.dialogs.messages().empty());
  EXPECT_EQ(w.s().soundingOutputHandle, nullptr);
  EXPECT_FALSE(writeRecord(w.session, true));
  EXPECT_TRUE(w.dialogs.questions().empty());
  EXPECT_EQ(w.s().pointNumber, 0);
  EXPECT_EQ(w.s().previousPointNumber, -25);
}

TEST(KmtCommands, SaveDialogLoopsUntilANewNameAndWritesTheRecord) {
  ScratchFolder dir("kmt-cmd-save");
  const std::string existing = dir.write("old.kmt", "keep me");
  const std::string target = dir.file("new.kmt");
  TestWindow w;
  openThreeRecords(w);
  w.s().pointNumber = 0;  // the first point of a profile, as at start-up
  w.dialogs.clearRecords();
  w.dialogs.cancel();
  w.dialogs.answer(existing);
  w.dialogs.answer(target);
  w.dialogs.answer("Novák");
  w.dialogs.answer("Horní Lhota");
  w.dialogs.answer("25");
  w.dialogs.answer("1");
  appendKmtRecord(w.session);

  EXPECT_EQ(w.dialogs.messages(), (std::vector<std::string>{NoFileChosen, FileExists}));
  const std::string save = "save|Uložit do nového souboru KMT|" + ThreeRecords;
  EXPECT_EQ(w.dialogs.questions(),
            (std::vector<std::string>{save, save, save, question(AskOperator, "Novak"),
                                      question(AskLocality, "Alfa"), question(AskPoint, "25"),
                                      question(AskProfile, "1")}));
  EXPECT_EQ(fileBytes(existing), "keep me");
  EXPECT_EQ(fileBytes(target),
            "n Nov\xe1k\r\nb 25\r\np 1\r\nl Horn\xed Lhota\r\nd 2024-05-01" + Record0Readings);
  EXPECT_EQ(textOf(w.s().soundingFilePath), target);
  EXPECT_TRUE(w.s().soundingOutputOpen);
  EXPECT_EQ(w.s().previousPointNumber, 0);
  EXPECT_EQ(w.s().pointNumberStep, 25);

  // The next append goes to the same file with the next proposal.
  w.dialogs.clearRecords();
  w.dialogs.answer("50");
  w.dialogs.answer("1");
  appendKmtRecord(w.session);
  EXPECT_EQ(w.dialogs.questions(),
            (std::vector<std::string>{question(AskPoint, "50"), question(AskProfile, "1")}));
  const std::string both = fileBytes(target);
  EXPECT_EQ(both, "n Nov\xe1k\r\nb 25\r\np 1\r\nl Horn\xed Lhota\r\nd 2024-05-01" +
                      Record0Readings + "\r\nn Nov\xe1k\r\nb 50\r\np 1\r\nl Horn\xed Lhota\r\nd " +
                      "2024-05-01" + Record0Readings);

  // Read back, the locality is its first word.
  closeKmtOutput(w.s());
  EXPECT_FALSE(w.s().soundingOutputOpen);
  EXPECT_EQ(w.s().soundingOutputHandle, nullptr);
  TestWindow back;
  back.dialogs.answer(target);
  openKmtFile(back.session);
  readNextKmtRecord(back.session);
  EXPECT_EQ(back.s().pointNumber, 50);
  EXPECT_EQ(shownText(back.s().localityText), "Horní");
  EXPECT_EQ(shownText(back.s().operatorText), "Novák");
  EXPECT_EQ(back.s().readingCount, 3);
}

TEST(KmtCommands, AfterASaveTheNextRecordComesFromTheOpenedFile) {
  ScratchFolder dir("kmt-cmd-next-after-save");
  const std::string target = dir.file("out.kmt");
  TestWindow w;
  openThreeRecords(w);
  w.dialogs.clearRecords();
  for (const char* a : {target.c_str(), "Op", "Lok", "25", "1"}) w.dialogs.answer(a);
  appendKmtRecord(w.session);
  ASSERT_EQ(textOf(w.s().soundingFilePath), target);

  w.dialogs.clearRecords();
  readNextKmtRecord(w.session);
  EXPECT_TRUE(w.dialogs.messages().empty());
  EXPECT_TRUE(w.dialogs.questions().empty());
  EXPECT_EQ(w.s().pointNumber, 20);
  EXPECT_EQ(w.s().soundingRecordIndex, 2);
  EXPECT_EQ(textOf(w.s().soundingFilePath), ThreeRecords);
  EXPECT_EQ(w.chrome.caption, titleOf(ThreeRecords, 20, 1, "Beta", "2024-05-02"));
}

TEST(KmtCommands, TwoCancelsInARowGiveUp) {
  TestWindow w;
  openThreeRecords(w);
  w.dialogs.clearRecords();
  w.dialogs.cancel();
  w.dialogs.cancel();
  appendKmtRecord(w.session);
  EXPECT_EQ(w.dialogs.messages(), (std::vector<std::string>{NoFileChosen, NoFileChosen}));
  EXPECT_EQ(w.dialogs.questions().size(), 2u);
  EXPECT_EQ(w.s().soundingOutputHandle, nullptr);
  EXPECT_EQ(w.s().pointNumber, 10);  // no proposal without a record

  // The output counts as open, but the next append still starts a file.
  ScratchFolder dir("kmt-cmd-cancel");
  w.dialogs.clearRecords();
  w.dialogs.answer(dir.file("a.kmt"));
  w.dialogs.answer("");
  w.dialogs.answer("");
  w.dialogs.answer("35");
  w.dialogs.answer("1");
  appendKmtRecord(w.session);
  EXPECT_EQ(w.dialogs.questions().size(), 5u);
  EXPECT_EQ(fileBytes(dir.file("a.kmt")),
            "n \r\nb 35\r\np 1\r\nl \r\nd 2024-05-01" + Record0Readings);
}

TEST(KmtCommands, OutputThatCannotBeCreated) {
  TestWindow w;
  openThreeRecords(w);
  w.dialogs.clearRecords();
  w.dialogs.answer("/nonexistent/folder/out.kmt");
  EXPECT_FALSE(writeRecord(w.session, true));
  EXPECT_EQ(w.dialogs.messages(),
            std::vector<std::string>{"Nemožno vytvořit zvolený soubor KMT !"});
  EXPECT_EQ(w.dialogs.questions().size(), 1u);
  EXPECT_FALSE(w.s().soundingOutputOpen);
  EXPECT_EQ(w.s().pointNumber, 10);
}

struct ProposalCase {
  int previous;
  int current;
  std::string proposed;
};

class KmtProposalTest : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(KmtProposalTest, PointNumberContinuesTheLastStep) {
  ScratchFolder dir("kmt-cmd-proposal");
  TestWindow w;
  openThreeRecords(w);
  w.s().previousPointNumber = GetParam().previous;
  w.s().pointNumber = GetParam().current;
  w.dialogs.clearRecords();
  w.dialogs.answer(dir.file("p.kmt"));
  w.dialogs.answer("Op");
  w.dialogs.answer("Lok");
  w.dialogs.answer(GetParam().proposed);
  w.dialogs.answer("1");
  ASSERT_TRUE(writeRecord(w.session, true));
  EXPECT_EQ(w.dialogs.questions()[3], question(AskPoint, GetParam().proposed));
  EXPECT_EQ(w.s().previousPointNumber, GetParam().current);
}

INSTANTIATE_TEST_SUITE_P(Steps, KmtProposalTest,
                         ::testing::Values(ProposalCase{-25, 0, "25"}, ProposalCase{75, 100, "125"},
                                           ProposalCase{10, 10, "10"},
                                           ProposalCase{2147483600, -2147483600, "-2147483648"}));

TEST(KmtCommands, NonIntegerNumbersKeepTheProposal) {
  ScratchFolder dir("kmt-cmd-int");
  TestWindow w;
  openThreeRecords(w);
  w.s().pointNumber = 0;
  w.dialogs.clearRecords();
  w.dialogs.answer(dir.file("n.kmt"));
  w.dialogs.answer("Op");
  w.dialogs.answer("Lok");
  w.dialogs.answer("12.5");
  w.dialogs.answer("druhy");
  ASSERT_TRUE(writeRecord(w.session, true));
  EXPECT_EQ(w.dialogs.messages(), (std::vector<std::string>{"Soustřeďte se (celé číslo)!",
                                                            "Soustřeďte se (celé číslo)!"}));
  EXPECT_EQ(w.s().pointNumber, 25);
  EXPECT_EQ(w.s().profileNumber, 1);
  EXPECT_NE(fileBytes(dir.file("n.kmt")).find("\r\nb 25\r\np 1\r\n"), std::string::npos);
}

TEST(KmtCommands, SaveToNewFileClosesTheOldOutputAndTheNewFile) {
  ScratchFolder dir("kmt-cmd-new");
  TestWindow w;
  openThreeRecords(w);
  w.dialogs.clearRecords();

  saveKmtToNewFile(w.session);  // nothing open yet
  EXPECT_TRUE(w.dialogs.questions().empty());

  w.dialogs.answer(dir.file("first.kmt"));
  w.dialogs.answer("Op");
  w.dialogs.answer("Lok");
  w.dialogs.answer("25");
  w.dialogs.answer("1");
  appendKmtRecord(w.session);
  ASSERT_TRUE(w.s().soundingOutputOpen);

  w.dialogs.clearRecords();
  w.dialogs.answer(dir.file("second.kmt"));
  w.dialogs.answer("Op");
  w.dialogs.answer("Lok");
  w.dialogs.answer("50");
  w.dialogs.answer("1");
  saveKmtToNewFile(w.session);
  EXPECT_EQ(w.dialogs.questions().size(), 5u);
  EXPECT_FALSE(w.s().soundingOutputOpen);
  EXPECT_EQ(w.s().soundingOutputHandle, nullptr);
  EXPECT_EQ(fileBytes(dir.file("second.kmt")).substr(0, 13), "n Op\r\nb 50\r\np");

  // The next append starts yet another file.
  w.dialogs.clearRecords();
  w.dialogs.answer(dir.file("third.kmt"));
  w.dialogs.answer("Op");
  w.dialogs.answer("Lok");
  w.dialogs.answer("75");
  w.dialogs.answer("1");
  appendKmtRecord(w.session);
  EXPECT_TRUE(std::filesystem::exists(dir.file("third.kmt")));
  EXPECT_EQ(fileBytes(dir.file("second.kmt")).find("b 75"), std::string::npos);
  EXPECT_EQ(fileBytes(dir.file("first.kmt")).find("b 50"), std::string::npos);
}

struct KmtCapacityCase {
  const char* name;
  int readings;  // reading lines of the record
  int wideFrom;  // readings from this index on have MN/2 = 300 m
  int taken;     // readings the record gives the window
  std::string message;
};

class KmtCapacityTest : public ::testing::TestWithParam<KmtCapacityCase> {};

// A record of n readings on cells 1, 2, ...; the record after it must still
// be found.
std::string longRecord(int n, int wideFrom) {
  std::string text = "n Op\r\nb 1\r\np 1\r\nl Lok\r\nd 2024";
  for (int i = 0; i < n; ++i)
    text += "\r\nr" + std::to_string(100 + i % 7) + " s0 a" + std::to_string(1.0 + i * 0.5) + " m" +
            (i >= wideFrom ? "300" : "1");
  return text + "\r\nn Next\r\nb 2\r\np 1\r\nl Lok\r\nd 2024\r\nr50 s0 a1 m1\r\nr60 s0 a2 m1";
}

TEST_P(KmtCapacityTest, ReadingsLeftOutAreSaidOnce) {
  const KmtCapacityCase& p = GetParam();
  ScratchFolder dir(std::string("orv-kmt-capacity-") + p.name);
  TestWindow w;
  w.dialogs.answer(dir.write("long.kmt", longRecord(p.readings, p.wideFrom)));
  openKmtFile(w.session);
  EXPECT_EQ(w.s().readingCount, p.taken);
  // The one branch has no tie: the merge says so after the notice.
  auto notices = [&w] {
    std::vector<std::string> out;
    for (const std::string& m : w.dialogs.messages())
      if (m.rfind("Záznam", 0) == 0 || m.rfind("Vynecháno", 0) == 0) out.push_back(m);
    return out;
  };
  const std::vector<std::string> expected =
      p.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{p.message};
  EXPECT_EQ(notices(), expected);
  if (!expected.empty()) {
    EXPECT_EQ(w.dialogs.messages().front(), p.message);
  }
  w.dialogs.clearRecords();
  readNextKmtRecord(w.session);
  EXPECT_EQ(w.s().pointNumber, 2);
  EXPECT_TRUE(notices().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Records, KmtCapacityTest,
    ::testing::Values(
        KmtCapacityCase{"Full", 200, 200, 200, ""},
        KmtCapacityCase{"OneTooMany", 201, 201, 200,
                        "Záznam obsahuje víc měření, než lze načíst (nejvýše 200); nenačteno "
                        "zbylých 1 měření."},
        KmtCapacityCase{"WideSpacings", 250, 190, 190,
                        "Záznam obsahuje víc měření, než lze načíst (nejvýše 200); nenačteno "
                        "zbylých 50 měření.\nVynecháno měření s MN/2 od 300 m výše (víc než 5 "
                        "větví nelze zpracovat): 10"}),
    [](const ::testing::TestParamInfo<KmtCapacityCase>& i) { return i.param.name; });

}  // namespace
}  // namespace orv
