#include "cli/headless_ui.h"

#include <cstdio>
#include <string>

namespace orv::cli {

void StderrDialogs::message(std::string_view text) {
  std::string line(text);
  for (char& ch : line) {
    if (ch == '\n' || ch == '\r') ch = ' ';
  }
  std::fprintf(stderr, "orv-cli: %s\n", line.c_str());
}

}  // namespace orv::cli
