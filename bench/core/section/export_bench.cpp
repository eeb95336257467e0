// Speed of the exports: the DXF drawing of a 50-point profile with 10
// boundary lines within 50 ms, and the layered grid (the colouring pass
// with writeBandGrid as its band writer) of the same profile within 200 ms.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "base/zeroed_block.h"
#include "commands/section/database_commands.h"
#include "core/section/contour_grids.h"
#include "core/section/dxf_export.h"
#include "core/section/layer_colouring.h"
#include "core/section/section_layout.h"
#include "core/section/section_window_state.h"
#include "ui/null_canvas.h"

namespace {

struct Profile {
  orv::ZeroedBlock<orv::SectionDatabase> db;
  std::unique_ptr<orv::SectionWindowState> view = std::make_unique<orv::SectionWindowState>();

  Profile() {
    orv::setInitialDatabaseState(*db);
    orv::SectionProfile& p = db->profiles[0];
    p.mxindex_bodu = 49;
    for (int b = 0; b < 50; ++b) {
      orv::SectionPoint& pt = p.points[b];
      pt.profileChainage = pt.surfaceChainage = 20.0f * b;
      pt.pointZ = 300.0f + 5.0f * std::sin(b * 0.3);
      pt.MDLmx = 7;
      for (int i = 0; i < 8; ++i) pt.layerRho[i] = 10.0f + 37.0f * ((b + 3 * i) % 11);
      for (int i = 0; i < 7; ++i) pt.layerDepth[i] = 1.5f * (i + 1) * (i + 1);
      pt.ABmx = 30;
    }
    p.HBV_pocet = 10;
    for (int l = 0; l < 10; ++l) {
      for (int b = 0; b < 50; ++b) {
        p.HBV_x[l][b] = p.points[b].profileChainage;
        p.HBV_z[l][b] = p.points[b].pointZ - p.points[b].layerDepth[l % 7];
      }
      p.HBV_pocetBodu[l] = 50;
    }
    orv::setViewForReadDatabase(*view);
    view->colourScale.colResCount = 8;
    for (int k = 0; k < 8; ++k) view->colourScale.colResBound[k] = k * 60;
    ui::NullCanvas canvas(3200, 2000, 7, 13);
    orv::computeSectionLayout(*db, *view, canvas, ui::ScreenSize{1600, 1000});
    orv::completeSectionLayout(*view, view->layout);
  }
};

void BM_ExportDxf50Points10Lines(benchmark::State& state) {
  Profile f;
  for (auto _ : state) {
    orv::DxfSettings settings;
    benchmark::DoNotOptimize(orv::dxfDocument(*f.db, *f.view, settings));
  }
}
BENCHMARK(BM_ExportDxf50Points10Lines)->Unit(benchmark::kMillisecond);

void BM_LayerGridPass50Points10Lines(benchmark::State& state) {
  Profile f;
  for (auto _ : state) {
    std::string out;
    orv::colourLayers(*f.db, *f.view, orv::bandGridWriter(out));
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_LayerGridPass50Points10Lines)->Unit(benchmark::kMillisecond);

}  // namespace
