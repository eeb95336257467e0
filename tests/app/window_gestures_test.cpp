// Both windows with the desktop's own dialogs: every open dialog hands a
// missing name to its command, a double click that opened an input leaves
// the mouse as it was, Del deletes the selected HBV line and "Tisk
// formuláře" prints the picture.
#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include "app/shell.h"
#include "commands/section/database_commands.h"
#include "core/section/vdb_file.h"
#include "qt/image_widget.h"
#include "qt/tsection.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

// Answers each modal dialog as it comes up, from the dialog's own event loop:
// a file dialog takes the next name (none cancels it), any other dialog is
// closed; seen lists them in order, a message box by its text.
struct ModalAnswers {
  QStringList names;
  std::vector<std::string> seen;
  QTimer timer;
  QWidget* queued = nullptr;
  ModalAnswers() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w || w == queued) return;
      queued = w;
      QMetaObject::invokeMethod(
          w, [this, w] { answer(w); }, Qt::QueuedConnection);
    });
    timer.start(5);
  }
  void answer(QWidget* w) {
    queued = nullptr;
    auto* file = qobject_cast<QFileDialog*>(w);
    auto* box = qobject_cast<QMessageBox*>(w);
    seen.push_back(box ? box->text().toStdString() : file ? "?" : w->metaObject()->className());
    if (!file || names.isEmpty()) return qobject_cast<QDialog*>(w)->reject();
    file->findChild<QLineEdit*>("fileNameEdit")->setText(names.takeFirst());
    QMetaObject::invokeMethod(file, "accept", Qt::DirectConnection);
  }
};

class WindowGesturesTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    shell_ = std::make_unique<Shell>(nullptr, false);
    curve().resize(1000, 700);
    curve().show();
    section().show();
    QApplication::processEvents();
    modals_.seen.clear();
  }
  void TearDown() override {
    shell_.reset();
    StartFolderTest::TearDown();
  }
  Tulvakwin& curve() { return *shell_->curve(); }
  TSection& section() { return *shell_->section(); }
  ModalAnswers modals_;
  std::unique_ptr<Shell> shell_;
};

TEST_F(WindowGesturesTest, EveryOpenDialogHandsAMissingNameToItsCommand) {
  const QString missing = QString::fromStdString((folder_ / "chybi.xyz").string());
  const std::string again = "Soubor" + missing.toStdString() + "nexistuje. Zvolte jiný název!";
  const std::vector<std::string> askedAgain{"?", again, "?", "Nevybral jste žádný soubor"};
  const struct {
    QWidget* window;
    const char* item;
    std::vector<std::string> seen;
  } rows[] = {
      {&section(), "Otevidbnamenchdatavsledk1", askedAgain},
      {&section(), "Natibarevnouklurezistivit1", askedAgain},
      {&section(), "Nativkydocelhoprofiluzesouborutxttypuxtabz1", askedAgain},
      {&section(), "NativkybezposunuXametrdlepovrchuzesouborutxttypuxtabz1", askedAgain},
      {&curve(), "OtevtOAX1", {"?", "Cannot open OAX file.", "chyba při čtení"}},
      {&curve(), "OtevtaparaturySASamp1", {"?", "Cannot open SAS file.", "chyba při čtení"}},
      {&curve(),
       "OtevtKMT1",
       {"?", "Cannot open KMT file.", "Cannot open KMT file.", "záznam nenačten"}},
  };
  for (const auto& r : rows) {
    modals_.seen.clear();
    modals_.names = {missing};
    r.window->findChild<QAction*>(r.item)->trigger();
    EXPECT_EQ(modals_.seen, r.seen) << r.item;
  }
}

TEST_F(WindowGesturesTest, ADoubleClickThatOpenedAnInputLeavesTheMouseAsItWas) {
  modals_.names = {QString::fromStdString(orv_test::fixturePath("oax-pf2/pf2_0.OAX"))};
  curve().action("OtevtOAX1")->trigger();
  orv::CurveWindowState& s = curve().state();
  s.inputMode = 3;
  QWidget* img = curve().image();
  const QPoint inside((s.plotLeft + s.plotRight) / 2, (s.plotTop + s.plotBottom) / 2);
  const QPoint margin((s.plotRight + s.imageWidth) / 2, inside.y());
  // The open dialog takes the release of the double click.
  QTest::mouseClick(img, Qt::LeftButton, Qt::NoModifier, inside);
  QTest::mouseDClick(img, Qt::LeftButton, Qt::NoModifier, inside);
  EXPECT_EQ(modals_.seen, (std::vector<std::string>{"?", "?", "nevybral jste žádný soubor"}));
  const float right = s.logRhoMax;
  QTest::mouseClick(img, Qt::LeftButton, Qt::NoModifier, margin);
  EXPECT_NEAR(s.logRhoMax, right + 0.3333f, 1e-3) << "the next press acts";
  QTest::mouseClick(img, Qt::LeftButton, Qt::NoModifier, margin);
  QTest::mouseDClick(img, Qt::LeftButton, Qt::NoModifier, margin);
  QTest::mouseRelease(img, Qt::LeftButton, Qt::NoModifier, margin);
  EXPECT_EQ(modals_.seen.size(), 3u) << "no input from the right margin";
}

TEST_F(WindowGesturesTest, DelDeletesTheSelectedLineOnlyInTheEditMode) {
  orv::SectionProfile& p = section().database().profiles[0];
  ASSERT_EQ(orv::readVdb(section().database(), orv_test::fixturePath("profil8.vdb").c_str()).code,
            1);
  orv::setViewForReadDatabase(section().viewState());
  section().paintSection();
  const int lines = p.HBV_pocet;
  QTest::keyClick(&section(), Qt::Key_Delete);
  EXPECT_EQ(p.HBV_pocet, lines);
  QTest::keyClick(&section(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(section().viewState().hbvEditMode);
  QTest::keyClick(&section(), Qt::Key_Delete);
  EXPECT_EQ(p.HBV_pocet, lines - 1);
  EXPECT_TRUE(modals_.seen.empty());
}

TEST_F(WindowGesturesTest, PrintingTheSectionPrintsItsPictureOnly) {
  const QString pdf = QString::fromStdString((folder_ / "formular.pdf").string());
  section().printer().setOutputFormat(QPrinter::PdfFormat);
  section().printer().setOutputFileName(pdf);
  section().action("Tiskformule1")->trigger();
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  const QSize client = section().image()->size();
  EXPECT_TRUE(bytes.contains("/Width " + QByteArray::number(client.width()))) << client.width();
  EXPECT_TRUE(bytes.contains("/Height " + QByteArray::number(client.height()))) << client.height();
}

}  // namespace
