#include "commands/section/section_click.h"

#include <algorithm>
#include <cstdlib>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/section/section_operations.h"
#include "commands/section/section_painting.h"
#include "core/section/section_layout.h"

namespace orv {
namespace {

int lastPointIndex(const SectionProfile& p) {
  return std::min(p.mxindex_bodu, MaxPointsPerProfile - 1);
}

void drawClickStatus(ui::Canvas& canvas, int stripHeight, const std::string& text) {
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setBrushStyle(ui::BrushStyle::Solid);
  canvas.setBrushColour(0xFFFFFF);
  canvas.fillRect(0, 0, canvas.width(), stripHeight);
  canvas.setFontColour(0x000000);
  canvas.setFontBold(false);
  canvas.setTextTransparent(true);
  canvas.textOut(0, 0, text);
}

}  // namespace

int nearestPointByColumn(const SectionDatabase& db, const SectionLayout& layout, int x) {
  const SectionProfile* p = currentProfilePtr(db);
  if (!p) return -1;
  int best = -1;
  long bestDistance = 0;
  for (int b = 0; b <= lastPointIndex(*p); ++b) {
    const long d = std::labs(long(chainageToPixel(layout, p->points[b].profileChainage)) - x);
    if (best < 0 || d < bestDistance) {
      best = b;
      bestDistance = d;
    }
  }
  return best;
}

std::string clickStatusHead(const SectionDatabase& db, bool showIp, int ipWindow) {
  const SectionProfile* p = currentProfilePtr(db);
  std::string text = "lokalita: " + shownText(db.localityName) + " - pf: ";
  if (p) text += shownText(p->profileName);
  if (!showIp || !p) return text;
  if (const std::optional<IpWindowTimes> t = ipWindowTimes(*p, std::max(ipWindow, 0)))
    text += " - oknoVP: " + cformat("%i", t->start) + " - " + cformat("%i", t->end) + " ms poOff";
  return text;
}

std::string clickStatusText(const SectionDatabase& db, bool showIp, int ipWindow, double depth,
                            double elevation) {
  std::string text = clickStatusHead(db, showIp, ipWindow);
  text += " - klik: hl.: " + cformat("%.1f", depth) + " m a výška: " + cformat("%.1f", elevation) +
          " m";
  text.append(ClickStatusTrailingBlanks, ' ');
  return text;
}

void sectionLeftClick(SectionSession& session, int x, int y) {
  SectionDatabase& db = session.db;
  const SectionProfile* p = currentProfilePtr(db);
  if (!p || p->mxindex_bodu < 0) return;
  const int b = nearestPointByColumn(db, session.view.layout, x);
  if (b < 0) return;

  const SectionPoint& pt = p->points[b];
  // A point whose composite curve has a single cell is what is left of a
  // sounding without usable readings; the click clears it away, unless it is
  // the profile's only point.
  if (pt.ABmx - pt.nABmn < 1 && p->mxindex_bodu > 0) {
    // Kept when the user does not confirm: the curve window still edits the
    // point selected before.
    const int selected = db.currentPoint;
    db.currentPoint = b;
    if (!askDeleteCurrentPoint(session)) db.currentPoint = selected;
    return;
  }
  loadPoint(session, b);

  const SectionLayout& l = session.view.layout;
  double elevation = 0.0;
  double depth = 0.0;
  if (l.pxPerMetreZ > 0.0) {
    elevation = l.imageTopElevation - y / l.pxPerMetreZ;
    depth = pt.pointZ - elevation;
  }
  if (session.canvas)
    drawClickStatus(
        *session.canvas, l.sectionTextHeight,
        clickStatusText(db, session.view.showIp, session.view.currentIpWindow, depth, elevation));
}

}  // namespace orv
