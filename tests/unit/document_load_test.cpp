#include "core/worksheet/DocumentFormat.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

using namespace korvel::doc;
using korvel::WorksheetTable;
using Bytes = std::vector<uint8_t>;

namespace {

const Bytes kAbcDocument = {0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x31, 0x03, 0x41, 0x42,
                            0x43, 0x03, 0x31, 0x2E, 0x35, 0x01, 0x32, 0x04, 0x2D, 0x30, 0x2E, 0x35};
const Bytes kResetDocument = {0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

Bytes Header(int32_t rows, int32_t cols, const std::string& minReturn) {
    DocumentWriter out;
    out.WriteInt32(rows);
    out.WriteInt32(cols);
    out.WriteString(minReturn);
    return out.TakeBytes();
}

WorksheetTable FilledTable(int32_t rows, int32_t cols) {
    WorksheetTable t(rows, cols);
    t.minReturnText = "0.75";
    for (int32_t r = 1; r < rows; ++r)
        for (int32_t c = 1; c < cols; ++c)
            t.SetTextMatrix(r, c, c == 1 ? "S" + std::to_string(r) : std::to_string(r * 0.5 - c));
    return t;
}

void ExpectSameWorksheet(const WorksheetTable& a, const WorksheetTable& b) {
    ASSERT_EQ(a.Rows(), b.Rows());
    ASSERT_EQ(a.Cols(), b.Cols());
    EXPECT_EQ(a.minReturnText, b.minReturnText);
    for (int32_t r = 0; r < a.Rows(); ++r)
        for (int32_t c = 0; c < a.Cols(); ++c)
            ASSERT_EQ(a.TextMatrix(r, c), b.TextMatrix(r, c)) << r << "," << c;
}

}  // namespace

TEST(DocumentLoad, ExampleDocumentsByteForByte) {
    WorksheetTable abc;
    abc.minReturnText = "1";
    abc.SetTextMatrix(1, 1, "ABC");
    abc.SetTextMatrix(1, 2, "1.5");
    abc.SetTextMatrix(1, 3, "2");
    abc.SetTextMatrix(1, 4, "-0.5");
    EXPECT_EQ(SaveDocument(abc), kAbcDocument);
    EXPECT_EQ(SaveDocument(WorksheetTable()), kResetDocument);

    const LoadResult loaded = LoadDocument(kAbcDocument);
    EXPECT_EQ(loaded.error, LoadError::None);
    ExpectSameWorksheet(loaded.table, abc);

    const LoadResult reset = LoadDocument(kResetDocument);
    EXPECT_EQ(reset.error, LoadError::None);
    ExpectSameWorksheet(reset.table, WorksheetTable());
}

TEST(DocumentLoad, RoundTripAtTheLargestSizeRebuildsHeaders) {
    const WorksheetTable big = FilledTable(1001, 12);
    const LoadResult loaded = LoadDocument(SaveDocument(big));
    ASSERT_EQ(loaded.error, LoadError::None);
    ExpectSameWorksheet(loaded.table, big);
    EXPECT_EQ(loaded.table.TextMatrix(1000, 0), "1000");
    EXPECT_EQ(loaded.table.TextMatrix(0, 11), "R10");
}

TEST(DocumentLoad, CountsOutsideTheRangesAreRejectedBeforeAnyCell) {
    const std::pair<int32_t, int32_t> bad[] = {
        {1002, 5}, {1, 5}, {0, 5}, {-1, 5}, {2, 4}, {2, 13}, {INT32_MIN, INT32_MAX}};
    for (const auto& [rows, cols] : bad) {
        SCOPED_TRACE(testing::Message() << rows << "x" << cols);
        Bytes bytes = Header(rows, cols, "2");
        bytes.resize(bytes.size() + 64, 0);
        const LoadResult r = LoadDocument(bytes);
        EXPECT_EQ(r.error, LoadError::CountsOutOfRange);
        ExpectSameWorksheet(r.table, WorksheetTable());
    }
    EXPECT_TRUE(CountsInRange(2, 5));
    EXPECT_TRUE(CountsInRange(1001, 12));
}

TEST(DocumentLoad, ShortFileKeepsWhatWasRead) {
    // Two shares, three periods; the file stops after the first cell of row 2.
    Bytes bytes = Header(3, 5, "1.25");
    DocumentWriter cells;
    for (const char* text : {"A", "1", "2", "3", "B"})
        cells.WriteString(text);
    bytes.insert(bytes.end(), cells.Bytes().begin(), cells.Bytes().end());
    bytes.push_back(0x05);  // a length with its text cut off
    bytes.push_back('9');

    const LoadResult r = LoadDocument(bytes);
    EXPECT_EQ(r.error, LoadError::ShortFile);
    EXPECT_EQ(r.table.Rows(), 3);
    EXPECT_EQ(r.table.Cols(), 5);
    EXPECT_EQ(r.table.minReturnText, "1.25");
    EXPECT_EQ(r.table.TextMatrix(1, 1), "A");
    EXPECT_EQ(r.table.TextMatrix(1, 4), "3");
    EXPECT_EQ(r.table.TextMatrix(2, 1), "B");
    EXPECT_EQ(r.table.TextMatrix(2, 2), "");
    EXPECT_EQ(r.table.TextMatrix(2, 0), "2");
    // A window takes these five cells and leaves the rest of its worksheet.
    EXPECT_TRUE(r.headRead);
    EXPECT_EQ(r.cellsRead, 5u);
}

TEST(DocumentLoad, CutInsideCountsOrMinReturnIsShortWithTheResetWorksheet) {
    for (size_t n : {size_t{0}, size_t{3}, size_t{4}, size_t{7}, size_t{8}}) {
        SCOPED_TRACE(n);
        const LoadResult r = LoadDocument(std::span(kAbcDocument).first(n));
        EXPECT_EQ(r.error, LoadError::ShortFile);
        ExpectSameWorksheet(r.table, WorksheetTable());
        EXPECT_FALSE(r.headRead);
        EXPECT_EQ(r.cellsRead, 0u);
    }
    // Counts out of range but nothing after them: cut before the range check.
    EXPECT_EQ(LoadDocument(Header(5000, 5, "")).error, LoadError::CountsOutOfRange);
    Bytes noMinReturn = Header(5000, 5, "");
    noMinReturn.pop_back();
    EXPECT_EQ(LoadDocument(noMinReturn).error, LoadError::ShortFile);
}

TEST(DocumentLoad, HugeAnnouncedLengthFailsAsShortFile) {
    // A 100-byte file announcing a 4 GiB name must fail, not allocate.
    Bytes bytes = Header(2, 5, "1");
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    bytes.resize(100, 'x');
    const LoadResult r = LoadDocument(bytes);
    EXPECT_EQ(r.error, LoadError::ShortFile);
    EXPECT_EQ(r.table.minReturnText, "1");
    EXPECT_EQ(r.table.TextMatrix(1, 1), "");
}

TEST(DocumentLoad, TrailingBytesAreIgnored) {
    Bytes bytes = kAbcDocument;
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x07, 'j', 'u', 'n', 'k'});
    const LoadResult r = LoadDocument(bytes);
    EXPECT_EQ(r.error, LoadError::None);
    EXPECT_EQ(SaveDocument(r.table), kAbcDocument);
}

TEST(DocumentLoad, EightBitTextsSaveBackByteForByte) {
    // Written on a Windows-1252 system: "Müller & Söhne", "€12" and a long name.
    Bytes bytes = Header(2, 5, "0,5\xA0");
    DocumentWriter cells;
    cells.WriteString("M\xFCller & S\xF6hne");
    cells.WriteString("\x80"
                      "12");
    cells.WriteString(std::string(300, '\xE9'));
    cells.WriteString("\xFF\xFE\xFF");
    bytes.insert(bytes.end(), cells.Bytes().begin(), cells.Bytes().end());

    const LoadResult r = LoadDocument(bytes);
    ASSERT_EQ(r.error, LoadError::None);
    EXPECT_EQ(r.table.TextMatrix(1, 1), "M\xFCller & S\xF6hne");
    EXPECT_EQ(SaveDocument(r.table), bytes);
}

TEST(DocumentLoad, WideTextsLoadAsUtf8AndSaveInTheEightBitForm) {
    Bytes bytes = Header(2, 5, "");
    bytes.insert(bytes.end(), {0xFF, 0xFE, 0xFF, 0x02, 0xDC, 0x00, 0x21, 0x00});  // "Ü!"
    bytes.insert(bytes.end(), {0x00, 0x00, 0x00});
    const LoadResult r = LoadDocument(bytes);
    ASSERT_EQ(r.error, LoadError::None);
    EXPECT_EQ(r.table.TextMatrix(1, 1), "\xC3\x9C!");
    const Bytes saved = SaveDocument(r.table);
    const Bytes expectedCell = {0x03, 0xC3, 0x9C, '!'};
    EXPECT_TRUE(std::search(saved.begin(), saved.end(), expectedCell.begin(), expectedCell.end()) != saved.end());
    EXPECT_EQ(saved.size(), 9u + 4u + 3u);
}
