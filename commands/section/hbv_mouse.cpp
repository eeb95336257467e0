#include "commands/section/hbv_mouse.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/section/section_click.h"
#include "commands/section/section_colours.h"
#include "commands/section/section_painting.h"
#include "core/section/boundary_lines.h"
#include "core/section/section_layout.h"

namespace orv {
namespace {

// The mouse acts on the picture of a profile with soundings only.
bool hasPoint(const SectionProfile* p) {
  return p && p->mxindex_bodu >= 0;
}

// Counts as a file may have left them, held within the arrays (a line just
// opened counts as empty).
int lineCount(const SectionProfile& p) {
  return std::clamp(p.HBV_pocet, 0, MaxHbvLines);
}

int vertexCount(const SectionProfile& p, int line) {
  return std::clamp(p.HBV_pocetBodu[line], 0, MaxHbvVertices);
}

bool isLine(const SectionProfile& p, int line) {
  return line >= 0 && line < lineCount(p);
}

bool isVertex(const SectionProfile& p, int line, int vertex) {
  return isLine(p, line) && vertex >= 0 && vertex < vertexCount(p, line);
}

ui::Point vertexPixel(const SectionLayout& l, const SectionProfile& p, int line, int vertex) {
  return {chainageToPixel(l, p.HBV_x[line][vertex]), elevationToPixel(l, p.HBV_z[line][vertex])};
}

int64_t squaredDistance(ui::Point a, int x, int y) {
  const int64_t dx = int64_t(a.x) - x;
  const int64_t dy = int64_t(a.y) - y;
  return dx * dx + dy * dy;
}

// The vertex of line nearest to (x, y) in pixels, the first on ties; -1
// when the line has none.
int nearestVertex(const SectionLayout& l, const SectionProfile& p, int line, int x, int y,
                  int64_t* distance = nullptr) {
  int best = -1;
  int64_t bestDistance = 0;
  for (int j = 0; j < vertexCount(p, line); ++j) {
    const int64_t d = squaredDistance(vertexPixel(l, p, line, j), x, y);
    if (best < 0 || d < bestDistance) {
      best = j;
      bestDistance = d;
    }
  }
  if (distance) *distance = bestDistance;
  return best;
}

// The handlers draw over the picture between repaints; the pen the
// painting left is put back afterwards.
class PenScope {
 public:
  explicit PenScope(ui::Canvas& c)
      : canvas_(c), colour_(c.penColour()), width_(c.penWidth()), mode_(c.penMode()) {}
  ~PenScope() {
    canvas_.setPenColour(colour_);
    canvas_.setPenWidth(width_);
    canvas_.setPenMode(mode_);
    canvas_.setBrushStyle(ui::BrushStyle::Solid);
  }
  PenScope(const PenScope&) = delete;
  PenScope& operator=(const PenScope&) = delete;

 private:
  ui::Canvas& canvas_;
  ui::Colour colour_;
  int width_;
  ui::PenMode mode_;
};

void setPen(ui::Canvas& canvas, ui::PenMode mode, ui::Colour colour) {
  canvas.setPenMode(mode);
  canvas.setPenColour(colour);
  canvas.setPenWidth(1);
  canvas.setBrushStyle(ui::BrushStyle::Clear);
}

int circleRadius(float tolerance) {
  return std::max(1, truncPixel(std::fabs(1.5 * tolerance)));
}

void circle(ui::Canvas& canvas, ui::Point centre, int radius) {
  canvas.ellipse(centre.x - radius, centre.y - radius, centre.x + radius + 1,
                 centre.y + radius + 1);
}

void drawStatus(ui::Canvas& canvas, int stripHeight, const std::string& text) {
  canvas.setPenMode(ui::PenMode::Copy);
  canvas.setBrushStyle(ui::BrushStyle::Solid);
  canvas.setBrushColour(section_colours::White);
  canvas.fillRect(0, 0, canvas.width(), stripHeight);
  canvas.setFontColour(section_colours::Black);
  canvas.setFontBold(false);
  canvas.setTextTransparent(true);
  canvas.textOut(0, 0, text);
}

}  // namespace

std::string defineClickStatusText(const SectionDatabase& db, bool showIp, int ipWindow, double c,
                                  double z, int lines, int vertices) {
  std::string text = clickStatusHead(db, showIp, ipWindow);
  text += " - klik: metráž: " + cformat("%.1f", c) + " m a výška: " + cformat("%.1f", z) +
          " m i_HBV: " + cformat("%i", lines) + " bod_HBV: " + cformat("%i", vertices);
  text.append(DefineStatusTrailingBlanks, ' ');
  return text;
}

HbvVertex snappedClick(const SectionDatabase& db, const SectionWindowState& view, int x, int y) {
  const SectionLayout& l = view.layout;
  HbvVertex v{pixelToChainage(l, x), pixelToElevation(l, y)};
  const SectionProfile* p = currentProfilePtr(db);
  const int b = nearestPointByColumn(db, l, x);
  if (!p || b < 0 || !(l.pxPerMetreZ > 0.0)) return v;
  const SectionPoint& pt = p->points[b];
  const double reach = view.hbvTolerance / l.pxPerMetreZ;
  if (!(std::fabs(pt.profileChainage - v.chainage) < reach * view.exaggeration)) return v;
  v.chainage = pt.profileChainage;
  // Single precision as the vertex stores it, so that a snapped vertex
  // equals the interface the preparation computes from the same fields.
  float nearest = pt.pointZ;
  // The entry under the half-space is no interface: it holds whatever the
  // last export left there.
  const int interfaces = std::clamp(pt.MDLmx, 0, MaxLayers);
  for (int i = 0; i < interfaces; ++i) {
    const float e = pt.pointZ - std::fabs(pt.layerDepth[i]);
    if (std::fabs(e - v.elevation) < std::fabs(nearest - v.elevation)) nearest = e;
  }
  if (std::fabs(nearest - v.elevation) < reach) v.elevation = nearest;
  return v;
}

void defineModeClick(SectionSession& session, int x, int y) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!hasPoint(p)) return;
  SectionWindowState& view = session.view;
  const SectionLayout& l = view.layout;
  const int selected = view.hbvSelected;
  const int selectedVertices =
      selected >= 0 && selected < MaxHbvLines ? p->HBV_pocetBodu[selected] : 0;
  const std::string status =
      defineClickStatusText(session.db, view.showIp, view.currentIpWindow, pixelToChainage(l, x),
                            pixelToElevation(l, y), lineCount(*p), selectedVertices);
  const HbvVertex at = snappedClick(session.db, view, x, y);

  if (lineCount(*p) == 0) {
    p->HBV_pocet = 1;
    p->HBV_pocetBodu[0] = 0;
  }
  const int line = lineCount(*p) - 1;
  int32_t& count = p->HBV_pocetBodu[line];
  if (count == HbvLineJustOpened) {
    // The press that belongs to a double click: the new line stays empty.
    count = 0;
  } else {
    if (count < 0) count = 0;
    if (count >= MaxMouseHbvVertices) {
      session.dialogs.message(
          "Máš už moc zadaných bodů křivky HBV (Ukonči tuto na rozharaní VES a začni novou "
          "křivku HBV)");
    } else {
      p->HBV_x[line][count] = static_cast<float>(at.chainage);
      p->HBV_z[line][count] = static_cast<float>(at.elevation);
      ++count;
      session.db.changed = true;
      view.hbvActive = line;
      if (session.redraw) session.redraw();
      // The repaint took the rubber band with it.
      view.lastMouseX = -1;
    }
  }
  // After the repaint, so that the coordinates of the click stay readable.
  if (session.canvas) drawStatus(*session.canvas, l.sectionTextHeight, status);
}

void defineModeMove(SectionSession& session, int x, int y) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!hasPoint(p)) return;
  SectionWindowState& view = session.view;
  if (view.lastMouseX == x && view.lastMouseY == y) return;
  const int line = view.hbvActive;
  if (!session.canvas || !isLine(*p, line) || vertexCount(*p, line) == 0) {
    view.lastMouseX = -1;
    return;
  }
  ui::Canvas& canvas = *session.canvas;
  const PenScope keep(canvas);
  setPen(canvas, ui::PenMode::Xor, RubberBandXorKey);
  const ui::Point from = vertexPixel(view.layout, *p, line, vertexCount(*p, line) - 1);
  if (view.lastMouseX != -1) {
    canvas.moveTo(from.x, from.y);
    canvas.lineTo(view.lastMouseX, view.lastMouseY);
  }
  canvas.moveTo(from.x, from.y);
  canvas.lineTo(x, y);
  view.lastMouseX = x;
  view.lastMouseY = y;
}

void editModeDown(SectionSession& session, int x, int y) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!hasPoint(p)) return;
  SectionWindowState& view = session.view;
  int bestLine = -1;
  int64_t best = 0;
  for (int i = 0; i < lineCount(*p); ++i) {
    int64_t d = 0;
    if (nearestVertex(view.layout, *p, i, x, y, &d) < 0) continue;
    if (bestLine < 0 || d < best) {
      bestLine = i;
      best = d;
    }
  }
  if (bestLine >= 0) view.hbvActive = view.hbvSelected = bestLine;
  view.hbvActiveVertex = -1;
}

void editModeMove(SectionSession& session, int x, int y, bool dragging) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!hasPoint(p)) return;
  SectionWindowState& view = session.view;
  if (view.lastMouseX == x && view.lastMouseY == y) return;
  const SectionLayout& l = view.layout;
  const int radius = circleRadius(view.hbvTolerance);
  ui::Canvas* canvas = session.canvas;
  std::optional<PenScope> keep;
  if (canvas) keep.emplace(*canvas);

  if (dragging && isVertex(*p, view.hbvActive, view.hbvActiveVertex)) {
    const int line = view.hbvActive;
    const int vertex = view.hbvActiveVertex;
    if (canvas) {
      setPen(*canvas, ui::PenMode::Xor, DragCircleXorKey);
      circle(*canvas, vertexPixel(l, *p, line, vertex), radius);
    }
    p->HBV_x[line][vertex] = static_cast<float>(pixelToChainage(l, x));
    p->HBV_z[line][vertex] = static_cast<float>(pixelToElevation(l, y));
    session.db.changed = true;
    if (canvas) circle(*canvas, vertexPixel(l, *p, line, vertex), radius);
  } else {
    view.hbvActive = view.hbvSelected;
    const int line = view.hbvActive;
    const int vertex = isLine(*p, line) ? nearestVertex(l, *p, line, x, y) : -1;
    if (vertex != view.hbvActiveVertex) {
      if (canvas && isVertex(*p, line, view.hbvActiveVertex)) {
        setPen(*canvas, ui::PenMode::Copy, section_colours::White);
        circle(*canvas, vertexPixel(l, *p, line, view.hbvActiveVertex), radius);
      }
      if (canvas && vertex >= 0) {
        setPen(*canvas, ui::PenMode::Copy, HighlightBlue);
        circle(*canvas, vertexPixel(l, *p, line, vertex), radius);
      }
      view.hbvActiveVertex = vertex;
    }
  }
  view.lastMouseX = x;
  view.lastMouseY = y;
}

void editModeUp(SectionSession& session) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!hasPoint(p)) return;
  session.view.hbvActiveVertex = -1;
  if (session.redraw) session.redraw();
  session.view.lastMouseX = -1;
}

}  // namespace orv
