// Progress of long work: called after each step with the steps done and the
// steps in all; returning false asks the work to stop.
#pragma once

#include <functional>

namespace orv {

using WorkProgress = std::function<bool(int done, int total)>;

}  // namespace orv
