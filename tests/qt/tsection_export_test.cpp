// The export menu through the real section window: the pictures decode with
// the bitmap's size, the DXF comes with its companion picture, and the DXF
// settings dialog takes its edits over however it is closed.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
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

TEST_F(SectionExportTest, PicturesAndTheDrawingLeaveThroughTheExportMenu) {
  dialogs.answer(dir + "rez.jpg");
  trigger("JPG1");
  EXPECT_EQ(QImage(QString::fromStdString(dir + "rez.jpg")).size(), bitmap());
  dialogs.answer(dir + "barvy.jpg");
  trigger("UCM1");
  EXPECT_EQ(QImage(QString::fromStdString(dir + "barvy.jpg")).size(), bitmap());

  dialogs.answer(dir + "rez.dxf");
  trigger("DXF1");
  EXPECT_TRUE(std::filesystem::exists(dir + "rez.dxf"));
  EXPECT_EQ(QImage(QString::fromStdString(dir + "rez.dxf.JPG")).size(), bitmap())
      << "the profile has lines: its coloured layers come along";
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
