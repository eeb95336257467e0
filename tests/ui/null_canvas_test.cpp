#include "ui/null_canvas.h"

#include <gtest/gtest.h>

namespace {

TEST(NullCanvas, MeasuresOneCellPerCharacterNotPerByte) {
  ui::NullCanvas c(640, 480, 8, 16);
  struct Case {
    const char* text;
    int width;
  } cases[] = {{"", 0}, {"W", 8}, {"SSQ = ", 48}, {"Zrušit", 48}, {"ěščřžýáíé", 72}};
  for (const Case& k : cases) {
    EXPECT_EQ(c.textExtent(k.text).width, k.width) << k.text;
    EXPECT_EQ(c.textExtent(k.text).height, 16) << k.text;
  }
}

TEST(NullCanvas, KeepsThePenAndItsSizeButNoPixels) {
  ui::NullCanvas c(10, 20);
  c.setPenColour(0xFF);
  c.setPenWidth(3);
  c.setPenMode(ui::PenMode::Xor);
  c.fillRect(0, 0, 10, 20);
  EXPECT_EQ(c.penColour(), 0xFF);
  EXPECT_EQ(c.penWidth(), 3);
  EXPECT_EQ(c.penMode(), ui::PenMode::Xor);
  EXPECT_EQ(c.pixel(1, 1), -1);
  c.setSize(30, 40);
  EXPECT_EQ(c.width(), 30);
  EXPECT_EQ(c.height(), 40);
}

}  // namespace
