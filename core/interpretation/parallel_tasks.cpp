#include "core/interpretation/parallel_tasks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace orv {

namespace {

constexpr int kMaxThreads = 8;
// How often (ms) the calling thread, its own tasks done, shows the progress
// while it waits for the others.
constexpr int kWaitStep = 20;

}  // namespace

int parallelThreads(int requested, int total) {
  if (requested <= 0) requested = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(std::min(requested, total), 1, kMaxThreads);
}

bool runParallelTasks(int total, int threads, const std::function<void(int task, int thread)>& run,
                      ui::Progress* progress) {
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable finished;
  int done = 0;  // under mutex
  // After each task: the count so far, which only the calling thread shows.
  auto take = [&](int thread, const std::function<void(int)>& after) {
    for (int k = next++; k < total && !stop; k = next++) {
      run(k, thread);
      int now;
      {
        std::lock_guard<std::mutex> lock(mutex);
        now = ++done;
      }
      finished.notify_one();
      if (after) after(now);
    }
  };
  std::vector<std::thread> others;
  for (int t = 1; t < threads; ++t) {
    try {
      others.emplace_back([&take, t] { take(t, nullptr); });
    } catch (const std::system_error&) {
      break;  // no more threads to be had: fewer do the work
    }
  }
  int shown = 0;
  auto show = [&](int count) {
    if (!progress || count == shown) return;
    shown = count;
    if (!progress->step(count, total)) stop = true;
  };
  take(0, show);
  {
    std::unique_lock<std::mutex> lock(mutex);
    while (done < total && !stop) {
      const int count = done;
      lock.unlock();
      show(count);
      lock.lock();
      finished.wait_for(lock, std::chrono::milliseconds(kWaitStep), [&] { return done != count; });
    }
  }
  for (std::thread& t : others) t.join();
  if (!stop) show(total);
  return !stop;
}

}  // namespace orv
