#include "GT/Com/Thread/CWorkerPool.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Counts finished tasks; Wait returns once n have finished.
class CCounter {
public:
  void Done() {
    std::lock_guard<std::mutex> lock(mMutex);
    ++mDone;
    mChanged.notify_all();
  }
  void Wait(int n) {
    std::unique_lock<std::mutex> lock(mMutex);
    mChanged.wait(lock, [this, n] { return mDone >= n; });
  }

private:
  std::mutex mMutex;
  std::condition_variable mChanged;
  int mDone = 0;
};

// Every task runs once; what a task wrote plainly is seen by the poster once
// it has seen the task finish, and what the poster wrote before posting is
// seen by the task.
TEST(WorkerPoolThreaded, EveryTaskRunsOnceAndPublishesItsWrites) {
  for (int size : {1, 2, 4}) {
    GT::CWorkerPool pool(size);
    ASSERT_EQ(size, pool.GetSize());
    std::vector<long> slots(64, 0);
    for (int round = 1; round <= 50; ++round) {
      CCounter counter;
      long const input = round * 3;  // plain write, read by the tasks
      for (std::size_t i = 0; i < slots.size(); ++i) {
        pool.Post([&slots, &counter, input, i] {
          slots[i] += input + static_cast<long>(i);
          counter.Done();
        });
      }
      counter.Wait(static_cast<int>(slots.size()));
      for (std::size_t i = 0; i < slots.size(); ++i) {
        ASSERT_EQ(3L * round * (round + 1) / 2 + round * static_cast<long>(i), slots[i])
            << size << " threads";
      }
    }
  }
}

// Several threads post at once: nothing is lost.
TEST(WorkerPoolThreaded, PostersOnSeveralThreads) {
  GT::CWorkerPool pool(3);
  std::atomic<int> ran(0);
  CCounter counter;
  std::vector<std::thread> posters;
  for (int p = 0; p < 4; ++p) {
    posters.emplace_back([&] {
      for (int i = 0; i < 250; ++i) {
        pool.Post([&] {
          ran.fetch_add(1);
          counter.Done();
        });
      }
    });
  }
  for (std::thread& poster : posters) poster.join();
  counter.Wait(1000);
  EXPECT_EQ(1000, ran.load());
}

// Destroyed with tasks queued and running: they all finish first.
TEST(WorkerPoolThreaded, DestroyedWithTasksQueued) {
  std::atomic<int> done(0);
  {
    GT::CWorkerPool pool(2);
    for (int i = 0; i < 8; ++i) {
      pool.Post([&done] {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        done.fetch_add(1);
      });
    }
  }
  EXPECT_EQ(8, done.load());
}

TEST(WorkerPoolThreaded, WithoutThreadsATaskRunsOnThePostersThread) {
  GT::CWorkerPool none(0);
  EXPECT_EQ(0, none.GetSize());
  std::thread::id ranOn;
  none.Post([&ranOn] { ranOn = std::this_thread::get_id(); });
  EXPECT_EQ(std::this_thread::get_id(), ranOn);

  GT::CWorkerPool& shared = GT::CWorkerPool::Shared();
  EXPECT_EQ(&shared, &GT::CWorkerPool::Shared());
  EXPECT_GE(shared.GetSize(), 1);
  EXPECT_LE(shared.GetSize(), 4);

  // A forked child has none of the pool's threads: its tasks run on its own.
  std::fflush(nullptr);
  pid_t const child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::atomic<bool> ran(false);
    shared.Post([&ran] { ran = true; });
    for (int i = 0; i < 500 && !ran; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::_exit(ran && shared.GetSize() == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child's task never ran";
}

}  // namespace
