// The settings commands of the curve window: the screen split and the
// take-over logic of the display parameters and preference dialogs. Qt-free;
// the dialogs only show the values and hand the user's texts over.
#pragma once

#include <functional>
#include <string>

#include "commands/curve/curve_session.h"
#include "commands/curve/section_display_flags.h"

namespace orv {

// "Defaultní rozdělení obrazovky (kolik procent vpravo)". redraw is the curve
// window's universal refresh, handed in by the window (a test counts it).
void askScreenSplit(CurveSession& c, const std::function<void()>& redraw);

// What the display parameters dialog holds when it closes: the edit texts
// (UTF-8, as typed) and the check boxes.
struct DisplayParameterTexts {
  std::string splineDegree;             // stupenbs
  std::string splineResolution;         // pocetbodubs
  std::string lineWidthMeasured;        // silanam
  std::string lineWidthComposite;       // silasnes
  std::string lineWidthComputed;        // silavyp
  std::string lineWidthActiveModel;     // silaaktmod
  std::string lineWidthModel;           // silamodel
  bool splineAllCurves = false;         // delatbs
  bool profilePrefix = false;           // profilvnazvu
  bool lockCurveScale = false;          // blokmeritkakrivekves
  bool labelBySurfaceChainage = false;  // metrazpodlepovrchujepopis
};

// The edits in the order they are taken over.
enum class DisplayEdit {
  None = -1,
  SplineDegree,
  SplineResolution,
  LineWidthMeasured,
  LineWidthComposite,
  LineWidthComputed,
  LineWidthActiveModel,
  LineWidthModel,
};

struct DisplayTakeOverResult {
  bool ok = true;
  DisplayEdit failed = DisplayEdit::None;  // the first edit that was no integer
  std::string failedText;                  // what it held
};

// Takes the seven edits over in order, each as an integer kept in its sane
// range, and stops at the first one that is not an integer: the edits before
// it are taken, the rest and the check boxes are not. Then the check boxes.
DisplayTakeOverResult takeOverDisplayParameters(CurveWindowState& s, SectionDisplayFlags& section,
                                                const DisplayParameterTexts& texts);

// The message for a failed take-over ("'x' není celé číslo (síla čáry modelu).").
std::string displayTakeOverMessage(const DisplayTakeOverResult& r);

// What the edits show for the current values.
DisplayParameterTexts displayParameterTexts(const CurveWindowState& s,
                                            const SectionDisplayFlags& section);

// "implicitní hodnoty": the dialog's defaults, stored at once. The B-spline
// resolution is 110 here, unlike the 128 of a missing settings file.
void applyDisplayDefaults(CurveWindowState& s);

// Preference dialog: radio button index 0..4 of an input mode, -1 (none
// selected) for a mode outside 0..4; and the mode after the dialog closed.
int preferenceRadioIndex(int inputMode);
int inputModeFromRadio(int radioIndex, int currentInputMode);

// The additions in the preference dialog: the accurate forward switch and the
// equivalence tolerance as typed.
struct AdditionTexts {
  bool accurateForward = false;
  std::string equivalenceTolerance;
};

// What the dialog shows for the current values.
AdditionTexts additionTexts(const CurveWindowState& s);

// Takes the switch over, and the tolerance when it is a number above zero
// ("," or "." as the decimal point); otherwise the tolerance keeps its value
// and false is returned, for the caller to say AdditionRefusedMessage.
bool takeOverAdditions(CurveWindowState& s, const AdditionTexts& texts);
inline constexpr const char* AdditionRefusedMessage = "Soustřeďte se (číslo)!";

}  // namespace orv
