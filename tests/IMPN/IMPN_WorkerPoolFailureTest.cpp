// Failures on the worker pool: whatever a task throws ends as a reported failure of that task, and
// a ParallelFor whose helpers cannot all be queued (no memory) still runs every call once and
// never returns while a helper may call its body.

#include "GLIB/GLIB_Exception.h"
#include "IMPN/IMPN_WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

TEST(WorkerPool, ATaskThatThrowsAnythingIsReportedAndThePoolGoesOn)
{
    IMPN_WorkerPool pool(2);
    std::mutex mutex;
    std::vector<std::string> reports;
    pool.SetFailureReport(
        [&](const std::string& what)
        {
            std::lock_guard<std::mutex> lock(mutex);
            reports.push_back(what);
        });
    pool.Submit([] { throw GLIB_Exception(1158002, "the file is gone", __FILE__, __LINE__); });
    pool.Submit([] { throw std::runtime_error("tile 3 cannot be decoded"); });
    pool.Submit([] { throw std::bad_alloc(); });
    pool.Submit([] { throw 7; });
    std::atomic<int> ran{0};
    pool.ParallelFor(16, [&](std::size_t) { ran.fetch_add(1); });
    EXPECT_EQ(ran.load(), 16);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (pool.GetFailedCount() < 4 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(pool.GetFailedCount(), 4u);
    std::lock_guard<std::mutex> lock(mutex);
    std::sort(reports.begin(), reports.end());
    EXPECT_EQ(reports, (std::vector<std::string>{"An unidentified exception has been caught.",
                                                 "Not enough memory", "the file is gone",
                                                 "tile 3 cannot be decoded"}));
}

// Out of memory is simulated by a replaced allocator that fails one chosen allocation of the
// calling thread. The sanitizers bring allocators of their own, so those builds leave it out.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KRN_OWN_ALLOCATOR_UNSUPPORTED 1
#endif
#endif
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) &&                             \
    !defined(KRN_OWN_ALLOCATOR_UNSUPPORTED)

namespace
{
// Allocations of this thread still to succeed before one fails; negative: none fails.
thread_local long t_allocationsLeft = -1;
thread_local int t_failures = 0;
} // namespace

// The replaced pair is malloc and free, which the compiler takes for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    if (t_allocationsLeft == 0)
    {
        t_allocationsLeft = -1;
        ++t_failures;
        throw std::bad_alloc();
    }
    if (t_allocationsLeft > 0)
        --t_allocationsLeft;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return ::operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

// The loop's shared state, then one helper, are queued; the second helper's queueing fails. The
// calling thread takes over its share, and every call has ended when ParallelFor returns.
TEST(WorkerPool, ParallelForWhoseHelpersCannotBeQueuedStillRunsEveryCallBeforeItReturns)
{
    IMPN_WorkerPool pool(4);
    std::vector<std::atomic<int>> runs(200);
    std::atomic<bool> returned{false};
    std::atomic<int> lateCalls{0};
    const std::function<void(std::size_t)> body = [&](std::size_t i)
    {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (returned.load())
            lateCalls.fetch_add(1);
        runs[i].fetch_add(1);
    };
    t_failures = 0;
    t_allocationsLeft = 2;
    EXPECT_NO_THROW(pool.ParallelFor(runs.size(), body));
    returned = true;
    t_allocationsLeft = -1;
    ASSERT_EQ(t_failures, 1) << "no allocation of ParallelFor failed";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(lateCalls.load(), 0);
    for (std::size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i].load(), 1) << i;
}

#endif
