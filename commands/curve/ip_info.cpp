// "zobraz zpoždění prvního a časy hranic každého okna - čas zapnutí Iab -
// vypnutí Iab - dobu měření VP po ": the window definition over the picture.
#include <string>

#include "commands/curve/chart_style.h"
#include "commands/curve/ip_commands.h"

namespace orv {

void showIpInfo(CurveSession& c) {
  const CurveWindowState& s = c.s;
  ui::Canvas& canvas = c.canvas;
  const std::string unit = "[Ohm.m]";
  canvas.textOut(s.imageWidth - chart::textWidth(canvas, unit), s.textHeight / 2, unit);
  const int x = s.imageWidth / 3;
  auto row = [&](int n, const std::string& text) { canvas.textOut(x, n * s.textHeight, text); };
  auto ms = [](int64_t v) { return std::to_string(v) + " ms"; };
  row(5, " počet oken pro zobrazení VP = " + std::to_string(s.ipWindowCount));
  row(6, " zpoždění prvního okna pro zobrazení VP = " + ms(s.ipWindowDelay));
  row(8, " začátek zapnutí proudu Iab = " + ms(s.ipLeadTime));
  row(9, " vypnutí proudu Iab = " + ms(s.ipOffTime));
  row(10, " doba měření VP po vypnutí Iab = " + ms(s.ipTailTime));
  row(12, " délka každého jednoho okna VP = " + ms(s.ipWindowLength));
  // Without a window there is no first or last one to tell of.
  if (s.ipWindowCount < 1) return;
  const int last = (s.ipWindowCount > MaxIpWindows ? MaxIpWindows : s.ipWindowCount) - 1;
  row(14, " začátek prvního okna od počátku měření Umn = " + ms(s.ipWindowStart[0]));
  row(15, " konec posledního okna od počátku měření Umn = " + ms(s.ipWindowEnd[last]));
  row(16, " konec posledního okna po vypnutí proudu Iab = " +
              ms(static_cast<int64_t>(s.ipWindowEnd[last]) - s.ipLeadTime - s.ipOnTime));
}

}  // namespace orv
