// The section window's commands that interpret a whole profile at once.
#pragma once

#include <string>

#include "commands/section/profile_batch.h"
#include "commands/section/section_session.h"

namespace orv {

// The summary table of a batch: one row per point done (name, SSQ before,
// after), and how many of the profile's points were done when it was stopped.
std::string profileBatchSummary(const SectionProfile& profile, const ProfileBatchOutcome& out);

// "Interpretuj celý profil ...": asks the start (0: the points' own models,
// N: the automatic N-layer model), fits every point of the current profile
// in chainage order, shows the point the curve window holds with its new
// model, and shows the summary.
void interpretWholeProfile(SectionSession& session, const WorkProgress& progress);

// "Zobrazovat hloubku dosahu": the marks of the depth of investigation on
// the columns on or off (check mark ShowDepthMarksItem), redrawn.
inline constexpr const char* ShowDepthMarksItem = "Zobrazovathloubkudosahu2";
void toggleDepthMarks(SectionSession& session);

// The report of a laterally constrained inversion: both misfits, and when the
// joint one is more than LateralTightRatio times the other, that the
// constraints are too tight.
inline constexpr double LateralTightRatio = 1.5;
std::string lateralReport(const ProfileLateralOutcome& out);

// "Laterálně vázaná inverze …": asks the layer count, the allowed relative
// change S per 100 m and the noise level, fits the current profile jointly
// and writes the result into its points.
void lateralInversionCommand(SectionSession& session, const WorkProgress& progress);

}  // namespace orv
