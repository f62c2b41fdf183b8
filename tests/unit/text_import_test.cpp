// Price and return exports as they come, read in-process: layouts the reader
// must not guess wrong, windows, gaps and the messages of what it refuses.
#include "core/worksheet/TextImport.h"
#include "sheet_cells.h"

#include "core/text/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace korvel::text {
namespace {

struct Case {
    const char* what;
    std::string text;
    TextOptions options;
    std::string expected;  // names and returns row by row ("|" between cells), or the message
    std::string notes = "";
    std::string dates = "";  // first and last
};

using korvel::testing::Cells;

// A text handed over one to three bytes at a time, so that every record,
// quote, line end and byte-order mark is met split across pieces.
class TrickleSource : public TextSource {
public:
    explicit TrickleSource(std::string_view text) : m_text(text) {}
    bool Read(char* buffer, size_t size, size_t& got, std::string&) override {
        got = std::min({size, m_text.size() - m_pos, m_pos % 3 + 1});
        std::copy_n(m_text.data() + m_pos, got, buffer);
        m_pos += got;
        return true;
    }
    bool Rewind(std::string&) override {
        m_pos = 0;
        return true;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

// The companions read the returns straight into numbers, a piece at a time:
// the same outcome, each value bit for bit the number its cell reads as.
void ExpectSameAsNumbers(const Case& c, bool read, const WorksheetTable& table, const TextDetails& details,
                         const TextError& error) {
    TextReturns returns;
    TextDetails numeric;
    TextError numericError;
    TrickleSource source(c.text);
    ASSERT_EQ(ReadDelimitedReturns(source, c.options, kLargeLimits, returns, numeric, numericError), read) << c.what;
    EXPECT_EQ(numeric.notes, details.notes) << c.what;
    if (!read) {
        EXPECT_EQ(numericError.Describe(), error.Describe()) << c.what;
        return;
    }
    EXPECT_EQ(numeric.dates, details.dates) << c.what;
    EXPECT_EQ(returns.minReturnText, table.minReturnText) << c.what;
    ASSERT_EQ(returns.names.size(), static_cast<size_t>(table.Rows() - 1)) << c.what;
    ASSERT_EQ(returns.periods, table.Cols() - 2) << c.what;
    for (int32_t r = 1; r < table.Rows(); ++r) {
        EXPECT_EQ(returns.names[static_cast<size_t>(r - 1)], table.TextMatrix(r, 1)) << c.what;
        for (int32_t p = 0; p < returns.periods; ++p) {
            const double number = returns.values[static_cast<size_t>((r - 1) * returns.periods + p)];
            double value = std::nan("");
            const std::string& cell = table.TextMatrix(r, p + 2);
            EXPECT_TRUE(cell.empty() || ReadsAsWorksheetNumber(cell, value)) << c.what;
            EXPECT_TRUE(std::memcmp(&number, &value, sizeof value) == 0 || (std::isnan(number) && std::isnan(value)))
                << c.what << ", row " << r << ", period " << p + 1;
        }
    }
}

std::string Read(const Case& c, TextDetails& details) {
    WorksheetTable table;
    TextError error;
    const bool read = ReadDelimitedText(c.text, c.options, kLargeLimits, table, details, error);
    ExpectSameAsNumbers(c, read, table, details, error);
    if (!read)
        return error.Describe();
    return Cells(table) + (table.minReturnText.empty() ? "" : "min " + table.minReturnText + "\n");
}

const std::string kDaily = "Date,AAA,BBB\n2024-01-30,100,50\n2024-01-31,110,50\n2024-02-01,100,40\n"
                           "2024-02-29,120,50\n2024-03-28,120,60\n2024-04-02,108,66\n";

TEST(TextImport, ExportsAreReadAsMeant) {
    const Case cases[] = {
        {"numeric codes under a name label",
         "Code,Jan,Feb,Mar,Apr\n7203,1.2,0.5,-1,2\n6758,0.3,1,2,1\n",
         {},
         "7203|1.2|0.5|-1|2\n6758|0.3|1|2|1\n"},
        {"numeric codes and numeric periods under a name label",
         "Ticker,1,2,3\n101,1,2,3\n202,3,1,2\n",
         {},
         "101|1|2|3\n202|3|1|2\n"},
        {"newest first",
         "Date,AAA\n2024-01-26,121\n2024-01-19,110\n2024-01-12,100\n2024-01-05,80\n",
         {.prices = true},
         "AAA|25|10.000000000000009|10.000000000000009\n",
         "the dates run from newest to oldest; they are read oldest first\n",
         "2024-01-12 2024-01-26"},
        {"a date column not first",
         "AAA;Date;BBB\n1,5;2016-01-31;2\n2;2016-02-29;3\n3;2016-03-31;4\n",
         {},
         "AAA|1.5|2|3\nBBB|2|3|4\n",
         "",
         "2016-01-31 2016-03-31"},
        {"pipes",
         "Date|AAA|BBB\n2024-01-05|1|2\n2024-01-12|3|4\n2024-01-19|5|-6\n",
         {},
         "AAA|1|3|5\nBBB|2|4|-6\n",
         "",
         "2024-01-05 2024-01-19"},
        {"aligned blanks", "Name  R1  R2  R3 \nAAA   1   2   -3\nBBB   4   5   6\n", {}, "AAA|1|2|-3\nBBB|4|5|6\n"},
        {"tabs and decimal commas", "Name\tR1\tR2\tR3\nAAA\t1,5\t-2\t3\n", {}, "AAA|1.5|-2|3\n"},
        {"a byte-order mark, CRLF and quoted names",
         "\xEF\xBB\xBFName,R1,R2,R3\r\n\"A\"\"B\",1,2,3\r\n\"C,\r\nD\",4,5,6\r\n",
         {},
         "A\"B|1|2|3\nC,\r\nD|4|5|6\n"},
        {"every form of number, and gaps",
         "Name;R1;R2;R3;R4\nAAA;\" +1.50e1\";0x1p-3;-0;4,9e-324\nBBB;;.5;1e-320;-0,1\n",
         {},
         "AAA| +1.50e1|0x1p-3|-0|5e-324\nBBB||.5|1e-320|-0.1\n"},
        {"prices without --prices",
         "Date,AAA\n2024-01-05,100\n2024-01-12,101\n2024-01-19,99.5\n",
         {},
         "AAA|100|101|99.5\n",
         "every value is positive and changes little from period to period: if they are prices, say --prices\n",
         "2024-01-05 2024-01-19"},
        {"the Min Return with a decimal comma",
         "Name;R1;R2;R3\nAAA;1;2;3\nMin Return;0,5\n",
         {},
         "AAA|1|2|3\nmin 0.5\n"},
        {"complete rows",
         "Date,AAA,BBB\n2024-01-05,100,50\n2024-01-12,,55\n2024-01-19,110,60\n2024-01-26,121,66\n"
         "2024-02-02,121,66\n",
         {.prices = true, .gaps = GapRule::CompleteRows},
         "AAA|10.000000000000009|10.000000000000009|0\nBBB|19.999999999999996|10.000000000000009|0\n",
         "",
         "2024-01-19 2024-02-02"},
        {"drop incomplete",
         "Date,AAA,BBB\n2024-01-05,,50\n2024-01-12,100,55\n2024-01-19,110,60\n2024-01-26,121,66\n",
         {.prices = true, .gaps = GapRule::DropIncomplete},
         "BBB|10.000000000000009|9.090909090909083|10.000000000000009\n",
         "left out for gaps in the window: \"AAA\"\n",
         "2024-01-12 2024-01-26"},
        {"a window before the gaps",
         "Date,AAA,BBB\n2024-01-05,,50\n2024-01-12,100,55\n2024-01-19,110,60\n"
         "2024-01-26,121,66\n2024-02-02,121,66\n",
         {.prices = true, .last = 3},
         "AAA|10.000000000000009|10.000000000000009|0\nBBB|9.090909090909083|10.000000000000009|0\n",
         "",
         "2024-01-19 2024-02-02"},
        {"month ends, since and until",
         kDaily,
         {.prices = true, .since = "2024-01-31", .until = "2024-04-30", .every = CalendarPeriod::Month},
         "AAA|9.090909090909083|0|-9.999999999999998\nBBB|0|19.999999999999996|10.000000000000009\n",
         "",
         "2024-02-29 2024-04-02"},
        {"a month's close without a gap",
         "Date,AAA,BBB\n2024-01-31,100,50\n2024-02-28,110,55\n2024-02-29,,56\n2024-03-29,121,66\n"
         "2024-04-30,121,66\n",
         {.prices = true, .gaps = GapRule::CompleteRows, .every = CalendarPeriod::Month},
         "AAA|10.000000000000009|10.000000000000009|0\nBBB|10.000000000000009|19.999999999999996|0\n",
         "",
         "2024-02-28 2024-04-30"},
        {"chosen shares in their order",
         "Name,R1,R2,R3\nAAA,1,2,3\nBBB,4,5,6\nCCC,7,8,9\n",
         {.shares = {"CCC", "AAA"}},
         "CCC|7|8|9\nAAA|1|2|3\n"},
        {"dropped shares",
         "Name,R1,R2,R3\nAAA,1,2,3\nBBB,4,5,6\nCCC,7,8,9\n",
         {.drop = {"BBB"}},
         "AAA|1|2|3\nCCC|7|8|9\n"},
        {"days before months, by the dates' own values",
         "Date,AAA\n31/01/2024,100\n29/02/2024,110\n28/03/2024,121\n30/04/2024,121\n05/05/2024,121\n",
         {.prices = true, .until = "30/04/2024"},
         "AAA|10.000000000000009|10.000000000000009|0\n",
         "",
         "29/02/2024 30/04/2024"},
        {"a separator ending every line of a column per share",
         "Date;AAA;BBB;\n2024-01-05;1;2;\n2024-01-12;3;;\n2024-01-19;4;5;\n",
         {},
         "AAA|1|3|4\nBBB|2||5\n",
         "",
         "2024-01-05 2024-01-19"},
        {"a separator ending every line of a row per share",
         "Name,R1,R2,R3,\nAAA,1,2,3,\nMin Return,0.5\nBBB,4,5,6,\n",
         {},
         "AAA|1|2|3\nBBB|4|5|6\nmin 0.5\n"},
        {"--since as year-month-day beside day/month dates",
         "Date,AAA\n31/01/2024,100\n29/02/2024,110\n28/03/2024,121\n30/04/2024,121\n31/05/2024,133.1\n",
         {.prices = true, .since = "2024-02-29"},
         "AAA|10.000000000000009|0|9.999999999999986\n",
         "",
         "28/03/2024 31/05/2024"},
    };
    for (const Case& c : cases) {
        TextDetails details;
        EXPECT_EQ(Read(c, details), c.expected) << c.what;
        std::string notes, dates;
        for (const std::string& note : details.notes)
            notes += note + "\n";
        if (!details.dates.empty())
            dates = details.dates.front() + " " + details.dates.back();
        EXPECT_EQ(notes, c.notes) << c.what;
        EXPECT_EQ(dates, c.dates) << c.what;
    }
}

TEST(TextImport, WhatCannotBeReadRightIsRefusedByPlace) {
    const std::string longField(100, 'x');
    const Case cases[] = {
        {"dates without a header",
         "2017-05-31,1,2,3\n2017-06-30,4,5,6\n",
         {},
         "line 1, field 1: \"2017-05-31\" is a date and the text has no header row of names; say --by-row or "
         "--by-column"},
        {"a ticker twice",
         "Date,AAA,BBB,AAA\n2024-01-05,1,2,3\n2024-01-12,1,2,3\n2024-01-19,1,2,3\n",
         {},
         "line 1, field 4: the ticker \"AAA\" is there twice: fields 2 and 4"},
        {"a date repeated",
         "Date,AAA\n2024-01-05,1\n2024-01-12,2\n2024-01-12,3\n2024-01-19,4\n",
         {},
         "line 4: the date \"2024-01-12\" repeats the one before; dates must rise (or all fall) from line to line"},
        {"an unknown ticker",
         "Name,R1,R2,R3\nAAA,1,2,3\n",
         {.shares = {"AAA", "ZZZ"}},
         "no share of the text is named \"ZZZ\""},
        {"an overflowing return",
         "Name,P1,P2,P3,P4\nAAA,1e-300,1e300,1,1\n",
         {.prices = true},
         "line 2, field 3: \"AAA\", value 2: the return from the price before is too large to hold"},
        {"a fault after CRLF line ends",
         "Name,R1,R2,R3\r\nAAA,1,2,3\r\nBBB,1,2,3\r\nCCC,1,x,3\r\n",
         {},
         "line 4, field 3: \"x\" is not a number"},
        {"a long name",
         "Name,R1,R2,R3\n" + std::string(257, 'A') + ",1,2,3\n",
         {},
         "line 2, field 1: the name is longer than 256 characters"},
        {"a long date",
         "Date,AAA\n2024-01-05,1\n2024-01-12,2\n" + std::string(257, '1') + ",3\n",
         {},
         "line 4, field 1: the date is longer than 256 characters"},
        {"a long field",
         "Name,R1,R2,R3\nAAA,1," + longField + ",3\n",
         {},
         "line 2, field 3: \"" + longField.substr(0, 80) + "...\" is not a number"},
        {"UTF-16",
         std::string("\xFF\xFEN\0a\0m\0e\0", 10),
         {},
         "line 1: the text is UTF-16 (or holds NUL bytes); save it as UTF-8"},
        {"a date beyond the header",
         "AAA,BBB\n1,2,3,2024-01-05\n1,2\n1,2\n",
         {},
         "line 2: 4 fields where line 1 has 2"},
        {"returns resampled",
         kDaily,
         {.every = CalendarPeriod::Month},
         "--every needs --prices: a period's return is not the return of its last day"},
        {"a window too short",
         "Name,R1,R2,R3\nAAA,1,2,3\n",
         {.last = 2},
         "2 returns per share are left by the options; at least 3 are needed"},
    };
    for (const Case& c : cases) {
        TextDetails details;
        EXPECT_EQ(Read(c, details), c.expected) << c.what;
    }
}

TEST(TextImport, TooManyValuesAreRefusedBeforeTheyAreStored) {
    constexpr TextLimits kTwenty{10, 3, 10, 0, 0, 20};
    std::string text = "Date,A,B,C,D\n";
    for (int day = 1; day <= 9; ++day)
        text += "2024-01-0" + std::to_string(day) + ",1,2,3,4\n";
    WorksheetTable table;
    TextError error;
    EXPECT_FALSE(ReadDelimitedText(text, {}, kTwenty, table, error));
    EXPECT_EQ(error.Describe(), "line 7: 4 shares x 6 periods; at most 20 values are taken");
}

// A header and two million lines after it, of which only the start is read.
class ManyLines : public TextSource {
public:
    ManyLines(std::string head, std::string line) : m_head(std::move(head)), m_each(std::move(line)) {}
    bool Read(char* buffer, size_t size, size_t& got, std::string&) override {
        for (got = 0; got < size; ++got, ++m_sent) {
            if (m_line.empty() && m_lines == 2'000'001)
                break;
            if (m_line.empty())
                m_line = (m_lines++ == 0 ? m_head : m_each) + "\n";
            buffer[got] = m_line.front();
            m_line.erase(0, 1);
        }
        return true;
    }
    bool Rewind(std::string&) override {
        m_line.clear();
        m_lines = 0;
        return true;
    }
    size_t m_sent = 0;  // in all passes

private:
    std::string m_head, m_each, m_line;
    int m_lines = 0;
};

// The line that passes a limit ends the reading, with the limit it passes,
// in either layout, given or detected.
TEST(TextImport, TooManySharesOrValuesAreRefusedBeforeTheRestIsRead) {
    const std::string rows = "Name,R1,R2,R3", share = "S,1,2,3";
    const std::string columns = "Date,A,B,C", day = "2024-01-05,1,2,3";
    const struct {
        std::string head, line;
        TextLimits limits;
        TextOptions options;
        std::string expected;
    } cases[] = {
        {rows, share, {10, 3, 10, 0, 0, 0}, {}, "line 12: more than 10 shares"},
        {rows,
         share,
         {10, 3, 10, 0, 0, 0},
         {.layout = TextLayout::ByRow, .header = HeaderRow::Absent},
         "line 11: more than 10 shares"},
        {rows, share, {100000, 3, 10, 0, 0, 20}, {}, "line 8: 7 shares x 3 periods; at most 20 values are taken"},
        {rows, share, {100000, 3, 2, 0, 0, 0}, {}, "line 2, field 4: 3 returns per share; at most 2 are taken"},
        {columns, day, {10, 3, 10, 0, 0, 0}, {}, "line 12: 11 returns per share; at most 10 are taken"},
        {columns, day, {2, 3, 10, 0, 0, 0}, {}, "line 1, field 4: more than 2 shares"},
    };
    for (const auto& c : cases) {
        ManyLines source(c.head, c.line);
        TextReturns returns;
        TextDetails details;
        TextError error;
        EXPECT_FALSE(ReadDelimitedReturns(source, c.options, c.limits, returns, details, error));
        EXPECT_EQ(error.Describe(), c.expected);
        EXPECT_LT(source.m_sent, size_t{1} << 20) << c.expected;
    }
}

// A line of n prices gives n - 1 returns: 20 shares of 4 prices are 60 values.
TEST(TextImport, PricesOneShareALineAtTheValueLimitAreRead) {
    std::string text = "Name,D1,D2,D3,D4\n";
    for (int share = 1; share <= 20; ++share)
        text += "S" + std::to_string(share) + ",1,2,3,4\n";
    TextReturns returns;
    TextDetails details;
    TextError error;
    EXPECT_TRUE(ReadDelimitedReturns(text, {.prices = true}, {100, 3, 100, 0, 0, 60}, returns, details, error))
        << error.Describe();
    EXPECT_EQ(returns.values.size(), 60u);
}

// A file written between the survey and the values: the second pass meets
// other records than the first counted.
class GrowingText : public TextSource {
public:
    GrowingText(std::string first, std::string second) : m_texts{std::move(first), std::move(second)} {}
    bool Read(char* buffer, size_t size, size_t& got, std::string&) override {
        // The start and the survey see the first text, the values the second.
        const std::string& text = m_texts[m_pass < 2 ? 0 : 1];
        got = std::min(size, text.size() - m_pos);
        std::copy_n(text.data() + m_pos, got, buffer);
        m_pos += got;
        return true;
    }
    bool Rewind(std::string&) override {
        ++m_pass;
        m_pos = 0;
        return true;
    }

private:
    std::string m_texts[2];
    size_t m_pass = 0, m_pos = 0;
};

TEST(TextImport, ATextChangedBetweenItsPassesIsRefused) {
    const std::string rows = "Name,R1,R2,R3\nAAA,1,2,3\nBBB,4,5,6\n";
    const std::string columns = "Date,AAA,BBB\n2024-01-05,1,2\n2024-01-12,3,4\n2024-01-19,5,6\n";
    const struct {
        std::string first, second, expected;
    } cases[] = {
        {rows, rows + "CCC,7,8,9\n", "line 4: the text changed while it was read"},
        {rows + "CCC,7,8,9\n", rows, "line 4: the text changed while it was read"},
        {columns, columns + "2024-01-26,7,8\n", "line 5: the text changed while it was read"},
    };
    for (const auto& c : cases) {
        GrowingText source(c.first, c.second);
        TextReturns returns;
        TextDetails details;
        TextError error;
        EXPECT_FALSE(ReadDelimitedReturns(source, {}, kLargeLimits, returns, details, error));
        EXPECT_EQ(error.Describe(), c.expected);
    }
}

}  // namespace
}  // namespace korvel::text
