#include "commands/section/dxf_dialog_fields.h"

#include <cmath>
#include <optional>

#include "base/c_format.h"

namespace orv {
namespace {

std::string fourDecimals(float v) {
  return formatReal(std::trunc((double(v) + 0.000001) * 10000.0) * 0.0001);
}

// The field is named as the user knows it, with the text that was refused.
void tellNotANumber(ui::Dialogs& dialogs, const char* message, const char* field,
                    const std::string& text) {
  dialogs.message(std::string(message) + " (" + field + ": " + text + ")");
}

}  // namespace

DxfEditTexts dxfEditTexts(const DxfSettings& s) {
  DxfEditTexts t;
  t.prevyseni = formatReal(s.dxfExaggeration);
  t.mensivelikost = fourDecimals(s.dxfTextSmall);
  t.vetsivelikost = fourDecimals(s.dxfTextLarge);
  t.krokpopx = cformat("%i", s.dxfLabelX);
  t.krokticx = cformat("%i", s.dxfTickX);
  t.krokpopy = cformat("%i", s.dxfLabelZ);
  t.krokticy = cformat("%i", s.dxfTickZ);
  t.sirkakriz = fourDecimals(s.dxfCrossWidth);
  t.vyskakriz = fourDecimals(s.dxfCrossHeight);
  t.sirkasipky = fourDecimals(s.dxfArrowWidth);
  t.vyskasipky = fourDecimals(s.dxfArrowHeight);
  return t;
}

void takeOverDxfEdits(DxfSettings& s, const DxfEditTexts& t, ui::Dialogs& dialogs) {
  const auto takeReal = [&dialogs](float& value, const std::string& text, const char* field) {
    if (std::optional<double> v = parseUserReal(text); v && std::isfinite(float(*v)))
      value = float(*v);
    else
      tellNotANumber(dialogs, "Soustřeďte se (číslo)!", field, text);
  };
  const auto takeInt = [&dialogs](int32_t& value, const std::string& text, const char* field) {
    if (std::optional<int> v = parseUserInt(text))
      value = *v;
    else
      tellNotANumber(dialogs, "Soustřeďte se (celé číslo)!", field, text);
  };
  takeReal(s.dxfExaggeration, t.prevyseni, "převýšení řezu výkresu DXF");
  takeReal(s.dxfTextSmall, t.mensivelikost, "velikost menších písmen v DXF řezu");
  takeReal(s.dxfTextLarge, t.vetsivelikost, "velikost větších písmen v DXF řezu");
  takeInt(s.dxfLabelX, t.krokpopx, "krok popisu X osy");
  takeInt(s.dxfTickX, t.krokticx, "krok tiku X osy");
  takeInt(s.dxfLabelZ, t.krokpopy, "krok popisu Z osy");
  takeInt(s.dxfTickZ, t.krokticy, "krok tiku Z osy");
  takeReal(s.dxfCrossWidth, t.sirkakriz, "šířka znaku rozhraní dle VES");
  takeReal(s.dxfCrossHeight, t.vyskakriz, "výška znaku rozhraní dle VES");
  takeReal(s.dxfArrowWidth, t.sirkasipky, "šířka znaku šipky pozice VES");
  takeReal(s.dxfArrowHeight, t.vyskasipky, "výška znaku šipky pozice VES");
}

}  // namespace orv
