#include "core/interpretation/parallel_tasks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Records every step, and on which thread it came; says stop at step stopAt.
class RecordingProgress : public ui::Progress {
 public:
  explicit RecordingProgress(int stopAt = 0) : stopAt_(stopAt) {}
  bool step(int done, int total) override {
    steps.emplace_back(done, total);
    if (std::this_thread::get_id() != caller_) ++foreignSteps;
    return stopAt_ == 0 || static_cast<int>(steps.size()) < stopAt_;
  }
  std::vector<std::pair<int, int>> steps;
  int foreignSteps = 0;

 private:
  std::thread::id caller_ = std::this_thread::get_id();
  int stopAt_;
};

TEST(ParallelTasks, EveryTaskOnceAndTheProgressCountsUpOnTheCallingThread) {
  struct Case {
    int total;
    int threads;
  };
  for (const Case c : {Case{0, 3}, Case{1, 4}, Case{5, 1}, Case{37, 3}, Case{8, 8}}) {
    std::vector<std::atomic<int>> runs(c.total);
    std::atomic<int> badThread{0};
    RecordingProgress progress;
    const bool finished = orv::runParallelTasks(
        c.total, c.threads,
        [&](int task, int thread) {
          if (thread < 0 || thread >= c.threads) ++badThread;
          ++runs[task];
          // Uneven work, so that the threads finish out of order.
          std::this_thread::sleep_for(std::chrono::microseconds(100 * (task % 4)));
        },
        &progress);
    EXPECT_TRUE(finished);
    for (int k = 0; k < c.total; ++k) EXPECT_EQ(runs[k], 1) << c.total << " task " << k;
    EXPECT_EQ(badThread, 0);
    EXPECT_EQ(progress.foreignSteps, 0);
    ASSERT_EQ(progress.steps.empty(), c.total == 0) << c.total;
    for (size_t i = 0; i < progress.steps.size(); ++i) {
      EXPECT_EQ(progress.steps[i].second, c.total);
      if (i > 0) {
        EXPECT_GT(progress.steps[i].first, progress.steps[i - 1].first);
      }
    }
    if (c.total > 0) {
      EXPECT_EQ(progress.steps.back().first, c.total);  // once: the counts rise
    }
  }
}

TEST(ParallelTasks, StoppedNoTaskStartsAfterwardsAndNoStepFollows) {
  for (int threads : {1, 3}) {
    std::atomic<int> started{0};
    RecordingProgress progress(2);
    const bool finished = orv::runParallelTasks(
        40, threads,
        [&](int, int) {
          ++started;
          std::this_thread::sleep_for(std::chrono::milliseconds(2));
        },
        &progress);
    EXPECT_FALSE(finished);
    EXPECT_EQ(progress.steps.size(), 2u);
    // The step that stopped it saw at most all threads' tasks done, and each
    // thread finishes at most the one it had begun.
    EXPECT_LE(started, progress.steps.back().first + threads) << threads;
  }
}

TEST(ParallelTasks, ThreadCountIsBoundedByTheTasksAndEight) {
  EXPECT_EQ(orv::parallelThreads(3, 2), 2);
  EXPECT_EQ(orv::parallelThreads(20, 100), 8);
  EXPECT_EQ(orv::parallelThreads(5, 0), 1);
  const int machine = orv::parallelThreads(0, 100);
  EXPECT_GE(machine, 1);
  EXPECT_LE(machine, 8);
}

}  // namespace
