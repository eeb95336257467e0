#include "commands/section/ip_view_commands.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "commands/section/value_prompts.h"
#include "core/section/section_database.h"

namespace orv {
namespace {

// Each window step changes the IP line strength by this, so that the
// windows of a run are told apart by their width too.
constexpr float StrengthStep = 2.0f;

void redraw(SectionSession& session) {
  if (session.redraw) session.redraw();
}

// The windows of the current profile that may be read: a profile read
// without IP information counts -10 of them.
int ipWindowCount(SectionSession& session) {
  const SectionProfile* p = currentProfilePtr(session.db);
  return p ? std::clamp(p->num_IPoken, 0, MaxIpWindows) : 0;
}

// One step of the run: the picture of the new window, a pause before the
// next one.
void runTo(SectionSession& session, int window, float strengthStep, bool pauseFirst) {
  if (pauseFirst && session.pause) session.pause(IpWindowRunPauseMs);
  session.view.currentIpWindow = window;
  session.view.ipLineStrength += strengthStep;
  redraw(session);
}

// A bound of the interval; "Cancel" and an invalid text stand for the bound
// offered, the edge of the picture.
double askBound(SectionSession& session, const char* caption, const char* prompt, double offered) {
  std::optional<std::string> answer =
      session.dialogs.inputQuery(caption, prompt, formatReal(offered));
  if (!answer) return offered;
  std::optional<double> v = parseUserReal(*answer);
  if (!v) {
    session.dialogs.message("Soustřeďte se!");
    return offered;
  }
  return *v;
}

}  // namespace

void toggleIp(SectionSession& session) {
  session.view.showIp = !session.view.showIp;
  if (session.chrome) {
    session.chrome->setChecked(ShowIpItem, session.view.showIp);
    session.chrome->setChecked(ShowIpPopupItem, session.view.showIp);
  }
  redraw(session);
}

void askIpLineStrength(SectionSession& session) {
  float& strength = session.view.ipLineStrength;
  const std::string value = formatReal(strength);
  if (std::optional<float> v =
          askFloat(session, "Zadej sílu čáry VP (síla*VP=síla čáry):  ",
                   "(nyní je " + value + ") síla čáry VP = ", strength, "Soustřeďte se (číslo)!"))
    strength = *v;
  redraw(session);
}

void askCurrentIpWindow(SectionSession& session) {
  int32_t& current = session.view.currentIpWindow;
  const std::string value = cformat("%i", current);
  std::optional<std::string> answer =
      session.dialogs.inputQuery("Zadej aktuální index okna VP :  ",
                                 "(nyní je " + value + ") aktuální index okna VP = ", value);
  if (answer) {
    const int count = ipWindowCount(session);
    if (std::optional<int> k = parseUserInt(*answer)) {
      // A negative index is refused like a too large one: both name no window.
      if (*k >= 0 && *k < count)
        current = *k;
      else
        session.dialogs.message("Nelze -aktuální max. číslo okna je " + cformat("%i", count) +
                                " !");
    } else {
      session.dialogs.message("Soustřeďte se (celé číslo)!");
    }
  }
  redraw(session);
}

void previousIpWindow(SectionSession& session) {
  const int count = ipWindowCount(session);
  if (count < 2) return;
  SectionWindowState& v = session.view;
  // A window left over from a profile with more windows stands for the last.
  const int current = std::clamp(v.currentIpWindow, 0, count - 1);
  if (current > 0) {
    runTo(session, current - 1, -StrengthStep, false);
    return;
  }
  for (int k = 1; k < count; ++k) runTo(session, k, StrengthStep, k > 1);
}

void nextIpWindow(SectionSession& session) {
  const int count = ipWindowCount(session);
  if (count < 2) return;
  SectionWindowState& v = session.view;
  const int current = std::clamp(v.currentIpWindow, 0, count - 1);
  if (current < count - 1) {
    runTo(session, current + 1, StrengthStep, false);
    return;
  }
  for (int k = count - 2; k >= 0; --k) runTo(session, k, -StrengthStep, k < count - 2);
}

void removeFirstIpWindowInInterval(SectionSession& session) {
  const SectionLayout& l = session.view.layout;
  const double lower = askBound(session, "Zadej dolní mez pro smazání prvního okna VP:  ",
                                " dolní mez [m] = ", l.imageLeftChainage);
  const double upper = askBound(session, "Zadej horní mez pro smazání prvního okna VP:  ",
                                " horní mez [m] = ", l.imageRightChainage);
  SectionProfile* p = currentProfilePtr(session.db);
  // Without a window there is nothing to remove, and the count must not go
  // below zero (or below the mark of a profile without IP information).
  if (p && p->num_IPoken > 0) {
    const int windows = std::min(p->num_IPoken, MaxIpWindows);
    const int lastPoint = std::min(p->mxindex_bodu, MaxPointsPerProfile - 1);
    for (int b = 0; b <= lastPoint; ++b) {
      SectionPoint& pt = p->points[b];
      if (!(lower <= pt.profileChainage && pt.profileChainage <= upper)) continue;
      const int readings = std::clamp(pt.Mermx, 0, MaxReadings);
      for (int m = 0; m < readings; ++m) {
        float* row = pt.ipValue[m];
        for (int k = 0; k + 1 < windows; ++k) row[k] = row[k + 1];
        row[windows - 1] = 0.0f;
      }
    }
    p->num_IPoken -= 1;
    session.db.changed = true;
  }
  redraw(session);
}

}  // namespace orv
