// Reading numbers as the Go command does, and the order and texts of its input checks.
#include "core/optimizer/GoCommand.h"
#include "core/optimizer/Validation.h"
#include "core/text/NumberText.h"
#include "optimizer_worksheets.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

namespace korvel {
namespace {

using testing::MakeSheet;

bool Parses(const std::string& text, double& value) {
    return text::ReadsAsWorksheetNumber(text, value);
}

TEST(WorksheetNumber, AcceptsWhatStrtodConsumesToTheEnd) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"", 0.0},     {" 5", 5.0},     {"\t-2.5", -2.5}, {"+7", 7.0},      {"5.", 5.0},    {".25", 0.25},
        {"-.5", -0.5}, {"1e3", 1000.0}, {"0x10", 16.0},   {"0x1p-2", 0.25}, {"1E-2", 0.01}, {"0.0001", 0.0001},
    };
    for (const Case& c : cases) {
        double value = -99.0;
        EXPECT_TRUE(Parses(c.text, value)) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
    double negativeZero = 1.0;
    EXPECT_TRUE(Parses("-0", negativeZero));
    EXPECT_TRUE(std::signbit(negativeZero));
}

TEST(WorksheetNumber, RejectsLeftoversAndKeepsTheValueRead) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"5 ", 5.0},  {"5%", 5.0},  {"   ", 0.0}, {"-", 0.0},     {".", 0.0},
        {"1,5", 1.0}, {"abc", 0.0}, {"1e", 1.0},  {"2.5.1", 2.5},
    };
    for (const Case& c : cases) {
        double value = -99.0;
        EXPECT_FALSE(Parses(c.text, value)) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
}

TEST(WorksheetNumber, RejectsNumbersThatAreNotFinite) {
    for (const char* text : {"inf", "-inf", "INFINITY", "nan", "NaN(1)", "1e999", "-1e400"}) {
        double value = 0.0;
        EXPECT_FALSE(Parses(text, value)) << text;
    }
    double tiny = 1.0;
    EXPECT_TRUE(Parses("1e-999", tiny));  // underflow gives a finite 0
    EXPECT_EQ(tiny, 0.0);
}

TEST(WorksheetNumber, ParsesLongTextsWhole) {
    // Longer than any buffer a typed cell needs: parsed to its last character.
    const std::string longNumber = "0." + std::string(297, '0') + "1";
    ASSERT_EQ(longNumber.size(), 300u);
    double value = 0.0;
    EXPECT_TRUE(Parses(longNumber, value));
    EXPECT_EQ(value, 1e-298);

    const std::string longDigits = std::string(299, '1') + "x";
    EXPECT_FALSE(Parses(longDigits, value));
    EXPECT_FALSE(Parses(std::string(300, ' '), value));
    EXPECT_TRUE(Parses(std::string(299, ' ') + "7", value));
    EXPECT_EQ(value, 7.0);
}

TEST(WorksheetNumber, TextWithNulInsideIsNotConsumed) {
    double value = 0.0;
    EXPECT_FALSE(Parses(std::string("5\0"
                                    "1",
                                    3),
                        value));
    EXPECT_EQ(value, 5.0);
}

// The exact shortcut for plain decimals must agree with strtod bit for bit.
TEST(WorksheetNumber, AgreesWithStrtodOnRandomDecimals) {
    std::mt19937_64 random(20240611);
    std::uniform_int_distribution<int> length(1, 20);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int n = 0; n < 200000; ++n) {
        std::string text = (random() & 1) ? "-" : "";
        const int digits = length(random);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + digit(random));
        }
        double value = 0.0;
        ASSERT_TRUE(Parses(text, value)) << text;
        const double expected = std::strtod(text.c_str(), nullptr);
        ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
    }
}

// glibc builds a locale with a decimal comma from its sources when they are installed.
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const auto dir = std::filesystem::temp_directory_path() / "korvel-locale-test";
        std::filesystem::create_directories(dir);
        // Built once per machine; later runs reuse it.
        if (!std::filesystem::exists(dir / "de_DE.UTF-8" / "LC_NUMERIC")) {
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0)
                GTEST_SKIP() << "localedef cannot build de_DE";
        }
        setenv("LOCPATH", dir.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "de_DE not available";
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
    }
};

TEST_F(CommaLocale, ReadsAPointWhateverTheProcessLocale) {
    char* end = nullptr;
    ASSERT_EQ(std::strtod("1.5", &end), 1.0);  // the process locale really uses a comma
    double value = 0.0;
    EXPECT_TRUE(text::ReadsAsWorksheetNumber("1.5", value));
    EXPECT_EQ(value, 1.5);
    EXPECT_TRUE(text::ReadsAsWorksheetNumber(" 1.5e1", value));
    EXPECT_EQ(value, 15.0);
    EXPECT_FALSE(text::ReadsAsWorksheetNumber("1,5", value));
}

TEST(ValidateInput, MinReturnMessagesAndCaption) {
    const WorksheetTable sheet = MakeSheet({{"1", "2", "3"}});
    struct Case {
        const char* text;
        ValidationError error;
        const char* message;
    };
    const Case cases[] = {
        {"", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"0", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"-1", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"5 ", ValidationError::MinReturnNotValid, "MinReturn not valid !"},
        {"5%", ValidationError::MinReturnNotValid, "MinReturn not valid !"},
        {"  ", ValidationError::MinReturnNotValid, "MinReturn not valid !"},
        {"inf", ValidationError::MinReturnNotValid, "MinReturn not valid !"},
        {"1e999", ValidationError::MinReturnNotValid, "MinReturn not valid !"},
        // Read to the end but not above 0, so not positive.
        {"nan", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"-nan", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"-inf", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"-1e999", ValidationError::MinReturnNotPositive, "Min Return must be positive value !"},
        {"nan ", ValidationError::MinReturnNotValid, "MinReturn not valid !"},
        {" 5", ValidationError::None, ""},
        {"0.0001", ValidationError::None, ""},
    };
    for (const Case& c : cases) {
        const ValidationResult result = ValidateInput(c.text, sheet);
        EXPECT_EQ(result.error, c.error) << '"' << c.text << '"';
        EXPECT_EQ(result.message, c.message) << '"' << c.text << '"';

        SolutionRecord record;
        testing::RecordingPresenter presenter;
        const GoResult go = RunGo(c.text, sheet, record, presenter);
        EXPECT_EQ(go.outcome == GoOutcome::Invalid, c.error != ValidationError::None) << c.text;
        if (go.outcome == GoOutcome::Invalid) {
            EXPECT_EQ(go.message, c.message) << c.text;
        }
        EXPECT_EQ(HasErrorCaption(go), c.error != ValidationError::None) << c.text;
    }
    EXPECT_EQ(ValidateInput("5%", sheet).minReturn, 5.0);  // kept whatever follows
}

TEST(ValidateInput, ReportsOnlyTheFirstBadCellRowByRow) {
    const WorksheetTable sheet = MakeSheet({{"1", "x", "3"}, {"1", "2", "3 "}});
    const ValidationResult result = ValidateInput("1", sheet);
    EXPECT_EQ(result.error, ValidationError::InvalidReturn);
    EXPECT_EQ(result.message, "Invalid Return2 on row 1");
    EXPECT_EQ(result.period, 2);
    EXPECT_EQ(result.row, 1);

    // The Min Return is checked before any cell.
    EXPECT_EQ(ValidateInput("0", sheet).error, ValidationError::MinReturnNotPositive);
}

TEST(ValidateInput, CellRules) {
    struct Case {
        const char* cell;
        bool valid;
    };
    const Case cases[] = {{"", true},    {" 5", true}, {"-3.5", true}, {"1e2", true},  {"5 ", false},
                          {"5%", false}, {" ", false}, {"inf", false}, {"nan", false}, {"1e999", false}};
    for (const Case& c : cases) {
        const WorksheetTable sheet = MakeSheet({{"1", "2", "3"}, {"4", "5", c.cell}});
        const ValidationResult result = ValidateInput("1", sheet);
        EXPECT_EQ(result.ok(), c.valid) << '"' << c.cell << '"';
        if (!c.valid) {
            EXPECT_EQ(result.message, "Invalid Return3 on row 2") << c.cell;
        }
    }
    // Share names are never examined.
    EXPECT_TRUE(ValidateInput("1", MakeSheet({{"1", "2", "3"}}, {"not a number %"})).ok());
}

TEST(ValidateInput, InvalidCellMessageHasNoErrorCaption) {
    const WorksheetTable sheet = MakeSheet({{"1", "2", "x"}});
    SolutionRecord record;
    testing::RecordingPresenter presenter;
    const GoResult go = RunGo("1", sheet, record, presenter);
    EXPECT_EQ(go.outcome, GoOutcome::Invalid);
    EXPECT_EQ(go.message, "Invalid Return3 on row 1");
    EXPECT_FALSE(HasErrorCaption(go));
    EXPECT_TRUE(presenter.shown.empty());
}

}  // namespace
}  // namespace korvel
