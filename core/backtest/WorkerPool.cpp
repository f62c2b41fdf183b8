#include "core/backtest/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace korvel::backtest {

int32_t CoreCount()
{
    return std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
}

void RunJobs(int32_t count, int32_t threads, const std::function<void(int32_t)>& job)
{
    std::atomic<int32_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr first;
    std::mutex firstMutex;
    auto work = [&] {
        for (int32_t index = next++; index < count && !failed; index = next++) {
            try {
                job(index);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(firstMutex);
                if (!first)
                    first = std::current_exception();
                failed = true;
            }
        }
    };
    std::vector<std::thread> pool;
    for (int32_t t = 1; t < std::min(threads, count); ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
    if (first)
        std::rethrow_exception(first);
}

}  // namespace korvel::backtest
