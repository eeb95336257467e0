// Speed of the curve window's picture operations on a 1600 x 1000 canvas. A
// full repaint (fill, ~100 grid lines, a few hundred short wide segments,
// ~30 texts) must stay well under 5 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <random>
#include <vector>

#include "qt/qimage_canvas.h"

namespace {

void ensureApplication() {
  static std::unique_ptr<QApplication> app;
  if (app) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "canvas_bench_gui";
  static char* argv[] = {name, nullptr};
  app = std::make_unique<QApplication>(argc, argv);
}

constexpr int W = 1600;
constexpr int H = 1000;

std::vector<ui::Point> walk(int count, int step, unsigned seed) {
  std::mt19937 g(seed);
  std::uniform_int_distribution<int> d(-step, step);
  std::vector<ui::Point> pts;
  ui::Point p{W / 2, H / 2};
  for (int i = 0; i < count; ++i) {
    pts.push_back(p);
    p.x = std::clamp(p.x + d(g), 0, W - 1);
    p.y = std::clamp(p.y + d(g), 0, H - 1);
  }
  return pts;
}

void BM_FullFill(benchmark::State& state) {
  ensureApplication();
  ui::QImageCanvas c(W, H);
  c.setBrushColour(0xFFFFFF);
  for (auto _ : state) {
    c.fillRect(0, 0, W, H);
    benchmark::DoNotOptimize(c.image().constBits());
  }
}
BENCHMARK(BM_FullFill)->Unit(benchmark::kMicrosecond);

void BM_XorSegments200Width2(benchmark::State& state) {
  ensureApplication();
  ui::QImageCanvas c(W, H);
  c.setPenMode(ui::PenMode::Xor);
  c.setPenWidth(2);
  c.setPenColour(0xFFFF00);
  const auto pts = walk(201, 7, 1);
  for (auto _ : state) {
    for (int i = 0; i < 200; ++i) {
      c.moveTo(pts[i].x, pts[i].y);
      c.lineTo(pts[i + 1].x, pts[i + 1].y);
    }
    benchmark::DoNotOptimize(c.image().constBits());
  }
}
BENCHMARK(BM_XorSegments200Width2)->Unit(benchmark::kMicrosecond);

void BM_XorPolyline128Width2(benchmark::State& state) {
  ensureApplication();
  ui::QImageCanvas c(W, H);
  c.setPenMode(ui::PenMode::Xor);
  c.setPenWidth(2);
  c.setPenColour(0xFFFF00);
  const auto pts = walk(128, 7, 2);
  for (auto _ : state) {
    c.polyline(pts.data(), static_cast<int>(pts.size()));
    benchmark::DoNotOptimize(c.image().constBits());
  }
}
BENCHMARK(BM_XorPolyline128Width2)->Unit(benchmark::kMicrosecond);

void BM_TextOut30(benchmark::State& state) {
  ensureApplication();
  ui::QImageCanvas c(W, H);
  c.setFontColour(0x000000);
  c.setBrushColour(0xFFFFFF);
  for (auto _ : state) {
    for (int i = 0; i < 30; ++i) c.textOut(20 + 40 * i, 30 + 25 * i, "-12.34-");
    benchmark::DoNotOptimize(c.image().constBits());
  }
}
BENCHMARK(BM_TextOut30)->Unit(benchmark::kMicrosecond);

// The whole curve window repaint in one figure.
void BM_CurveWindowRepaint(benchmark::State& state) {
  ensureApplication();
  ui::QImageCanvas c(W, H);
  const auto pts = walk(301, 6, 3);
  for (auto _ : state) {
    c.setPenMode(ui::PenMode::Copy);
    c.setBrushColour(0xFFFFFF);
    c.fillRect(0, 0, W, H);
    c.setPenColour(0xC0C0C0);
    for (int i = 0; i < 50; ++i) {
      c.setPenWidth(i % 9 == 0 ? 2 : 1);
      c.moveTo(60 + 30 * i, 40);
      c.lineTo(60 + 30 * i, H - 40);
      c.moveTo(60, 40 + 19 * i);
      c.lineTo(W - 60, 40 + 19 * i);
    }
    c.setPenMode(ui::PenMode::Xor);
    c.setPenWidth(2);
    c.setPenColour(0xFFFF00);
    for (int i = 0; i < 300; ++i) {
      c.moveTo(pts[i].x, pts[i].y);
      c.lineTo(pts[i + 1].x, pts[i + 1].y);
    }
    for (int i = 0; i < 30; ++i) c.textOut(5, 30 * i, "100.0     ");
    benchmark::DoNotOptimize(c.image().constBits());
  }
}
BENCHMARK(BM_CurveWindowRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
