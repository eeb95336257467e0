// The export menu through the real section window: the pictures hold the
// drawn part of the bitmap, the DXF comes with its companion picture, and the DXF
// settings dialog takes its edits over however it is closed.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <filesystem>

#include "../section/vdb_test_support.h"
#include "section/qt/tsection.h"
#include "section_picture_support.h"
#include "section_qt_support.h"
#include "sectionlayers/qt/tparucm.h"
#include "ui/qt/image_widget.h"

namespace orv::testing {
namespace {

class SectionExportTest : public ::testing::Test {
 protected:
  SectionExportTest() {
    EXPECT_TRUE(readPictureFixture(w.database(), w.viewState().colourScale, "profil8.vdb"));
    setViewForReadDatabase(w.viewState());
    w.show();
    QApplication::processEvents();
    dialogs.clearRecords();
  }
  void trigger(const char* name) {
    QAction* a = w.action(name);
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
    QApplication::processEvents();
  }
  QSize bitmap() const { return w.image()->canvas().image().size(); }

  ScratchFolder scratch;
  std::string dir = scratch.path();
  ui::ScriptedDialogs dialogs;
  RecordingCurveLink link;
  TSection w{link, 300, nullptr, &dialogs};
};

// Near-white as a JPEG keeps white, and clearly drawn.
bool paper(QRgb p) {
  return qRed(p) > 230 && qGreen(p) > 230 && qBlue(p) > 230;
}
bool ink(QRgb p) {
  return qRed(p) < 128 || qGreen(p) < 128 || qBlue(p) < 128;
}

// The pictures hold the drawn section and a small margin, not the whole
// bitmap: the last pixels at the right and at the bottom are paper, and the
// drawing reaches to within the margin of them.
TEST_F(SectionExportTest, PicturesAndTheDrawingLeaveThroughTheExportMenu) {
  struct Picture {
    const char* item;
    std::string chosen, written;
  };
  const Picture pictures[] = {{"JPG1", dir + "rez.jpg", dir + "rez.jpg"},
                              {"UCM1", dir + "barvy.jpg", dir + "barvy.jpg"},
                              {"DXF1", dir + "rez.dxf", dir + "rez.dxf.JPG"}};
  for (const Picture& p : pictures) {
    SCOPED_TRACE(p.item);
    dialogs.answer(p.chosen);
    trigger(p.item);
    const QImage jpeg(QString::fromStdString(p.written));
    ASSERT_FALSE(jpeg.isNull()) << "the profile has lines: its coloured layers come along";
    EXPECT_LT(jpeg.width(), bitmap().width());
    EXPECT_LT(jpeg.height(), bitmap().height());
    int edgePaper = 0, edge = 0, inkNear = 0;
    for (int y = 0; y < jpeg.height(); ++y)
      for (int x = 0; x < jpeg.width(); ++x) {
        const bool outer = x >= jpeg.width() - 3 || y >= jpeg.height() - 3;
        const bool near = x >= jpeg.width() - 16 || y >= jpeg.height() - 16;
        edge += outer;
        edgePaper += outer && paper(jpeg.pixel(x, y));
        inkNear += !outer && near && ink(jpeg.pixel(x, y));
      }
    EXPECT_EQ(edgePaper, edge);
    EXPECT_GT(inkNear, 0);
  }
  EXPECT_TRUE(std::filesystem::exists(dir + "rez.dxf"));
  EXPECT_FALSE(w.viewState().coloursOnly);
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(SectionExportTest, TheSettingsDialogTakesItsEditsOver) {
  TparUCM dialog(&w);
  w.setDxfSettingsDialog([&dialog](DxfSettings& s) { dialog.execute(s); });
  whenModalUp([](QWidget* d) {
    d->findChild<QLineEdit*>("prevyseni")->setText("3");
    d->findChild<QLineEdit*>("krokticx")->setText("25");
    d->close();
  });
  trigger("parametryexportudoUCM1");
  EXPECT_FLOAT_EQ(w.dxfSettings().dxfExaggeration, 3.0f);
  EXPECT_EQ(w.dxfSettings().dxfTickX, 25);
}

}  // namespace
}  // namespace orv::testing
