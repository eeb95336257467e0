// The numeric input boxes of the section window's commands: the current
// value as the proposed text, an invalid answer reported with the command's
// own message, a cancel keeping the old value.
#pragma once

#include <optional>
#include <string>

#include "commands/section/section_session.h"

namespace orv {

// A real that fits the single-precision field it goes to. nullopt: keep the
// old value (invalid or cancelled).
std::optional<float> askFloat(SectionSession& session, const std::string& caption,
                              const std::string& prompt, float current, const char* invalid);

}  // namespace orv
