// korvel-solve --frontier: its arguments, its three outputs and its pictures,
// on the built programs and documents written to a temporary folder.
#include "core/worksheet/DocumentFormat.h"
#include "optimizer_worksheets.h"
#include "programs/cli/FrontierOutput.h"
#include "programs/cli/SolveOptions.h"

#include "process_run.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace korvel {
namespace {

namespace fs = std::filesystem;

TEST(FrontierArguments, CombinationsThatMeanNothingAreRefused) {
    cli::SolveOptions options;
    std::string error;
    EXPECT_TRUE(cli::ParseSolveArguments({"--frontier", "--csv", "--plot", "a.SVG", "f"}, options, error));
    EXPECT_TRUE(options.frontier && options.csv);
    EXPECT_EQ(options.plot, "a.SVG");
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--plot", "a.png", "f"},
                                                 {"--frontier", "--json", "--csv", "f"},
                                                 {"--frontier", "--plot", "a.jpg", "f"},
                                                 {"--least-risk", "--frontier", "f"},
                                                 {"--least-risk", "--min-return", "1", "f"},
                                                 {"--frontier", "--plot"},
                                                 {"--frontier", "--wide", "f"}}) {
        EXPECT_FALSE(cli::ParseSolveArguments(args, options, error)) << args[0] << " " << args[1];
        EXPECT_FALSE(error.empty());
    }
}

TEST(FrontierOutput, CsvQuotesNamesAndNumbersReadBackExactly) {
    cli::FrontierRun run;
    run.frame.tickers = {"Plain", "Comma, \"quoted\""};
    FrontierPoint point;
    point.averageReturn = 0.1;
    point.lineDeviation = 1.0 / 3.0;
    point.shares = {{1, 0.25}, {2, 0.75}};
    run.frontier.points.push_back(point);
    std::ostringstream csv;
    cli::PrintFrontierCsv(csv, run);
    EXPECT_EQ(csv.str(), "Solution,Avg.Return,Line Deviat.,Row,Name,Weight\n"
                         "1,0.1,0.3333333333333333,1,Plain,0.25\n"
                         "1,0.1,0.3333333333333333,2,\"Comma, \"\"quoted\"\"\",0.75\n");
    EXPECT_EQ(cli::FormatFrontierJson(run),
              "{\"outcome\": \"done\", \"message\": null, \"points\": [{\"averageReturn\": 0.1, "
              "\"lineDeviation\": 0.3333333333333333, \"shares\": [{\"name\": \"Plain\", \"weight\": 0.25, "
              "\"row\": 1}, {\"name\": \"Comma, \\\"quoted\\\"\", \"weight\": 0.75, \"row\": 2}]}]}\n");
}

using testing::ProcessRun;
using testing::Quoted;
using testing::ReadAll;

class FrontierBinary : public ::testing::Test {
protected:
    void SetUp() override {
        const char* binDir = std::getenv("KORVEL_BIN_DIR");
        ASSERT_NE(binDir, nullptr) << "KORVEL_BIN_DIR is not set";
        m_bin = binDir;
        ASSERT_TRUE(fs::exists(m_bin / "korvel-solve"));
        m_dir = fs::temp_directory_path() / ("korvel-frontier-test-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        // Three shares: the frontier runs from the hedged pair through a mix of
        // Down and Star (return 8/3, deviation 2/9) to Star alone.
        WorksheetTable sheet =
            testing::MakeSheet({{"1", "2", "3"}, {"3", "2", "1"}, {"1", "5", "6"}}, {"Up", "Down", "Star"});
        const std::vector<uint8_t> bytes = doc::SaveDocument(sheet);
        m_sheet = (m_dir / "sheet.kvl").string();
        std::ofstream(m_sheet, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    ProcessRun Run(const std::string& arguments) {
        return testing::RunCommandLine((m_bin / "korvel-solve").string() + " " + arguments, m_dir);
    }
    bool HasPlotProgram() const { return fs::exists(m_bin / "korvel-solve-plot"); }

    fs::path m_bin;
    fs::path m_dir;
    std::string m_sheet;
};

TEST_F(FrontierBinary, JsonAndTableOfTheBreakpoints) {
    ProcessRun run = Run("--frontier --json " + m_sheet);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "{\"outcome\": \"done\", \"message\": null, \"points\": ["
                       "{\"averageReturn\": 2, \"lineDeviation\": 0, \"shares\": [{\"name\": \"Up\", \"weight\": 0.5, "
                       "\"row\": 1}, {\"name\": \"Down\", \"weight\": 0.5, \"row\": 2}]}, "
                       "{\"averageReturn\": 2.6666666666666665, \"lineDeviation\": 0.2222222222222222, \"shares\": "
                       "[{\"name\": \"Down\", \"weight\": 0.6666666666666666, \"row\": 2}, {\"name\": \"Star\", "
                       "\"weight\": 0.3333333333333333, \"row\": 3}]}, "
                       "{\"averageReturn\": 4, \"lineDeviation\": 2, \"shares\": [{\"name\": \"Star\", \"weight\": 1, "
                       "\"row\": 3}]}]}\n");
    run = Run("--frontier " + m_sheet);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("  1  2                 0                 Up 0.5000, Down 0.5000\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  2  2.666666667       0.2222222222      Down 0.6667, Star 0.3333\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  3  4                 2                 Star 1.0000\n"), std::string::npos) << run.out;
}

// From a Min Return the frontier starts at the portfolio there; above the
// best share nothing reaches it, which the text says as Go's does.
TEST_F(FrontierBinary, FromAMinReturnUpOrNoSolution) {
    ProcessRun run = Run("--frontier --min-return 3 " + m_sheet);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("  1  3                 0.6666666667      Down 0.5000, Star 0.5000\n"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  2  4                 2                 Star 1.0000\n"), std::string::npos) << run.out;
    run = Run("--frontier --min-return 4.5 " + m_sheet);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "No solution\n");
}

TEST_F(FrontierBinary, InvalidCellIsRejectedWithTheGoMessage) {
    WorksheetTable sheet = testing::MakeSheet({{"1", "2", "x"}});
    const std::vector<uint8_t> bytes = doc::SaveDocument(sheet);
    std::ofstream(m_sheet, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const ProcessRun run = Run("--frontier --json " + m_sheet);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "{\"outcome\": \"invalid\", \"message\": \"Invalid Return3 on row 1\", \"points\": []}\n");
}

TEST_F(FrontierBinary, SvgHasTheFrontierLineAndANamedDotPerShare) {
    if (!HasPlotProgram())
        GTEST_SKIP() << "korvel-solve-plot is not built";
    const std::string svg = (m_dir / "frontier.svg").string();
    const ProcessRun run = Run("--frontier --plot " + svg + " " + m_sheet);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string text = ReadAll(svg);
    for (const char* name : {"<title>Up: ", "<title>Down: ", "<title>Star: "})
        EXPECT_NE(text.find(name), std::string::npos) << name;
    EXPECT_EQ(text.find("n1:"), std::string::npos);
    // The least-risk point and the share on the frontier are named; the axes
    // say their unit.
    for (const char* label : {">Least risk<", ">Star<", ">Avg.Return (return per period)<"})
        EXPECT_NE(text.find(label), std::string::npos) << label;
    EXPECT_EQ(text.find(">Up<"), std::string::npos);
    // The frontier's line: three breakpoints, drawn in the frontier's colour.
    const std::regex line("stroke=\"#1f5aaa\"[^>]*stroke-width=\"2\"[^>]*>\\s*<polyline[^>]*points=\"([^\"]*)\"");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(text, match, line));
    std::istringstream points(match[1].str());
    std::string point;
    int count = 0;
    while (points >> point)
        ++count;
    EXPECT_EQ(count, 3);
}

TEST_F(FrontierBinary, SvgNamesEachSharesRiskByTheMeasure) {
    if (!HasPlotProgram())
        GTEST_SKIP() << "korvel-solve-plot is not built";
    const std::string svg = (m_dir / "worst.svg").string();
    ASSERT_EQ(Run("--frontier --risk worst --plot " + svg + " " + m_sheet).status, 0);
    const std::string text = ReadAll(svg);
    EXPECT_NE(text.find("<title>Up: Avg.Return 2, Risk (worst) "), std::string::npos);
    EXPECT_EQ(text.find("Line Deviat."), std::string::npos);
}

TEST_F(FrontierBinary, PngOfTheChosenSizeWithoutADisplay) {
    if (!HasPlotProgram())
        GTEST_SKIP() << "korvel-solve-plot is not built";
    const std::string png = (m_dir / "frontier.PNG").string();
    const ProcessRun run = Run("--frontier --csv --plot " + png + " " + m_sheet);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Solution,Avg.Return,Line Deviat.,Row,Name,Weight");
    const std::string bytes = ReadAll(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    auto word = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16)
               | (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    EXPECT_EQ(word(16), 800u);
    EXPECT_EQ(word(20), 560u);
}

TEST_F(FrontierBinary, UnwritablePictureExitsWithTwoAndKeepsNoFile) {
    if (!HasPlotProgram())
        GTEST_SKIP() << "korvel-solve-plot is not built";
    const std::string svg = (m_dir / "missing-folder" / "frontier.svg").string();
    const ProcessRun run = Run("--frontier --plot " + svg + " " + m_sheet);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("korvel-solve: " + svg + ": "), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(svg));
}

}  // namespace
}  // namespace korvel
