// Speed of the section picture: paintSection of a 50-point profile with
// 8-layer models and their curves on a 1600 x 1000 screen (bitmap twice the
// screen) within 20 ms; the axis loops at the view limits a database is read
// with (+-1000000 m, +-10000 m) within 1 ms; a coloured repaint of 50
// soundings x 8 layers x 10 boundary lines within 50 ms, and the same at the
// profile's full capacity (420 soundings, 199 lines of 169 vertices): the
// whole repaint, and the colouring in it (preparation, line searches, band
// fills) with the indexed searches beside the plain scans they replaced.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <memory>

#include "base/zeroed_block.h"
#include "commands/section/database_commands.h"
#include "commands/section/section_axes.h"
#include "commands/section/section_painting.h"
#include "core/section/layer_colouring.h"
#include "core/section/section_window_state.h"
#include "qt/qimage_canvas.h"
#include "tests/core/section/scanning_line_searches.h"
#include "ui/null_canvas.h"

namespace {

constexpr ui::ScreenSize Screen{1600, 1000};

void ensureApplication() {
  static std::unique_ptr<QApplication> app;
  if (app) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "section_paint_bench_gui";
  static char* argv[] = {name, nullptr};
  app = std::make_unique<QApplication>(argc, argv);
}

// 50 points 20 m apart, 8 layers each, curves on cells 0..40, and a scale
// of 8 colours.
void fillProfile(orv::SectionDatabase& db, orv::SectionWindowState& view) {
  orv::setInitialDatabaseState(db);
  orv::SectionProfile& p = db.profiles[0];
  p.scaleX = 1.0f / 1000;
  p.scaleZ = 1.0f / 1000;
  p.mxindex_bodu = 49;
  for (int b = 0; b < 50; ++b) {
    orv::SectionPoint& pt = p.points[b];
    pt.profileChainage = pt.surfaceChainage = 20.0f * b;
    pt.pointZ = 300.0f + 5.0f * std::sin(b * 0.3);
    pt.MDLmx = 7;
    for (int i = 0; i < 8; ++i) pt.layerRho[i] = 10.0f + 37.0f * ((b + 3 * i) % 11);
    for (int i = 0; i < 7; ++i) pt.layerDepth[i] = 1.5f * (i + 1) * (i + 1);
    pt.nABmn = 0;
    pt.ABmx = 40;
    for (int g = 0; g <= 40; ++g) pt.compositeRho[g] = 50.0f + 30.0f * std::sin(g * 0.2 + b);
    pt.fitError = 0.05f;
  }
  orv::setViewForReadDatabase(view);
  view.showCurves = true;
  orv::ColourScale& s = view.colourScale;
  s.colResCount = 8;
  for (int k = 0; k < 8; ++k) {
    s.colResBound[k] = k * 60;
    s.colResColor[k] = 0x101010 * (k + 4);
  }
}

void BM_PaintSection50Points8LayersWithCurves(benchmark::State& state) {
  ensureApplication();
  orv::ZeroedBlock<orv::SectionDatabase> db;
  auto view = std::make_unique<orv::SectionWindowState>();
  fillProfile(*db, *view);
  ui::QImageCanvas canvas(2 * Screen.width, 2 * Screen.height);
  for (auto _ : state) {
    orv::paintSection(*db, *view, canvas, Screen);
    benchmark::DoNotOptimize(canvas.image().constBits());
  }
}
BENCHMARK(BM_PaintSection50Points8LayersWithCurves)->Unit(benchmark::kMillisecond);

// Both axes over the widest view limits: only the ticks inside the frame
// draw, so the loops must not walk the 400000 steps of the whole range.
void BM_AxesAtTheViewLimitsOfAReadDatabase(benchmark::State& state) {
  orv::ZeroedBlock<orv::SectionDatabase> db;
  auto view = std::make_unique<orv::SectionWindowState>();
  fillProfile(*db, *view);
  ui::NullCanvas canvas(2 * Screen.width, 2 * Screen.height, 7, 13);
  orv::paintSection(*db, *view, canvas, Screen);
  for (auto _ : state) {
    orv::drawChainageAxis(*view, canvas);
    orv::drawElevationAxis(*view, canvas);
  }
}
BENCHMARK(BM_AxesAtTheViewLimitsOfAReadDatabase)->Unit(benchmark::kMicrosecond);

// Boundary lines along the interfaces: line i joins interface i % 7 of every
// sounding it spans, vertices on the soundings and between them.
void addBoundaryLines(orv::SectionProfile& p, int lines, int vertices) {
  const int points = p.mxindex_bodu + 1;
  p.HBV_pocet = lines;
  for (int i = 0; i < lines; ++i) {
    const int layer = i % 7;
    const int first = (i * 3) % std::max(points - 1, 1);
    int n = 0;
    for (int k = first; k < points && n < vertices; ++k) {
      const orv::SectionPoint& pt = p.points[k];
      p.HBV_x[i][n] = pt.profileChainage;
      p.HBV_z[i][n] = pt.pointZ - std::fabs(pt.layerDepth[layer]);
      ++n;
    }
    p.HBV_pocetBodu[i] = n;
  }
}

// A profile of `points` soundings 20 m apart with `lines` boundary lines,
// coloured.
void fillColouredProfile(orv::SectionDatabase& db, orv::SectionWindowState& view, int points,
                         int lines, int vertices) {
  fillProfile(db, view);
  orv::SectionProfile& p = db.profiles[0];
  p.mxindex_bodu = points - 1;
  for (int b = 50; b < points; ++b) p.points[b] = p.points[b % 50];
  for (int b = 0; b < points; ++b) p.points[b].profileChainage = 20.0f * b;
  p.scaleX = 1.0f / (points > 50 ? 10000 : 1000);
  addBoundaryLines(p, lines, vertices);
  view.showCurves = false;
  view.colourLayersMode = true;
}

void colouredRepaint(benchmark::State& state, int points, int lines, int vertices) {
  ensureApplication();
  orv::ZeroedBlock<orv::SectionDatabase> db;
  auto view = std::make_unique<orv::SectionWindowState>();
  fillColouredProfile(*db, *view, points, lines, vertices);
  ui::QImageCanvas canvas(2 * Screen.width, 2 * Screen.height);
  for (auto _ : state) {
    orv::paintSection(*db, *view, canvas, Screen);
    benchmark::DoNotOptimize(canvas.image().constBits());
  }
}

void BM_ColouredRepaint50Soundings8Layers10Lines(benchmark::State& state) {
  colouredRepaint(state, 50, 10, 50);
}
BENCHMARK(BM_ColouredRepaint50Soundings8Layers10Lines)->Unit(benchmark::kMillisecond);

void BM_ColouredRepaintAtFullCapacity(benchmark::State& state) {
  colouredRepaint(state, orv::MaxPointsPerProfile, orv::MaxUserHbvLines, orv::MaxMouseHbvVertices);
}
BENCHMARK(BM_ColouredRepaintAtFullCapacity)->Unit(benchmark::kMillisecond)->Iterations(2);

// The colouring alone at full capacity, on the layout of a repaint: the
// preparation, the line searches and the band fills into the picture.
void colouringAtFullCapacity(benchmark::State& state, const orv::LineSearches& searches) {
  ensureApplication();
  orv::ZeroedBlock<orv::SectionDatabase> db;
  auto view = std::make_unique<orv::SectionWindowState>();
  fillColouredProfile(*db, *view, orv::MaxPointsPerProfile, orv::MaxUserHbvLines,
                      orv::MaxMouseHbvVertices);
  ui::QImageCanvas canvas(2 * Screen.width, 2 * Screen.height);
  orv::paintSection(*db, *view, canvas, Screen);
  for (auto _ : state) {
    orv::colourLayers(*db, *view, orv::bandFiller(canvas, *view), searches);
    benchmark::DoNotOptimize(canvas.image().constBits());
  }
}

void BM_ColouringAtFullCapacity(benchmark::State& state) {
  colouringAtFullCapacity(state, {});
}
BENCHMARK(BM_ColouringAtFullCapacity)->Unit(benchmark::kMillisecond);

void BM_ColouringAtFullCapacityWithThePlainScans(benchmark::State& state) {
  colouringAtFullCapacity(state, orv::testing::ScanningSearches);
}
BENCHMARK(BM_ColouringAtFullCapacityWithThePlainScans)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
