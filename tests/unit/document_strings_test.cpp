#include "core/worksheet/DocumentFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korvel::doc;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes Written(const std::string& text) {
    DocumentWriter out;
    out.WriteString(text);
    return out.Bytes();
}

bool ReadOne(const Bytes& bytes, std::string& text, size_t* left = nullptr) {
    DocumentReader in(bytes);
    const bool ok = in.ReadString(text);
    if (left)
        *left = in.Remaining();
    return ok;
}

Bytes Prefix(const Bytes& bytes, size_t n) {
    return Bytes(bytes.begin(), bytes.begin() + n);
}

}  // namespace

TEST(DocumentStrings, LengthFormBoundaries) {
    struct Case {
        size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        const Bytes bytes = Written(text);
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_EQ(Prefix(bytes, c.prefix.size()), c.prefix);
        std::string back;
        size_t left = 99;
        ASSERT_TRUE(ReadOne(bytes, back, &left));
        EXPECT_EQ(back, text);
        EXPECT_EQ(left, 0u);
    }
}

TEST(DocumentStrings, LongFormsAreReadEvenForShortTexts) {
    // Other writers may use a longer prefix than needed.
    std::string text;
    ASSERT_TRUE(ReadOne({0xFF, 0x02, 0x00, 'h', 'i'}, text));
    EXPECT_EQ(text, "hi");
    ASSERT_TRUE(ReadOne({0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 'z'}, text));
    EXPECT_EQ(text, "z");
}

TEST(DocumentStrings, BytesAreKeptAsTheyAre) {
    // Windows-1252 "Café" with a NUL and a lone 0xFF inside: not UTF-8.
    const std::string text("Caf\xE9\0\xFF", 6);
    std::string back;
    ASSERT_TRUE(ReadOne(Written(text), back));
    EXPECT_EQ(back, text);
    EXPECT_EQ(Written(back), Written(text));
}

TEST(DocumentStrings, WideFormBecomesUtf8) {
    std::string text;
    // "Aé€" then U+1F600 as a surrogate pair.
    ASSERT_TRUE(ReadOne({0xFF, 0xFE, 0xFF, 0x05, 'A', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}, text));
    EXPECT_EQ(text, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");

    // Unpaired surrogates: a lone low, a high followed by a non-surrogate, a high at the end.
    ASSERT_TRUE(ReadOne({0xFF, 0xFE, 0xFF, 0x04, 0x00, 0xDC, 0x00, 0xD8, 'B', 0, 0x01, 0xDB}, text));
    EXPECT_EQ(text, "\xEF\xBF\xBD\xEF\xBF\xBD"
                    "B"
                    "\xEF\xBF\xBD");

    ASSERT_TRUE(ReadOne({0xFF, 0xFE, 0xFF, 0x00}, text));
    EXPECT_EQ(text, "");
}

TEST(DocumentStrings, WideFormLongLengths) {
    Bytes bytes = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01};  // 300 units
    for (int i = 0; i < 300; ++i)
        bytes.insert(bytes.end(), {'q', 0});
    std::string text;
    size_t left = 99;
    ASSERT_TRUE(ReadOne(bytes, text, &left));
    EXPECT_EQ(text, std::string(300, 'q'));
    EXPECT_EQ(left, 0u);

    Bytes longest = {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0, 0, 0, 'o', 0, 'k', 0};
    ASSERT_TRUE(ReadOne(longest, text));
    EXPECT_EQ(text, "ok");
}

TEST(DocumentStrings, TruncatedOrOversizedFailWithoutConsuming) {
    const Bytes cases[] = {
        {},
        {0x03, 'a', 'b'},
        {0xFF},
        {0xFF, 0x00},
        {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00},
        {0xFF, 0xFE, 0xFF},
        {0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'},            // half a unit missing
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'x'},  // 4 GiB - 1 announced
        {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'x', 0},
    };
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        DocumentReader in(bytes);
        std::string text = "unchanged";
        EXPECT_FALSE(in.ReadString(text));
        EXPECT_EQ(in.Position(), 0u);
    }
}

TEST(DocumentStrings, Int32IsLittleEndianAndSigned) {
    DocumentWriter out;
    out.WriteInt32(0x01020304);
    out.WriteInt32(-2);
    EXPECT_EQ(out.Bytes(), (Bytes{4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF}));
    DocumentReader in(out.Bytes());
    int32_t a = 0, b = 0, c = 7;
    ASSERT_TRUE(in.ReadInt32(a));
    ASSERT_TRUE(in.ReadInt32(b));
    EXPECT_FALSE(in.ReadInt32(c));
    EXPECT_EQ(a, 0x01020304);
    EXPECT_EQ(b, -2);
    EXPECT_EQ(c, 7);
}
