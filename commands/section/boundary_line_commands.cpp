#include "commands/section/boundary_line_commands.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

#include "base/c_format.h"
#include "commands/section/value_prompts.h"
#include "core/section/boundary_lines.h"
#include "core/section/section_database.h"

namespace orv {
namespace {

constexpr const char* NotANumber = "Soustřeďte se (číslo)!";

void redraw(SectionSession& session) {
  if (session.redraw) session.redraw();
}

// Counts as a file or an earlier fault may have left them, held within the
// arrays.
int lineCount(const SectionProfile& p) {
  return std::clamp(p.HBV_pocet, 0, MaxHbvLines);
}

// After lines or vertices went: the line being drawn is the newest line, no
// vertex is held, and the repaint that follows has wiped the rubber band.
void forgetRemoved(SectionSession& session, const SectionProfile& p) {
  SectionWindowState& v = session.view;
  const int lines = lineCount(p);
  if (v.hbvActive >= lines) v.hbvActive = lines - 1;
  v.hbvActiveVertex = -1;
  v.lastMouseX = -1;
}

}  // namespace

void showLayerModeMarks(SectionSession& session) {
  if (!session.chrome) return;
  const SectionWindowState& v = session.view;
  session.chrome->setChecked(DefineLayersItem, v.defineLayersMode);
  session.chrome->setChecked(DefineLayersPopupItem, v.defineLayersMode);
  session.chrome->setChecked(ColourLayersItem, v.colourLayersMode);
}

void toggleDefineLayersMode(SectionSession& session) {
  SectionWindowState& v = session.view;
  if (v.defineLayersMode) {
    // Leaving the define mode shows what the lines just drawn do to the
    // colouring at once.
    v.defineLayersMode = false;
    v.colourLayersMode = true;
  } else {
    SectionProfile* p = currentProfilePtr(session.db);
    if (!p) return;
    const int lines = lineCount(*p);
    // One line slot always stays free for the surface line of the colouring.
    if (lines >= MaxUserHbvLines) {
      session.dialogs.message(TooManyHbvLines);
      return;
    }
    v.hbvActive = v.hbvSelected = lines;
    v.lastMouseX = -1;
    v.colourLayersMode = false;
    v.defineLayersMode = true;
    // With no line yet the first click opens line 0 itself.
    if (lines > 0) {
      p->HBV_pocetBodu[lines] = 0;
      p->HBV_pocet = lines + 1;
    }
  }
  showLayerModeMarks(session);
  redraw(session);
}

void defineModeDoubleClick(SectionSession& session) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!p) return;
  const int lines = lineCount(*p);
  if (lines < 1) return;
  if (lines >= MaxUserHbvLines) {
    session.dialogs.message(TooManyHbvLines);
    return;
  }
  // The press of the second click arrives after this and must not add a
  // vertex: the line just ended keeps the vertex of the first press as its
  // end, and the new line starts empty.
  p->HBV_pocetBodu[lines] = HbvLineJustOpened;
  SectionWindowState& v = session.view;
  v.hbvActive = v.hbvSelected = lines;
  p->HBV_pocet = lines + 1;
  v.lastMouseX = -1;
  redraw(session);
}

void clearBoundaryLines(SectionSession& session) {
  if (SectionProfile* p = currentProfilePtr(session.db); p && lineCount(*p) > 0) {
    p->HBV_pocet = 0;
    session.db.changed = true;
  }
  SectionWindowState& v = session.view;
  v.defineLayersMode = false;
  v.colourLayersMode = false;
  v.hbvActive = -1;
  v.hbvActiveVertex = -1;
  showLayerModeMarks(session);
  redraw(session);
}

void askHbvTolerance(SectionSession& session) {
  float& tolerance = session.view.hbvTolerance;
  const std::string value = formatReal(tolerance);
  if (std::optional<float> v =
          askFloat(session, "Zadej toleranci dPixel snapu HBV k rozhraní VES:  ",
                   "(nyní je " + value + ") HBV tolerance = ", tolerance, NotANumber))
    tolerance = *v;
  redraw(session);
}

void removeLastHbvVertex(SectionSession& session) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!p) return;
  const int lines = lineCount(*p);
  if (lines <= 0) return;
  const int last = lines - 1;
  const int vertices = std::min(p->HBV_pocetBodu[last], MaxHbvVertices);
  // A single vertex is no line; a line just opened has none at all.
  if (vertices < 2)
    p->HBV_pocet = last;
  else
    p->HBV_pocetBodu[last] = vertices - 1;
  session.db.changed = true;
  forgetRemoved(session, *p);
  redraw(session);
}

void removeLastHbvLine(SectionSession& session) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!p) return;
  const int lines = lineCount(*p);
  if (lines <= 0) return;
  p->HBV_pocet = lines - 1;
  session.db.changed = true;
  forgetRemoved(session, *p);
  redraw(session);
}

void toggleColourLayers(SectionSession& session) {
  SectionWindowState& v = session.view;
  v.colourLayersMode = !v.colourLayersMode;
  if (v.colourLayersMode) v.defineLayersMode = false;
  showLayerModeMarks(session);
  redraw(session);
}

void toggleDrawLayerBounds(SectionSession& session) {
  SectionWindowState& v = session.view;
  v.drawLayerBounds = !v.drawLayerBounds;
  if (session.chrome) session.chrome->setChecked(DrawLayerBoundsItem, v.drawLayerBounds);
  redraw(session);
}

void deleteSelectedHbvLine(SectionSession& session) {
  SectionWindowState& v = session.view;
  SectionProfile* p = currentProfilePtr(session.db);
  const int lines = p ? lineCount(*p) : 0;
  const int gone = v.hbvSelected;
  if (p && gone >= 0 && gone < lines) {
    for (int i = gone; i + 1 < lines; ++i) {
      p->HBV_pocetBodu[i] = p->HBV_pocetBodu[i + 1];
      std::copy(p->HBV_x[i + 1], p->HBV_x[i + 1] + MaxHbvVertices, p->HBV_x[i]);
      std::copy(p->HBV_z[i + 1], p->HBV_z[i + 1] + MaxHbvVertices, p->HBV_z[i]);
    }
    p->HBV_pocet = lines - 1;
    session.db.changed = true;
    if (v.hbvActive > gone) --v.hbvActive;
    forgetRemoved(session, *p);
  }
  redraw(session);
}

void toggleHbvEditMode(SectionSession& session) {
  SectionWindowState& v = session.view;
  v.hbvEditMode = !v.hbvEditMode;
  if (v.hbvEditMode) {
    v.hbvActiveVertex = -1;
    v.hbvSelected = 0;
  }
  if (session.chrome) session.chrome->setChecked(HbvEditItem, v.hbvEditMode);
  redraw(session);
}

bool deleteLineItemVisible(const SectionWindowState& view) {
  return view.hbvEditMode;
}

}  // namespace orv
