// "Tisk" and "Obrázek" of the curve window: what the commands decide before
// the window prints its picture or writes it as a JPEG file. The picture is
// taken as it stands; nothing is redrawn for the output.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commands/curve/curve_session.h"
#include "ui/dialogs.h"

namespace orv {

inline constexpr std::string_view NoCurveToPrintMessage = "Alespoň si načti nějakou křivku VES!";
inline constexpr std::string_view PrintCaptionPrefix = "ORV-program na zpracování VES - otevřen: ";

// "Vytiskni co vidíš" up to the printing itself: without a loaded and drawn
// sounding it says so and returns false; otherwise it writes the caption with
// the opened file below the plot (it stays there until the next repaint) and
// returns true. clientWidth is the width of the window's client area.
bool prepareCurvePrint(CurveSession& c, int clientWidth);

// The save dialog of "Ulož co vidíš do JPG souboru "; nullopt when cancelled.
// The chosen file is replaced without asking.
std::optional<std::string> chooseCurvePictureFile(ui::Dialogs& dialogs);

}  // namespace orv
