#include "cli/headless_ui.h"

#include <cstdio>
#include <string>

namespace orv::cli {

ui::TextSize HeadlessCanvas::textExtent(std::string_view text) {
  int chars = 0;
  for (unsigned char ch : text) {
    if ((ch & 0xC0) != 0x80) ++chars;  // one per UTF-8 character
  }
  return {chars * 8, 16};
}

void StderrDialogs::message(std::string_view text) {
  std::string line(text);
  for (char& ch : line) {
    if (ch == '\n' || ch == '\r') ch = ' ';
  }
  std::fprintf(stderr, "orv-cli: %s\n", line.c_str());
}

}  // namespace orv::cli
