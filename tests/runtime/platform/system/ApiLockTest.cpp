#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "runtime/platform/system/ApiLock.h"

namespace {

void WaitForWaiters(int n) {
  while (ApiLockWaiterCount() != n) std::this_thread::yield();
}

class ApiLockTest : public ::testing::Test {
 protected:
  void TearDown() override { ApiLockTeardown(); }
};

TEST_F(ApiLockTest, TheOwnerMayLockAgainAndOthersWaitForTheLastUnlock) {
  ApiLock();
  ApiLock();
  std::atomic<bool> taken{false};
  std::thread other([&] {
    ApiLock();
    taken = true;
    ApiUnlock();
  });
  WaitForWaiters(1);
  ApiUnlock();
  EXPECT_EQ(ApiLockWaiterCount(), 1);
  EXPECT_FALSE(taken);
  ApiUnlock();
  other.join();
  EXPECT_TRUE(taken);
  EXPECT_EQ(ApiLockWaiterCount(), 0);
}

TEST_F(ApiLockTest, ThreadsGetTheLockInArrivalOrder) {
  constexpr int kThreads = 8;
  std::mutex orderMutex;
  std::vector<int> order;
  auto take = [&](int id) {
    ApiLock();
    {
      std::lock_guard<std::mutex> lock(orderMutex);
      order.push_back(id);
    }
    ApiUnlock();
  };
  ApiLock();
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      take(i);
      // Asking again at once queues behind those still waiting.
      if (i == 0) take(0);
    });
    WaitForWaiters(i + 1);
  }
  ApiUnlock();
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
}

// Starts a thread that takes the lock, and reports whether it got it at
// once (true) or waits for it (false).
bool TakenAtOnce(std::thread* taker, std::atomic<bool>* taken) {
  *taker = std::thread([taken] {
    ApiLock();
    *taken = true;
    ApiUnlock();
  });
  while (!*taken && ApiLockWaiterCount() != 1) std::this_thread::yield();
  return *taken;
}

TEST_F(ApiLockTest, TeardownAfterTheLastUnlockLeavesTheNextOwnerItsLock) {
  ApiLock();
  std::atomic<bool> owning{false};
  std::atomic<bool> done{false};
  std::thread next([&] {
    ApiLock();
    owning = true;
    while (!done) std::this_thread::yield();
    ApiUnlock();
  });
  WaitForWaiters(1);
  ApiUnlock();  // hands the lock on
  while (!owning) std::this_thread::yield();
  ApiLockTeardown();

  std::atomic<bool> taken{false};
  std::thread third;
  EXPECT_FALSE(TakenAtOnce(&third, &taken));
  done = true;
  next.join();
  third.join();
  EXPECT_TRUE(taken);
}

TEST_F(ApiLockTest, AnUnlockByAnotherThreadDoesNotFreeTheLock) {
  ApiLock();
  std::thread([] { ApiUnlock(); }).join();
  std::atomic<bool> taken{false};
  std::thread third;
  EXPECT_FALSE(TakenAtOnce(&third, &taken));
  ApiUnlock();
  third.join();
  EXPECT_TRUE(taken);
}

}  // namespace
