// korvel-convert and korvel-solve on delimited text files under tests/data/delimited.
#include "core/text/NumberText.h"
#include "core/worksheet/DocumentFormat.h"
#include "optimizer_worksheets.h"

#include "process_run.h"
#include "sheet_cells.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

using testing::Cells;

class TextFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const char* binDir = std::getenv("KORVEL_BIN_DIR");
        const char* sourceDir = std::getenv("KORVEL_SOURCE_DIR");
        ASSERT_NE(binDir, nullptr);
        ASSERT_NE(sourceDir, nullptr);
        m_bin = binDir;
        m_data = fs::path(sourceDir) / "tests" / "data" / "delimited";
        m_dir = fs::temp_directory_path() / ("korvel-text-test-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Data(const std::string& name) const { return (m_data / name).string(); }
    std::string Temp(const std::string& name) const { return (m_dir / name).string(); }
    std::string WriteText(const std::string& name, const std::string& bytes) const {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return Temp(name);
    }

    ProcessRun Run(const std::string& program, const std::vector<std::string>& args) {
        return testing::RunProgram(m_bin / program, args, m_dir);
    }

    // Converts a file to a worksheet document and loads it back.
    WorksheetTable ToWorksheet(const std::string& in, std::vector<std::string> options = {}) {
        options.push_back(in);
        options.push_back(Temp("out.kvl"));
        const ProcessRun run = Run("korvel-convert", options);
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string bytes = ReadAll(Temp("out.kvl"));
        doc::LoadResult loaded =
            doc::LoadDocument(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
        EXPECT_EQ(loaded.error, doc::LoadError::None);
        return loaded.table;
    }

    // A failed conversion: its status and message, and the output file as it was.
    void ExpectRejected(const std::string& in, const std::string& message, std::vector<std::string> options = {}) {
        const std::string out = WriteText("kept.kvl", "old bytes");
        options.push_back(in);
        options.push_back(out);
        const ProcessRun run = Run("korvel-convert", options);
        EXPECT_EQ(run.status, 1) << in;
        EXPECT_EQ(run.err, "korvel-convert: " + in + ": " + message + "\n");
        EXPECT_EQ(ReadAll(out), "old bytes");
    }

    fs::path m_bin, m_data, m_dir;
};

const char* const kSample = "AAA|1.5|2|-0.5\nBBB|0.25||3\n";

TEST_F(TextFiles, EverySeparatorAndLayoutGivesTheSameWorksheet) {
    for (const char* name : {"comma.csv", "tab.tsv", "semicolon_decimal_comma_bom_crlf.csv", "by_column_dates.csv",
                             "by_column_plain.csv"}) {
        const WorksheetTable sheet = ToWorksheet(Data(name));
        EXPECT_EQ(Cells(sheet), kSample) << name;
        EXPECT_EQ(sheet.minReturnText, "") << name;
    }
    // Names only say whether a file is text; its separator is found in it.
    const std::string renamed = WriteText("SEMI.TXT", ReadAll(Data("semicolon_decimal_comma_bom_crlf.csv")));
    EXPECT_EQ(Cells(ToWorksheet(renamed)), kSample);
    EXPECT_EQ(Cells(ToWorksheet(Data("tab.tsv"), {"--from", "csv", "--sep", "tab"})), kSample);
}

TEST_F(TextFiles, QuotesHeadersAndTheMinReturnRow) {
    EXPECT_EQ(Cells(ToWorksheet(Data("quoted.csv"))), "Bank, \"North\" Ltd|1|2|3\nTwo\nLines|4|5|6\nPadded|7|8|9\n");
    EXPECT_EQ(Cells(ToWorksheet(Data("no_header.csv"))), "AAA|1|2|3\nBBB|4|5|6\n");
    // Forced, the first row is a share of its own.
    ExpectRejected(Data("comma.csv"), "line 1, field 2: \"R1\" is not a number", {"--no-header"});
    EXPECT_EQ(Cells(ToWorksheet(Data("no_header.csv"), {"--header"})), "BBB|4|5|6\n");

    WorksheetTable sheet = ToWorksheet(Data("min_return_row.csv"));
    EXPECT_EQ(Cells(sheet), "AAA|1|2|3\n");
    EXPECT_EQ(sheet.minReturnText, "0.5");
    sheet = ToWorksheet(Data("min_return_row.csv"), {"--min-return", "0.75"});
    EXPECT_EQ(sheet.minReturnText, "0.75");
}

TEST_F(TextFiles, PricesBecomePeriodReturnsInPercent) {
    const WorksheetTable sheet = ToWorksheet(Data("prices_by_column.csv"), {"--prices"});
    ASSERT_EQ(sheet.Rows(), 3);
    ASSERT_EQ(sheet.Cols(), 5);
    const auto change = [](double from, double to) { return text::ShortestText(100.0 * (to / from - 1.0)); };
    EXPECT_EQ(Cells(sheet),
              "AAA|" + change(100, 110) + "|" + change(110, 99) + "|0\n" + "BBB|0|" + change(50, 40) + "|25\n");
    double value = 0.0;
    ASSERT_TRUE(text::ReadsAsWorksheetNumber(sheet.TextMatrix(1, 2), value));
    EXPECT_EQ(value, 100.0 * (110.0 / 100.0 - 1.0));  // the shortest text reads back exactly
}

TEST_F(TextFiles, EveryFaultNamesItsLineAndFieldAndLeavesTheOutputAlone) {
    ExpectRejected(Data("not_a_number.csv"), "line 3, field 3: \"x7\" is not a number");
    ExpectRejected(Data("ragged.csv"), "line 3: 3 fields where line 2 has 4");
    ExpectRejected(Data("unclosed_quote.csv"), "line 3: a quoted field is not closed");
    ExpectRejected(Data("zero_price.csv"), "line 3, field 3: \"BBB\" on 2024-01-12: the price \"0\" is not positive",
                   {"--prices"});
    ExpectRejected(Data("missing_price.csv"),
                   "line 3, field 2: \"AAA\" on 2024-01-12: the price is missing; --complete-rows keeps only the dates "
                   "where every share has a price, --drop-incomplete leaves out the shares with a gap",
                   {"--prices"});
    ExpectRejected(Data("eleven_periods.csv"), "line 2, field 12: 11 returns per share; at most 10 are taken");
    ExpectRejected(Data("two_periods.csv"), "line 2, field 3: 2 returns per share; at least 3 are needed");
    // A decimal comma is a number only where the separator is a semicolon.
    ExpectRejected(WriteText("comma_decimal.csv", "A,1,2,3\nB,\"1,5\",2,3\n"),
                   "line 2, field 2: \"1,5\" is not a number");
    ExpectRejected(WriteText("negative.csv", "D,A\n1,5\n2,-5\n3,5\n4,6\n"),
                   "line 3, field 2: \"A\", value 2: the price \"-5\" is not positive", {"--prices"});
}

TEST_F(TextFiles, TheWorksheetLimitsAreCheckedBeforeWriting) {
    std::string text = "Name,R1,R2,R3\n";
    for (int i = 1; i <= 1001; ++i)
        text += "S" + std::to_string(i) + ",1,2,3\n";
    ExpectRejected(WriteText("many.csv", text), "line 1002: more than 1000 shares");
    EXPECT_EQ(ToWorksheet(WriteText("enough.csv", text.substr(0, text.find("S1001")))).Rows(), 1001);

    const std::string name127(127, 'n');
    EXPECT_EQ(ToWorksheet(WriteText("n127.csv", name127 + ",1,2,3\n")).TextMatrix(1, 1), name127);
    ExpectRejected(WriteText("n128.csv", "A,1,2,3\n" + name127 + "\xC3\xA9,1,2,3\n"),
                   "line 2, field 1: the name is longer than 127 characters");
    // Characters, not bytes: 127 two-byte letters fit.
    std::string wide;
    for (int i = 0; i < 127; ++i)
        wide += "\xC3\xA9";
    EXPECT_EQ(ToWorksheet(WriteText("wide.csv", wide + ",1,2,3\n")).TextMatrix(1, 1), wide);
    ExpectRejected(Data("comma.csv"), "the Min Return is longer than 20 characters",
                   {"--min-return", "123456789012345678901"});
}

TEST_F(TextFiles, AWorksheetToTextAndBackGivesTheSameBytes) {
    WorksheetTable sheet =
        testing::MakeSheet({{"1.50", "", " 5"}, {"1e3", "-0", "0x10"}, {"", "", ""}, {"7", "8", "9"}, {"1", "2", "3"}},
                           {"Plain", "Bank, \"North\"\nLtd", "", "Min Return", " Padded "});
    sheet.minReturnText = "1,5";
    const std::vector<uint8_t> original = doc::SaveDocument(sheet);
    std::ofstream(m_dir / "sheet.kvl", std::ios::binary)
        .write(reinterpret_cast<const char*>(original.data()), static_cast<std::streamsize>(original.size()));
    for (const char* text : {"sheet.csv", "sheet.tsv"}) {
        ASSERT_EQ(Run("korvel-convert", {Temp("sheet.kvl"), Temp(text)}).status, 0);
        ASSERT_EQ(Run("korvel-convert", {Temp(text), Temp("back.kvl")}).status, 0);
        EXPECT_EQ(ReadAll(Temp("back.kvl")), ReadAll(Temp("sheet.kvl"))) << text;
    }
    EXPECT_EQ(ReadAll(Temp("sheet.csv")).substr(0, 33), "\"Period (Min Return 1,5)\",Plain,\"");

    // Through standard input and output.
    const ProcessRun run = Run("korvel-convert", {"--to", "csv", Temp("sheet.kvl"), "-"});
    EXPECT_EQ(run.out, ReadAll(Temp("sheet.csv")));
}

// Text stays one column per share with its dates, the Min Return in no row or
// column a data-frame reader takes for data.
TEST_F(TextFiles, TextToTextKeepsColumnsAndDates) {
    const ProcessRun run =
        Run("korvel-convert", {"--to", "csv", "--min-return", "0.5", Data("by_column_dates.csv"), "-"});
    EXPECT_EQ(run.out, "Date (Min Return 0.5),AAA,BBB\n2024-01-05,1.5,0.25\n2024-01-12,2,\n2024-01-19,-0.5,3\n");
}

TEST_F(TextFiles, AReturnThatIsNoNumberIsNotWrittenAsText) {
    WorksheetTable sheet = testing::MakeSheet({{"1", "2%", "3"}}, {"A"});
    const std::vector<uint8_t> bytes = doc::SaveDocument(sheet);
    std::ofstream(m_dir / "bad.kvl", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const ProcessRun run = Run("korvel-convert", {Temp("bad.kvl"), Temp("bad.csv")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("\"2%\", is not a number"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Temp("bad.csv")));
}

TEST_F(TextFiles, DamagedDocumentsAndUsageKeepTheirStatus) {
    const std::string damaged = WriteText("damaged.kvl", std::string("\x02\x00\x00\x00", 4));
    ProcessRun run = Run("korvel-convert", {damaged, Temp("x.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "korvel-convert: " + damaged + ": unexpected file format: the file ends early\n");
    run = Run("korvel-solve", {damaged});
    EXPECT_EQ(run.status, 2);
    // The name decides: the same bytes named .csv are text.
    run = Run("korvel-convert", {Data("comma.csv"), "-"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("needs --to"), std::string::npos);
    run = Run("korvel-solve", {"--from", "xls", Data("comma.csv")});
    EXPECT_EQ(run.status, 2);
}

TEST_F(TextFiles, AHostileLineIsRefusedWithoutAFieldPerByte) {
    const std::string line(4 << 20, ',');
    const ProcessRun run = Run("korvel-solve", {WriteText("commas.csv", "A" + line + "\n")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "korvel-solve: " + Temp("commas.csv") + ": line 1: more than 20002 fields\n");
}

// Text has no size limit of its own, only the lines and values it holds: a
// text larger than any worksheet document is read on to its overlong line.
TEST_F(TextFiles, ATextLargerThanADocumentIsReadUpToItsOverlongLine) {
    std::string text = "Name,R1,R2,R3\n";
    for (int share = 1; share <= 20; ++share)
        text += "S" + std::to_string(share) + ",1,2,3\n";
    const std::string file = WriteText("large.csv", text);
    fs::resize_file(file, doc::kMaxFileBytes + 1);  // sparse: costs no disk
    const std::string solve = Quoted((m_bin / "korvel-solve").string());
    const struct {
        std::string commandLine, name;
    } cases[] = {
        {solve + " --least-risk " + Quoted(file), file},
        {solve + " --from csv --least-risk - <" + Quoted(file), "-"},
        {"cat " + Quoted(file) + " | " + solve + " --from csv --least-risk -", "-"},
    };
    for (const auto& c : cases) {
        const ProcessRun run = testing::RunCommandLine(c.commandLine, m_dir);
        EXPECT_EQ(run.status, 1) << c.commandLine;
        EXPECT_EQ(run.err, "korvel-solve: " + c.name + ": line 22: the line is longer than 16777216 bytes\n");
    }
}

TEST_F(TextFiles, SolveOnTextMatchesSolveOnTheConvertedWorksheet) {
    std::string text = "Date;AAA;BBB;CCC;DDD\n";
    for (int t = 0; t < 60; ++t) {
        text += "2020-" + std::to_string(t) + ";";
        for (int s = 0; s < 4; ++s) {
            const int value = ((t * 37 + s * 11) % 23) - 7 + s;
            text += std::to_string(value) + "," + std::to_string((t + s) % 10) + (s < 3 ? ";" : "\n");
        }
    }
    const std::string csv = WriteText("weeks.csv", text);
    ProcessRun fromText = Run("korvel-solve", {"--json", "--min-return", "3", csv});
    EXPECT_EQ(fromText.status, 0) << fromText.err;
    EXPECT_NE(fromText.out.find("\"outcome\": \"done\""), std::string::npos) << fromText.out;
    // Standard input from a pipe, which is read twice from a copy.
    const ProcessRun piped =
        testing::RunCommandLine("cat " + Quoted(csv) + " | " + Quoted((m_bin / "korvel-solve").string())
                                    + " --from csv --json --min-return 3 -",
                                m_dir);
    EXPECT_EQ(piped.out, fromText.out) << piped.err;

    // 60 periods are more than a worksheet holds, so compare ten of them.
    const std::string ten = WriteText("ten.csv", text.substr(0, text.find("2020-10;")));
    ASSERT_EQ(Run("korvel-convert", {"--min-return", "3", ten, Temp("ten.kvl")}).status, 0);
    fromText = Run("korvel-solve", {"--json", "--min-return", "3", ten});
    const ProcessRun fromSheet = Run("korvel-solve", {"--json", Temp("ten.kvl")});
    // The worksheet keeps no dates; the text's window is printed with its solutions.
    std::string dated = fromSheet.out;
    dated.insert(dated.find("\"solutions\""), "\"firstDate\": \"2020-0\", \"lastDate\": \"2020-9\", ");
    EXPECT_EQ(fromText.out, dated);
    EXPECT_EQ(fromText.status, fromSheet.status);

    const ProcessRun bad = Run("korvel-solve", {Data("not_a_number.csv")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "korvel-solve: " + Data("not_a_number.csv") + ": line 3, field 3: \"x7\" is not a number\n");
}

TEST_F(TextFiles, CsvOutputHasALinePerShareHeld) {
    ProcessRun run = Run("korvel-solve", {"--csv", "--min-return", "1", Data("comma.csv")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Solution,Avg.Return,Line Deviat.,Row,Name,Weight\n"
                       "1,1.0365853658536586,0.05691056910569113,1,AAA,0.5609756097560976\n"
                       "1,1.0365853658536586,0.05691056910569113,2,BBB,0.4390243902439024\n");
    run = Run("korvel-solve", {"--csv", "--wide", "--min-return", "1", Data("comma.csv")});
    EXPECT_EQ(run.out, "Solution,Avg.Return,Line Deviat.,AAA,BBB\n"
                       "1,1.0365853658536586,0.05691056910569113,0.5609756097560976,0.4390243902439024\n");
    run = Run("korvel-solve", {"--csv", "--min-return", "50", Data("comma.csv")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Solution,Avg.Return,Line Deviat.,Row,Name,Weight\n");
    EXPECT_NE(run.err.find("No solution"), std::string::npos) << run.err;
}

// Only a regular file is replaced, through its links, and either whole or not
// at all: a refused or failed write leaves the destination and its folder as they were.
TEST_F(TextFiles, TheOutputReplacesOnlyARegularFileAndOnlyWhole) {
    const fs::path folder = m_dir / "out";
    fs::create_directories(folder);
    const std::string old = (folder / "old.csv").string(), fifo = (folder / "fifo").string();
    std::ofstream(old) << "previous";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_symlink(fifo, folder / "to-fifo");
    fs::create_symlink(old, folder / "to-old.csv");
    std::string big = "Name,R1,R2,R3\n";
    for (int i = 0; i < 200; ++i)
        big += "S" + std::to_string(i) + ",1,2,3\n";
    const std::string in = WriteText("big.csv", big), convert = Quoted((m_bin / "korvel-convert").string());
    const struct {
        std::string limit, out;
        int status;
        std::string reason;
    } cases[] = {
        {"ulimit -f 1; ", old, 2, "File too large"},
        {"", fifo, 2, "not a regular file"},
        {"", (folder / "to-fifo").string(), 2, "not a regular file"},
    };
    for (const auto& c : cases) {
        const ProcessRun run =
            testing::RunCommandLine(c.limit + convert + " " + Quoted(in) + " " + Quoted(c.out), m_dir);
        EXPECT_EQ(run.status, c.status) << c.out;
        EXPECT_EQ(run.err, "korvel-convert: " + c.out + ": " + c.reason + "\n");
    }
    EXPECT_EQ(ReadAll(old), "previous");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(fifo)));
    ASSERT_EQ(Run("korvel-convert", {in, (folder / "to-old.csv").string()}).status, 0);
    EXPECT_TRUE(fs::is_symlink(folder / "to-old.csv"));
    EXPECT_EQ(ReadAll(old).substr(0, 7), "Period,");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"fifo", "old.csv", "to-fifo", "to-old.csv"}));
}

// Every output, help included, fails loudly when standard output takes nothing.
TEST_F(TextFiles, AFailedWriteOfStandardOutputEndsWithAMessageAndStatus2) {
    const std::string in = "--min-return 1 " + Quoted(Data("comma.csv"));
    const struct {
        std::string program, args;
    } cases[] = {
        {"korvel-solve", "--csv " + in},  {"korvel-solve", in},
        {"korvel-solve", "--json " + in}, {"korvel-solve", "--frontier " + Quoted(Data("comma.csv"))},
        {"korvel-solve", "--help"},       {"korvel-convert", "--to csv " + in + " -"},
    };
    for (const auto& c : cases) {
        const std::string program = Quoted((m_bin / c.program).string());
        const ProcessRun run = testing::RunCommandLine("{ " + program + " " + c.args + " >/dev/full; }", m_dir);
        EXPECT_EQ(run.status, 2) << c.args;
        // The reason is the system's when the failing write is the last one.
        EXPECT_EQ(run.err.substr(0, c.program.size() + 19), c.program + ": standard output: ") << c.args;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

}  // namespace
}  // namespace korvel
