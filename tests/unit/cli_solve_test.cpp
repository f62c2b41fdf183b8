// The built korvel-solve on documents written to a temporary folder.
#include "core/worksheet/DocumentFormat.h"
#include "optimizer_worksheets.h"

#include "process_run.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace korvel {
namespace {

namespace fs = std::filesystem;

using testing::ProcessRun;
using testing::Quoted;
using testing::ReadAll;

class SolveBinary : public ::testing::Test {
protected:
    void SetUp() override {
        const char* binDir = std::getenv("KORVEL_BIN_DIR");
        ASSERT_NE(binDir, nullptr) << "KORVEL_BIN_DIR is not set";
        m_binary = fs::path(binDir) / "korvel-solve";
        ASSERT_TRUE(fs::exists(m_binary)) << m_binary << " is not built";
        m_dir = fs::temp_directory_path() / ("korvel-solve-test-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& name, const WorksheetTable& sheet) {
        return WriteBytes(name, doc::SaveDocument(sheet));
    }
    std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.string();
    }

    ProcessRun Solve(const std::vector<std::string>& args) { return testing::RunProgram(m_binary, args, m_dir); }

    WorksheetTable Mirrored(const std::string& minReturn) {
        WorksheetTable sheet = testing::MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}}, {"Up", "Down"});
        sheet.minReturnText = minReturn;
        return sheet;
    }

    fs::path m_binary;
    fs::path m_dir;
};

TEST_F(SolveBinary, TextOutputUsesTheDocumentsMinReturn) {
    const ProcessRun run = Solve({Write("mirror.kvl", Mirrored("1"))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Solution 1\n"
                       "Avg.Return    2\n"
                       "Line Deviat.  0\n"
                       " No  Weight     Row  Name\n"
                       "  1  0.5000       2  Down\n"
                       "  2  0.5000       1  Up\n");
}

TEST_F(SolveBinary, JsonOfEverySolutionInOrder) {
    WorksheetTable sheet =
        testing::MakeSheet({{"1", "2", "3"}, {"1", "2", "3"}, {"2", "3", "4"}, {"3", "4", "5"}}, {"A", "B", "C", "D"});
    sheet.minReturnText = "9";  // replaced below
    const ProcessRun run = Solve({"--json", "--min-return", "1", Write("stairs.kvl", sheet)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"outcome\": \"done\", \"message\": null, \"solutions\": ["
                       "{\"averageReturn\": 2, \"lineDeviation\": 0.6666666666666666, \"shares\": "
                       "[{\"name\": \"A\", \"weight\": 1, \"row\": 1}]}, "
                       "{\"averageReturn\": 3, \"lineDeviation\": 0.6666666666666666, \"shares\": "
                       "[{\"name\": \"C\", \"weight\": 1, \"row\": 3}]}, "
                       "{\"averageReturn\": 4, \"lineDeviation\": 0.6666666666666666, \"shares\": "
                       "[{\"name\": \"D\", \"weight\": 1, \"row\": 4}]}]}\n");
}

TEST_F(SolveBinary, NoSolutionIsARunThatEndsWithItsMessage) {
    const std::string file = Write("mirror.kvl", Mirrored("1"));
    ProcessRun run = Solve({"--min-return", "2.5", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "No solution\n");
    run = Solve({"--json", "--min-return", "2.5", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "{\"outcome\": \"no solution\", \"message\": \"No solution\", \"solutions\": []}\n");
}

TEST_F(SolveBinary, RejectedInputExitsWithOne) {
    WorksheetTable sheet = Mirrored("1");
    sheet.SetTextMatrix(2, 3, "2%");
    const std::string file = Write("bad.kvl", sheet);
    ProcessRun run = Solve({file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "korvel-solve: Invalid Return2 on row 2\n");

    run = Solve({"--json", "--min-return", "", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "{\"outcome\": \"invalid\", \"message\": \"Min Return must be positive value !\", "
                       "\"solutions\": []}\n");

    // Scaled, a Min Return far above every mean is simply out of reach.
    run = Solve({"--min-return", "1e305", Write("mirror.kvl", Mirrored("1"))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "No solution\n");
}

// Names in an 8-bit code page come out as the grid shows them; a zero-byte
// file is the reset worksheet, as Tavo opens it.
TEST_F(SolveBinary, NamesDecodeLikeTheGridAndAnEmptyFileIsTheResetWorksheet) {
    WorksheetTable sheet = testing::MakeSheet({{"1", "2", "3"}}, {"Bj\xF6rk AG"});
    sheet.minReturnText = "1";
    const std::string file = Write("bjork.kvl", sheet);
    ProcessRun run = Solve({"--json", file});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"Bj\xC3\xB6rk AG\""), std::string::npos) << run.out;
    run = Solve({file});
    EXPECT_NE(run.out.find("  1  1.0000       1  Bj\xC3\xB6rk AG\n"), std::string::npos) << run.out;

    run = Solve({WriteBytes("empty.kvl", {})});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "korvel-solve: Min Return must be positive value !\n");
    run = Solve({"--min-return", "1", WriteBytes("empty.kvl", {})});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "No solution\n");
}

// Beyond the worksheet's ten periods, and with --least-risk on any size, one
// least-deviation portfolio comes from the frontier: any finite Min Return.
TEST_F(SolveBinary, BeyondTheWorksheetOneLeastDeviationPortfolio) {
    std::string text = "Name";
    for (int p = 1; p <= 11; ++p)
        text += ",R" + std::to_string(p);
    text += "\nFalls,-1,-2,-1,-2,-1,-2,-1,-2,-1,-2,-1\nCalm,-3,-3,-3,-3,-3,-3,-3,-3,-3,-3,-3\n";
    const std::string file = WriteBytes("long.csv", std::vector<uint8_t>(text.begin(), text.end()));
    const std::string small = Write("small.kvl", Mirrored(""));
    struct Case {
        std::vector<std::string> args;
        const char* outcome;
        int shares;  // held in the portfolio
    };
    const Case cases[] = {
        {{"--json", "--min-return", "-2", file}, "done", 2},
        {{"--json", "--min-return", "-1.5", file}, "done", 2},
        {{"--json", "--min-return", "-1.4", file}, "no solution", 0},
        {{"--json", "--least-risk", file}, "done", 1},
        {{"--json", "--least-risk", small}, "done", 2},
    };
    for (const Case& c : cases) {
        const ProcessRun run = Solve(c.args);
        EXPECT_EQ(run.status, 0) << c.args[2] << run.err;
        EXPECT_NE(run.out.find(std::string("\"outcome\": \"") + c.outcome), std::string::npos) << c.args[2] << run.out;
        int held = 0;
        for (size_t at = run.out.find("\"row\""); at != std::string::npos; at = run.out.find("\"row\"", at + 1))
            ++held;
        EXPECT_EQ(held, c.shares) << c.args[2] << run.out;
    }
}

// The measures and bounds reach the outputs, and bounds no portfolio keeps
// are refused by the share or line at fault.
TEST_F(SolveBinary, MeasuresAndBoundsFromTheCommandLine) {
    const std::string text = "Name,R1,R2,R3,R4\nAsh,4,-2,3,1\nBeech,-1,3,0,2\nCherry,2,2,-3,5\n";
    const std::string file = WriteBytes("three.csv", std::vector<uint8_t>(text.begin(), text.end()));
    const std::string bounds = "name,min,max\nBeech,,0.2\nOak,0,1\n";
    const std::string boundsFile = WriteBytes("bounds.csv", std::vector<uint8_t>(bounds.begin(), bounds.end()));
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* out;  // found in standard output
        const char* err;  // found in standard error
    };
    const Case cases[] = {
        {{"--json", "--risk", "cvar:0.25", "--least-risk", file}, 0, "\"riskMeasure\": \"cvar:0.25\", \"risk\": ", ""},
        {{"--json", "--max-weight", "0.5", "--least-risk", file}, 0, "\"lineDeviation\": ", ""},
        {{"--csv", "--risk", "worst", "--frontier", file}, 0, "Solution,Avg.Return,Risk (worst),Row", ""},
        {{"--risk", "downside:2", "--risk-free", "1", "--best-ratio", file}, 0, "at breakpoint 2", ""},
        {{"--max-weight", "0.4", "--min-return", "2", file}, 0, "No solution", ""},
        {{"--min-weight", "0.4", "--least-risk", file}, 1, "", "from \"Ash\" to \"Cherry\""},
        {{"--bounds", boundsFile, "--least-risk", file}, 1, "", "line 3: \"Oak\" is no share"},
        {{"--risk", "cvar:0", file}, 2, "", "ALPHA above 0"},
    };
    for (const Case& c : cases) {
        const ProcessRun run = Solve(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[1] << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << c.args[1] << run.out;
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args[1] << run.err;
    }
}

TEST_F(SolveBinary, UnreadableFilesAndWrongUsageExitWithTwo) {
    ProcessRun run = Solve({(m_dir / "missing.kvl").string()});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("missing.kvl"), std::string::npos) << run.err;

    std::vector<uint8_t> bytes = doc::SaveDocument(Mirrored("1"));
    bytes.resize(bytes.size() - 3);
    run = Solve({WriteBytes("short.kvl", bytes)});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("ends early"), std::string::npos) << run.err;

    doc::DocumentWriter writer;
    writer.WriteInt32(1002);
    writer.WriteInt32(5);
    writer.WriteString("1");
    run = Solve({WriteBytes("huge.kvl", writer.Bytes())});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("out of range"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    run = Solve({});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage: korvel-solve"), std::string::npos);

    run = Solve({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("--min-return TEXT"), std::string::npos);
}

}  // namespace
}  // namespace korvel
