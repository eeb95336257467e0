// What the curve window asks of the section window. The section implements it;
// tests use a recording stand-in.
#pragma once

#include <string>

namespace orv {

class SectionLink {
 public:
  virtual ~SectionLink() = default;

  // "Smaž aktuální bod" from the curve window's side: the section asks, then
  // removes its current point and loads the new current point back into the
  // curve window. No reader calls it: a bad file never costs a stored point.
  virtual void deleteCurrentPoint() = 0;
  // The curve window's sounding is written into the current point (model
  // write-back while the curve window edits a point of the section).
  virtual void storeSounding() = 0;
  // The section window is shown for the first time.
  virtual void show() = 0;
  // The section is redrawn (settings that it draws with have changed).
  virtual void repaint() = 0;
  // "<-": the interpreted sounding is filed as a new point of the current
  // profile. Without a section window there is nowhere to file it.
  virtual void transferToSection() {}
  // "Import OAX a načti další OAX (po jednom)": the sounding is filed as a new
  // point through the point dialog (no "<-" guards beyond the section's own),
  // then the next OAX file of the folder is loaded.
  virtual void insertPoint() {}
  // Loads the neighbour of the current point of the current profile into the
  // curve window: the next by chainage on the profile (next) or the previous
  // one; the current point itself when it has none on that side. False when
  // the profile has no point to load.
  virtual bool loadNeighbour(bool /*next*/) { return false; }
  // "(rychlý import OAX z celého pf v adresáři)": the point dialog for the
  // sounding just read (as for a point about to be inserted); its texts and
  // positions go into the current point, the sounding itself stays out.
  virtual void describeCurrentPoint() {}
  // Name of the section's current profile (UTF-8), "" without a section.
  virtual std::string currentProfileName() { return ""; }
  // The program is about to end: unsaved changes of the section database
  // are asked about (and saved when the user wants). False when the user
  // cancelled: the program goes on. Without a section nothing is lost.
  virtual bool confirmClose() { return true; }
};

}  // namespace orv
