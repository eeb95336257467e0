#include "commands/curve/chart_style.h"

namespace orv::chart {

void useOpaqueText(ui::Canvas& canvas, ui::Colour colour) {
  canvas.setBrushStyle(ui::BrushStyle::Solid);
  canvas.setBrushColour(White);
  canvas.setTextTransparent(false);
  canvas.setFontColour(colour);
}

void useTransparentText(ui::Canvas& canvas, ui::Colour colour) {
  canvas.setTextTransparent(true);
  canvas.setFontColour(colour);
}

int textWidth(ui::Canvas& canvas, std::string_view text) {
  return canvas.textExtent(text).width;
}

void line(ui::Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.moveTo(x0, y0);
  canvas.lineTo(x1, y1);
}

}  // namespace orv::chart
