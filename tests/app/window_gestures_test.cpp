// Both windows with the desktop's own dialogs: open dialogs, a double click
// that opens an input, Del in the HBV edit mode and "Tisk formuláře".
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

// Answers each modal dialog from its own event loop: a file dialog takes the
// next name (none cancels it), any other is closed; seen lists them in order.
struct ModalAnswers {
  QStringList names;
  std::vector<std::string> seen;
  QTimer timer;
  QWidget* queued = nullptr;
  ModalAnswers() {
    QObject::connect(&timer, &QTimer::timeout, [this] {
      QWidget* w = QApplication::activeModalWidget();
      if (w && w != queued)
        QMetaObject::invokeMethod(
            queued = w, [this, w] { answer(w); }, Qt::QueuedConnection);
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
    QMetaObject::invokeMethod(file, "accept");
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
  const std::string missing = (folder_ / "chybi.xyz").string();
  const std::vector<std::string> again{"?", "Soubor" + missing + "nexistuje. Zvolte jiný název!",
                                       "?", "Nevybral jste žádný soubor"};
  const std::string kmt = "Cannot open KMT file.", read = "chyba při čtení";
  const struct {
    QWidget* window;
    const char* item;
    std::vector<std::string> seen;
  } rows[] = {{&section(), "Otevidbnamenchdatavsledk1", again},
              {&section(), "Natibarevnouklurezistivit1", again},
              {&section(), "Nativkydocelhoprofiluzesouborutxttypuxtabz1", again},
              {&section(), "NativkybezposunuXametrdlepovrchuzesouborutxttypuxtabz1", again},
              {&curve(), "OtevtOAX1", {"?", "Cannot open OAX file.", read}},
              {&curve(), "OtevtaparaturySASamp1", {"?", "Cannot open SAS file.", read}},
              {&curve(), "OtevtKMT1", {"?", kmt, kmt, "záznam nenačten"}}};
  for (const auto& r : rows) {
    modals_.seen.clear();
    modals_.names = {QString::fromStdString(missing)};
    r.window->findChild<QAction*>(r.item)->trigger();
    EXPECT_EQ(modals_.seen, r.seen) << r.item;
  }
}

TEST_F(WindowGesturesTest, ADoubleClickThatOpenedAnInputLeavesTheMouseAsItWas) {
  modals_.names = {QString::fromStdString(orv_test::fixturePath("oax-pf2/pf2_0.OAX"))};
  curve().action("OtevtOAX1")->trigger();
  orv::CurveWindowState& s = curve().state();
  s.inputMode = 3;
  const QPoint inside((s.plotLeft + s.plotRight) / 2, s.plotBottom / 2);
  const QPoint margin((s.plotRight + s.imageWidth) / 2, inside.y());
  QTest::mouseClick(curve().image(), Qt::LeftButton, Qt::NoModifier, inside);
  QTest::mouseDClick(curve().image(), Qt::LeftButton, Qt::NoModifier, inside);  // no release
  EXPECT_EQ(modals_.seen, (std::vector<std::string>{"?", "?", "nevybral jste žádný soubor"}));
  const float right = s.logRhoMax;
  QTest::mouseClick(curve().image(), Qt::LeftButton, Qt::NoModifier, margin);
  EXPECT_NEAR(s.logRhoMax, right + 0.3333f, 1e-3) << "the next press acts";
  QTest::mouseClick(curve().image(), Qt::LeftButton, Qt::NoModifier, margin);
  QTest::mouseDClick(curve().image(), Qt::LeftButton, Qt::NoModifier, margin);
  QTest::mouseRelease(curve().image(), Qt::LeftButton, Qt::NoModifier, margin);
  EXPECT_EQ(modals_.seen.size(), 3u) << "no input from the right margin";
}

TEST_F(WindowGesturesTest, DelDeletesTheSelectedLineInTheEditModeAndPrintingTakesThePicture) {
  const orv::SectionProfile& p = section().database().profiles[0];
  ASSERT_EQ(orv::readVdb(section().database(), orv_test::fixturePath("profil8.vdb").c_str()).code,
            1);
  const int lines = p.HBV_pocet;
  QTest::keyClick(&section(), Qt::Key_Delete);
  EXPECT_EQ(p.HBV_pocet, lines);
  QTest::keyClick(&section(), Qt::Key_E, Qt::ControlModifier);
  QTest::keyClick(&section(), Qt::Key_Delete);
  EXPECT_EQ(p.HBV_pocet, lines - 1);

  const QString pdf = QString::fromStdString((folder_ / "formular.pdf").string());
  section().printer().setOutputFormat(QPrinter::PdfFormat);
  section().printer().setOutputFileName(pdf);
  section().action("Tiskformule1")->trigger();
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  const QSize shown = section().image()->size();  // the image's width and height in the page
  EXPECT_TRUE(bytes.contains("/Width " + QByteArray::number(shown.width())));
  EXPECT_TRUE(bytes.contains("/Height " + QByteArray::number(shown.height())));
  EXPECT_TRUE(modals_.seen.empty());
}

}  // namespace
