// The IP windows and the switches of their display (menu "VP").
#include <algorithm>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "commands/curve/ip_commands.h"
#include "core/curve/ip_window_layout.h"

namespace orv {
namespace {

constexpr const char* IntegerPlease = "Soustřeďte se (celé číslo)!";

// One IP input box: the typed integer, the old value after a text that is no
// integer (with its message), nullopt after a cancel.
std::optional<int32_t> askIpInteger(CurveSession& c, const std::string& caption,
                                    const std::string& prompt, int32_t shown, int32_t old) {
  const std::optional<std::string> text =
      c.dialogs.inputQuery(caption, prompt, cformat("%i", shown));
  if (!text) return std::nullopt;
  if (const std::optional<int> v = parseUserInt(*text)) return *v;
  c.dialogs.message(IntegerPlease);
  return old;
}

void redraw(CurveSession& c) {
  if (c.s.curveLoaded) repaintCurveWindow(c);
}

}  // namespace

void editWindowPattern(CurveSession& c) {
  CurveWindowState& s = c.s;
  const std::optional<int32_t> count =
      askIpInteger(c, "Zadej počet oken pro vynesení průměrné zdánlivé polarizace (VP): ",
                   " počet VP oken: ", s.ipWindowCount, s.ipWindowCount);
  if (!count) return;
  const std::optional<int32_t> delay =
      askIpInteger(c, "Zadej zpoždění začátku prvního okna po vypnutí Iab: ",
                   " zpoždění VP 1. okena: ", s.ipWindowDelay, s.ipWindowDelay);
  if (!delay) return;
  const std::optional<int32_t> length =
      askIpInteger(c, "Zadej délku oken pro vynesení průměrné zdánlivé polarizace (VP): ",
                   " délka VP oken: ", s.ipWindowLength, s.ipWindowLength);
  if (!length) return;
  s.ipWindowDelay = *delay;
  s.ipWindowLength = *length;
  if (*count < 0) {
    // Fewer than none leaves the windows undefined, so that the next IP
    // file still brings its own; the count offered before any window was
    // defined, confirmed as it stands, says nothing.
    if (*count != s.ipWindowCount)
      c.dialogs.message("Počet oken VP nemůže být záporný; nebude žádné okno.");
    s.ipWindowCount = IpWindowsUndefined;
    return;
  }
  s.ipWindowCount = *count;
  // At most the 20 windows the arrays hold.
  if (*count > MaxIpWindows)
    c.dialogs.message(
        cformat("Oken VP může být nejvýše %i; počet oken je %i.", MaxIpWindows, MaxIpWindows));
  layOutIpWindows(s);
}

void editWindowTimes(CurveSession& c) {
  CurveWindowState& s = c.s;
  const int windows = std::clamp(s.ipWindowCount, 0, MaxIpWindows);
  for (int w = 0; w < windows; ++w) {
    const std::string n = std::to_string(w + 1);
    const std::optional<int32_t> start = askIpInteger(
        c, "Zadej začátek " + n + ". okna pro vynesení průměrné zdánlivé polarizace (VP): ",
        "začátek " + n + ". okna [ms od vypnutí Iab]: ", w * 100 + 150, s.ipWindowStart[w]);
    if (!start) break;
    s.ipWindowStart[w] = *start;
    const std::optional<int32_t> end = askIpInteger(
        c, "Zadej konec " + n + ". okna pro vynesení průměrné zdánlivé polarizace (VP): ",
        "konec " + n + ". okna [ms od vypnutí Iab]: ", w * 100 + 250, s.ipWindowEnd[w]);
    if (!end) break;
    s.ipWindowEnd[w] = *end;
  }
  redraw(c);
}

void askIpMaxShown(CurveSession& c) {
  CurveWindowState& s = c.s;
  const std::optional<int32_t> v =
      askIpInteger(c, "Zadej maximální polarizovatelnost (naose v pravo z VP): ",
                   " max.zobrazebná polarizovatelnost: ", s.ipMaxShown, s.ipMaxShown);
  if (!v) return;
  // The values and the outlier editing divide by it.
  if (*v < 1) {
    c.dialogs.message(IntegerPlease);
    return;
  }
  s.ipMaxShown = *v;
  redraw(c);
}

void toggleIpIsolines(CurveSession& c) {
  c.s.ipAsIsolines = !c.s.ipAsIsolines;
  redraw(c);
}

void toggleDecayCurves(CurveSession& c) {
  c.s.showDecayCurves = !c.s.showDecayCurves;
  c.chrome.setChecked(DecayCurvesItem, c.s.showDecayCurves);
  redraw(c);
}

}  // namespace orv
