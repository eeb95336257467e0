#include "ui/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

using ui::FileDialogRequest;
using ui::ScriptedDialogs;

TEST(ScriptedDialogs, AnswersAreConsumedInOrderAcrossDialogKinds) {
  ScriptedDialogs d;
  d.answer("ves.kmt");
  d.answer("12,5");
  d.cancel();
  FileDialogRequest r;
  r.title = "Otevřít KMT";
  r.presetName = "a.kmt";
  EXPECT_EQ(d.openFile(r), std::optional<std::string>("ves.kmt"));
  EXPECT_EQ(d.inputQuery("Hloubka", "Zadej:", "1"), std::optional<std::string>("12,5"));
  EXPECT_EQ(d.saveFile(r), std::nullopt);
  EXPECT_EQ(d.pendingAnswers(), 0u);
  const std::vector<std::string> q = {"open|Otevřít KMT|a.kmt", "Hloubka|Zadej:|1",
                                      "save|Otevřít KMT|a.kmt"};
  EXPECT_EQ(d.questions(), q);
  EXPECT_TRUE(d.unexpected().empty());
}

TEST(ScriptedDialogs, RecordsMessagesAndCancelsUnscriptedQuestions) {
  ScriptedDialogs d;
  d.message("záznam nenačten");
  d.message("Soustřeďte se!");
  EXPECT_EQ(d.messages(), (std::vector<std::string>{"záznam nenačten", "Soustřeďte se!"}));
  EXPECT_EQ(d.inputQuery("c", "p", "x"), std::nullopt);
  ASSERT_EQ(d.unexpected().size(), 1u);
  EXPECT_EQ(d.unexpected()[0], "c|p|x");
  d.clearRecords();
  EXPECT_TRUE(d.messages().empty());
  EXPECT_TRUE(d.questions().empty());
}

TEST(ScriptedDialogs, ColoursHaveTheirOwnQueue) {
  ScriptedDialogs d;
  d.answer("text");
  d.answerColour(0x00FF00);
  d.cancelColour();
  EXPECT_EQ(d.chooseColour(0xFF), std::optional<ui::Colour>(0x00FF00));
  EXPECT_EQ(d.chooseColour(0xFF), std::nullopt);
  EXPECT_EQ(d.chooseColour(0xFF), std::nullopt);
  EXPECT_EQ(d.unexpected().size(), 1u);
  EXPECT_EQ(d.pendingAnswers(), 1u);  // the text answer is still waiting
  EXPECT_FALSE(d.printerSetup());
}

}  // namespace
