#include "core/interpretation/parallel_tasks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace {

// Records every step and whether it came from another thread; stops at step stopAt.
struct RecordingProgress : ui::Progress {
  bool step(int done, int total) override {
    steps.emplace_back(done, total);
    foreign += std::this_thread::get_id() != caller;
    return static_cast<int>(steps.size()) != stopAt;
  }
  int stopAt = 0;
  std::vector<std::pair<int, int>> steps;
  int foreign = 0;
  std::thread::id caller = std::this_thread::get_id();
};

// Stopped (at step stopAt), no task starts afterwards and no step follows.
TEST(ParallelTasks, EveryTaskOnceAndTheProgressCountsUpOnTheCallingThread) {
  struct Case {
    int total, threads, stopAt;
  };
  for (const Case c :
       {Case{0, 3, 0}, {1, 4, 0}, {5, 1, 0}, {37, 3, 0}, {8, 8, 0}, {40, 1, 2}, {40, 3, 2}}) {
    std::vector<std::atomic<int>> runs(c.total);
    std::atomic<int> started{0};
    RecordingProgress progress;
    progress.stopAt = c.stopAt;
    EXPECT_EQ(orv::runParallelTasks(
                  c.total, c.threads,
                  [&](int task, int) {
                    ++runs[task], ++started;
                    // Uneven work, so that the threads finish out of order.
                    std::this_thread::sleep_for(
                        std::chrono::microseconds(c.stopAt ? 2000 : 500 * (task % 4)));
                  },
                  &progress),
              c.stopAt == 0);
    for (int k = 0; k < c.total; ++k) EXPECT_EQ(runs[k], c.stopAt && runs[k] == 0 ? 0 : 1) << k;
    EXPECT_EQ(progress.foreign, 0);
    ASSERT_EQ(progress.steps.empty(), c.total == 0) << c.total;
    for (size_t i = 0; i < progress.steps.size(); ++i) {
      EXPECT_EQ(progress.steps[i].second, c.total);
      EXPECT_TRUE(i == 0 || progress.steps[i].first > progress.steps[i - 1].first);
    }
    if (c.stopAt) {
      ASSERT_EQ(progress.steps.size(), 2u);
      // The threads finish the tasks they had begun and take no more: the
      // window's thread stopped after its second task of 2 ms.
      EXPECT_LE(started, c.total / 2) << c.threads;
    } else if (c.total > 0) {
      EXPECT_EQ(progress.steps.back().first, c.total);  // once: the counts rise
    }
  }
}

}  // namespace
