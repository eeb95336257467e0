// The export menu through the real section window: the pictures hold the
// drawn part of the bitmap, the DXF comes with its companion picture, and the DXF
// settings dialog takes its edits over however it is closed.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>

#include "qt/image_widget.h"
#include "qt/tparucm.h"
#include "qt/tsection.h"
#include "tests/core/section/vdb_test_support.h"
#include "tests/qt/section_picture_support.h"
#include "tests/qt/section_qt_support.h"

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

// Each picture holds the drawn section and a margin of 10 pixels, not the
// whole bitmap: its last 3 columns and rows are white (as a JPEG keeps it),
// and the drawing comes within 16 pixels of its right and lower edges.
TEST_F(SectionExportTest, PicturesAndTheDrawingLeaveThroughTheExportMenu) {
  for (const auto& [item, chosen, written] : {std::array<std::string, 3>{"JPG1", "a.jpg", "a.jpg"},
                                              {"UCM1", "b.jpg", "b.jpg"},
                                              {"DXF1", "c.dxf", "c.dxf.JPG"}}) {
    dialogs.answer(dir + chosen);
    trigger(item.c_str());
    const QImage jpeg(QString::fromStdString(dir + written));
    ASSERT_FALSE(jpeg.isNull()) << item << ": the profile has lines, its layers come along";
    EXPECT_LT(jpeg.width() * jpeg.height(), bitmap().width() * bitmap().height() / 2) << item;
    int white = 0, drawn = 0;
    for (int y = 0; y < jpeg.height(); ++y)
      for (int x = jpeg.width() - 16; x < jpeg.width(); ++x) {
        const int v =
            std::min({qRed(jpeg.pixel(x, y)), qGreen(jpeg.pixel(x, y)), qBlue(jpeg.pixel(x, y))});
        (x >= jpeg.width() - 3 ? white : drawn) += x >= jpeg.width() - 3 ? v > 230 : v < 128;
      }
    EXPECT_EQ(white, 3 * jpeg.height()) << item;
    EXPECT_GT(drawn, 0) << item;
  }
  EXPECT_TRUE(std::filesystem::exists(dir + "c.dxf"));
  EXPECT_FALSE(w.viewState().coloursOnly);
  EXPECT_TRUE(dialogs.messages().empty());
}

// A grid the disk cannot take whole (every grid goes through the same file
// handling) leaves no half file behind, and says so.
TEST_F(SectionExportTest, AGridCutShortLeavesNoHalfFile) {
  rlimit room{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &room), 0);
  rlimit full = room;
  full.rlim_cur = 200;  // bytes: the grid needs more
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  dialogs.answer(dir + "rez.dat");
  setrlimit(RLIMIT_FSIZE, &full);
  trigger("RzdAB4ez1");
  setrlimit(RLIMIT_FSIZE, &room);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(std::filesystem::exists(dir + "rez.dat"));
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"Cannot open UCM_output file."});
}

TEST_F(SectionExportTest, TheSettingsDialogTakesItsEditsOver) {
  TparUCM dialog(&w);
  w.setDxfSettingsDialog([&dialog](DxfSettings& s, ui::Dialogs& d) { dialog.execute(s, d); });
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
