// The two section settings the display parameters dialog edits. The section
// window owns them and hands the dialog a reference.
#pragma once

namespace orv {

struct SectionDisplayFlags {
  bool profilePrefix;           // point names carry the profile name before the chainage
  bool labelBySurfaceChainage;  // points labelled by surface chainage, else by X coordinate
};

}  // namespace orv
