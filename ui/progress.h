// Long work in steps, shown to the user with a way to stop it ("Storno").
// A command asks ui::Dialogs for one when it begins work that can take
// longer than about half a second, reports each finished step and stops when
// told to. What it leaves behind when stopped is the command's business: one
// result (a fit of the model) is put back as it was before the command; work
// on many items (points of a profile) keeps the items done and says how many.
#pragma once

namespace ui {

class Progress {
 public:
  virtual ~Progress() = default;
  // `done` of `total` steps are finished (total 0: not known in advance).
  // False once the user has asked to stop; the caller then ends its work
  // without taking a further step.
  virtual bool step(int done, int total) = 0;
};

// Work nobody watches: never stopped.
class SilentProgress : public Progress {
 public:
  bool step(int, int) override { return true; }
};

}  // namespace ui
