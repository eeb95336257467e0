// The edits of the DXF settings dialog "Parametry exportu řezů do DXF": what
// they show for the settings, and how their texts are taken back.
#pragma once

#include <string>

#include "core/section/dxf_settings.h"
#include "ui/dialogs.h"

namespace orv {

struct DxfEditTexts {
  std::string prevyseni;      // dxfExaggeration
  std::string mensivelikost;  // dxfTextSmall
  std::string vetsivelikost;  // dxfTextLarge
  std::string krokpopx;       // dxfLabelX
  std::string krokticx;       // dxfTickX
  std::string krokpopy;       // dxfLabelZ
  std::string krokticy;       // dxfTickZ
  std::string sirkakriz;      // dxfCrossWidth
  std::string vyskakriz;      // dxfCrossHeight
  std::string sirkasipky;     // dxfArrowWidth
  std::string vyskasipky;     // dxfArrowHeight
};

// The exaggeration in its default text form, the steps as integers and the
// sizes cut to four decimals.
DxfEditTexts dxfEditTexts(const DxfSettings& s);

// However the dialog was closed, the edits are taken over in their order; a
// text that is not a number keeps the value it would have replaced (a
// dialog must not leave a setting the drawing cannot use) and is told with
// "Soustřeďte se (číslo)!" or "Soustřeďte se (celé číslo)!", naming the field
// and the text.
void takeOverDxfEdits(DxfSettings& s, const DxfEditTexts& t, ui::Dialogs& dialogs);

}  // namespace orv
