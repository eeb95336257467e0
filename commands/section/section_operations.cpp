#include "commands/section/section_operations.h"

#include <algorithm>
#include <cmath>

#include "base/c_format.h"
#include "base/fixed_text.h"
#include "commands/section/database_commands.h"
#include "core/curve/point_number.h"

namespace orv {
namespace {

// Neighbours further away than this are not neighbours.
constexpr double NeighbourReach = 1000000.0;

int clampIndex(int v, int lo, int hi) {
  return std::min(std::max(v, lo), hi);
}

// Index of the last point that may be read: mxindex_bodu cut to the capacity.
int lastPointIndex(const SectionProfile& p) {
  return std::min(p.mxindex_bodu, MaxPointsPerProfile - 1);
}

void redrawSection(SectionSession& session) {
  if (session.redraw) session.redraw();
}

int neighbour(const SectionDatabase& db, bool next) {
  const SectionProfile* p = currentProfilePtr(db);
  int current = db.currentPoint;
  if (!p || current < 0 || current > lastPointIndex(*p)) return current;
  const double here = p->points[current].profileChainage;
  int best = current;
  double bestDistance = NeighbourReach;
  for (int b = 0; b <= lastPointIndex(*p); ++b) {
    double there = p->points[b].profileChainage;
    double d = next ? there - here : here - there;
    if (d > 0.0 && d < bestDistance) {
      best = b;
      bestDistance = d;
    }
  }
  return best;
}

}  // namespace

void copyModelToPoint(const CurveWindowState& s, SectionPoint& point) {
  const int boundaries = clampIndex(s.modelBoundaryCount, 0, MaxLayers - 1);
  for (int i = 0; i <= boundaries; ++i) {
    point.layerDepth[i] = s.depthFixed[i] == 1 ? -s.modelDepth[i] : s.modelDepth[i];
    point.layerRho[i] = s.rhoFixed[i] == 1 ? -s.modelRho[i] : s.modelRho[i];
  }
  point.MDLmx = boundaries;
  point.fitError = static_cast<float>(s.modelFitError);
}

void copySoundingToPoint(const CurveWindowState& s, SectionProfile& profile, SectionPoint& point) {
  copyModelToPoint(s, point);

  const int readings = clampIndex(s.readingCount, 0, MaxReadings);
  for (int m = 0; m < readings; ++m) {
    point.AO[m] = s.readingAbHalf[m];
    point.MO[m] = s.readingMnHalf[m];
    point.Rmer[m] = s.readingRho[m];
    point.iMN[m] = s.readingBranch[m];
  }

  const int lastCell = clampIndex(s.gridMaxIndex, -1, GridCells - 1);
  for (int g = 0; g <= lastCell; ++g) point.compositeRho[g] = s.mergedRho[g][0];

  point.Mermx = readings;
  point.ABmx = clampIndex(s.gridMaxIndex, 0, GridCells - 1);
  point.nABmn = clampIndex(s.gridMinIndex, 0, GridCells - 1);
  point.MNmx = clampIndex(s.branchCount, 0, MaxBranch);

  // The IP windows and their timing belong to the profile, and the sounding
  // with the most windows defines them (of equals the last one stored): one
  // sounding with fewer must not cut the windows of all the others. Windows
  // the sounding does not have are stored as zeros; when it brings more than
  // the profile had, the other points read zeros in the new ones.
  const int windows = clampIndex(s.ipWindowCount, 0, MaxIpWindows);
  const int profileWindows = clampIndex(profile.num_IPoken, 0, MaxIpWindows);
  for (int m = 0; m < readings; ++m)
    for (int k = 0; k < MaxIpWindows; ++k) point.ipValue[m][k] = k < windows ? s.ipValue[m][k] : 0;
  if (windows < profileWindows) return;
  for (int b = 0; b <= lastPointIndex(profile); ++b) {
    SectionPoint& other = profile.points[b];
    if (&other == &point) continue;
    for (int m = 0; m < clampIndex(other.Mermx, 0, MaxReadings); ++m)
      for (int k = profileWindows; k < windows; ++k) other.ipValue[m][k] = 0;
  }
  profile.num_IPoken = std::min(s.ipWindowCount, MaxIpWindows);
  profile.span_IPoken = s.ipWindowLength;
  profile.zpozdeni_IPoken = s.ipWindowDelay;
  profile.OnTime = s.ipOnTime;
  profile.OffTime = s.ipOffTime;
  profile.LeadTime = s.ipLeadTime;
  profile.TailTime = s.ipTailTime;
  for (int k = 0; k < windows; ++k) {
    profile.ipWindowFrom[k] = s.ipWindowStart[k];
    profile.ipWindowTo[k] = s.ipWindowEnd[k];
    profile.ipWindowMid[k] = s.ipWindowMidTime[k];
  }
}

void copyPointToCurve(const SectionProfile& profile, const SectionPoint& point, CurveWindowState& s,
                      bool withIp) {
  const int boundaries = clampIndex(point.MDLmx, 0, MaxLayers - 1);
  for (int i = 0; i <= boundaries; ++i) {
    const float rho = point.layerRho[i];
    const float depth = point.layerDepth[i];
    s.modelRho[i] = std::fabs(rho);
    s.rhoFixed[i] = rho < 0.0f ? 1 : 0;
    s.modelDepth[i] = std::fabs(depth);
    s.depthFixed[i] = depth < 0.0f ? 1 : 0;
  }
  s.modelBoundaryCount = boundaries;

  const int readings = clampIndex(point.Mermx, 0, MaxReadings);
  for (int m = 0; m < readings; ++m) {
    s.readingAbHalf[m] = point.AO[m];
    s.readingMnHalf[m] = point.MO[m];
    s.readingRho[m] = point.Rmer[m];
    s.readingBranch[m] = point.iMN[m];
  }
  s.readingCount = readings;

  const int firstCell = clampIndex(point.nABmn, 0, GridCells - 1);
  const int lastCell = clampIndex(point.ABmx, 0, GridCells - 1);
  const int branches = clampIndex(point.MNmx, 0, MaxBranch);
  for (int g = firstCell; g <= lastCell; ++g)
    for (int slot = 0; slot <= branches; ++slot) s.mergedRho[g][slot] = point.compositeRho[g];
  s.curveLoaded = true;
  s.compositeReady = true;
  s.gridMaxIndex = lastCell;
  s.gridMinIndex = firstCell;
  s.branchCount = branches;
  s.pointElevation = point.pointZ;
  s.modelFitError = point.fitError;

  if (!withIp) return;
  const int windows = clampIndex(profile.num_IPoken, 0, MaxIpWindows);
  for (int m = 0; m < readings; ++m)
    for (int k = 0; k < windows; ++k) s.ipValue[m][k] = point.ipValue[m][k];
  s.ipWindowCount = std::min(profile.num_IPoken, MaxIpWindows);
  s.ipWindowLength = profile.span_IPoken;
  s.ipWindowDelay = profile.zpozdeni_IPoken;
  s.ipOnTime = profile.OnTime;
  s.ipOffTime = profile.OffTime;
  s.ipLeadTime = profile.LeadTime;
  s.ipTailTime = profile.TailTime;
  for (int k = 0; k < windows; ++k) {
    s.ipWindowStart[k] = profile.ipWindowFrom[k];
    s.ipWindowEnd[k] = profile.ipWindowTo[k];
    s.ipWindowMidTime[k] = profile.ipWindowMid[k];
  }
}

void movePointDown(const SectionPoint& from, SectionPoint& to) {
  setText(to.pointName, textOf(from.pointName));
  setText(to.measureDate, textOf(from.measureDate));
  setText(to.operatorName, textOf(from.operatorName));
  setText(to.pointNote, textOf(from.pointNote));
  to.surfaceChainage = from.surfaceChainage;
  to.pointX = from.pointX;
  to.pointY = from.pointY;
  to.pointZ = from.pointZ;
  to.profileChainage = from.profileChainage;
  to.fitError = from.fitError;
  to.ABmx = from.ABmx;
  to.nABmn = from.nABmn;
  to.MNmx = from.MNmx;

  const int readings = clampIndex(from.Mermx, 0, MaxReadings);
  for (int m = 0; m < readings; ++m) {
    to.AO[m] = from.AO[m];
    to.MO[m] = from.MO[m];
    to.Rmer[m] = from.Rmer[m];
    to.iMN[m] = from.iMN[m];
    for (int k = 0; k < MaxIpWindows; ++k) to.ipValue[m][k] = from.ipValue[m][k];
    const int cell = from.nABmn + m;
    if (cell >= 0 && cell < GridCells) to.compositeRho[cell] = from.compositeRho[cell];
  }
  // The composite curve spans nABmn..ABmx, which may hold more cells than
  // there are readings; those cells move too, or the moved point would carry
  // part of the deleted point's curve.
  const int lastCell = clampIndex(from.ABmx, -1, GridCells - 1);
  for (int g = std::max(from.nABmn, 0); g <= lastCell; ++g)
    to.compositeRho[g] = from.compositeRho[g];

  const int boundaries = clampIndex(from.MDLmx, 0, MaxLayers - 1);
  for (int i = 0; i <= boundaries; ++i) {
    to.layerRho[i] = from.layerRho[i];
    to.layerDepth[i] = from.layerDepth[i];
  }
  to.MDLmx = from.MDLmx;
  to.Mermx = from.Mermx;
}

void createProfile(SectionSession& session) {
  SectionDatabase& db = session.db;
  if (db.mxindex_profilu >= MaxProfiles - 1) {
    session.dialogs.message(
        "Máš už moc zadaných profilů v lokalitě (změň lokalitu nebo nová databáze)");
    return;
  }
  ++db.mxindex_profilu;
  db.currentProfile = db.mxindex_profilu;
  SectionProfile& p = db.profiles[db.currentProfile];
  p.scaleX = InitialScaleX;
  p.scaleZ = NewProfileScaleZ;
  p.mxindex_bodu = -1;
  // A profile slot above the last one in use may still hold the boundary
  // lines of an earlier database; a new profile starts without any.
  p.HBV_pocet = 0;
  db.currentPoint = NoPointYet;
  db.changed = true;

  session.curve.setTransferButtonVisible(true);
  session.curve.state().fromSection = false;
  editPointAttributes(session);
  redrawSection(session);
}

void deleteCurrentPoint(SectionSession& session) {
  SectionDatabase& db = session.db;
  SectionProfile* p = currentProfilePtr(db);
  if (!p) return;
  if (p->mxindex_bodu <= 0) {
    session.dialogs.message("Musí zbýt alespoň jeden bod - tento bod nelze smazat.");
    return;
  }
  const int last = lastPointIndex(*p);
  if (db.currentPoint < 0 || db.currentPoint > last) return;

  p->mxindex_bodu = last - 1;
  for (int e = db.currentPoint; e <= p->mxindex_bodu; ++e)
    movePointDown(p->points[e + 1], p->points[e]);
  if (db.currentPoint > p->mxindex_bodu) db.currentPoint = p->mxindex_bodu;

  db.changed = true;
  // The new current point is shown whole, with its IP values and the curve
  // and misfit of its own model: the next write-back must store nothing of
  // the deleted one.
  loadPoint(session, db.currentPoint);
}

bool askDeleteCurrentPoint(SectionSession& session) {
  SectionDatabase& db = session.db;
  const SectionProfile* p = currentProfilePtr(db);
  if (!p) return false;
  // The refusal needs no question.
  if (p->mxindex_bodu > 0 && db.currentPoint >= 0 && db.currentPoint <= lastPointIndex(*p)) {
    const SectionPoint& pt = p->points[db.currentPoint];
    const std::string question = "Smazat bod " + shownText(pt.pointName) + " (metráž " +
                                 formatReal(pt.profileChainage) + " m)?";
    if (session.dialogs.ask(question, false) != ui::Answer::Yes) return false;
  }
  const int before = p->mxindex_bodu;
  deleteCurrentPoint(session);
  return p->mxindex_bodu < before;
}

void alignPointsToSurface(SectionSession& session) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (!p) return;
  for (int b = 0; b <= lastPointIndex(*p); ++b) {
    SectionPoint& pt = p->points[b];
    if (pt.pointX != pt.surfaceChainage || pt.profileChainage != pt.surfaceChainage)
      session.db.changed = true;
    pt.pointX = pt.surfaceChainage;
    pt.profileChainage = pt.surfaceChainage;
  }
  redrawSection(session);
}

void selectProfile(SectionSession& session, int k) {
  SectionDatabase& db = session.db;
  if (k >= 0 && k < MaxProfiles && db.mxindex_profilu >= k) db.currentProfile = k;
  db.currentPoint = 0;
  session.view.hbvActive = -1;
  redrawSection(session);
  session.curve.setTransferButtonVisible(true);
  session.curve.state().fromSection = false;
}

void transferToSection(SectionSession& session) {
  SectionProfile* p = currentProfilePtr(session.db);
  if (session.curve.state().fromSection)
    session.dialogs.message(
        "Reinterpretovanou křivku VES nelze znovu vložit do stejného profilu, neb je už tam");
  else if (p && p->mxindex_bodu >= MaxPointsPerProfile - 1)
    session.dialogs.message(
        "Máš moc bodů VES v jednom pf - založ si nový pf (pravá myš nad levým oknem)!");
  else
    insertPoint(session);
  session.curve.setTransferButtonVisible(false);
}

void insertPoint(SectionSession& session) {
  CurveWindowState& s = session.curve.state();
  if (!(s.curveLoaded && s.curveDrawn && s.modelActive)) {
    session.dialogs.message("Nacti a zpracuj VES!");
    return;
  }
  SectionDatabase& db = session.db;
  SectionProfile* p = currentProfilePtr(db);
  if (!p || p->mxindex_bodu >= MaxPointsPerProfile - 1) return;
  s.pointPosition = static_cast<float>(pointNumberFromFileName(s));
  session.view.editingExistingPoint = false;
  const PointFields f = session.pointDialog ? session.pointDialog() : fillPointFields(db, s, false);
  p->mxindex_bodu = std::max(p->mxindex_bodu, -1) + 1;
  db.currentPoint = p->mxindex_bodu;
  storePointFields(db, s, f, db.currentPoint, true);
  storeSounding(session);
  // The curve window now edits the point just filed, as after loadPoint: a
  // later change of its model goes into the point. A folder of OAX files is
  // interpreted one file after another; reading the next one ends that.
  s.fromSection = true;
  session.curve.loadNextInstrumentFile();
}

void storeSounding(SectionSession& session) {
  SectionDatabase& db = session.db;
  SectionProfile* p = currentProfilePtr(db);
  if (!p || db.currentPoint < 0 || db.currentPoint > lastPointIndex(*p)) return;
  copySoundingToPoint(session.curve.state(), *p, p->points[db.currentPoint]);
  db.changed = true;
  // Drawn after the IP data are in, so the picture shows the profile's new
  // IP windows too.
  redrawSection(session);
}

void loadPoint(SectionSession& session, int b) {
  SectionDatabase& db = session.db;
  SectionProfile* p = currentProfilePtr(db);
  if (!p || b < 0 || b > lastPointIndex(*p)) return;
  CurveWindowState& s = session.curve.state();
  const SectionPoint& pt = p->points[b];
  copyPointToCurve(*p, pt, s, true);
  db.currentPoint = b;
  redrawSection(session);
  setText(s.instrumentFilePath, textOf(pt.pointName));
  s.fromSection = true;
  session.curve.takeOverLoadedPoint();
}

int nextNeighbour(const SectionDatabase& db) {
  return neighbour(db, true);
}
int previousNeighbour(const SectionDatabase& db) {
  return neighbour(db, false);
}

bool loadNeighbour(SectionSession& session, bool next) {
  const SectionDatabase& db = session.db;
  const SectionProfile* p = currentProfilePtr(db);
  if (!p || p->mxindex_bodu < 0) return false;
  // Right after a profile selection the selection may stand on no stored
  // point; the walk then starts from the first one.
  if (db.currentPoint < 0 || db.currentPoint > lastPointIndex(*p)) {
    loadPoint(session, 0);
    return true;
  }
  loadPoint(session, next ? nextNeighbour(db) : previousNeighbour(db));
  return true;
}

void sectionDoubleClick(SectionSession& session) {
  const SectionProfile* p = currentProfilePtr(session.db);
  if (!p || p->mxindex_bodu < 0) {
    readDatabase(session);
    return;
  }
  editPointAttributes(session);
}

namespace {

// What the point dialog may change, as bytes: the database's and the
// profile's names and the texts and position of one point.
std::string dialogTargetBytes(const SectionDatabase& db, int pointIndex) {
  std::string bytes;
  auto add = [&bytes](std::string_view text) {
    bytes += text;
    bytes += '\0';
  };
  add(textOf(db.countryName));
  add(textOf(db.regionName));
  add(textOf(db.localityName));
  const SectionProfile* p = currentProfilePtr(db);
  if (!p) return bytes;
  add(textOf(p->profileName));
  if (pointIndex < 0 || pointIndex >= MaxPointsPerProfile) return bytes;
  const SectionPoint& pt = p->points[pointIndex];
  add(textOf(pt.pointName));
  add(textOf(pt.measureDate));
  add(textOf(pt.operatorName));
  add(textOf(pt.pointNote));
  for (float v : {pt.surfaceChainage, pt.pointX, pt.pointY, pt.pointZ, pt.profileChainage})
    add(formatF(v));
  return bytes;
}

}  // namespace

void describeSelectedPoint(SectionSession& session, bool editingExistingPoint) {
  SectionDatabase& db = session.db;
  const CurveWindowState& s = session.curve.state();
  const int index = selectedPoint(db) ? db.currentPoint : -1;
  // Taken before the dialog: it writes a valid chainage into its point while
  // it is open.
  const std::string before = dialogTargetBytes(db, index);
  session.view.editingExistingPoint = editingExistingPoint;
  const PointFields f =
      session.pointDialog ? session.pointDialog() : fillPointFields(db, s, editingExistingPoint);
  storePointFields(db, s, f, index, false);
  if (dialogTargetBytes(db, index) != before) db.changed = true;
}

void editPointAttributes(SectionSession& session) {
  describeSelectedPoint(session, true);
  redrawSection(session);
  session.view.editingExistingPoint = false;
}

ProfileMenuEntry profileMenuEntry(const SectionDatabase& db, int k) {
  ProfileMenuEntry e{false, cformat("pf %d", k)};
  if (k < 0 || k >= MaxProfiles) return e;
  e.visible = k <= db.mxindex_profilu;
  std::string name = shownText(db.profiles[k].profileName);
  if (!name.empty()) e.caption = name;
  return e;
}

std::string profileStatusText(const SectionDatabase& db) {
  std::string text = "lokalita: " + shownText(db.localityName) + " - pf: ";
  if (const SectionProfile* p = currentProfilePtr(db)) text += shownText(p->profileName);
  return text;
}

std::string sectionCaption(const SectionDatabase& db) {
  // The file name is a path in the system's own spelling, shown as it is.
  return "db: " + std::string(textOf(db.fileName)) + " - lok:" + shownText(db.localityName);
}

}  // namespace orv
