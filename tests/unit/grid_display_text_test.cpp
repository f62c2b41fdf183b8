#include "core/grid/DisplayText.h"

#include <gtest/gtest.h>

using korvel::grid::DecodeForDisplay;

namespace {

std::u16string Shown(std::string_view bytes, size_t maxUnits = 4096) {
    std::u16string out = u"stale";
    DecodeForDisplay(bytes, out, maxUnits);
    return out;
}

}  // namespace

TEST(DisplayText, WellFormedUtf8ShowsWhatItEncodes) {
    EXPECT_EQ(Shown("Name 1.5"), u"Name 1.5");
    EXPECT_EQ(Shown("\xC3\xA9t\xC3\xA9"), u"\u00E9t\u00E9");
    EXPECT_EQ(Shown("\xE2\x82\xAC"), u"\u20AC");
    EXPECT_EQ(Shown("\xF0\x9F\x98\x80"), u"\U0001F600");  // a surrogate pair
    EXPECT_EQ(Shown(std::string_view("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(Shown(""), u"");
}

TEST(DisplayText, OtherBytesShowAsWindows1252) {
    EXPECT_EQ(Shown("\xB1"
                    "5%"),
              u"\u00B15%");
    EXPECT_EQ(Shown("\x80\x9F"), u"\u20AC\u0178");
    EXPECT_EQ(Shown("\x81\x8D\x8F\x90\x9D"), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Shown("\xFF"), u"\u00FF");
}

TEST(DisplayText, MalformedSequencesFallBackOneByteAtATime) {
    EXPECT_EQ(Shown("\xC0\xAF"), u"\u00C0\u00AF");                      // overlong
    EXPECT_EQ(Shown("\xED\xA0\x80"), u"\u00ED\u00A0\u20AC");            // a surrogate
    EXPECT_EQ(Shown("\xF4\x90\x80\x80"), u"\u00F4\uFFFD\u20AC\u20AC");  // above U+10FFFF
    EXPECT_EQ(Shown("\xE2\x82"), u"\u00E2\u201A");                      // cut short
    EXPECT_EQ(Shown("\xC3"
                    "A"),
              u"\u00C3A");  // no continuation
}

TEST(DisplayText, StopsOnceTheLimitIsReached) {
    const std::string many(10000, 'x');
    EXPECT_EQ(Shown(many, 8).size(), 8u);
    EXPECT_EQ(Shown(many).size(), 4096u);
    // A pair may overrun the limit by one unit but is never split.
    EXPECT_EQ(Shown("a\xF0\x9F\x98\x80", 2), u"a\U0001F600");
}
