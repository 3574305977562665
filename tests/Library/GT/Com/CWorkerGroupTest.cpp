#include "GT/Com/CWorkerGroup.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// Every round gives every worker its index once; plain writes of the workers
// are seen after Wait, and the owner's writes before Start are seen by them.
TEST(WorkerGroupThreaded, RoundsRunEveryIndexOnceAndPublishTheirWrites) {
  for (int size : {1, 2, 4}) {
    GT::CWorkerGroup group(size);
    ASSERT_EQ(size, group.GetSize());
    std::vector<long> slots(static_cast<std::size_t>(size), 0);
    long input = 0;
    for (long round = 1; round <= 200; ++round) {
      input = round * 3;  // plain write, read by the workers
      group.Start([&slots, &input](int i) { slots[static_cast<std::size_t>(i)] += input + i; });
      group.Wait();
      for (int i = 0; i < size; ++i) {
        ASSERT_EQ(3 * round * (round + 1) / 2 + round * i, slots[static_cast<std::size_t>(i)])
            << "size " << size << ", round " << round << ", worker " << i;
      }
    }
  }
}

// Start waits for the round before: a second round never overlaps the first.
TEST(WorkerGroupThreaded, StartWaitsForTheRoundBefore) {
  GT::CWorkerGroup group(3);
  std::atomic<int> running(0), overlap(0), done(0);
  auto task = [&](int) {
    if (running.fetch_add(1) >= 3) overlap.fetch_add(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    running.fetch_sub(1);
    done.fetch_add(1);
  };
  for (int round = 0; round < 10; ++round) group.Start(task);
  group.Wait();
  EXPECT_EQ(30, done.load());
  EXPECT_EQ(0, overlap.load());
}

// Destroyed with a round under way: the round finishes first.
TEST(WorkerGroupThreaded, DestroyedDuringARound) {
  std::atomic<int> done(0);
  {
    GT::CWorkerGroup group(4);
    group.Start([&done](int) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      done.fetch_add(1);
    });
  }
  EXPECT_EQ(4, done.load());
  GT::CWorkerGroup none(0);
  EXPECT_EQ(0, none.GetSize());
  none.Start([](int) { ADD_FAILURE() << "no worker to run on"; });
  none.Wait();
}

}  // namespace
