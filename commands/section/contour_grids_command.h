// The section window's grid exports for gridding and contouring in Surfer
// ("WINSURF") and its picture exports, whose picture the window writes.
#pragma once

#include <functional>
#include <string>

#include "commands/section/section_session.h"
#include "core/section/contour_grids.h"

namespace orv {

// "-> X Z R                   pro Winsurf"
void exportModelGrid(SectionSession& session);
// "-> X (Z-AB/4) Rzd    pro Winsurf"
void exportPseudoSection(SectionSession& session);
// "-> X  (Z-AB/4)   VP   pro Winsurf "
void exportIpPseudoSection(SectionSession& session);
// "-> X Z Rint Vrstev Winsurf krok 3 m"
void exportLayerGrid(SectionSession& session);

// Writes the section's picture as it stands after the last redraw: with
// useDxfName into the DXF export's companion file, otherwise into a file the
// user chooses (pictureFileName). The window implements it.
using PictureWriter = std::function<void(bool useDxfName)>;

// "-> JPG": the picture with the colour legend; the legend stays on screen
// until the next repaint.
void savePictureWithLegend(SectionSession& session, const PictureWriter& savePicture);
// "-> jen barvy do JPG": only the coloured bands and the legend, then the full
// picture again.
void saveColoursOnlyPicture(SectionSession& session, const PictureWriter& savePicture);
// The DXF export's companion picture: the coloured bands only, into the DXF
// name + ".JPG"; afterwards the picture is drawn as it was before.
void saveDxfCompanionPicture(SectionSession& session, const PictureWriter& savePicture);

// The file a picture goes to: dxfFileName + ".JPG" with useDxfName, otherwise
// the picture dialog's choice; empty when the dialog was cancelled.
std::string pictureFileName(ui::Dialogs& dialogs, bool useDxfName, const std::string& dxfFileName);

}  // namespace orv
