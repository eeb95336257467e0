// Any bytes as orv.ini, read over settings that are not the defaults: the
// reals the export draws with are finite, what is read survives being written
// and read again, and the DXF drawing of a small profile can be made with it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/zeroed_block.h"
#include "core/section/dxf_export.h"
#include "core/section/dxf_settings.h"
#include "core/section/section_database.h"
#include "core/section/section_window_state.h"
#include "fuzz/support/fuzz_file.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

constexpr float orv::DxfSettings::*kReals[] = {
    &orv::DxfSettings::dxfExaggeration, &orv::DxfSettings::dxfTextLarge,
    &orv::DxfSettings::dxfTextSmall,    &orv::DxfSettings::dxfCrossWidth,
    &orv::DxfSettings::dxfCrossHeight,  &orv::DxfSettings::dxfArrowWidth,
    &orv::DxfSettings::dxfArrowHeight};
constexpr int32_t orv::DxfSettings::*kIntegers[] = {
    &orv::DxfSettings::dxfTickX, &orv::DxfSettings::dxfLabelX, &orv::DxfSettings::dxfTickZ,
    &orv::DxfSettings::dxfLabelZ};

orv::DxfSettings startingPoint() {
  orv::DxfSettings s;
  for (auto m : kReals) s.*m = NAN;
  for (auto m : kIntegers) s.*m = -77;
  s.dxfFileName = "posledni.dxf";
  return s;
}

// Two points 100 m apart over a picture of 190..300 m, 1 px per metre.
void prepare(orv::SectionDatabase& db, orv::SectionWindowState& view) {
  db.currentProfile = 0;
  orv::SectionProfile& p = db.profiles[0];
  p.scaleX = 0.001f;
  p.mxindex_bodu = 1;
  for (int i = 0; i < 2; ++i) {
    orv::SectionPoint& pt = p.points[i];
    pt.profileChainage = pt.surfaceChainage = 100.0f * i;
    pt.pointZ = 250.0f;
    pt.ABmx = 20;
    pt.MDLmx = 1;
    pt.layerRho[0] = 100.0f, pt.layerRho[1] = 300.0f;
    pt.layerDepth[0] = 4.0f;
  }
  orv::SectionLayout& l = view.layout;
  l.pxPerMetreX = l.pxPerMetreZ = 1.0;
  l.dataMinChainage = 0.0, l.dataMaxChainage = 100.0;
  l.imageLeftChainage = -20.0;
  l.imageBottomElevation = 190.0, l.imageTopElevation = 300.0;
  l.frameLeft = 5, l.frameRight = 135, l.frameBottom = 100;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzInputFile path(data, size, ".ini");
  orv::DxfSettings s = startingPoint();
  check(orv::readDxfSettingsFile(s, path.c_str()));
  for (auto m : kReals) check(std::isfinite(s.*m));
  check(s.dxfFileName == "posledni.dxf");

  // What was read is written as the program writes it and read back: the
  // integers come back as they were, the reals stay finite.
  const std::string text = orv::dxfSettingsFileText(s);
  const FuzzInputFile again(reinterpret_cast<const uint8_t*>(text.data()), text.size(), ".2.ini");
  orv::DxfSettings back = startingPoint();
  check(orv::readDxfSettingsFile(back, again.c_str()));
  for (auto m : kIntegers) check(back.*m == s.*m);
  for (auto m : kReals) check(std::isfinite(back.*m));

  static orv::ZeroedBlock<orv::SectionDatabase> db;
  static orv::SectionWindowState view;
  static bool prepared = false;
  if (!prepared) {
    prepare(*db, view);
    prepared = true;
  }
  const std::string dxf = orv::dxfDocument(*db, view, s);
  // The drawing is written to its end whatever the steps and sizes are.
  check(dxf.find("EOF", dxf.size() > 8 ? dxf.size() - 8 : 0) != std::string::npos);
  return 0;
}
