// Both commands' options: every one the help lists is in the manual page.
#include "programs/cli/CommandRun.h"
#include "programs/cli/ConvertCommand.h"
#include "programs/cli/DataInput.h"
#include "programs/cli/SolveCommand.h"
#include "programs/cli/SolveOptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <new>
#include <regex>
#include <sstream>

namespace korvel::cli {
namespace {

using Command = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

int Solve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunSolveCommand(args, out, err);
}

TEST(CommandOptions, EveryOptionInTheHelpIsInTheManualPage) {
    const char* source = std::getenv("KORVEL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    for (const auto& [program, run] : {std::pair<std::string, Command>{"korvel-solve", &Solve},
                                       std::pair<std::string, Command>{"korvel-convert", &RunConvertCommand}}) {
        std::ostringstream help, err, page;
        ASSERT_EQ(run({"--help"}, help, err), 0);
        page << std::ifstream(std::string(source) + "/docs/man/" + program + ".1").rdbuf();
        const std::string help_text = help.str();
        const std::regex option("\n  (?:-h, )?(--[a-z-]+)");
        int count = 0;
        for (std::sregex_iterator it(help_text.begin(), help_text.end(), option), end; it != end; ++it, ++count) {
            const std::string name = std::regex_replace((*it)[1].str(), std::regex("-"), "\\-");
            EXPECT_NE(page.str().find(name), std::string::npos) << program << " " << (*it)[1];
        }
        EXPECT_GE(count, 10) << program;
    }
}

TEST(CommandOptions, LeastRiskIsAModeOfItsOwn) {
    SolveOptions options;
    std::string error;
    ASSERT_TRUE(ParseSolveArguments({"--least-risk", "--csv", "f.csv"}, options, error)) << error;
    EXPECT_TRUE(options.leastRisk);
    EXPECT_FALSE(ParseSolveArguments({"--least-risk", "--min-return", "1", "f.csv"}, options, error));
    EXPECT_FALSE(ParseSolveArguments({"--least-risk", "--frontier", "f.csv"}, options, error));
}

TEST(CommandOptions, NoSolutionNamesTheBestMeanAndABadMinReturnTheForms) {
    const std::string file = ::testing::TempDir() + "best.csv";
    std::ofstream(file) << "Name,R1,R2,R3\nAAA,1,2,3\nBBB,0.2,0.3,0.4\n";
    const std::pair<std::string, std::string> cases[] = {
        {"9", "korvel-solve: the best share, \"AAA\", averages 2 percent per period\n"},
        {"5%", "korvel-solve: MinReturn not valid !\nkorvel-solve: " + std::string(kMinReturnForms) + "\n"},
    };
    for (const auto& [minReturn, message] : cases) {
        std::ostringstream out, err;
        RunSolveCommand({"--min-return", minReturn, file}, out, err);
        EXPECT_EQ(err.str(), message) << minReturn;
    }
}

// What escapes a command is said after the program's name, with status 2;
// memory running out in plain words.
TEST(CommandOptions, EscapedFaultsAreSaidPlainly) {
    const struct {
        std::function<int()> command;
        std::string said;
    } cases[] = {
        {[]() -> int { throw std::bad_alloc(); }, "korvel-solve: not enough memory\n"},
        {[]() -> int { throw std::runtime_error("disk gone"); }, "korvel-solve: disk gone\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCommand("korvel-solve", false, "usage", out, err, c.command), 2);
        EXPECT_EQ(err.str(), c.said);
        EXPECT_EQ(out.str(), "");
    }
}

}  // namespace
}  // namespace korvel::cli
