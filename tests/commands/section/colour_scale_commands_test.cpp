#include "commands/section/colour_scale_commands.h"

#include <string>
#include <vector>

#include "core/section/colour_scale_file.h"
#include "tests/commands/section/section_test_support.h"
#include "tests/core/section/vdb_test_support.h"
#include "ui/recording_chrome.h"

namespace orv::testing {
namespace {

constexpr const char* Caption = "Interval rezistivit zadané barvy je : ";
constexpr const char* CannotCreate = "Nemožno vytvořit zvolený soubor KMT !";
constexpr const char* CannotOpen = "Cannot open input Color-file.";
constexpr const char* NothingChosen = "Nevybral jste žádný soubor";
constexpr const char* NoCount = "Soubor barevné škály neudává počet barev - škála nebyla načtena.";

// Scripted dialogs that also keep what the file dialogs were asked with.
class FileRequestDialogs : public ui::ScriptedDialogs {
 public:
  std::vector<ui::FileDialogRequest> requests;
  std::optional<std::string> openFile(const ui::FileDialogRequest& r) override {
    requests.push_back(r);
    return ScriptedDialogs::openFile(r);
  }
  std::optional<std::string> saveFile(const ui::FileDialogRequest& r) override {
    requests.push_back(r);
    return ScriptedDialogs::saveFile(r);
  }
};

class ColourCommandsTest : public SectionTest {
 protected:
  ColourCommandsTest() {
    setText(curve().StartFolder, dir.substr(0, dir.size() - 1));
    session.chrome = &chrome;
  }
  ColourScale& scale() { return view.colourScale; }
  void giveScale() {
    const int32_t b[] = {0, 10, 100};
    for (int k = 0; k < 3; ++k) scale().colResBound[k] = b[k], scale().colResColor[k] = k * 1000;
    scale().colResCount = 3;
  }

  ScratchFolder scratch;
  std::string dir = scratch.path();
  std::string defaultFile = dir + "orvcolres.rsc";
  FileRequestDialogs files;
  SectionSession session{*dbBlock, view, files, link, [this] { ++sectionRedraws; }, {}};
  ui::RecordingChrome chrome;
};

TEST_F(ColourCommandsTest, EditorAsksInOrderAndEndsTheTableAtTheCancelledPass) {
  scale().colResBound[1] = 100;  // the first pass keeps it
  scale().colResBound[3] = 55;
  scale().colResColor[1] = 0x123456;  // the colour dialog starts on black all the same
  files.answerColour(0x0000FF);
  files.answer("250");
  files.answerColour(0x00FF00);
  files.answer("abc");
  files.answerColour(0xFF0000);
  files.answer("900");  // typed in the pass whose colour is cancelled: dropped
  files.cancelColour();
  editColourScale(session);

  const std::vector<std::string> questions = {
      "colour|0",       std::string(Caption) + "| od 100131ohm.m do : |131",
      "colour|255",     std::string(Caption) + "| od 250326ohm.m do : |326",
      "colour|65280",   std::string(Caption) + "| od 5572ohm.m do : |72",
      "colour|16711680"};
  EXPECT_EQ(files.questions(), questions);
  const std::vector<std::string> messages = {"Zadej barvu pro interval nad 0 ohm.m ",
                                             "Soustřeďte se (celé číslo)!",
                                             "konec hrani s barvickama barvu"};
  EXPECT_EQ(files.messages(), messages);
  ASSERT_EQ(scale().colResCount, 4);
  EXPECT_EQ(scale().colResBound[1], 100);
  EXPECT_EQ(scale().colResBound[2], 250);
  EXPECT_EQ(scale().colResBound[3], 55);  // not an integer: unchanged
  EXPECT_EQ(scale().colResBound[4], ColourTableEnd);
  EXPECT_EQ(scale().colResColor[3], 0xFF0000);
  EXPECT_EQ(scale().colResColor[4], 0xFFFFFF);
  EXPECT_EQ(sectionRedraws, 0);
  files.cancelColour();
  editColourScale(session);  // the next edit starts on the colour chosen last
  EXPECT_EQ(files.questions().back(), "colour|16711680");
}

TEST_F(ColourCommandsTest, EditorStopsAtTheCapacityWithTheEndInsideTheTable) {
  for (int k = 0; k < 600; ++k) files.answerColour(k);
  for (int k = 0; k < 600; ++k) files.cancel();  // every boundary keeps its value
  editColourScale(session);
  EXPECT_EQ(scale().colResCount, 499);
  EXPECT_EQ(scale().colResBound[499], ColourTableEnd);
  EXPECT_EQ(scale().colResColor[498], 497);
  EXPECT_EQ(files.messages().back(), "Barevná škála je plná - nejvýše 498 barev.");
  EXPECT_EQ(files.pendingAnswers(), 600u - 497u);
}

TEST_F(ColourCommandsTest, SavingNeverOverwritesAndEachFileNamesItself) {
  giveScale();
  for (int n = 0; n < 3; ++n) {
    files.answer(dir + "scale.rsc");
    saveColourScaleAs(session);
  }
  for (const char* name : {"scale.rsc", "scale.rsc_1", "scale.rsc_2"}) {
    const std::string path = dir + name;
    EXPECT_EQ(fileBytes(path), utf8ToCp1250("název_souboru: ") + path +
                                   "\r\nmxpocet_bodu_barev: 3\r\n0 0 \r\n10 1000 \r\n100 2000 ");
  }
  EXPECT_EQ(textOf(scale().colResFileName), dir + "scale.rsc_2");
  ASSERT_FALSE(files.requests.empty());
  EXPECT_EQ(files.requests[0].presetName, defaultFile);
  EXPECT_EQ(files.requests[0].defaultExtension, "rsc");
  EXPECT_EQ(files.requests[0].filter, "škála barev rezistivit|*.rsc*");

  // A cancel saves under the default name, numbered once it exists; saving
  // to the default writes over it.
  files.cancel();
  saveColourScaleAs(session);
  files.cancel();
  saveColourScaleAs(session);
  EXPECT_TRUE(std::filesystem::exists(defaultFile + "_1"));
  scale().colResCount = 1;
  saveColourScaleToDefault(session);
  EXPECT_EQ(fileBytes(defaultFile),
            utf8ToCp1250("název_souboru: ") + defaultFile + "\r\nmxpocet_bodu_barev: 1\r\n0 0 ");
  EXPECT_FALSE(std::filesystem::exists(defaultFile + "_2"));
  EXPECT_TRUE(files.messages().empty());

  // A folder that does not exist.
  setText(curve().StartFolder, dir + "none");
  saveColourScaleToDefault(session);
  files.cancel();
  saveColourScaleAs(session);
  EXPECT_EQ(files.messages(), std::vector<std::string>(2, CannotCreate));
  EXPECT_EQ(textOf(scale().colResFileName), dir + "none/orvcolres.rsc");
}

TEST_F(ColourCommandsTest, LoadingWithTheDialog) {
  giveScale();
  // A scale saved under the older numbering still opens.
  saveColourScaleToDefault(session);
  std::filesystem::rename(defaultFile, dir + "old.vdb_1");
  view.colourByRes = false;
  const ColourScale before = scale();

  files.cancel();
  loadColourScaleWithDialog(session);
  files.answer(dir + "missing.rsc");
  files.answer(dir + "old.vdb_1");
  for (int k = 0; k < 3; ++k) scale().colResBound[k] = -1;
  loadColourScaleWithDialog(session);

  const std::vector<std::string> messages = {
      NothingChosen, "Soubor" + dir + "missing.rsc" + "nexistuje. Zvolte jiný název!"};
  EXPECT_EQ(files.messages(), messages);
  for (int k = 0; k <= 3; ++k)
    EXPECT_EQ(scale().colResBound[k], before.colResBound[k == 3 ? 2 : k]);
  EXPECT_EQ(textOf(scale().colResFileName), dir + "old.vdb_1");
  EXPECT_TRUE(view.colourByRes);
  EXPECT_TRUE(chrome.checked[ColourByResMenuItem]);
  EXPECT_TRUE(chrome.checked[ColourByResPopupItem]);
  EXPECT_EQ(sectionRedraws, 1);
  ASSERT_EQ(files.requests.size(), 3u);
  EXPECT_EQ(files.requests[2].filter, "škála barev rezistivit|*.rsc*;*.vdb_*");
  EXPECT_EQ(files.requests[2].presetName, defaultFile);
}

TEST_F(ColourCommandsTest, DefaultScaleAtStartUp) {
  // Without the file, or with one that holds no count, the built-in scale:
  // 1, 2, 5 ... 10 000 ohm.m, blue (conductive) to red (resistive).
  for (const char* damaged : {"", "x\r\nmxpocet_bodu_barev\r\n"}) {
    if (*damaged) putBytes(defaultFile, damaged);
    loadDefaultColourScale(session);
    ASSERT_EQ(scale().colResCount, 14);
    EXPECT_EQ(scale().colResBound[4], 10);
    EXPECT_EQ(scale().colResBound[13], 10000);
    EXPECT_EQ(*resistivityColour(scale(), 3.0f) & 0xFF, 0) << "blue";
    EXPECT_EQ(*resistivityColour(scale(), 3000.0f) >> 8, 0) << "red";
  }
  EXPECT_EQ(files.messages(), (std::vector<std::string>{CannotOpen, NoCount}));
  std::filesystem::remove(defaultFile);
  EXPECT_EQ(textOf(scale().colResFileName), defaultFile);
  std::filesystem::remove(defaultFile);

  putBytes(dir + "ORVCOLRES.RSC", "x\r\nmxpocet_bodu_barev: 1\r\n0 0 ");  // from Windows
  files.clearRecords();
  loadDefaultColourScale(session);
  EXPECT_TRUE(files.messages().empty());
  EXPECT_EQ(scale().colResCount, 1);
  EXPECT_EQ(textOf(scale().colResFileName), dir + "ORVCOLRES.RSC");
  EXPECT_TRUE(files.questions().empty());
  EXPECT_EQ(sectionRedraws, 0);
}

TEST_F(ColourCommandsTest, ToggleSetsBothMarksAndRedraws) {
  toggleColourByRes(session);
  EXPECT_FALSE(view.colourByRes);
  EXPECT_FALSE(chrome.checked.at(ColourByResMenuItem));
  EXPECT_FALSE(chrome.checked.at(ColourByResPopupItem));
  toggleColourByRes(session);
  EXPECT_TRUE(view.colourByRes);
  EXPECT_TRUE(chrome.checked.at(ColourByResMenuItem));
  EXPECT_TRUE(chrome.checked.at(ColourByResPopupItem));
  EXPECT_EQ(sectionRedraws, 2);
  session.chrome = nullptr;
  toggleColourByRes(session);
  EXPECT_EQ(sectionRedraws, 3);
}

}  // namespace
}  // namespace orv::testing
