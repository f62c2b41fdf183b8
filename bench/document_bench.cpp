// Reading and writing a worksheet document of 1000 shares x 10 periods.
#include "core/worksheet/DocumentFormat.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace korvel::doc;

namespace {

korvel::WorksheetTable LargestWorksheet() {
    korvel::WorksheetTable t(1001, 12);
    t.minReturnText = "0.35";
    char text[32];
    for (int32_t r = 1; r < t.Rows(); ++r) {
        std::snprintf(text, sizeof text, "Share %d", r);
        t.SetTextMatrix(r, 1, text);
        for (int32_t c = 2; c < t.Cols(); ++c) {
            std::snprintf(text, sizeof text, "%.3f", ((r * 37 + c * 11) % 200 - 100) / 25.0);
            t.SetTextMatrix(r, c, text);
        }
    }
    return t;
}

void BM_SaveDocument1000x10(benchmark::State& state) {
    const korvel::WorksheetTable table = LargestWorksheet();
    for (auto _ : state) {
        std::vector<uint8_t> bytes = SaveDocument(table);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_SaveDocument1000x10)->Unit(benchmark::kMicrosecond);

void BM_LoadDocument1000x10(benchmark::State& state) {
    const std::vector<uint8_t> bytes = SaveDocument(LargestWorksheet());
    for (auto _ : state) {
        LoadResult result = LoadDocument(bytes);
        benchmark::DoNotOptimize(result.table.Rows());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_LoadDocument1000x10)->Unit(benchmark::kMicrosecond);

// The whole open: the file read (from the page cache) and the load.
void BM_ReadFileAndLoad1000x10(benchmark::State& state) {
    const std::vector<uint8_t> bytes = SaveDocument(LargestWorksheet());
    const std::string path = "/tmp/korvel-document-bench-" + std::to_string(::getpid());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::vector<uint8_t> read;
    std::string error;
    for (auto _ : state) {
        if (!ReadFileBytes(path, read, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        LoadResult result = LoadDocument(read);
        benchmark::DoNotOptimize(result.table.Rows());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadFileAndLoad1000x10)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
