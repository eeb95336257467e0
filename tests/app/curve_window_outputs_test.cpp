// "Tisk" and "Obrázek" through the real curve window: a sounding opened from
// the menu, the picture printed to PDF where no printer is set up and read
// back through a PDF rasteriser, and saved as JPEG with whatever the editing
// modes have drawn over it.
#include <QAction>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>

#include "commands/curve/curve_outputs.h"
#include "qt/image_printing.h"
#include "qt/image_widget.h"
#include "qt/tulvakwin.h"
#include "tests/app/shell_fixture.h"

namespace {

const std::string kSample = orv_test::fixturePath("lhota-pf1.kmt");

class CurveWindowOutputsTest : public StartFolderTest {
 protected:
  void SetUp() override {
    StartFolderTest::SetUp();
    win_ = std::make_unique<Tulvakwin>(nullptr, &dialogs_);
    dialogs_.clearRecords();  // the missing settings file was announced
    win_->resize(1200, 800);
    win_->show();
    QApplication::processEvents();
    s().sectionWindowShown = true;
  }
  void TearDown() override {
    win_.reset();
    StartFolderTest::TearDown();
  }
  void open() {
    ASSERT_TRUE(orv_test::fixturePresent(kSample));
    dialogs_.answer(kSample);
    trigger("OtevtKMT1");
    ASSERT_TRUE(s().curveLoaded && s().curveDrawn);
    dialogs_.clearRecords();
  }

  orv::CurveWindowState& s() { return win_->state(); }
  const QImage& picture() { return win_->image()->canvas().image(); }
  std::string file(const char* name) { return (folder_ / name).string(); }
  void trigger(const char* name) {
    QAction* a = win_->action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
    QApplication::processEvents();
  }

  std::unique_ptr<Tulvakwin> win_;
};

int channelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

bool white(QRgb p, int tolerance) {
  return channelDistance(p, qRgb(255, 255, 255)) <= tolerance;
}

TEST_F(CurveWindowOutputsTest, PrintingWithoutASoundingSaysSoAndPrintsNothing) {
  const QImage before = picture().copy();
  trigger("Vytisknicovid1");
  ASSERT_EQ(1u, dialogs_.messages().size());
  EXPECT_EQ(orv::NoCurveToPrintMessage, dialogs_.messages()[0]);
  EXPECT_TRUE(dialogs_.questions().empty()) << "no PDF file may be asked for";
  EXPECT_EQ(before, picture());
}

TEST_F(CurveWindowOutputsTest, TheJpegHoldsThePictureAsShown) {
  open();
  const std::string path = file("krivka.jpg");
  dialogs_.answer(path);
  trigger("UlocoviddoJPGsouboru1");
  EXPECT_TRUE(dialogs_.messages().empty());
  const QImage back(QString::fromStdString(path));
  ASSERT_FALSE(back.isNull());
  ASSERT_EQ(picture().size(), back.size());
  EXPECT_EQ(win_->image()->size(), back.size());
  double sum = 0;
  for (int y = 0; y < back.height(); ++y)
    for (int x = 0; x < back.width(); ++x) {
      const QRgb p = picture().pixel(x, y);
      const QRgb q = back.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  EXPECT_LT(sum / (3.0 * back.width() * back.height()), 3.0);
}

TEST_F(CurveWindowOutputsTest, TheJpegHoldsTheCrosshairOfCompositeEditing) {
  open();
  trigger("Editovatsnesenoukivku1");
  ASSERT_TRUE(s().editCompositeMode);
  const QImage plain = picture().copy();
  const int x = (s().plotLeft + s().plotRight) / 2;
  QTest::mouseMove(win_->image(), QPoint(1, 1));
  QTest::mouseMove(win_->image(), QPoint(x, (s().plotTop + s().plotBottom) / 2));
  ASSERT_GE(s().cursorX, 0);
  ASSERT_GE(s().cursorY, 0);
  const std::string path = file("kriz.jpg");
  dialogs_.answer(path);
  trigger("UlocoviddoJPGsouboru1");
  const QImage back(QString::fromStdString(path));
  ASSERT_EQ(picture().size(), back.size());
  // Along both lines of the crosshair the file follows the picture with the
  // crosshair, not the picture before it.
  auto closerToShown = [&](int px, int py) {
    const QRgb b = back.pixel(px, py);
    return channelDistance(b, picture().pixel(px, py)) < channelDistance(b, plain.pixel(px, py));
  };
  int changed = 0, followed = 0;
  for (int px = s().plotLeft + 2; px < s().plotRight - 2; ++px) {
    if (picture().pixel(px, s().cursorY) == plain.pixel(px, s().cursorY)) continue;
    ++changed;
    if (closerToShown(px, s().cursorY)) ++followed;
  }
  for (int py = s().plotTop + 2; py < s().plotBottom - 2; ++py) {
    if (picture().pixel(s().cursorX, py) == plain.pixel(s().cursorX, py)) continue;
    ++changed;
    if (closerToShown(s().cursorX, py)) ++followed;
  }
  EXPECT_GT(changed, (s().plotRight - s().plotLeft) * 3 / 4) << "the crosshair is not drawn";
  EXPECT_GT(followed, changed * 9 / 10);
  // The red pen XORs the white background: the red channel goes, green and
  // blue stay (JPEG's halved colour resolution washes a one-pixel line out).
  int onWhite = 0, redGone = 0;
  for (int px = s().plotLeft + 2; px < s().plotRight - 2; ++px) {
    if (plain.pixel(px, s().cursorY) != qRgb(255, 255, 255)) continue;
    ++onWhite;
    const QRgb b = back.pixel(px, s().cursorY);
    if (qRed(b) + 40 < qGreen(b) && qRed(b) + 40 < qBlue(b)) ++redGone;
  }
  EXPECT_GT(onWhite, 0);
  EXPECT_GT(redGone, onWhite * 9 / 10);
}

TEST_F(CurveWindowOutputsTest, PrintingTwiceWritesTheSameCaptionAtTheSamePlace) {
  open();
  QPrinter& printer = win_->printer();
  if (ui::printTargetOf(printer) == ui::PrintTarget::Printer)
    printer.setOutputFormat(QPrinter::PdfFormat);  // never paper from a test
  const QImage before = picture().copy();
  dialogs_.cancel();
  trigger("Vytisknicovid1");
  const QImage once = picture().copy();
  dialogs_.cancel();
  trigger("Vytisknicovid1");
  EXPECT_EQ(2u, dialogs_.questions().size());
  EXPECT_TRUE(dialogs_.messages().empty());
  EXPECT_EQ(once, picture());
  // Only the caption's strip below the plot changed.
  const int top = (s().imageHeight + s().plotBottom) / 2 - s().textHeight / 5;
  int changed = 0;
  for (int y = 0; y < before.height(); ++y)
    for (int x = 0; x < before.width(); ++x) {
      if (before.pixel(x, y) == once.pixel(x, y)) continue;
      ++changed;
      ASSERT_GE(y, top) << x;
      ASSERT_LT(y, top + 2 * s().textHeight) << x;
      ASSERT_GE(x, win_->image()->width() / 15) << y;
    }
  EXPECT_GT(changed, 100);
}

TEST_F(CurveWindowOutputsTest, WithoutAPrinterThePagePrintsIntoAChosenPdfFile) {
  open();
  QPrinter& printer = win_->printer();
  if (ui::printTargetOf(printer) == ui::PrintTarget::Printer)
    printer.setOutputFormat(QPrinter::PdfFormat);  // never paper from a test
  ASSERT_EQ(ui::PrintTarget::AskForPdfFile, ui::printTargetOf(printer));
  const std::string pdf = file("tisk.pdf");
  dialogs_.answer(pdf);
  trigger("Vytisknicovid1");
  ASSERT_EQ(1u, dialogs_.questions().size());
  EXPECT_EQ(0u, dialogs_.questions()[0].rfind("save|", 0));
  EXPECT_TRUE(dialogs_.messages().empty());
  ASSERT_TRUE(fileExists("tisk.pdf"));
  EXPECT_EQ("%PDF-", fileBytes("tisk.pdf").substr(0, 5));

  const QString rasteriser = QStandardPaths::findExecutable("pdftoppm");
  if (rasteriser.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  const QString prefix = QString::fromStdString(file("strana"));
  ASSERT_EQ(0, QProcess::execute(rasteriser, {"-png", "-r", "50", "-f", "1", "-l", "1",
                                              "-singlefile", QString::fromStdString(pdf), prefix}));
  const QImage page(prefix + ".png");
  ASSERT_FALSE(page.isNull());
  const QPageLayout layout = printer.pageLayout();
  const QRect paper = layout.fullRectPixels(50);
  EXPECT_NEAR(paper.width(), page.width(), 2);
  EXPECT_NEAR(paper.height(), page.height(), 2);
  // The picture fills the printable width, keeping its proportions.
  const QRect printable = layout.paintRectPixels(50);
  QSize size = picture().size();
  size.scale(printable.size(), Qt::KeepAspectRatio);
  const QRect expected(printable.topLeft(), size);

  int left = page.width(), right = -1, top = page.height(), bottom = -1, dark = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QRgb p = page.pixel(x, y);
      if (white(p, 50)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      if (qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100) ++dark;
    }
  ASSERT_GE(right, 0) << "the page is blank";
  EXPECT_GT(dark, 60);
  const QRect drawn(QPoint(left, top), QPoint(right, bottom));
  EXPECT_TRUE(expected.adjusted(-3, -3, 3, 3).contains(drawn))
      << "drawn " << drawn.x() << "," << drawn.y() << " " << drawn.width() << "x" << drawn.height()
      << ", expected " << expected.x() << "," << expected.y() << " " << expected.width() << "x"
      << expected.height();
  EXPECT_GT(drawn.width(), expected.width() * 8 / 10);
  EXPECT_GT(drawn.height(), expected.height() * 7 / 10);

  // The chart's frame: a long dark-ish run on the rows of the plot's top edge.
  const double scale = static_cast<double>(expected.width()) / picture().width();
  const int frameRow = expected.top() + static_cast<int>(s().plotTop * scale);
  int longest = 0;
  for (int y = frameRow - 2; y <= frameRow + 2; ++y) {
    int run = 0;
    for (int x = expected.left(); x <= expected.right(); ++x) {
      run = white(page.pixel(x, y), 60) ? 0 : run + 1;
      longest = std::max(longest, run);
    }
  }
  EXPECT_GT(longest, static_cast<int>((s().plotRight - s().plotLeft) * scale * 0.9));

  // The caption went onto the page too.
  const int captionTop = (s().imageHeight + s().plotBottom) / 2 - s().textHeight / 5;
  int ink = 0;
  for (int y = expected.top() + static_cast<int>(captionTop * scale);
       y <= expected.top() + static_cast<int>((captionTop + s().textHeight) * scale); ++y)
    for (int x = expected.left() + static_cast<int>(win_->image()->width() / 15 * scale);
         x < expected.left() + static_cast<int>(win_->image()->width() / 2 * scale); ++x)
      if (!white(page.pixel(x, y), 60)) ++ink;
  EXPECT_GT(ink, 20);
}

}  // namespace
