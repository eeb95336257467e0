#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

constexpr const char* Duplicate =
    "Existuje bod se stejnou metráží pro zobrazení na aktuálním profilu a to nejde. ";

class PointDialogTest : public SectionTest {
 protected:
  PointDialogTest() {
    setTextFromUtf8(db().countryName, "Česká republika");
    setTextFromUtf8(db().regionName, "Kraj Vysočina");
    setTextFromUtf8(db().localityName, "Jihlava");
    setTextFromUtf8(profile(0).profileName, "Profil 1");
    givePoints(3);
    db().currentPoint = 1;
    setTextFromUtf8(profile(0).points[1].pointName, "Bod č. 2");
    curve().pointPosition = 120.0f;
    curve().pointElevation = 455.5f;
    setText(curve().instrumentFilePath, "/data/mereni/pf1_120.OAX");
    curve().sourceKind = SourceInstrument;
  }
};

TEST_F(PointDialogTest, AStoredPointShowsItsOwnValues) {
  PointFields f = fillPointFields(db(), curve(), true);
  EXPECT_EQ(f.country, "Česká republika");
  EXPECT_EQ(f.region, "Kraj Vysočina");
  EXPECT_EQ(f.locality, "Jihlava");
  EXPECT_EQ(f.profileName, "Profil 1");
  EXPECT_EQ(f.pointName, "Bod č. 2");
  EXPECT_EQ(f.date, "2.5.2003");
  EXPECT_EQ(f.note, "poznamka2");
  EXPECT_EQ(f.operatorName, "operator2");
  EXPECT_EQ(f.surfaceChainage, "201");
  EXPECT_EQ(f.x, "202");
  EXPECT_EQ(f.y, "203");
  EXPECT_EQ(f.z, "455.5");  // the curve window's elevation, not pointZ
  EXPECT_EQ(f.profileChainage, "205");
}

TEST_F(PointDialogTest, APointToInsertShowsTheSoundingAndTheSelectionsDefaults) {
  PointFields f = fillPointFields(db(), curve(), false);
  EXPECT_EQ(f.profileName, "Profil 1");
  EXPECT_EQ(f.pointName, "pf1_120");
  EXPECT_EQ(f.date, "2.5.2003");
  EXPECT_EQ(f.note, "poznamka2");
  EXPECT_EQ(f.operatorName, "operator2");
  EXPECT_EQ(f.surfaceChainage, "120");
  EXPECT_EQ(f.x, "120");
  EXPECT_EQ(f.profileChainage, "120");
  EXPECT_EQ(f.y, "203");
  EXPECT_EQ(f.z, "455.5");
}

TEST_F(PointDialogTest, OriginalValuesDifferInZAndInTheInsertedName) {
  PointFields edited = originalPointFields(db(), curve(), true);
  PointFields editedShown = fillPointFields(db(), curve(), true);
  EXPECT_EQ(edited.z, "204");
  edited.z = editedShown.z;
  EXPECT_EQ(edited.pointName, editedShown.pointName);
  EXPECT_EQ(edited.profileChainage, editedShown.profileChainage);

  PointFields inserted = originalPointFields(db(), curve(), false);
  EXPECT_EQ(inserted.z, "204");
  EXPECT_EQ(inserted.pointName, "/data/mereni/pf1_120");
  EXPECT_EQ(inserted.profileChainage, "120");
}

struct NameCase {
  const char* path;
  int32_t sourceKind;
  const char* shown;
  const char* original;
};

class InsertedNameTest : public PointDialogTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(InsertedNameTest, FollowsTheSoundingsOrigin) {
  setText(curve().instrumentFilePath, GetParam().path);
  curve().sourceKind = GetParam().sourceKind;
  EXPECT_EQ(insertedPointName(curve()), GetParam().shown);
  EXPECT_EQ(originalInsertedPointName(curve()), GetParam().original);
}

INSTANTIATE_TEST_SUITE_P(
    Origins, InsertedNameTest,
    ::testing::Values(NameCase{"/data/pf1_120.OAX", SourceInstrument, "pf1_120", "/data/pf1_120"},
                      NameCase{"C:\\mer\\v7.oax", SourceInstrument, "v7", "C:\\mer\\v7"},
                      NameCase{"/data/lok.SAS", SourceInstrument, "/data/lok.SAS", "/data/lok.SAS"},
                      NameCase{"/data/pf.OAX", SourceKmt, "/data/pf.OAX", "/data/pf"},
                      NameCase{"bod 17", SourceKmt, "bod 17", "bod 17"},
                      NameCase{".OAX", SourceInstrument, "", ""},
                      NameCase{"", SourceNone, "", ""}));

TEST_F(PointDialogTest, ANewProfileShowsOnlyTheProfileTexts) {
  db().currentPoint = NoPointYet;
  PointFields f = fillPointFields(db(), curve(), true);
  EXPECT_EQ(f.country, "Česká republika");
  EXPECT_EQ(f.profileName, "Profil 1");
  EXPECT_EQ(f.pointName, "");
  EXPECT_EQ(f.date, "");
  EXPECT_EQ(f.surfaceChainage, "");
  EXPECT_EQ(f.y, "");
  EXPECT_EQ(f.z, "");
  EXPECT_EQ(f.profileChainage, "");
  // Nothing to check and nothing to refuse: the dialog just names the profile.
  ConfirmResult r = confirmPointFields(db(), curve(), true, f, dialogs);
  EXPECT_EQ(r.outcome, ConfirmOutcome::Accepted);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PointDialogTest, InsertingIntoANewProfileStillShowsTheSounding) {
  db().currentPoint = NoPointYet;
  PointFields f = fillPointFields(db(), curve(), false);
  EXPECT_EQ(f.pointName, "pf1_120");
  EXPECT_EQ(f.profileChainage, "120");
  EXPECT_EQ(f.y, "0");
  EXPECT_EQ(f.date, "");
}

struct RangeCase {
  PositionField field;
  const char* text;
  bool valid;
  const char* message;
  const char* reset;
};

class PositionCheckTest : public PointDialogTest,
                          public ::testing::WithParamInterface<RangeCase> {};

TEST_P(PositionCheckTest, InvalidTextsAreResetWithTheFieldsMessage) {
  const RangeCase& c = GetParam();
  PointFields f = fillPointFields(db(), curve(), true);
  fieldText(f, c.field) = c.text;
  bool ok = checkPositionField(db(), curve(), true, f, c.field, dialogs);
  EXPECT_EQ(ok, c.valid);
  if (c.valid) {
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(fieldText(f, c.field), c.text);
  } else {
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0], c.message);
    EXPECT_EQ(fieldText(f, c.field), c.reset);
  }
}

constexpr const char* MsgSurface =
    "Metráž podél povrchu terénu aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od "
    "-10000000.0 do 10000000.";
constexpr const char* MsgX =
    "Souřadnici X aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od -10000000.0 do "
    "10000000.";
constexpr const char* MsgY =
    "Souřadnici Y aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od -10000000.0 do "
    "10000000.";
constexpr const char* MsgZ =
    "Souřadnici Z aktuálního bodu VES zadej číslicemi tak, aby číslo bylo od -10000000.0 do "
    "10000000.";
constexpr const char* MsgChainage =
    "Metráž aktuálního bodu VES na akt. pf zadej číslicemi tak, aby číslo bylo od -10000000.0 do "
    "10000000.";

INSTANTIATE_TEST_SUITE_P(
    Fields, PositionCheckTest,
    ::testing::Values(
        RangeCase{PositionField::SurfaceChainage, "10000001", false, MsgSurface, "120"},
        RangeCase{PositionField::SurfaceChainage, "-10000000", true, "", ""},
        RangeCase{PositionField::X, "-10000000.5", false, MsgX, "120"},
        RangeCase{PositionField::X, "12,75", true, "", ""},
        RangeCase{PositionField::Y, "abc", false, MsgY, "0"},
        RangeCase{PositionField::Y, "", false, MsgY, "0"},
        RangeCase{PositionField::Y, "10000000", true, "", ""},
        RangeCase{PositionField::Z, "1e8", false, MsgZ, "455.5"},
        RangeCase{PositionField::Z, "12x", false, MsgZ, "455.5"},
        RangeCase{PositionField::ProfileChainage, "20000000", false, MsgChainage, "120"},
        RangeCase{PositionField::ProfileChainage, "-", false, MsgChainage, "120"},
        RangeCase{PositionField::ProfileChainage, " 33.5 ", true, "", ""}));

TEST_F(PointDialogTest, AValidChainageGoesAtOnceIntoTheEditedPoint) {
  PointFields f = fillPointFields(db(), curve(), true);
  f.profileChainage = "333.25";
  EXPECT_TRUE(checkPositionField(db(), curve(), true, f, PositionField::ProfileChainage, dialogs));
  EXPECT_EQ(profile(0).points[1].profileChainage, 333.25f);
  EXPECT_EQ(profile(0).points[3].profileChainage, 0.0f);
}

TEST_F(PointDialogTest, AValidChainageGoesAtOnceIntoTheSlotOfTheNewPoint) {
  PointFields f = fillPointFields(db(), curve(), false);
  f.profileChainage = "77";
  EXPECT_TRUE(checkPositionField(db(), curve(), false, f, PositionField::ProfileChainage, dialogs));
  EXPECT_EQ(profile(0).points[3].profileChainage, 77.0f);
  EXPECT_EQ(profile(0).points[1].profileChainage, 205.0f);
  EXPECT_EQ(profile(0).mxindex_bodu, 2);
}

TEST_F(PointDialogTest, AFullProfileHasNoSlotForTheChainage) {
  profile(0).mxindex_bodu = MaxPointsPerProfile - 1;
  EXPECT_EQ(dialogTargetIndex(db(), false), -1);
  PointFields f = fillPointFields(db(), curve(), false);
  f.profileChainage = "77";
  EXPECT_TRUE(checkPositionField(db(), curve(), false, f, PositionField::ProfileChainage, dialogs));
  EXPECT_EQ(dialogTargetIndex(db(), true), 1);
}

TEST_F(PointDialogTest, AnInvalidChainageIsNotWritten) {
  PointFields f = fillPointFields(db(), curve(), true);
  f.profileChainage = "x";
  EXPECT_FALSE(checkPositionField(db(), curve(), true, f, PositionField::ProfileChainage, dialogs));
  EXPECT_EQ(profile(0).points[1].profileChainage, 205.0f);
}

TEST_F(PointDialogTest, ConfirmationRefusesAChainageOfAnotherPoint) {
  PointFields f = fillPointFields(db(), curve(), false);
  f.profileChainage = "305";  // point 2 sits there
  ConfirmResult r = confirmPointFields(db(), curve(), false, f, dialogs);
  EXPECT_EQ(r.outcome, ConfirmOutcome::DuplicateChainage);
  EXPECT_EQ(r.focus, PositionField::ProfileChainage);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], Duplicate);

  dialogs.clearRecords();
  f.profileChainage = "306";
  r = confirmPointFields(db(), curve(), false, f, dialogs);
  EXPECT_EQ(r.outcome, ConfirmOutcome::Accepted);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PointDialogTest, AnEditedPointMayKeepItsOwnChainage) {
  PointFields f = fillPointFields(db(), curve(), true);
  EXPECT_EQ(confirmPointFields(db(), curve(), true, f, dialogs).outcome, ConfirmOutcome::Accepted);
  f.profileChainage = "105";  // point 0's
  EXPECT_EQ(confirmPointFields(db(), curve(), true, f, dialogs).outcome,
            ConfirmOutcome::DuplicateChainage);
}

TEST_F(PointDialogTest, ConfirmationChecksEveryFieldAndFocusesTheFirstBadOne) {
  PointFields f = fillPointFields(db(), curve(), true);
  f.x = "?";
  f.z = "99999999";
  ConfirmResult r = confirmPointFields(db(), curve(), true, f, dialogs);
  EXPECT_EQ(r.outcome, ConfirmOutcome::InvalidField);
  EXPECT_EQ(r.focus, PositionField::X);
  ASSERT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.messages()[0], MsgX);
  EXPECT_EQ(dialogs.messages()[1], MsgZ);
  EXPECT_EQ(f.x, "120");
  EXPECT_EQ(f.z, "455.5");
  // The reset fields pass the next confirmation.
  dialogs.clearRecords();
  EXPECT_EQ(confirmPointFields(db(), curve(), true, f, dialogs).outcome, ConfirmOutcome::Accepted);
}

TEST_F(PointDialogTest, StoringPutsEveryFieldInItsPlace) {
  PointFields f;
  f.country = "Slovensko";
  f.region = "Orava";
  f.locality = "Tvrdošín";
  f.profileName = "Podélný";
  f.pointName = "VES 14";
  f.date = "14. 6. 2004";
  f.note = "mokro";
  f.operatorName = "Novák";
  f.surfaceChainage = "10";
  f.x = "11";
  f.y = "12";
  f.z = "13";
  f.profileChainage = "14";
  storePointFields(db(), curve(), f, 1, false);
  EXPECT_EQ(shownText(db().countryName), "Slovensko");
  EXPECT_EQ(shownText(db().regionName), "Orava");
  EXPECT_EQ(shownText(db().localityName), "Tvrdošín");
  EXPECT_EQ(shownText(profile(0).profileName), "Podélný");
  const SectionPoint& p = profile(0).points[1];
  EXPECT_EQ(shownText(p.pointName), "VES 14");
  EXPECT_EQ(shownText(p.measureDate), "14. 6. 2004");
  EXPECT_EQ(shownText(p.pointNote), "mokro");
  EXPECT_EQ(shownText(p.operatorName), "Novák");
  EXPECT_EQ(p.surfaceChainage, 10.0f);
  EXPECT_EQ(p.pointX, 11.0f);
  EXPECT_EQ(p.pointY, 12.0f);
  EXPECT_EQ(p.pointZ, 13.0f);
  EXPECT_EQ(p.profileChainage, 14.0f);
  // Texts are held in Windows-1250.
  EXPECT_EQ(textOf(p.operatorName), "Nov\xe1k");
}

TEST_F(PointDialogTest, UncheckedBadNumbersKeepStoredValuesOrTakeTheResetOnes) {
  PointFields f = fillPointFields(db(), curve(), true);
  f.x = "nic";
  f.z = "";
  storePointFields(db(), curve(), f, 1, false);
  EXPECT_EQ(profile(0).points[1].pointX, 202.0f);
  EXPECT_EQ(profile(0).points[1].pointZ, 204.0f);

  storePointFields(db(), curve(), f, 3, true);
  EXPECT_EQ(profile(0).points[3].pointX, 120.0f);
  EXPECT_EQ(profile(0).points[3].pointZ, 455.5f);
}

TEST_F(PointDialogTest, LongTextsAreCutToTheirBuffers) {
  PointFields f = fillPointFields(db(), curve(), true);
  f.date = std::string(300, 'd');
  storePointFields(db(), curve(), f, 1, false);
  EXPECT_EQ(textOf(profile(0).points[1].measureDate).size(), 99u);
}

TEST_F(PointDialogTest, StoringWithoutAPointIndexKeepsThePoints) {
  PointFields f = fillPointFields(db(), curve(), true);
  f.profileName = "jen profil";
  f.pointName = "x";
  storePointFields(db(), curve(), f, -1, false);
  storePointFields(db(), curve(), f, MaxPointsPerProfile, false);
  EXPECT_EQ(shownText(profile(0).profileName), "jen profil");
  EXPECT_EQ(shownText(profile(0).points[1].pointName), "Bod č. 2");
}

}  // namespace
}  // namespace orv::testing
