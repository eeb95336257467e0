// The section window's "-> DXF": the file asked for, the drawing written and
// its coloured companion picture.
#pragma once

#include <functional>
#include <string>

#include "commands/section/section_session.h"
#include "core/section/dxf_export.h"

namespace orv {

// Writes the section picture as it stands to a JPEG file (path as the
// system spells it). Filled by the section window; empty: no picture.
using SectionJpegWriter = std::function<void(const std::string& path)>;

// "-> DXF": asks for a file that does not exist yet (an existing one is never
// overwritten), writes the drawing and remembers the name in
// settings.dxfFileName. When the profile has HBV lines, the coloured layers
// accompany it as dxfFileName + ".JPG", drawn with the drawing's exaggeration.
void exportDxf(SectionSession& session, DxfSettings& settings, const SectionJpegWriter& writeJpeg);

// The menu item: without a point in the current profile the database open
// dialog instead of the export.
void dxfExportCommand(SectionSession& session, DxfSettings& settings,
                      const SectionJpegWriter& writeJpeg);

}  // namespace orv
