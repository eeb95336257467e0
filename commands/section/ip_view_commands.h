// The section window's IP display commands (menu group "VP"): showing the
// IP values, their line strength, the IP window shown and stepping through
// the windows, and removing the first window of the points in an interval.
// Qt-free; they end with session.redraw().
#pragma once

#include "commands/section/section_session.h"

namespace orv {

// Object names of the two items that show the IP values.
inline constexpr const char* ShowIpItem = "Zobrazovatvyzvanou1";  // main menu
inline constexpr const char* ShowIpPopupItem = "VPzobraz1";       // popup, hidden

// Pause between the pictures of the run through the IP windows that "<" at
// the first window and ">" at the last one make.
inline constexpr int IpWindowRunPauseMs = 150;

// "Zobrazovat zdánlivou polarizovatelnost dle VES-VP" and "VP zobraz".
void toggleIp(SectionSession& session);
// "Síla čáry VP (VP*síla)".
void askIpLineStrength(SectionSession& session);
// "Aktuální zobrazené okno VP".
void askCurrentIpWindow(SectionSession& session);
// "<" and ">": one window earlier or later; from the first window "<" runs
// forward to the last one, from the last window ">" runs back to the first.
void previousIpWindow(SectionSession& session);
void nextIpWindow(SectionSession& session);
// "(vyjmi v intervalu metráží první okno při změně velikosti pulzu na 1pf)":
// the points of the current profile within the asked chainage interval lose
// their first IP window, and the profile counts one window less.
void removeFirstIpWindowInInterval(SectionSession& session);

}  // namespace orv
