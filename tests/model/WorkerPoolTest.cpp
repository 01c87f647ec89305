#include "model/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <pthread.h>

namespace {

class WorkerPoolTest : public ::testing::TestWithParam<unsigned> {};

// Records which thread each worker number ran on: an analyser belongs to a
// worker, so one number must always be one thread.
class WorkerThreads {
public:
    void ranOn(unsigned worker)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto [entry, added] = m_threads.emplace(worker, std::this_thread::get_id());
        if (!added && entry->second != std::this_thread::get_id())
            m_shared = true;
    }
    bool shared() const { return m_shared; }
    size_t count() const { return m_threads.size(); }

private:
    std::mutex m_mutex;
    std::map<unsigned, std::thread::id> m_threads;
    bool m_shared = false;
};

} // namespace

TEST_P(WorkerPoolTest, EveryJobRunsOnceOnAWorkerOfItsOwnNumber)
{
    WorkerPool pool(GetParam());
    ASSERT_EQ(GetParam(), pool.size());
    std::vector<std::atomic<int>> runs(500);
    WorkerThreads threads;
    std::vector<size_t> started;
    const std::thread::id caller = std::this_thread::get_id();
    bool reportedElsewhere = false;
    pool.run(
        runs.size(),
        [&](size_t index, unsigned worker) {
            ASSERT_LT(worker, pool.size());
            threads.ranOn(worker);
            ++runs[index];
        },
        [&](size_t index) {
            reportedElsewhere = reportedElsewhere || std::this_thread::get_id() != caller;
            started.push_back(index);
        });
    for (const std::atomic<int>& count : runs)
        ASSERT_EQ(1, count);
    EXPECT_FALSE(threads.shared());
    EXPECT_FALSE(reportedElsewhere);
    ASSERT_EQ(runs.size(), started.size());
    for (size_t i = 0; i < started.size(); ++i)
        ASSERT_EQ(i, started[i]);
    // The pool serves another batch as well.
    std::atomic<int> again{0};
    pool.run(10, [&](size_t, unsigned) { ++again; });
    EXPECT_EQ(10, again);
}

TEST_P(WorkerPoolTest, TheFailureOfTheLowestIndexIsRaisedAfterTheJobsBeforeIt)
{
    WorkerPool pool(GetParam());
    std::vector<std::atomic<int>> runs(50);
    std::vector<size_t> started;
    try {
        pool.run(
            runs.size(),
            [&](size_t index, unsigned) {
                ++runs[index];
                // The later failure comes first in time.
                if (index == 25) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    throw std::runtime_error("25");
                }
                if (index == 26)
                    throw std::runtime_error("26");
            },
            [&](size_t index) { started.push_back(index); });
        FAIL() << "nothing raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ("25", error.what());
    }
    for (size_t i = 0; i < 25; ++i)
        EXPECT_EQ(1, runs[i]) << i;
    // Jobs past the failure start only while it was not known yet.
    size_t afterFailure = 0;
    for (size_t i = 26; i < runs.size(); ++i)
        afterFailure += runs[i];
    if (pool.size() == 1) {
        EXPECT_EQ(0u, afterFailure);
        EXPECT_EQ(26u, started.size());
    }
    ASSERT_GE(started.size(), 26u);
    for (size_t i = 0; i < started.size(); ++i)
        ASSERT_EQ(i, started[i]);
}

TEST_P(WorkerPoolTest, AJobsOwnBatchRunsOnTheWorkersWithoutBlockingThePool)
{
    WorkerPool pool(GetParam());
    WorkerThreads threads;
    std::atomic<int> inner{0};
    pool.run(20, [&](size_t, unsigned outerWorker) {
        threads.ranOn(outerWorker);
        pool.run(30, [&](size_t, unsigned worker) {
            threads.ranOn(worker);
            ++inner;
        });
    });
    EXPECT_EQ(600, inner);
    EXPECT_FALSE(threads.shared());
    // A failing inner job fails its outer job, which fails the batch.
    EXPECT_THROW(pool.run(4,
                          [&](size_t outer, unsigned) {
                              pool.run(8, [&](size_t index, unsigned) {
                                  if (outer == 2 && index == 5)
                                      throw std::logic_error("inner");
                              });
                          }),
                 std::logic_error);
}

TEST_P(WorkerPoolTest, WorkersLeaveTheInterruptSignalsToTheCaller)
{
    WorkerPool pool(GetParam());
    if (pool.size() == 1)
        GTEST_SKIP() << "one worker runs on the caller";
    std::atomic<int> blocked{0};
    pool.run(16, [&](size_t, unsigned) {
        sigset_t mask;
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        if (sigismember(&mask, SIGINT) && sigismember(&mask, SIGTERM) && sigismember(&mask, SIGHUP))
            ++blocked;
    });
    EXPECT_EQ(16, blocked);
    sigset_t mine;
    pthread_sigmask(SIG_BLOCK, nullptr, &mine);
    EXPECT_FALSE(sigismember(&mine, SIGINT));
}

INSTANTIATE_TEST_SUITE_P(Workers, WorkerPoolTest, ::testing::Values(1u, 2u, 8u));
