#include <cstring>

#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

constexpr const char* TooManyProfiles =
    "Máš už moc zadaných profilů v lokalitě (změň lokalitu nebo nová databáze)";
constexpr const char* LastPointStays = "Musí zbýt alespoň jeden bod - tento bod nelze smazat.";

// --- createProfile -----------------------------------------------------------------

TEST_F(SectionTest, CreateProfileAppendsNineteenTimesThenRefuses) {
  for (int n = 1; n <= 19; ++n) {
    PointFields f;
    f.profileName = cformat("profil %d", n);
    dialogAnswer = f;
    createProfile(session);
    ASSERT_EQ(db().mxindex_profilu, n);
    EXPECT_EQ(db().currentProfile, n);
    EXPECT_EQ(textOf(profile(n).profileName), cformat("profil %d", n));
  }
  EXPECT_TRUE(dialogs.messages().empty());
  const int runs = dialogRuns;
  const int redraws = sectionRedraws;
  db().currentPoint = 7;  // whatever the selection, the refusal keeps it

  createProfile(session);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], TooManyProfiles);
  EXPECT_EQ(db().mxindex_profilu, 19);
  EXPECT_EQ(db().currentProfile, 19);
  EXPECT_EQ(db().currentPoint, 7);
  EXPECT_EQ(dialogRuns, runs);
  EXPECT_EQ(sectionRedraws, redraws);
}

TEST_F(SectionTest, NewProfileScalesDifferFromFreshOnes) {
  createProfile(session);
  EXPECT_FLOAT_EQ(profile(1).scaleX, 0.0001f);  // 1:10000
  EXPECT_FLOAT_EQ(profile(1).scaleZ, 0.0005f);  // 1:2000
  EXPECT_FLOAT_EQ(profile(0).scaleZ, 0.001f);   // 1:1000, untouched
  EXPECT_FLOAT_EQ(profile(2).scaleZ, 0.001f);
  EXPECT_EQ(profile(1).mxindex_bodu, -1);
}

TEST_F(SectionTest, CreateProfileFreesTheCurveWindowForTransfer) {
  curve().fromSection = true;
  link.transferVisible = false;
  createProfile(session);
  EXPECT_EQ(db().currentPoint, NoPointYet);
  EXPECT_TRUE(link.transferVisible);
  EXPECT_FALSE(curve().fromSection);
  EXPECT_EQ(dialogRuns, 1);
  EXPECT_TRUE(editingFlagSeenByDialog);
  EXPECT_FALSE(view.editingExistingPoint);
  EXPECT_GE(sectionRedraws, 1);
}

TEST_F(SectionTest, CreateProfileStoresOnlyTheProfileTexts) {
  PointFields f;
  f.country = "Česko";
  f.region = "Vysočina";
  f.locality = "Žďár";
  f.profileName = "pf jih";
  f.pointName = "nesmí se uložit";
  f.date = "1.1.2000";
  f.surfaceChainage = f.x = f.y = f.z = f.profileChainage = "77";
  dialogAnswer = f;
  createProfile(session);
  EXPECT_EQ(shownText(db().countryName), "Česko");
  EXPECT_EQ(shownText(db().regionName), "Vysočina");
  EXPECT_EQ(shownText(db().localityName), "Žďár");
  EXPECT_EQ(shownText(profile(1).profileName), "pf jih");
  const SectionPoint& slot = profile(1).points[0];
  EXPECT_EQ(textOf(slot.pointName), "");
  EXPECT_EQ(textOf(slot.measureDate), "");
  EXPECT_EQ(slot.profileChainage, 0.0f);
  EXPECT_EQ(slot.pointY, 0.0f);
}

TEST_F(SectionTest, CreateProfileClearsBoundaryLinesLeftInTheSlot) {
  profile(1).HBV_pocet = 4;  // left by an earlier, larger database
  createProfile(session);
  EXPECT_EQ(profile(1).HBV_pocet, 0);
}

// --- deleteCurrentPoint --------------------------------------------------------------

TEST_F(SectionTest, DeletingTheMiddleOfThreeMovesTheThirdDown) {
  givePoints(3);
  ZeroedBlock<SectionPoint> first, third;
  std::memcpy(first.get(), &profile(0).points[0], sizeof(SectionPoint));
  std::memcpy(third.get(), &profile(0).points[2], sizeof(SectionPoint));
  db().currentPoint = 1;

  deleteCurrentPoint(session);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(profile(0).mxindex_bodu, 1);
  EXPECT_EQ(db().currentPoint, 1);
  expectSamePoint(*first, profile(0).points[0]);
  expectSamePoint(*third, profile(0).points[1]);
}

TEST_F(SectionTest, DeletingTheLastPointSelectsTheNewLast) {
  givePoints(3);
  db().currentPoint = 2;
  deleteCurrentPoint(session);
  EXPECT_EQ(profile(0).mxindex_bodu, 1);
  EXPECT_EQ(db().currentPoint, 1);
  EXPECT_EQ(textOf(profile(0).points[1].pointName), "bod2");
  // The curve window now shows the new last point.
  EXPECT_EQ(curve().readingRho[0], profile(0).points[1].Rmer[0]);
}

TEST_F(SectionTest, TheOnlyPointCannotBeDeleted) {
  givePoints(1);
  db().currentPoint = 0;
  curve().readingCount = 0;
  deleteCurrentPoint(session);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], LastPointStays);
  EXPECT_EQ(profile(0).mxindex_bodu, 0);
  EXPECT_EQ(db().currentPoint, 0);
  EXPECT_EQ(textOf(profile(0).points[0].pointName), "bod1");
  EXPECT_EQ(curve().readingCount, 0);
  EXPECT_EQ(link.redraws, 0);
  EXPECT_EQ(sectionRedraws, 0);
}

TEST_F(SectionTest, DeletingOnAnEmptyProfileIsRefusedToo) {
  deleteCurrentPoint(session);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0], LastPointStays);
  EXPECT_EQ(profile(0).mxindex_bodu, -1);
}

TEST_F(SectionTest, DeletionHandsTheNewCurrentPointToTheCurveWindow) {
  givePoints(3);
  SectionPoint& third = profile(0).points[2];
  third.MDLmx = 2;
  third.layerRho[0] = 100.0f;
  third.layerRho[1] = -25.0f;
  third.layerRho[2] = 300.0f;
  third.layerDepth[0] = -4.0f;
  third.layerDepth[1] = 12.5f;
  profile(0).num_IPoken = 3;
  curve().ipValue[0][0] = -7.0f;  // the deleted point's: replaced
  curve().ipWindowCount = -10;
  db().currentPoint = 1;

  deleteCurrentPoint(session);
  const CurveWindowState& s = curve();
  EXPECT_EQ(s.modelBoundaryCount, 2);
  EXPECT_EQ(s.modelRho[1], 25.0f);
  EXPECT_EQ(s.rhoFixed[1], 1);
  EXPECT_EQ(s.rhoFixed[0], 0);
  EXPECT_EQ(s.modelDepth[0], 4.0f);
  EXPECT_EQ(s.depthFixed[0], 1);
  EXPECT_EQ(s.depthFixed[1], 0);
  EXPECT_EQ(s.readingCount, third.Mermx);
  EXPECT_EQ(s.readingAbHalf[5], third.AO[5]);
  EXPECT_EQ(s.gridMinIndex, third.nABmn);
  EXPECT_EQ(s.gridMaxIndex, third.ABmx);
  EXPECT_EQ(s.pointElevation, third.pointZ);
  EXPECT_FLOAT_EQ(static_cast<float>(s.modelFitError), third.fitError);
  EXPECT_EQ(s.ipValue[0][0], third.ipValue[0][0]);
  EXPECT_EQ(s.ipWindowCount, 3);
  EXPECT_TRUE(s.fromSection);
  EXPECT_GE(sectionRedraws, 1);
  // Taken over as a loaded point: its own forward curve and misfit.
  EXPECT_EQ(link.takeOvers, 1);
  EXPECT_TRUE(db().changed);
}

TEST_F(SectionTest, GarbageCountsNeverReachOutsideTheArrays) {
  givePoints(4);
  profile(0).points[1].Mermx = 500;
  profile(0).points[2].Mermx = 50;
  profile(0).points[2].nABmn = 190;
  profile(0).points[2].ABmx = 199;
  profile(0).points[3].MDLmx = 40;
  profile(0).points[3].nABmn = -5;
  profile(0).points[3].ABmx = 400;
  profile(0).points[3].MNmx = 9;
  db().currentPoint = 0;

  deleteCurrentPoint(session);  // moves three odd points down
  EXPECT_EQ(profile(0).points[0].Mermx, 500);
  EXPECT_EQ(profile(0).points[0].AO[199], profile(0).points[1].AO[199]);
  EXPECT_EQ(profile(0).points[1].compositeRho[199], 2000.0f * 3 + 199 + 0.5f);
  EXPECT_EQ(profile(0).points[2].MDLmx, 40);
  EXPECT_EQ(profile(0).points[2].layerRho[29], 10.0f * 4 + 29 + 1);

  // The curve window receives counts cut to its capacities.
  EXPECT_EQ(curve().readingCount, MaxReadings);
  db().currentPoint = 2;
  loadPoint(session, 2);
  EXPECT_EQ(curve().modelBoundaryCount, MaxLayers - 1);
  EXPECT_EQ(curve().gridMinIndex, 0);
  EXPECT_EQ(curve().gridMaxIndex, GridCells - 1);
  EXPECT_EQ(curve().branchCount, MaxBranch);
}

TEST_F(SectionTest, DeletionMovesTheWholeCompositeCurveEvenWithFewReadings) {
  givePoints(2);
  fillPoint(profile(0).points[1], 2, /*readings=*/5, /*firstCell=*/2, /*lastCell=*/15);
  db().currentPoint = 0;
  deleteCurrentPoint(session);
  for (int g = 2; g <= 15; ++g)
    EXPECT_EQ(profile(0).points[0].compositeRho[g], 2000.0f * 2 + g + 0.5f) << g;
}

// --- alignPointsToSurface -------------------------------------------------------------

TEST_F(SectionTest, AlignmentPutsPointsAtTheirSurfaceChainage) {
  givePoints(3);
  const float surface[] = {0.0f, 10.0f, 20.0f};
  for (int b = 0; b < 3; ++b) profile(0).points[b].surfaceChainage = surface[b];
  alignPointsToSurface(session);
  for (int b = 0; b < 3; ++b) {
    EXPECT_EQ(profile(0).points[b].pointX, surface[b]);
    EXPECT_EQ(profile(0).points[b].profileChainage, surface[b]);
    EXPECT_EQ(profile(0).points[b].pointY, 100.0f * (b + 1) + 3);  // untouched
  }
  EXPECT_EQ(sectionRedraws, 1);
}

TEST_F(SectionTest, AlignmentLeavesSlotsBeyondTheLastPoint) {
  givePoints(3);
  profile(0).mxindex_bodu = 1;
  alignPointsToSurface(session);
  EXPECT_EQ(profile(0).points[2].pointX, 302.0f);
}

// --- selectProfile ---------------------------------------------------------------------

struct SelectCase {
  int k;
  int expectedProfile;
};

class SelectProfileTest : public SectionTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(SelectProfileTest, SelectsOnlyProfilesInUseButAlwaysResetsTheSelection) {
  db().mxindex_profilu = 1;  // two profiles
  db().currentProfile = 0;
  db().currentPoint = 5;
  view.hbvActive = 3;
  curve().fromSection = true;
  link.transferVisible = false;
  selectProfile(session, GetParam().k);
  EXPECT_EQ(db().currentProfile, GetParam().expectedProfile);
  EXPECT_EQ(db().currentPoint, 0);
  EXPECT_EQ(view.hbvActive, -1);
  EXPECT_TRUE(link.transferVisible);
  EXPECT_FALSE(curve().fromSection);
  EXPECT_EQ(sectionRedraws, 1);
}

INSTANTIATE_TEST_SUITE_P(Profiles, SelectProfileTest,
                         ::testing::Values(SelectCase{0, 0}, SelectCase{1, 1}, SelectCase{3, 0},
                                           SelectCase{19, 0}, SelectCase{20, 0},
                                           SelectCase{-1, 0}));

// --- neighbours ------------------------------------------------------------------------

struct NeighbourCase {
  int current;
  int next;
  int previous;
};

class NeighbourTest : public SectionTest, public ::testing::WithParamInterface<NeighbourCase> {};

TEST_P(NeighbourTest, FindsTheClosestChainageOnEachSide) {
  givePoints(3);
  const float chainage[] = {0.0f, 50.0f, 20.0f};
  for (int b = 0; b < 3; ++b) profile(0).points[b].profileChainage = chainage[b];
  db().currentPoint = GetParam().current;
  EXPECT_EQ(nextNeighbour(db()), GetParam().next);
  EXPECT_EQ(previousNeighbour(db()), GetParam().previous);
}

INSTANTIATE_TEST_SUITE_P(Chainages0_50_20, NeighbourTest,
                         ::testing::Values(NeighbourCase{2, 1, 0}, NeighbourCase{1, 1, 2},
                                           NeighbourCase{0, 2, 0}));

TEST_F(SectionTest, NeighbourTiesKeepTheFirstAndFarPointsDoNotCount) {
  givePoints(4);
  const float chainage[] = {0.0f, 30.0f, 30.0f, 2000000.0f};
  for (int b = 0; b < 4; ++b) profile(0).points[b].profileChainage = chainage[b];
  db().currentPoint = 0;
  EXPECT_EQ(nextNeighbour(db()), 1);
  db().currentPoint = 2;
  EXPECT_EQ(nextNeighbour(db()), 2);  // 2000000 m away is no neighbour
  EXPECT_EQ(previousNeighbour(db()), 0);
}

TEST_F(SectionTest, NeighboursOfNoPointAreNoPoint) {
  db().currentPoint = NoPointYet;
  EXPECT_EQ(nextNeighbour(db()), NoPointYet);
  EXPECT_EQ(previousNeighbour(db()), NoPointYet);
}

// --- menu and status texts -------------------------------------------------------------

TEST_F(SectionTest, ProfileMenuShowsProfilesInUseByName) {
  db().mxindex_profilu = 1;
  setTextFromUtf8(profile(1).profileName, "Příčný");
  ProfileMenuEntry e0 = profileMenuEntry(db(), 0);
  EXPECT_TRUE(e0.visible);
  EXPECT_EQ(e0.caption, "pf 0");
  ProfileMenuEntry e1 = profileMenuEntry(db(), 1);
  EXPECT_TRUE(e1.visible);
  EXPECT_EQ(e1.caption, "Příčný");
  ProfileMenuEntry e2 = profileMenuEntry(db(), 2);
  EXPECT_FALSE(e2.visible);
  EXPECT_EQ(e2.caption, "pf 2");
  EXPECT_FALSE(profileMenuEntry(db(), 20).visible);
}

TEST_F(SectionTest, StatusTextNamesLocalityAndProfile) {
  setTextFromUtf8(db().localityName, "Třebíč");
  setTextFromUtf8(profile(0).profileName, "A");
  EXPECT_EQ(profileStatusText(db()), "lokalita: Třebíč - pf: A");
}

// --- editPointAttributes ---------------------------------------------------------------

TEST_F(SectionTest, EditPointAttributesStoresIntoTheCurrentPoint) {
  givePoints(2);
  db().currentPoint = 1;
  curve().pointElevation = 222.0f;
  PointFields f = fillPointFields(db(), curve(), true);
  f.date = "3. května";
  f.region = "Horácko";
  f.y = "1,5";
  dialogAnswer = f;
  editPointAttributes(session);
  EXPECT_TRUE(editingFlagSeenByDialog);
  EXPECT_FALSE(view.editingExistingPoint);
  EXPECT_EQ(shownText(profile(0).points[1].measureDate), "3. května");
  EXPECT_EQ(shownText(db().regionName), "Horácko");
  EXPECT_EQ(profile(0).points[1].pointY, 1.5f);
  EXPECT_EQ(profile(0).points[1].pointZ, 222.0f);
  EXPECT_EQ(textOf(profile(0).points[0].measureDate), "1.5.2003");
  EXPECT_EQ(sectionRedraws, 1);
}

}  // namespace
}  // namespace orv::testing
