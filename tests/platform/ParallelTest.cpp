// Work shared with the pool: every piece done once, and done also when no
// pool thread is free (the caller never waits for a helper to start).

#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <QThreadPool>

#include <atomic>
#include <numeric>
#include <set>
#include <thread>
#include <vector>

TEST(ParallelTest, EveryPieceIsDoneOnceAndPartsCoverTheRange)
{
    std::vector<std::atomic<int>> done(5000);
    std::mutex mutex;
    std::set<std::thread::id> threads;
    ForEachInParallel(done.size(), [&](size_t i) {
        ++done[i];
        const std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
    });
    for (size_t i = 0; i < done.size(); ++i)
        ASSERT_EQ(done[i], 1) << i;
    EXPECT_GE(threads.size(), 1u);
    ForEachInParallel(0, [](size_t) { FAIL(); });

    for (size_t n : {0u, 1u, 7u, 1000u, 100000u}) {
        const std::vector<size_t> bounds = PartBounds(n, 100);
        ASSERT_GE(bounds.size(), 2u);
        EXPECT_EQ(bounds.front(), 0u);
        EXPECT_EQ(bounds.back(), n);
        EXPECT_TRUE(std::is_sorted(bounds.begin(), bounds.end()));
        EXPECT_LE(bounds.size() - 1, std::max(1u, std::thread::hardware_concurrency()));
        if (bounds.size() > 2) {
            EXPECT_GE(bounds[1] - bounds[0], 100u);
        }
    }
}

TEST(ParallelTest, WorkEndsWhenEveryPoolThreadIsBusy)
{
    QThreadPool* pool = QThreadPool::globalInstance();
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
    std::atomic<int> blocked{0};
    // Occupy the whole pool until the work below has ended.
    for (int i = 0; i < pool->maxThreadCount(); ++i)
        pool->start([&] {
            ++blocked;
            std::unique_lock lock(mutex);
            released.wait(lock, [&] { return release; });
        });
    while (blocked < pool->maxThreadCount())
        std::this_thread::yield();

    std::vector<int> done(100);
    const std::thread::id caller = std::this_thread::get_id();
    bool elsewhere = false;
    ForEachInParallel(done.size(), [&](size_t i) {
        ++done[i];
        elsewhere |= std::this_thread::get_id() != caller;
    });
    EXPECT_EQ(std::accumulate(done.begin(), done.end(), 0), 100);
    EXPECT_FALSE(elsewhere);
    {
        const PoolHelpers none(4, [](size_t) { FAIL(); });
        EXPECT_EQ(none.Count(), 0u);
    }
    {
        const std::lock_guard lock(mutex);
        release = true;
    }
    released.notify_all();
    pool->waitForDone();
}
