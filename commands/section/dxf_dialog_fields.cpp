#include "commands/section/dxf_dialog_fields.h"

#include <cmath>
#include <optional>

#include "base/c_format.h"

namespace orv {
namespace {

std::string fourDecimals(float v) {
  return formatReal(std::trunc((double(v) + 0.000001) * 10000.0) * 0.0001);
}

void takeReal(float& field, const std::string& text) {
  if (std::optional<double> v = parseUserReal(text); v && std::isfinite(float(*v)))
    field = float(*v);
}

void takeInt(int32_t& field, const std::string& text) {
  if (std::optional<int> v = parseUserInt(text)) field = *v;
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

void takeOverDxfEdits(DxfSettings& s, const DxfEditTexts& t) {
  takeReal(s.dxfExaggeration, t.prevyseni);
  takeReal(s.dxfTextSmall, t.mensivelikost);
  takeReal(s.dxfTextLarge, t.vetsivelikost);
  takeInt(s.dxfLabelX, t.krokpopx);
  takeInt(s.dxfTickX, t.krokticx);
  takeInt(s.dxfLabelZ, t.krokpopy);
  takeInt(s.dxfTickZ, t.krokticy);
  takeReal(s.dxfCrossWidth, t.sirkakriz);
  takeReal(s.dxfCrossHeight, t.vyskakriz);
  takeReal(s.dxfArrowWidth, t.sirkasipky);
  takeReal(s.dxfArrowHeight, t.vyskasipky);
}

}  // namespace orv
