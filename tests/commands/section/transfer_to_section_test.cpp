#include "tests/commands/section/section_test_support.h"

namespace orv::testing {
namespace {

// An interpreted sounding in the curve window: loaded, drawn, with a model.
void interpretedSounding(CurveWindowState& s, int pointNumber) {
  s.curveLoaded = s.curveDrawn = s.modelActive = true;
  s.sourceKind = SourceKmt;
  s.pointNumber = pointNumber;
  s.readingCount = 3;
  for (int m = 0; m < 3; ++m) {
    s.readingAbHalf[m] = 1.0f + m;
    s.readingMnHalf[m] = 0.5f;
    s.readingRho[m] = 40.0f + m;
    s.readingBranch[m] = 1;
  }
  s.gridMinIndex = 0;
  s.gridMaxIndex = 4;
  s.branchCount = 1;
  for (int g = 0; g <= 4; ++g) s.mergedRho[g][0] = 40.0f + g;
  s.modelBoundaryCount = 1;
  s.modelRho[0] = 40.0f;
  s.modelRho[1] = 90.0f;
  s.modelDepth[0] = 2.5f;
}

using TransferToSection = SectionTest;

TEST_F(TransferToSection, FilesTheSoundingAsANewCurrentPointAtItsChainage) {
  givePoints(2);
  profile(0).points[0].profileChainage = 0;
  profile(0).points[1].profileChainage = 25;
  interpretedSounding(curve(), 50);
  link.transferVisible = true;
  transferToSection(session);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(dialogRuns, 1);
  EXPECT_FALSE(editingFlagSeenByDialog);  // the dialog describes a point to insert
  EXPECT_EQ(profile(0).mxindex_bodu, 2);
  EXPECT_EQ(db().currentPoint, 2);
  const SectionPoint& p = profile(0).points[2];
  EXPECT_EQ(p.profileChainage, 50.0f);  // the KMT point number is offered
  EXPECT_EQ(p.Mermx, 3);
  EXPECT_EQ(p.Rmer[2], 42.0f);
  EXPECT_EQ(p.MDLmx, 1);
  EXPECT_EQ(p.layerDepth[0], 2.5f);
  EXPECT_EQ(curve().pointPosition, 50.0f);
  EXPECT_FALSE(link.transferVisible);
}

TEST_F(TransferToSection, TheFirstPointOfAnEmptyProfile) {
  interpretedSounding(curve(), 0);
  transferToSection(session);
  EXPECT_EQ(profile(0).mxindex_bodu, 0);
  EXPECT_EQ(db().currentPoint, 0);
  EXPECT_EQ(profile(0).points[0].Mermx, 3);
}

struct Refusal {
  const char* name;
  void (*arrange)(SectionTest&, CurveWindowState&, SectionProfile&);
  const char* message;
};

const Refusal kRefusals[] = {
    {"point of the section",
     [](SectionTest&, CurveWindowState& s, SectionProfile&) { s.fromSection = true; },
     "Reinterpretovanou křivku VES nelze znovu vložit do stejného profilu, neb je už tam"},
    {"full profile",
     [](SectionTest&, CurveWindowState&, SectionProfile& p) { p.mxindex_bodu = 419; },
     "Máš moc bodů VES v jednom pf - založ si nový pf (pravá myš nad levým oknem)!"},
    {"no model", [](SectionTest&, CurveWindowState& s, SectionProfile&) { s.modelActive = false; },
     "Nacti a zpracuj VES!"},
    {"not drawn", [](SectionTest&, CurveWindowState& s, SectionProfile&) { s.curveDrawn = false; },
     "Nacti a zpracuj VES!"},
};

TEST_F(TransferToSection, RefusalsStoreNothingAndHideTheButton) {
  for (const Refusal& r : kRefusals) {
    SCOPED_TRACE(r.name);
    givePoints(1);
    CurveWindowState& s = curve();
    interpretedSounding(s, 75);
    s.fromSection = false;
    r.arrange(*this, s, profile(0));
    const int before = profile(0).mxindex_bodu;
    dialogs.clearRecords();
    dialogRuns = 0;
    link.transferVisible = true;
    transferToSection(session);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0], r.message);
    EXPECT_EQ(dialogRuns, 0);
    EXPECT_EQ(profile(0).mxindex_bodu, before);
    EXPECT_FALSE(link.transferVisible);
  }
}

TEST_F(TransferToSection, AnOaxSoundingOffersTheNumberOfItsFileName) {
  interpretedSounding(curve(), 7);
  curve().sourceKind = SourceInstrument;
  setText(curve().instrumentFilePath, "pf1_120.OAX");
  transferToSection(session);
  EXPECT_EQ(curve().pointPosition, 120.0f);
  EXPECT_EQ(profile(0).points[0].profileChainage, 120.0f);
}

}  // namespace
}  // namespace orv::testing
