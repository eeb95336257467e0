#include "commands/section/value_prompts.h"

#include <cfloat>
#include <cmath>

#include "base/c_format.h"

namespace orv {

std::optional<float> askFloat(SectionSession& session, const std::string& caption,
                              const std::string& prompt, float current, const char* invalid) {
  std::optional<std::string> answer =
      session.dialogs.inputQuery(caption, prompt, formatReal(current));
  if (!answer) return std::nullopt;
  std::optional<double> v = parseUserReal(*answer);
  if (!v || std::fabs(*v) > FLT_MAX) {
    session.dialogs.message(invalid);
    return std::nullopt;
  }
  return static_cast<float>(*v);
}

}  // namespace orv
