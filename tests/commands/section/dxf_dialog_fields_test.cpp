#include "commands/section/dxf_dialog_fields.h"

#include <gtest/gtest.h>

#include "ui/scripted_dialogs.h"

namespace orv {
namespace {

TEST(DxfDialogFields, ShowTheSettingsAndTakeBackOnlyNumbers) {
  DxfSettings s;
  s.dxfCrossWidth = 2.123456f;
  const DxfEditTexts shown = dxfEditTexts(s);
  EXPECT_EQ(shown.prevyseni, "5");
  EXPECT_EQ(shown.vetsivelikost, "0.15");
  EXPECT_EQ(shown.mensivelikost, "0.1");
  EXPECT_EQ(shown.sirkakriz, "2.1234") << "cut, not rounded, to four decimals";
  EXPECT_EQ(shown.krokpopx, "10");
  EXPECT_EQ(shown.krokticy, "1");

  DxfEditTexts typed = shown;
  typed.prevyseni = "2,5";
  typed.krokticx = "7";
  typed.krokpopy = "x";        // not a number: the setting stays
  typed.vyskasipky = "1e999";  // beyond a float: the setting stays
  ui::ScriptedDialogs dialogs;
  takeOverDxfEdits(s, typed, dialogs);
  EXPECT_EQ(
      dialogs.messages(),
      (std::vector<std::string>{"Soustřeďte se (celé číslo)! (krok popisu Z osy: x)",
                                "Soustřeďte se (číslo)! (výška znaku šipky pozice VES: 1e999)"}));
  EXPECT_FLOAT_EQ(s.dxfExaggeration, 2.5f);
  EXPECT_EQ(s.dxfTickX, 7);
  EXPECT_EQ(s.dxfLabelZ, 2);
  EXPECT_FLOAT_EQ(s.dxfArrowHeight, 1.0f);
  EXPECT_FLOAT_EQ(s.dxfCrossWidth, 2.1234f);
}

}  // namespace
}  // namespace orv
