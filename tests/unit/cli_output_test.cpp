// korvel-solve's argument rules and the figures and JSON it prints.
#include "programs/cli/FrontierOutput.h"
#include "programs/cli/SolveOptions.h"
#include "programs/cli/SolveOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>

namespace korvel::cli {
namespace {

SolveOptions Parse(std::vector<std::string> args, bool expectOk = true) {
    SolveOptions options;
    std::string error;
    EXPECT_EQ(ParseSolveArguments(args, options, error), expectOk) << error;
    EXPECT_EQ(error.empty(), expectOk) << error;
    return options;
}

TEST(SolveArguments, OptionsAndFile) {
    SolveOptions o = Parse({"--json", "--min-return", "-1", "sheet.kvl"});
    EXPECT_TRUE(o.json);
    EXPECT_EQ(o.minReturn, "-1");  // the value after --min-return is never an option
    EXPECT_EQ(o.file, "sheet.kvl");

    o = Parse({"sheet.kvl", "--min-return=5 "});
    EXPECT_FALSE(o.json);
    EXPECT_EQ(o.minReturn, "5 ");

    o = Parse({"--", "-odd name"});
    EXPECT_EQ(o.file, "-odd name");
    EXPECT_FALSE(o.minReturn.has_value());

    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(SolveArguments, WrongUsage) {
    Parse({}, false);
    Parse({"a.kvl", "b.kvl"}, false);
    Parse({"--verbose", "a.kvl"}, false);
    Parse({"a.kvl", "--min-return"}, false);
}

TEST(SolveOutput, DialogFiguresRoundUpToFourDecimals) {
    EXPECT_EQ(DialogFigure(0.12341), "0.1235");
    EXPECT_EQ(DialogFigure(-0.12349), "-0.1234");
    EXPECT_EQ(DialogFigure(2.0), "2");
    EXPECT_EQ(DialogFigure(2.0 / 3.0), "0.6667");
    EXPECT_EQ(DialogFigure(1.0000001), "1.0001");
    // Rounding noise of the optimizer's sums is not rounded up, and -0 is 0.
    EXPECT_EQ(DialogFigure(2.0000000000000004), "2");
    EXPECT_EQ(DialogFigure(-0.00001), "0");
}

TEST(SolveOutput, JsonNumbersRoundTrip) {
    std::string out;
    AppendJsonNumber(out, static_cast<double>(0.1f));
    EXPECT_EQ(out, "0.10000000149011612");
    out.clear();
    AppendJsonNumber(out, 1.0 / 0.0);
    EXPECT_EQ(out, "null");

    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (int i = 0; i < 10000; ++i) {
        const double v = value(random) * std::pow(10.0, static_cast<int>(random() % 40) - 20);
        out.clear();
        AppendJsonNumber(out, v);
        ASSERT_EQ(std::strtod(out.c_str(), nullptr), v) << out;
    }
}

TEST(SolveOutput, JsonStringsAreEscapedAndValidUtf8) {
    auto json = [](std::string_view bytes) {
        std::string out;
        AppendJsonString(out, bytes);
        return out;
    };
    EXPECT_EQ(json("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(json("tab\there\n"), R"("tab\u0009here\u000a")");
    EXPECT_EQ(json("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"");
    // Bytes that are not well-formed UTF-8 are Windows-1252 characters, as the
    // grid shows them; its five unassigned bytes become U+FFFD.
    EXPECT_EQ(json("Bj\xF6rk AG"), "\"Bj\xC3\xB6rk AG\"");
    EXPECT_EQ(json("caf\xE9"), "\"caf\xC3\xA9\"");
    EXPECT_EQ(json("\xC0\x80"), "\"\xC3\x80\xE2\x82\xAC\"");
    EXPECT_EQ(json("\xED\xA0\x80"), "\"\xC3\xAD\xC2\xA0\xE2\x82\xAC\"");
    EXPECT_EQ(json("\xE2\x82"), "\"\xC3\xA2\xE2\x80\x9A\"");
    EXPECT_EQ(json("\xF4\x90\x80\x80"), "\"\xC3\xB4\xEF\xBF\xBD\xE2\x82\xAC\xE2\x82\xAC\"");
    EXPECT_EQ(TextAsUtf8("M\xFCller \x96 \xF0\x9F\x98\x80"), "M\xC3\xBCller \xE2\x80\x93 \xF0\x9F\x98\x80");
}

SolutionRecord TwoShareRecord() {
    SolutionRecord record;
    record.shareCount = 2;
    record.shares[0] = {"Down", 0.5f, 2, 0.5};
    record.shares[1] = {"Up", 1.0f / 3.0f, 1, 1.0 / 3.0};
    record.shares[2] = {"stale", 9.0f, 7, 9.0};  // past shareCount: never printed
    record.averageReturn = 2.00001;
    record.lineDeviation = 0.0;
    // Printed whole, the weights' own figures, not the dialog's.
    record.ownAverageReturn = 2.0000100000000005;
    record.ownLineDeviation = 0.0;
    return record;
}

TEST(SolveOutput, TextListsEachSolutionThenTheClosingMessage) {
    SolveRun run;
    run.solutions = {TwoShareRecord()};
    run.go.outcome = GoOutcome::NoSolution;
    run.go.message = "No solution";
    EXPECT_EQ(FormatText(run), "Solution 1\n"
                               "Avg.Return    2.0001\n"
                               "Line Deviat.  0\n"
                               " No  Weight     Row  Name\n"
                               "  1  0.5000       2  Down\n"
                               "  2  0.3333       1  Up\n"
                               "\n"
                               "No solution\n");
}

TEST(SolveOutput, JsonShape) {
    SolveRun run;
    run.solutions = {TwoShareRecord()};
    EXPECT_EQ(FormatJson(run),
              "{\"outcome\": \"done\", \"message\": null, \"solutions\": [{\"averageReturn\": "
              "2.0000100000000005, \"lineDeviation\": 0, \"shares\": [{\"name\": \"Down\", \"weight\": "
              "0.5, \"row\": 2}, {\"name\": \"Up\", \"weight\": 0.3333333333333333, \"row\": 1}]}]}\n");

    run.solutions.clear();
    run.go.outcome = GoOutcome::Unbounded;
    run.go.message = "No solution !";
    EXPECT_EQ(FormatJson(run), "{\"outcome\": \"unbounded\", \"message\": \"No solution !\", \"solutions\": []}\n");
    EXPECT_EQ(FormatText(run), "No solution !\n");
    EXPECT_STREQ(OutcomeName(GoOutcome::NotFinite), "invalid");
}

// Solutions and frontier points print under one header; the wide form has a
// column per share in file order, a share not held included; dated input
// gives the window's ends in every form.
TEST(SolveOutput, CsvFormsShareOneHeaderAndCarryTheWindow) {
    SolveRun solve;
    solve.solutions = {TwoShareRecord()};
    solve.frame.tickers = {"Up", "Down", "Never, held"};
    FrontierRun frontier;
    frontier.frontier.points = {{2.0000100000000005, 0.0, {{2, 0.5}, {1, 1.0 / 3.0}}}};
    frontier.frame = solve.frame;
    const std::string figures = "1,2.0000100000000005,0";
    const struct {
        CsvForm form;
        std::string firstDate, lastDate, csv;
    } cases[] = {
        {CsvForm::Long, "", "",
         "Solution,Avg.Return,Line Deviat.,Row,Name,Weight\n" + figures + ",2,Down,0.5\n" + figures
             + ",1,Up,0.3333333333333333\n"},
        {CsvForm::Long, "2024-01-31", "2024-03-29",
         "Solution,Avg.Return,Line Deviat.,First Date,Last Date,Row,Name,Weight\n" + figures
             + ",2024-01-31,2024-03-29,2,Down,0.5\n" + figures + ",2024-01-31,2024-03-29,1,Up,0.3333333333333333\n"},
        {CsvForm::Wide, "", "",
         "Solution,Avg.Return,Line Deviat.,Up,Down,\"Never, held\"\n" + figures + ",0.3333333333333333,0.5,0\n"},
        {CsvForm::Wide, "31.01.2024", "29.03.2024",
         "Solution,Avg.Return,Line Deviat.,First Date,Last Date,Up,Down,\"Never, held\"\n" + figures
             + ",31.01.2024,29.03.2024,0.3333333333333333,0.5,0\n"},
    };
    for (const auto& c : cases) {
        solve.frame.firstDate = frontier.frame.firstDate = c.firstDate;
        solve.frame.lastDate = frontier.frame.lastDate = c.lastDate;
        std::ostringstream solveCsv, frontierCsv;
        PrintCsv(solveCsv, solve, c.form);
        PrintFrontierCsv(frontierCsv, frontier, c.form);
        EXPECT_EQ(solveCsv.str(), c.csv);
        EXPECT_EQ(frontierCsv.str(), c.csv);
    }
    EXPECT_NE(FormatJson(solve).find("\"message\": null, \"firstDate\": \"31.01.2024\", \"lastDate\": "
                                     "\"29.03.2024\", \"solutions\": [{"),
              std::string::npos)
        << FormatJson(solve);
    EXPECT_NE(FormatFrontierJson(frontier).find("\"lastDate\": \"29.03.2024\", \"points\": [{"), std::string::npos);
}

// The last column starts at one place on every line, also past 999 shares
// or breakpoints and with figures of three-digit exponents.
TEST(SolveOutput, TextColumnsLineUp) {
    SolveRun solve;
    solve.solutions.resize(1);
    SolutionRecord& record = solve.solutions[0];
    record.shareCount = 1000;
    record.shares.assign(1000, {"S", 0.001f, 1, 0.001});
    FrontierRun frontier;
    frontier.frame.tickers = {"S"};
    frontier.frontier.points.resize(1000, {1.0, 2.0, {{1, 1.0}}});
    frontier.frontier.points[5].averageReturn = -1.234567890123e-100;
    const struct {
        std::string text, header;
    } cases[] = {{FormatText(solve), "Name"}, {FormatFrontierText(frontier), "Shares"}};
    for (const auto& c : cases) {
        std::istringstream lines(c.text);
        std::string line;
        while (std::getline(lines, line) && line.find(c.header) == std::string::npos) {
        }
        const size_t column = line.find(c.header);
        while (std::getline(lines, line))
            ASSERT_EQ(line.find('S'), column) << line;
    }
}

// A name prints alike in every output, as the grid decodes it, with its
// control characters escaped: it never breaks a line or a field.
TEST(SolveOutput, NamesPrintAlikeInTextCsvAndJson) {
    const struct {
        std::string bytes, printed, json;
    } cases[] = {
        {"Two\nLines", "Two\\u000aLines", "\"Two\\\\u000aLines\""},
        {"caf\xE9", "caf\xC3\xA9", "\"caf\xC3\xA9\""},
        {"Tab\tDel\x7F", "Tab\\u0009Del\\u007f", "\"Tab\\\\u0009Del\\\\u007f\""},
    };
    for (const auto& c : cases) {
        SolveRun run;
        run.solutions.resize(1);
        run.solutions[0].shareCount = 1;
        run.solutions[0].shares[0] = {c.bytes, 1.0f, 1, 1.0};
        EXPECT_NE(FormatText(run).find("  " + c.printed + "\n"), std::string::npos) << c.printed;
        std::ostringstream csv;
        PrintCsv(csv, run);
        EXPECT_NE(csv.str().find(",1," + c.printed + ",1\n"), std::string::npos) << csv.str();
        EXPECT_NE(FormatJson(run).find("\"name\": " + c.json + ","), std::string::npos) << FormatJson(run);
    }
}

}  // namespace
}  // namespace korvel::cli
