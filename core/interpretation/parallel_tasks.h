// Independent tasks of one computation run on several threads, the calling
// thread among them. Only the calling thread speaks to the progress (a
// window's dialog must be touched by the window's thread alone): after each
// of its own tasks, and, its own share done, whenever another thread
// finishes one.
#pragma once

#include <functional>

#include "ui/progress.h"

namespace orv {

// The threads to use for `total` tasks when `requested` are asked for (0: as
// many as the machine has): at least 1, at most 8 and at most `total`.
int parallelThreads(int requested, int total);

// Runs run(task, thread) for every task 0..total-1 exactly once, thread 0
// being the calling one and 1..threads-1 others (fewer when the system gives
// no more). A task must touch nothing another task touches. The progress
// counts finished tasks and ends with done = total, shown once. False: the
// user stopped it; the tasks begun are finished, the rest never start.
bool runParallelTasks(int total, int threads, const std::function<void(int task, int thread)>& run,
                      ui::Progress* progress);

}  // namespace orv
