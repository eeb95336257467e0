// The tables beside the real curve window and the undo of model changes:
// values typed into the model table and the readings table through their
// widgets, every kind of model change undone and redone one step at a time,
// and the write-back into the section point that each of them owes.
#include <QTableWidget>
#include <cstring>

#include "commands/curve/derive_readings.h"
#include "commands/curve/model_editing_steps.h"
#include "commands/curve/readings_table.h"
#include "core/interpretation/branch_merging.h"
#include "qt/ttabulkamereni.h"
#include "qt/ttabulkamodelu.h"
#include "tests/app/curve_window_fixture.h"
#include "tests/commands/curve/curvebase_fakes.h"

namespace {

// A section whose neighbour is the point already shown, given a model of its
// own, as the section window hands a point over.
class NeighbourSection : public curvebase_test::CountingSection {
 public:
  Tulvakwin* win = nullptr;
  bool loadNeighbour(bool) override {
    orv::CurveWindowState& s = win->state();
    s.modelBoundaryCount = 1;
    s.modelRho[0] = 60;
    s.modelRho[1] = 300;
    s.modelDepth[0] = 5;
    s.fromSection = true;
    win->takeOverLoadedPoint();
    return true;
  }
};

class CurveWindowTablesTest : public CurveWindowFixture {
 protected:
  void SetUp() override {
    CurveWindowFixture::SetUp();
    section_.win = win_.get();
    win_->setSection(&section_);
  }
  orv::ModelSnapshot model() { return orv::captureModel(s()); }
  static bool same(const orv::ModelSnapshot& a, const orv::ModelSnapshot& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
  }
  QTableWidget* modelTable() {
    trigger("Tabulkamodelu1");
    return win_->findChild<Ttabulkamodelu*>()->table();
  }
  void typeModel(int row, int column, const char* text) {
    modelTable()->item(row, column)->setText(QString::fromUtf8(text));
  }
  NeighbourSection section_;
};

TEST_F(CurveWindowTablesTest, EveryKindOfModelChangeIsOneStepBackAndForth) {
  std::vector<orv::ModelSnapshot> steps{model()};
  auto step = [&](const char* what) {
    SCOPED_TRACE(what);
    EXPECT_FALSE(same(model(), steps.back()));
    steps.push_back(model());
  };
  build({{150, 2}, {30, 8}, {200, 40}}, 300);
  step("mouse build");
  const int y = (row(8) + row(40)) / 2;
  move(col(200), y);
  press(Qt::LeftButton, col(200), y);
  move(col(200) + 40, y);
  release(Qt::LeftButton, col(200) + 40, y);
  step("mouse drag");
  move(col(s().modelRho[2]), y);
  click(Qt::LeftButton, col(s().modelRho[2]), y, Qt::ControlModifier);
  step("mouse fix");
  typeModel(0, 0, "250,5");
  EXPECT_EQ(s().modelRho[0], 250.5f);
  step("typed value");
  modelTable()->item(1, 3)->setCheckState(Qt::Checked);
  step("typed fix");
  win_->findChild<QPushButton*>("vlozitvrstvu")->click();
  step("inserted row");
  trigger("optimaliyacesfixy1");
  step("inversion");
  dialogs_.answer("3");
  trigger("Automatickmodel1");
  step("automatic model");
  trigger("Zkoprujmodeldopamti1");
  trigger("Zruitmodel1");
  step("clear");
  trigger("Vlomodelzpamti1");
  step("paste");
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{});

  for (std::size_t k = steps.size() - 1; k > 0; --k) {
    trigger("Zpt1");
    EXPECT_TRUE(same(model(), steps[k - 1])) << "undo to step " << k - 1;
    expectCleanPicture();
  }
  trigger("Zpt1");
  EXPECT_TRUE(same(model(), steps[0]));
  for (std::size_t k = 1; k < steps.size(); ++k) {
    trigger("Znovu1");
    EXPECT_TRUE(same(model(), steps[k])) << "redo to step " << k;
  }
  // The carry to a neighbour is one step of the neighbour's own history,
  // and undoing it writes the neighbour's model back.
  trigger("Zkoprujaoptimalizujmodelnakivkuvpravo1");
  ASSERT_TRUE(s().fromSection);
  const int stored = section_.stored;
  trigger("Zpt1");
  EXPECT_EQ(s().modelRho[0], 60.0f);
  EXPECT_EQ(s().modelBoundaryCount, 1);
  EXPECT_EQ(section_.stored, stored + 1);
  trigger("Zpt1");
  EXPECT_EQ(s().modelRho[0], 60.0f);
}

TEST_F(CurveWindowTablesTest, FiftyStepsPerSoundingAndAnotherSoundingStartsAfresh) {
  build({{150, 2}, {30, 8}}, 300);
  const orv::ModelSnapshot built = model();
  for (int i = 0; i < 55; ++i) typeModel(1, 0, std::to_string(40 + i).c_str());
  EXPECT_EQ(s().modelRho[1], 94.0f);
  for (int i = 0; i < 55; ++i) trigger("Zpt1");
  EXPECT_TRUE(same(model(), built));
  dialogs_.answer(kSample);
  trigger("OtevtKMT1");
  trigger("Zpt1");
  EXPECT_EQ(s().modelBoundaryCount, 0);
  EXPECT_FALSE(s().modelActive);
}

TEST_F(CurveWindowTablesTest, TypedValuesAreCheckedAndWrittenBackLikeMouseEdits) {
  setModel({150, 30, 200, 300}, {2, 8, 40});
  s().fromSection = true;
  struct Typed {
    int row, column;
    const char* text;
    const char* message;  // "" when the value is taken
  };
  const Typed typed[] = {
      {0, 0, "abc", "Soustřeďte se (číslo)!"},
      {0, 0, "-3", "Rezistivita vrstvy musí být kladná!"},
      {1, 2, "0", "Mocnost vrstvy musí být kladná!"},
      {1, 4, "45",
       "Hloubka rozhraní musí ležet mezi hloubkami sousedních rozhraní (mocnost "
       "vrstvy musí být kladná)!"},
      {1, 2, " 10,5 ", ""},
      {3, 0, "1e3", ""},
  };
  for (const Typed& t : typed) {
    SCOPED_TRACE(t.text);
    dialogs_.clearRecords();
    const int stored = section_.stored;
    typeModel(t.row, t.column, t.text);
    const bool taken = !*t.message;
    EXPECT_EQ(dialogs_.messages(),
              taken ? std::vector<std::string>{} : std::vector<std::string>{t.message});
    EXPECT_EQ(section_.stored, stored + (taken ? 1 : 0));
  }
  // The thickness moved the boundaries below it; the curve is the model's.
  EXPECT_EQ(s().modelDepth[1], 12.5f);
  EXPECT_EQ(s().modelDepth[2], 44.5f);
  EXPECT_EQ(s().modelRho[3], 1000.0f);
  EXPECT_EQ(modelTable()->item(0, 0)->text(), "150");
  expectCleanPicture();

  QPushButton* remove = win_->findChild<QPushButton*>("smazatvrstvu");
  for (int n = 3; n > 0; --n) {
    modelTable()->selectRow(0);
    remove->click();
  }
  EXPECT_EQ(modelTable()->rowCount(), 1);
  dialogs_.clearRecords();
  modelTable()->selectRow(0);
  remove->click();
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{"Model musí mít alespoň jednu vrstvu."});
  QPushButton* insert = win_->findChild<QPushButton*>("vlozitvrstvu");
  for (int n = 1; n < orv::MaxLayers; ++n) insert->click();
  EXPECT_EQ(modelTable()->rowCount(), orv::MaxLayers);
  insert->click();
  EXPECT_EQ(dialogs_.messages().back(), orv::model_editing::FullModelMessage);
}

TEST_F(CurveWindowTablesTest, ReadingsTableMasksAReadingAndMergesTheEditsAsAfterAFileRead) {
  s().fromSection = true;
  trigger("Tabulkamen1");
  auto* table = win_->findChild<Ttabulkamereni*>();
  QTableWidget* cells = table->table();
  cells->item(0, 4)->setCheckState(Qt::Unchecked);  // the first reading, AB/2 1 m
  cells->item(2, 0)->setText("1,75");
  cells->item(3, 3)->setText("x");
  EXPECT_EQ(dialogs_.messages(), std::vector<std::string>{"Soustřeďte se (celé číslo)!"});
  const int stored = section_.stored;
  ASSERT_TRUE(table->apply());
  EXPECT_EQ(section_.stored, stored + 1);
  EXPECT_EQ(s().readingBranch[0], -1);
  EXPECT_EQ(s().readingAbHalf[2], 1.75f);
  EXPECT_EQ(s().gridMinIndex, 1);

  // The same readings without the masked one, merged on their own.
  curvebase_test::CurveFixture alone;
  for (const orv::TableReading& r : orv::readingsTableRows(s())) {
    if (!r.used) continue;
    const int i = alone.s.readingCount++;
    alone.s.readingAbHalf[i] = r.abHalf;
    alone.s.readingMnHalf[i] = r.mnHalf;
    alone.s.readingRho[i] = r.rho;
    alone.s.readingBranch[i] = r.branch;
  }
  ASSERT_EQ(orv::deriveReadings(alone.session, orv::ReadingOrigin::InMemory), 1);
  orv::mergeBranchesCore(alone.s, 2);
  for (int g = 0; g < orv::GridCells; ++g)
    EXPECT_EQ(s().mergedRho[g][0], alone.s.mergedRho[g][0]) << g;
  EXPECT_EQ(cells->item(0, 4)->checkState(), Qt::Unchecked);
}

}  // namespace
