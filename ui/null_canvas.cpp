#include "ui/null_canvas.h"

namespace ui {

TextSize NullCanvas::textExtent(std::string_view text) {
  int chars = 0;
  for (unsigned char ch : text)
    if ((ch & 0xC0) != 0x80) ++chars;  // continuation bytes belong to the character before
  return {chars * charWidth_, charHeight_};
}

}  // namespace ui
