// The built korvel-backtest against korvel-solve on the same windows, and
// its output whatever the threads and however the rebalances are split.
#include "process_run.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace korvel {
namespace {

namespace fs = std::filesystem;

using testing::ProcessRun;
using testing::Quoted;

constexpr int kShares = 5;
constexpr int kPeriods = 30;

// One column of returns per share, dated, with a spread wide enough that
// windows differ: a small generator keeps the text the same on every run.
std::string ReturnsText(int firstPeriod, int lastPeriod) {
    std::string text = "Date,A,B,C,D,E\n";
    uint32_t state = 12345;
    for (int p = 0; p < lastPeriod; ++p) {
        std::string line = "2024-" + std::to_string(1 + p / 28) + "-" + std::to_string(1 + p % 28);
        for (int i = 0; i < kShares; ++i) {
            state = state * 1103515245u + 12345u;
            line += "," + std::to_string(static_cast<int>(state >> 16) % 1000 / 100.0 - 4.0 + 0.3 * i);
        }
        if (p >= firstPeriod)
            text += line + "\n";
    }
    return text;
}

class BacktestBinary : public ::testing::Test {
protected:
    void SetUp() override {
        const char* binDir = std::getenv("KORVEL_BIN_DIR");
        ASSERT_NE(binDir, nullptr) << "KORVEL_BIN_DIR is not set";
        m_bin = binDir;
        ASSERT_TRUE(fs::exists(m_bin / "korvel-backtest")) << "korvel-backtest is not built";
        m_dir = fs::temp_directory_path() / ("korvel-backtest-test-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        m_returns = Write("returns.csv", ReturnsText(0, kPeriods));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / name, std::ios::binary) << text;
        return (m_dir / name).string();
    }
    ProcessRun Run(const std::string& program, const std::vector<std::string>& args) {
        return testing::RunProgram(m_bin / program, args, m_dir);
    }
    std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    fs::path m_bin, m_dir;
    std::string m_returns;
};

// The entries of the n-th list after key ({"name": ..., "weight": ..., "row": ...}),
// sorted: Go lists a basis in its own order, korvel-backtest by row.
std::vector<std::string> Entries(const std::string& json, const std::string& key, int n) {
    size_t begin = 0;
    for (int k = 0; k <= n && begin != std::string::npos; ++k)
        begin = json.find("\"" + key + "\": [", begin ? begin + 1 : 0);
    std::vector<std::string> entries;
    if (begin == std::string::npos)
        return entries;
    const size_t end = json.find(']', begin);
    for (size_t at = json.find('{', begin); at < end; at = json.find('{', at + 1))
        entries.push_back(json.substr(at, json.find('}', at) - at));
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST_F(BacktestBinary, EveryWindowHoldsWhatKorvelSolvePrintsForIt) {
    struct Case {
        std::vector<std::string> goal;
        int window;  // 8: the worksheet's engine; 12: the structured solver
        std::string named;
    } cases[] = {{{"--min-return", "0.9"}, 8, "min-return 0.9"},
                 {{"--least-risk"}, 12, "least-risk"},
                 {{"--min-return", "0.2"}, 12, "min-return 0.2"},
                 {{"--risk", "cvar:0.25", "--max-weight", "0.6", "--least-risk"},
                  8,
                  "least-risk, risk cvar:0.25, bounded weights"},
                 {{"--best-ratio", "--risk-free", "0.1"}, 12, "best-ratio over 0.1"}};
    for (const Case& c : cases) {
        const std::string window = std::to_string(c.window);
        const ProcessRun run =
            Run("korvel-backtest", With(c.goal, {"--json", "--window", window, "--every", "7", m_returns}));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("\"goal\": \"" + c.named + "\""), std::string::npos) << run.out.substr(0, 80);
        int rebalance = 0;
        for (int at = c.window; at < kPeriods; at += 7, ++rebalance) {
            const std::string slice = Write("slice.csv", ReturnsText(at - c.window, at));
            const ProcessRun solve = Run("korvel-solve", With(c.goal, {"--json", slice}));
            const std::vector<std::string> shares = Entries(solve.out, "shares", 0);
            ASSERT_FALSE(shares.empty()) << solve.out << solve.err;
            EXPECT_EQ(Entries(run.out, "weights", rebalance), shares) << "window " << window << " before " << at + 1;
        }
        EXPECT_EQ(Entries(run.out, "weights", rebalance), std::vector<std::string>{});
    }
}

TEST_F(BacktestBinary, UnreachedWindowsHoldEqualWeights) {
    const ProcessRun run =
        Run("korvel-backtest", {"--json", "--min-return", "50", "--window", "8", "--every", "7", m_returns});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"unreached\": 4"), std::string::npos);
    // Both series then hold the same portfolios: the same returns.
    const size_t strategy = run.out.find("\"returns\""), equal = run.out.find("\"returns\"", strategy + 1);
    EXPECT_EQ(run.out.substr(strategy, run.out.find(']', strategy) - strategy),
              run.out.substr(equal, run.out.find(']', equal) - equal));
    EXPECT_NE(run.err.find("4 of 4 windows reached no portfolio"), std::string::npos) << run.err;
}

// Threads and machines split the rebalances; none may change a byte.
TEST_F(BacktestBinary, SameBytesForAnyThreadsAndFromParts) {
    const std::vector<std::string> call{"--json", "--least-risk", "--cost", "25", "--window", "6", "--every", "2"};
    const ProcessRun one = Run("korvel-backtest", With(call, {"--threads", "1", m_returns}));
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(Run("korvel-backtest", With(call, {"--threads", "3", m_returns})).out, one.out);

    if (std::system("command -v parallel >/dev/null") != 0)
        GTEST_SKIP() << "GNU parallel is not installed (tools/deps.sh installs it)";
    const std::string backtest = Quoted((m_bin / "korvel-backtest").string());
    const std::string parts = "parallel --will-cite " + backtest
                              + " --part {}/3 --least-risk --cost 25 --window 6 --every 2 " + Quoted(m_returns)
                              + " '>' " + Quoted((m_dir / "part").string()) + "{} ::: 1 2 3";
    ASSERT_EQ(testing::RunCommandLine(parts, m_dir).status, 0);
    const ProcessRun merged = Run("korvel-backtest", {"--json", "--merge", (m_dir / "part3").string(),
                                                      (m_dir / "part1").string(), (m_dir / "part2").string()});
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, one.out);
}

// korvel-backtest hands --plot to the drawer, which must run the backtest, not a solve.
TEST_F(BacktestBinary, PlotIsDrawnBesideTheSameOutput) {
    if (!fs::exists(m_bin / "korvel-solve-plot"))
        GTEST_SKIP() << "korvel-solve-plot is not built";
    const std::vector<std::string> call{"--csv", "--least-risk", "--window", "6", "--every", "4", m_returns};
    const std::string picture = (m_dir / "wealth.png").string();
    const ProcessRun plotted = Run("korvel-backtest", With({"--plot", picture}, call));
    EXPECT_EQ(plotted.status, 0) << plotted.err;
    EXPECT_EQ(plotted.out, Run("korvel-backtest", call).out);
    EXPECT_EQ(testing::ReadAll(picture).substr(0, 4), "\x89PNG");
}

TEST_F(BacktestBinary, BacktestThatCannotRunIsRefused) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--least-risk", "--window", "31", "--every", "5"},
         "the window of 31 periods is longer than the history of 30"},
        {{"--least-risk", "--window", "30", "--every", "5"},
         "the history of 30 periods is too short for one rebalance"},
        {{"--least-risk", "--window", "10", "--every", "0"}, "--every must be at least 1"},
        {{"--least-risk", "--window", "2", "--every", "5"}, "the window must hold at least 3 periods"},
        {{"--window", "10", "--every", "5"},
         "the input has no Min Return: give --min-return R, --least-risk or --best-ratio"},
    };
    for (const Case& c : cases) {
        const ProcessRun run = Run("korvel-backtest", With(c.args, {m_returns}));
        EXPECT_EQ(run.status, 1) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace korvel
