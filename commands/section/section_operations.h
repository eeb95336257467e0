// The section window's commands on the database and the exchange of
// soundings with the curve window. Qt-free; they talk to the user through
// session.dialogs and end with the redraws their effects need.
#pragma once

#include <string>

#include "commands/section/section_session.h"
#include "core/curve/curve_window_state.h"
#include "core/section/section_database.h"
#include "ui/canvas.h"

namespace orv {

// "Nový profil": appends a profile and lets the user name it.
void createProfile(SectionSession& session);

// Removes the current point and loads the new current point into the curve
// window, whole (loadPoint).
void deleteCurrentPoint(SectionSession& session);

// "Smaž aktuální bod" and the click on a stub point: asks "Smazat bod <name>
// (metráž <chainage> m)?" first (not when the deletion is refused anyway).
// Returns whether the point was deleted.
bool askDeleteCurrentPoint(SectionSession& session);

// "Na aktuálním pf uprav XvšechbodůVES na podél povrchu".
void alignPointsToSurface(SectionSession& session);

// "pf k" of the popup submenu "Vyber aktuální profil ".
void selectProfile(SectionSession& session, int k);

// The curve window's button "<-": refusals, then insertPoint; the button is
// hidden in every case.
void transferToSection(SectionSession& session);

// Files the curve window's loaded, drawn and interpreted sounding as a new
// point of the current profile, with the point parameters dialog for its
// texts and position; the new point becomes current.
void insertPoint(SectionSession& session);

// Writes the curve window's sounding into the current point (texts and
// position untouched).
void storeSounding(SectionSession& session);

// Point b of the current profile becomes current and is handed to the curve
// window. Does nothing for an index that is not a stored point.
void loadPoint(SectionSession& session, int b);

// Neighbours of the current point by chainage on profile; the current point
// itself when it has none on that side.
int nextNeighbour(const SectionDatabase& db);
int previousNeighbour(const SectionDatabase& db);

// The point parameters dialog for the current point; stores what it returns.
void editPointAttributes(SectionSession& session);

// The point parameters dialog in the given mode; what it returns goes into
// the selected point (only the database and profile texts when there is
// none). The database counts as changed when anything stored differs.
void describeSelectedPoint(SectionSession& session, bool editingExistingPoint);

// "Další sousední bod" (F3) and "Předchozí sousední bod" (F2): loadPoint of
// the neighbour. Returns false (nothing loaded) when the current profile has
// no point.
bool loadNeighbour(SectionSession& session, bool next);

// A double click on the section picture: on a profile without points the
// database is opened, otherwise the current point's parameters are edited.
void sectionDoubleClick(SectionSession& session);

// --- copying between a stored point and the curve window -------------------------

// The model of the curve window into point (fix marks as negative values,
// layer count, misfit), as every write-back stores it.
void copyModelToPoint(const CurveWindowState& s, SectionPoint& point);

// The sounding of the curve window into point of profile (model, readings,
// composite curve, counts, misfit, and the profile-wide IP data).
void copySoundingToPoint(const CurveWindowState& s, SectionProfile& profile, SectionPoint& point);

// Point of profile into the curve window (model with fix flags, readings,
// composite curve in every slot, counts, elevation, misfit; IP data when
// withIp). Sets curveLoaded and compositeReady.
void copyPointToCurve(const SectionProfile& profile, const SectionPoint& point, CurveWindowState& s,
                      bool withIp);

// Point e+1 moved down into point e by deleteCurrentPoint (its slot keeps
// whatever the moved point does not carry).
void movePointDown(const SectionPoint& from, SectionPoint& to);

// --- the profile submenu ---------------------------------------------------------

struct ProfileMenuEntry {
  bool visible;
  std::string caption;  // UTF-8
};
// "pf k" entries: visible for the profiles in use, captioned with the
// profile's name ("pf k" while it has none).
ProfileMenuEntry profileMenuEntry(const SectionDatabase& db, int k);

// The status line of the section picture: "lokalita: " + locality + " - pf: " +
// profile name (UTF-8).
std::string profileStatusText(const SectionDatabase& db);

// The section window's caption: "db: " + file name + " - lok:" + locality.
std::string sectionCaption(const SectionDatabase& db);

}  // namespace orv
