// The section window's colour scale commands: editing the scale through the
// input box and the colour dialog, saving it (under a name that never
// overwrites a file, or over the default file), loading it (with the open
// dialog, or the default file at start-up) and switching the colouring by
// resistivity. Qt-free; they talk to the user through session.dialogs.
#pragma once

#include <string>

#include "commands/section/section_session.h"

namespace orv {

// Object names of the two menu items that show colourByRes.
inline constexpr const char* ColourByResMenuItem = "Barevnvybarvitpodlerezistivit1";
inline constexpr const char* ColourByResPopupItem = "barvydlerezistivit1";

// The filters of the file dialogs. The open dialog lists the names of older
// saves too, which were numbered .vdb_1, .vdb_2, ...
inline constexpr const char* ColourScaleSaveFilter = "škála barev rezistivit|*.rsc*";
inline constexpr const char* ColourScaleOpenFilter = "škála barev rezistivit|*.rsc*;*.vdb_*";
inline constexpr const char* ColourScaleExtension = "rsc";
// Numbered alternatives of a name that is taken: scale.rsc_1, scale.rsc_2, ...
inline constexpr const char* ColourScaleNumberedExtension = ".rsc_";

// "orvcolres.rsc" in StartFolder, found in any letter case as the other
// settings files ("ORVCOLRES.RSC" comes from Windows).
std::string defaultColourScalePath(const CurveWindowState& curve);

// "Editovat barevnou škálu zobrazení rezistivit": one pass per interval, the
// upper boundary in an input box (not in the first pass) and the colour in
// the colour dialog; a cancelled colour ends the table there. No redraw.
void editColourScale(SectionSession& session);

// "Ulož barevnou škálu rezistivit jako": the save dialog proposes the default
// file (a cancel keeps it); the first free name of the choice, .rsc_1,
// .rsc_2, ... is written.
void saveColourScaleAs(SectionSession& session);

// "Aktuální barevná škála do defaultu": writes over the default file.
void saveColourScaleToDefault(SectionSession& session);

// "Načti barevnou škálu rezistivit ": the open dialog until an existing file
// is chosen; a read scale switches the colouring by resistivity on and
// redraws.
void loadColourScaleWithDialog(SectionSession& session);

// Start-up: the default file without a dialog, no redraw; when it cannot be
// read (said as for any scale file), the built-in scale.
void loadDefaultColourScale(SectionSession& session);

// "Barevně vybarvit řez podle rezistivit" / "barvy dle rezistivit".
void toggleColourByRes(SectionSession& session);

}  // namespace orv
