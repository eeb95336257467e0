// The thorough fit, the equivalence ranges and the automatic model through
// the real curve window's "Model" menu.
#include <QAction>
#include <QImage>
#include <QKeySequence>
#include <QPushButton>

#include "core/interpretation/inversion.h"
#include "qt/image_widget.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

class CurveWindowFitTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
    win_ = std::make_unique<Tulvakwin>(nullptr, &dialogs_);
    dialogs_.clearRecords();
    win_->resize(1200, 800);
    win_->show();
    QApplication::processEvents();
    s().sectionWindowShown = true;
    dialogs_.answer(kSample);
    trigger("OtevtKMT1");
    ASSERT_TRUE(s().compositeReady);
    dialogs_.clearRecords();
  }
  void TearDown() override {
    win_.reset();
    StartFolderTest::TearDown();
  }
  orv::CurveWindowState& s() { return win_->state(); }
  void trigger(const char* name) {
    QAction* a = win_->action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  QImage picture() { return win_->image()->canvas().image().copy(); }

  std::unique_ptr<Tulvakwin> win_;
};

TEST_F(CurveWindowFitTest, TheItemsStandInTheModelMenuWithTheirShortcuts) {
  struct Item {
    const char* name;
    const char* caption;
    const char* keys;
  };
  for (const Item& i :
       {Item{"Dkladnoptimalizace1", "Důkladná optimalizace", "Ctrl+Alt+D"},
        Item{"Zobrazrozsahyekvivalence1", "Zobraz rozsahy ekvivalence", "Ctrl+Alt+E"},
        Item{"Nejistotaparametr1", "Nejistota parametrů", "Ctrl+Alt+N"},
        Item{"Automatickmodel1", "Automatický model", "Ctrl+Alt+A"}}) {
    QAction* a = win_->action(i.name);
    ASSERT_NE(a, nullptr) << i.name;
    EXPECT_EQ(a->text().toStdString(), i.caption);
    EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(i.keys))) << i.name;
  }
}

TEST_F(CurveWindowFitTest, AutomaticModelThenThoroughFitThenRangesOnThePicture) {
  dialogs_.answer("4");
  trigger("Automatickmodel1");
  EXPECT_TRUE(dialogs_.messages().empty());
  ASSERT_EQ(s().modelBoundaryCount, 3);
  EXPECT_TRUE(s().modelActive);
  EXPECT_TRUE(s().computedCurveValid);
  EXPECT_TRUE(win_->optimiseButton()->isVisibleTo(win_.get()));
  EXPECT_TRUE(win_->transferButton()->isVisibleTo(win_.get()));
  EXPECT_EQ(orv::inversionRefusal(s()), orv::InversionRefusal::None);

  // A drawn model: the thorough fit starts from it and does not worsen it.
  const double automatic = s().modelFitError;
  trigger("Dkladnoptimalizace1");
  EXPECT_TRUE(dialogs_.messages().empty());
  EXPECT_LE(s().modelFitError, automatic);

  // The ranges are written around the model at its minimum, which the
  // thorough fit has already reached.
  const float rho1 = s().modelRho[1];
  const QImage before = picture();
  trigger("Zobrazrozsahyekvivalence1");
  EXPECT_TRUE(dialogs_.messages().empty());
  EXPECT_NE(picture(), before);
  EXPECT_NEAR(s().modelRho[1], rho1, 1e-3f * rho1);
  EXPECT_EQ(dialogs_.progressTitles().back(), "Rozsahy ekvivalence");

  trigger("Nejistotaparametr1");
  ASSERT_EQ(dialogs_.reports().size(), 1u);
  EXPECT_EQ(dialogs_.reports()[0].find("Nejistota parametrů|SSQ = "), 0u);
}

TEST_F(CurveWindowFitTest, ABadCountIsToldAndTheModelStays) {
  const int before = s().modelBoundaryCount;
  dialogs_.answer("abc");
  trigger("Automatickmodel1");
  ASSERT_EQ(dialogs_.messages().size(), 1u);
  EXPECT_EQ(dialogs_.messages()[0], "Soustřeďte se (celé číslo)!");
  EXPECT_EQ(s().modelBoundaryCount, before);
}

}  // namespace
