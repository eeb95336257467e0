// A stored profile drawn as the section window draws it after opening the
// database, at the default screen, for comparison with a reference picture.
#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <memory>
#include <string>

#include "base/zeroed_block.h"
#include "commands/section/database_commands.h"
#include "commands/section/section_painting.h"
#include "core/section/colour_scale_file.h"
#include "core/section/vdb_file.h"
#include "qt/qimage_canvas.h"
#include "tests/support/fixture_path.h"

namespace orv::testing {

inline constexpr ui::ScreenSize PictureScreen{1600, 1000};

inline bool readPictureFixture(SectionDatabase& db, ColourScale& scale, const std::string& vdb) {
  setInitialDatabaseState(db);
  return readVdb(db, orv_test::fixturePath(vdb).c_str()).code == 1 &&
         readColourScale(scale, orv_test::fixturePath("profil5.rsc").c_str()).code == 1;
}

struct DrawnFixture {
  ZeroedBlock<SectionDatabase> db;
  std::unique_ptr<SectionWindowState> view = std::make_unique<SectionWindowState>();
  ui::QImageCanvas canvas{2 * PictureScreen.width, 2 * PictureScreen.height};

  // Reads the fixture and paints it; false when a file cannot be read.
  bool draw(const std::string& vdb) {
    if (!readPictureFixture(*db, view->colourScale, vdb)) return false;
    setViewForReadDatabase(*view);
    canvas.setFont(QGuiApplication::font());
    paintSection(*db, *view, canvas, PictureScreen);
    return true;
  }
  ui::Colour colourAt(double chainage, double elevation) const {
    return canvas.pixel(chainageToPixel(view->layout, chainage),
                        elevationToPixel(view->layout, elevation));
  }
};

// Text may be rasterised a little differently from machine to machine;
// every line, fill and position must not: at most 0.2 % of the pixels of the
// shown area may differ from the reference.
inline ::testing::AssertionResult matchesReference(const DrawnFixture& f,
                                                   const std::string& reference) {
  const std::string path = orv_test::fixturePath(reference);
  if (!orv_test::fixturePresent(path)) return orv_test::fixturePresent(path);
  const QImage drawn = f.canvas.image().copy(0, 0, PictureScreen.width, PictureScreen.height);
  const QImage expected = QImage(QString::fromStdString(path)).convertToFormat(drawn.format());
  if (expected.size() != drawn.size())
    return ::testing::AssertionFailure() << reference << " has another size";
  long differing = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) differing += drawn.pixel(x, y) != expected.pixel(x, y);
  if (differing < drawn.width() * drawn.height() / 500) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ from " << reference;
}

}  // namespace orv::testing
