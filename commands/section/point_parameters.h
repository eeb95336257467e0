// The logic of the point parameters dialog "Parametry bodu VES": what its
// fields show, how its numeric fields are checked, and how the fields are
// stored. The dialog window only moves texts between these and its edits.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/curve/curve_window_state.h"
#include "core/section/section_database.h"
#include "ui/dialogs.h"

namespace orv {

// The dialog's thirteen fields as UTF-8 texts.
struct PointFields {
  std::string country;
  std::string region;
  std::string locality;
  std::string profileName;
  std::string pointName;
  std::string date;
  std::string note;
  std::string operatorName;
  std::string surfaceChainage;
  std::string x;
  std::string y;
  std::string z;
  std::string profileChainage;
};

enum class PositionField { SurfaceChainage, X, Y, Z, ProfileChainage };
inline constexpr PositionField AllPositionFields[] = {
    PositionField::SurfaceChainage, PositionField::X, PositionField::Y, PositionField::Z,
    PositionField::ProfileChainage};

inline constexpr double PositionLimit = 10000000.0;

// The selected point of the current profile, or nullptr when the profile has
// no point there (a new profile, an empty profile, an index beyond the last).
const SectionPoint* selectedPoint(const SectionDatabase& db);

// The dialog only names the profile: it edits, but the profile has no
// selected point (right after a new profile was created). Its point fields
// are then empty, unchecked and not stored.
bool dialogNamesProfileOnly(const SectionDatabase& db, bool editingExistingPoint);

// True for a sounding read from an OAX file.
bool soundingFromOax(const CurveWindowState& s);
// Point name offered for a sounding about to be inserted: for an OAX sounding
// the file name without folders and without its last four characters,
// otherwise the whole instrumentFilePath (Windows-1250).
std::string insertedPointName(const CurveWindowState& s);
// The same for "Původní hodnoty": the path with its folders, without its last
// four characters when its extension is ".OAX".
std::string originalInsertedPointName(const CurveWindowState& s);

// What the dialog shows when it is shown or activated.
PointFields fillPointFields(const SectionDatabase& db, const CurveWindowState& s,
                            bool editingExistingPoint);
// What "Původní hodnoty" puts into the fields.
PointFields originalPointFields(const SectionDatabase& db, const CurveWindowState& s,
                                bool editingExistingPoint);

std::string& fieldText(PointFields& f, PositionField which);
const std::string& fieldText(const PointFields& f, PositionField which);

// The message shown for an invalid field and the value it is reset to.
std::string_view positionFieldMessage(PositionField which);
double positionFieldResetValue(PositionField which, const CurveWindowState& s);
// The value of a field text, or nothing when it does not convert or lies
// outside -10000000..10000000.
std::optional<double> positionFieldValue(std::string_view text);

// Index of the point the dialog describes: the current point when editing,
// the slot after the last point when inserting; -1 when that slot does not
// exist.
int dialogTargetIndex(const SectionDatabase& db, bool editingExistingPoint);

// The check run when a numeric field is left: an invalid text shows the
// field's message and is reset; a valid chainage on profile is written at
// once into the target slot. Returns whether the field was valid.
bool checkPositionField(SectionDatabase& db, const CurveWindowState& s, bool editingExistingPoint,
                        PointFields& f, PositionField which, ui::Dialogs& dialogs);

// Whether another point of the current profile than the target slot has
// exactly this chainage on profile.
bool chainageTaken(const SectionDatabase& db, bool editingExistingPoint, float chainage);

enum class ConfirmOutcome { Accepted, InvalidField, DuplicateChainage };
struct ConfirmResult {
  ConfirmOutcome outcome;
  PositionField focus;  // the field to focus when the dialog stays open
};

// "OK" or Enter: every numeric field is checked, then the chainage on profile
// must be unique in the profile. With no point yet (a new profile) the point
// fields are not stored, so they are not checked either.
ConfirmResult confirmPointFields(SectionDatabase& db, const CurveWindowState& s,
                                 bool editingExistingPoint, PointFields& f, ui::Dialogs& dialogs);

// Stores the dialog's fields as its callers do: country, region, locality and
// the current profile's name always; the point texts and positions into point
// pointIndex of the current profile when that index is 0..419. A numeric text
// that does not convert (the dialog closed by its close box) keeps the stored
// value of an edited point, and takes the field's reset value for a new one.
void storePointFields(SectionDatabase& db, const CurveWindowState& s, const PointFields& f,
                      int pointIndex, bool newPoint);

}  // namespace orv
