#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "RpcThread.h"

namespace {

TEST(Thread, JoinReportsEndTimeOutAndAlreadyFinished) {
    std::atomic<bool> release{false};
    CRpcThread thread;
    ASSERT_EQ(thread.Create(
                  [](void* arg) -> std::uint32_t {
                      while (!static_cast<std::atomic<bool>*>(arg)->load())
                          std::this_thread::sleep_for(std::chrono::milliseconds(1));
                      return 42;
                  },
                  &release, RPC_PRIORITY_NORMAL),
              RPC_S_THREAD_CREATED);
    EXPECT_EQ(thread.Join(20), -1);
    release = true;
    EXPECT_EQ(thread.Join(RPC_INFINITE), 0);
    EXPECT_TRUE(thread.IsFinished());
    EXPECT_EQ(thread.ExitValue(), 42u);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(thread.Join(5000), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

TEST(Thread, IdsAreDistinctPerThreadAndStable) {
    const std::uint32_t mine = RpcCurrentThreadId();
    std::uint32_t other = 0;
    std::thread([&] { other = RpcCurrentThreadId(); }).join();
    EXPECT_NE(mine, 0u);
    EXPECT_NE(other, mine);
    EXPECT_EQ(RpcCurrentThreadId(), mine);
}

}  // namespace
