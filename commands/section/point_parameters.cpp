#include "commands/section/point_parameters.h"

#include <cctype>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/fixed_text.h"

namespace orv {
namespace {

bool endsWithOax(std::string_view path) {
  if (path.size() < 4) return false;
  std::string_view ext = path.substr(path.size() - 4);
  const char* want = ".OAX";
  for (int i = 0; i < 4; ++i)
    if (std::toupper(static_cast<unsigned char>(ext[i])) != want[i]) return false;
  return true;
}

std::string_view withoutLastFour(std::string_view text) {
  return text.size() >= 4 ? text.substr(0, text.size() - 4) : std::string_view();
}

std::string_view withoutFolders(std::string_view path) {
  std::size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string shownNumber(float v) {
  return formatReal(v);
}

PointFields fillCommon(const SectionDatabase& db, const CurveWindowState& s,
                       bool editingExistingPoint, bool original) {
  PointFields f;
  f.country = shownText(db.countryName);
  f.region = shownText(db.regionName);
  f.locality = shownText(db.localityName);
  if (const SectionProfile* p = currentProfilePtr(db)) f.profileName = shownText(p->profileName);
  if (dialogNamesProfileOnly(db, editingExistingPoint)) return f;

  const SectionPoint* sel = selectedPoint(db);
  if (sel) {
    f.date = shownText(sel->measureDate);
    f.note = shownText(sel->pointNote);
    f.operatorName = shownText(sel->operatorName);
  }
  f.y = shownNumber(sel ? sel->pointY : 0.0f);
  if (original)
    f.z = shownNumber(sel ? sel->pointZ : 0.0f);
  else
    f.z = shownNumber(s.pointElevation);

  if (editingExistingPoint) {
    f.pointName = shownText(sel->pointName);
    f.surfaceChainage = shownNumber(sel->surfaceChainage);
    f.x = shownNumber(sel->pointX);
    f.profileChainage = shownNumber(sel->profileChainage);
  } else {
    f.pointName = cp1250ToUtf8(original ? originalInsertedPointName(s) : insertedPointName(s));
    f.surfaceChainage = shownNumber(s.pointPosition);
    f.x = shownNumber(s.pointPosition);
    f.profileChainage = shownNumber(s.pointPosition);
  }
  return f;
}

}  // namespace

const SectionPoint* selectedPoint(const SectionDatabase& db) {
  const SectionProfile* p = currentProfilePtr(db);
  if (!p) return nullptr;
  int last = p->mxindex_bodu < MaxPointsPerProfile ? p->mxindex_bodu : MaxPointsPerProfile - 1;
  if (db.currentPoint < 0 || db.currentPoint > last) return nullptr;
  return &p->points[db.currentPoint];
}

bool dialogNamesProfileOnly(const SectionDatabase& db, bool editingExistingPoint) {
  return editingExistingPoint && selectedPoint(db) == nullptr;
}

bool soundingFromOax(const CurveWindowState& s) {
  return s.sourceKind == SourceInstrument && endsWithOax(textOf(s.instrumentFilePath));
}

std::string insertedPointName(const CurveWindowState& s) {
  std::string_view path = textOf(s.instrumentFilePath);
  if (soundingFromOax(s)) return std::string(withoutLastFour(withoutFolders(path)));
  return std::string(path);
}

std::string originalInsertedPointName(const CurveWindowState& s) {
  std::string_view path = textOf(s.instrumentFilePath);
  if (endsWithOax(path)) return std::string(withoutLastFour(path));
  return std::string(path);
}

PointFields fillPointFields(const SectionDatabase& db, const CurveWindowState& s,
                            bool editingExistingPoint) {
  return fillCommon(db, s, editingExistingPoint, false);
}

PointFields originalPointFields(const SectionDatabase& db, const CurveWindowState& s,
                                bool editingExistingPoint) {
  return fillCommon(db, s, editingExistingPoint, true);
}

std::string& fieldText(PointFields& f, PositionField which) {
  switch (which) {
    case PositionField::SurfaceChainage:
      return f.surfaceChainage;
    case PositionField::X:
      return f.x;
    case PositionField::Y:
      return f.y;
    case PositionField::Z:
      return f.z;
    case PositionField::ProfileChainage:
      break;
  }
  return f.profileChainage;
}

const std::string& fieldText(const PointFields& f, PositionField which) {
  return fieldText(const_cast<PointFields&>(f), which);
}

std::string_view positionFieldMessage(PositionField which) {
  switch (which) {
    case PositionField::SurfaceChainage:
      return "Metráž podél povrchu terénu aktuálního bodu VES zadej číslicemi tak, aby číslo "
             "bylo od -10000000.0 do 10000000.";
    case PositionField::X:
      return "Souřadnici X aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od "
             "-10000000.0 do 10000000.";
    case PositionField::Y:
      return "Souřadnici Y aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od "
             "-10000000.0 do 10000000.";
    case PositionField::Z:
      return "Souřadnici Z aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od "
             "-10000000.0 do 10000000.";
    case PositionField::ProfileChainage:
      break;
  }
  return "Metráž aktuálního bodu VES na akt. pf zadej číslicemi tak, aby číslo bylo od "
         "-10000000.0 do 10000000.";
}

double positionFieldResetValue(PositionField which, const CurveWindowState& s) {
  switch (which) {
    case PositionField::Y:
      return 0.0;
    case PositionField::Z:
      return s.pointElevation;
    default:
      return s.pointPosition;
  }
}

std::optional<double> positionFieldValue(std::string_view text) {
  std::optional<double> v = parseUserReal(text);
  if (!v || *v < -PositionLimit || *v > PositionLimit) return std::nullopt;
  return v;
}

int dialogTargetIndex(const SectionDatabase& db, bool editingExistingPoint) {
  const SectionProfile* p = currentProfilePtr(db);
  if (!p) return -1;
  int index = editingExistingPoint ? db.currentPoint : p->mxindex_bodu + 1;
  if (editingExistingPoint && index > p->mxindex_bodu) return -1;
  if (index < 0 || index >= MaxPointsPerProfile) return -1;
  return index;
}

bool checkPositionField(SectionDatabase& db, const CurveWindowState& s, bool editingExistingPoint,
                        PointFields& f, PositionField which, ui::Dialogs& dialogs) {
  std::string& text = fieldText(f, which);
  std::optional<double> v = positionFieldValue(text);
  if (!v) {
    dialogs.message(positionFieldMessage(which));
    text = formatReal(positionFieldResetValue(which, s));
    return false;
  }
  if (which == PositionField::ProfileChainage) {
    int target = dialogTargetIndex(db, editingExistingPoint);
    if (target >= 0)
      db.profiles[db.currentProfile].points[target].profileChainage = static_cast<float>(*v);
  }
  return true;
}

bool chainageTaken(const SectionDatabase& db, bool editingExistingPoint, float chainage) {
  const SectionProfile* p = currentProfilePtr(db);
  if (!p) return false;
  int target = editingExistingPoint ? db.currentPoint : p->mxindex_bodu + 1;
  int last = p->mxindex_bodu < MaxPointsPerProfile ? p->mxindex_bodu : MaxPointsPerProfile - 1;
  for (int b = 0; b <= last; ++b)
    if (b != target && p->points[b].profileChainage == chainage) return true;
  return false;
}

ConfirmResult confirmPointFields(SectionDatabase& db, const CurveWindowState& s,
                                 bool editingExistingPoint, PointFields& f, ui::Dialogs& dialogs) {
  if (dialogNamesProfileOnly(db, editingExistingPoint))
    return {ConfirmOutcome::Accepted, PositionField::ProfileChainage};
  bool allValid = true;
  PositionField firstInvalid = PositionField::ProfileChainage;
  for (PositionField which : AllPositionFields) {
    if (!checkPositionField(db, s, editingExistingPoint, f, which, dialogs) && allValid) {
      allValid = false;
      firstInvalid = which;
    }
  }
  if (!allValid) return {ConfirmOutcome::InvalidField, firstInvalid};
  float chainage = static_cast<float>(*positionFieldValue(f.profileChainage));
  if (chainageTaken(db, editingExistingPoint, chainage)) {
    dialogs.message(
        "Existuje bod se stejnou metráží pro zobrazení na aktuálním profilu a to nejde. ");
    return {ConfirmOutcome::DuplicateChainage, PositionField::ProfileChainage};
  }
  return {ConfirmOutcome::Accepted, PositionField::ProfileChainage};
}

void storePointFields(SectionDatabase& db, const CurveWindowState& s, const PointFields& f,
                      int pointIndex, bool newPoint) {
  setTextFromUtf8(db.countryName, f.country);
  setTextFromUtf8(db.regionName, f.region);
  setTextFromUtf8(db.localityName, f.locality);
  SectionProfile* p = currentProfilePtr(db);
  if (!p) return;
  setTextFromUtf8(p->profileName, f.profileName);
  if (pointIndex < 0 || pointIndex >= MaxPointsPerProfile) return;

  SectionPoint& pt = p->points[pointIndex];
  setTextFromUtf8(pt.pointName, f.pointName);
  setTextFromUtf8(pt.measureDate, f.date);
  setTextFromUtf8(pt.pointNote, f.note);
  setTextFromUtf8(pt.operatorName, f.operatorName);

  auto store = [&](float& slot, PositionField which) {
    std::optional<double> v = positionFieldValue(fieldText(f, which));
    if (v)
      slot = static_cast<float>(*v);
    else if (newPoint)
      slot = static_cast<float>(positionFieldResetValue(which, s));
  };
  store(pt.surfaceChainage, PositionField::SurfaceChainage);
  store(pt.pointX, PositionField::X);
  store(pt.pointY, PositionField::Y);
  store(pt.pointZ, PositionField::Z);
  store(pt.profileChainage, PositionField::ProfileChainage);
}

}  // namespace orv
