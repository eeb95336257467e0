// The section window's place when there is none (the command-line tool, the
// welcome picture): a sounding never came from it and nothing goes to it.
#pragma once

#include "commands/curve/section_link.h"

namespace orv {

class NoSection : public SectionLink {
 public:
  void deleteCurrentPoint() override {}
  void storeSounding() override {}
  void show() override {}
  void repaint() override {}
};

}  // namespace orv
