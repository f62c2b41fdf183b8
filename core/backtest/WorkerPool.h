#pragma once
// A fixed set of threads taking independent jobs in turn. Each job writes
// only its own result, so what comes out does not depend on the threads.
#include <cstdint>
#include <functional>

namespace korvel::backtest {

// As many threads as the machine has cores (at least 1).
int32_t CoreCount();

// Runs job(0) .. job(count - 1) on `threads` threads (1: on this one), and
// returns when all are done. The first exception a job throws is thrown
// here once the others have ended; jobs not yet started are then skipped.
void RunJobs(int32_t count, int32_t threads, const std::function<void(int32_t)>& job);

}  // namespace korvel::backtest
