#include "commands/curve/equivalence_command.h"

#include <string>

#include "base/c_format.h"
#include "commands/curve/chart_style.h"
#include "commands/curve/curve_rendering.h"
#include "commands/curve/inversion_command.h"

namespace orv {

void showEquivalenceRanges(CurveSession& c) {
  CurveWindowState& s = c.s;
  EquivalenceOutcome e;
  const double q = s.equivalenceTolerance > 0 ? s.equivalenceTolerance : 0.0;
  auto ranges = [q](CurveWindowState& state, ui::Progress* progress) {
    return equivalenceRangesCore(state, q, progress);
  };
  if (!analyseAtMinimum(c, "Rozsahy ekvivalence", e, ranges)) return;
  ui::Canvas& canvas = c.canvas;
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setFontBold(false);
  chart::useOpaqueText(canvas, chart::Black);
  // The model table's rows: layer i's resistivity on row 7 + 2i, the depth
  // of its base on the row below; rows stand 1.1 text heights apart.
  auto row = [&](int r) { return s.textHeight * r * 11 / 10; };
  auto write = [&](int r, const std::string& text) {
    if (text.empty()) return;
    canvas.textOut(s.plotRight - 2 - chart::textWidth(canvas, text), row(r), text);
  };
  write(5, "(1 + " + cformat("%.3g", q) + ") × SSQ = " + cformat("%.6f", e.limit));
  for (int i = 0; i < e.layers; ++i) {
    const RangeRows rows = equivalenceRows(e, i);
    write(7 + 2 * i, rows.first);
    canvas.setFontColour(chart::Grey);
    write(8 + 2 * i, rows.second);
    canvas.setFontColour(chart::Black);
  }
}

}  // namespace orv
