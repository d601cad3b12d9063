#include <gtest/gtest.h>

#include "editor/core/NoteEditMiscProcs.h"

namespace {
// "中" and "文" in GBK.
const std::string Zhong = "\xD6\xD0", Wen = "\xCE\xC4";

TNoteByteSet SetOf(std::initializer_list<int> bytes) {
    TNoteByteSet set;
    for (int b : bytes) set.set(b);
    return set;
}
}  // namespace

TEST(NoteEditMiscProcs, IntegerAndPositionHelpers) {
    EXPECT_EQ(ClampInt(5, 1, 3), 3);
    EXPECT_EQ(ClampInt(-5, 1, 3), 1);
    EXPECT_EQ(ClampInt(5, 7, 3), 7);  // the lower bound wins
    int a = 1, b = 2;
    SwapInts(a, b);
    EXPECT_EQ(a * 10 + b, 21);
    EXPECT_EQ(EarlierPos({5, 2}, {1, 3}), (TBufferCoord{5, 2}));
    EXPECT_EQ(EarlierPos({5, 3}, {1, 3}), (TBufferCoord{1, 3}));
}

TEST(NoteEditMiscProcs, GbkByteTypes) {
    const std::string text = Zhong + "a" + Wen;
    EXPECT_EQ(NoteByteType(text, 1), mbLeadByte);
    EXPECT_EQ(NoteByteType(text, 2), mbTrailByte);
    EXPECT_EQ(NoteByteType(text, 3), mbSingleByte);
    EXPECT_EQ(NoteByteType(text, 4), mbLeadByte);
    EXPECT_EQ(NoteByteType(text, 5), mbTrailByte);
    EXPECT_EQ(NoteByteType(text, 0), mbSingleByte);
    EXPECT_EQ(NoteByteType(text, 6), mbSingleByte);
    // A trail-valued byte after ASCII is a lead only by pairing: walked from the start.
    EXPECT_EQ(NoteByteType("a\xD0\xD6", 2), mbLeadByte);
    EXPECT_EQ(NoteByteType("a\xD0\xD6", 3), mbTrailByte);
    // A lead byte at the end, or before a byte that cannot trail, is a single byte.
    EXPECT_EQ(NoteByteType("ab\xD6", 3), mbSingleByte);
    EXPECT_EQ(NoteByteType("\x81\x7F", 1), mbSingleByte);
    EXPECT_EQ(NoteByteType("\x81\x30", 2), mbSingleByte);
    EXPECT_EQ(GbkCharLength("ab\xD6", 2), 1);
    // Walking from a later known boundary.
    EXPECT_EQ(NoteByteTypeFrom(text, 3, 5), mbTrailByte);
}

TEST(NoteEditMiscProcs, TabExpansion) {
    bool hasTabs;
    EXPECT_EQ(ExpandTabsPow2("a\tb", 4, hasTabs), "a\t\t\tb");
    EXPECT_TRUE(hasTabs);
    EXPECT_EQ(ExpandTabsWidth1("a\tb", 1, hasTabs), "a b");
    EXPECT_EQ(ExpandTabsAny("a\tb\t", 3, hasTabs), "a\t\tb\t\t");
    EXPECT_EQ(ExpandTabsAny("abc", 3, hasTabs), "abc");
    EXPECT_FALSE(hasTabs);
    EXPECT_EQ(ExpandTabsPow2("\t", 8, hasTabs), std::string(8, '\t'));
    EXPECT_EQ(PickTabExpander(0), &ExpandTabsWidth1);
    EXPECT_EQ(PickTabExpander(1), &ExpandTabsWidth1);
    EXPECT_EQ(PickTabExpander(2), &ExpandTabsPow2);
    EXPECT_EQ(PickTabExpander(65536), &ExpandTabsPow2);
    EXPECT_EQ(PickTabExpander(131072), &ExpandTabsAny);
    EXPECT_EQ(PickTabExpander(6), &ExpandTabsAny);
    EXPECT_EQ(ExpandedTextLength("a\tbc\t", 4), 8);
    EXPECT_EQ(ExpandedTextLength("a\tb", 1), 3);
    int count;
    EXPECT_TRUE(FindFirstTab("ab\tc", count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(FindFirstTab("abc", count));
    EXPECT_EQ(count, 3);
}

// Slices read in order through one cursor, or after a jump back, are those of the whole
// expansion, at every width's expander.
TEST(NoteEditMiscProcs, ExpandedSlicesMatchTheWholeExpansion) {
    const std::string line = "ab\t\xD6\xD0\t\tc d\t" + std::string(20, 'x') + "\t\t" + Zhong + "\t";
    for (int width : {0, 1, 3, 4, 8}) {
        bool hasTabs;
        const std::string whole = PickTabExpander(width)(line, width, hasTabs);
        for (int count : {1, 3, 7}) {
            TNoteTabCursor cursor;
            for (int from = 0; from <= static_cast<int>(whole.size()) + 1; from += count)
                ASSERT_EQ(ExpandedSlice(line, width, from, count, cursor), whole.substr(std::min(from, static_cast<int>(whole.size())), count))
                    << width << " " << from;
            for (int from = static_cast<int>(whole.size()); from >= 0; from -= 5)
                ASSERT_EQ(ExpandedSlice(line, width, from, count, cursor), whole.substr(from, count)) << width << " " << from;
        }
    }
}

TEST(NoteEditMiscProcs, CharToTabColumn) {
    EXPECT_EQ(CharToTabColumn(1, 4, "\tab"), 1);
    EXPECT_EQ(CharToTabColumn(0, 4, "\tab"), 1);
    EXPECT_EQ(CharToTabColumn(2, 4, "\tab"), 5);
    EXPECT_EQ(CharToTabColumn(3, 4, "\tab"), 6);
    EXPECT_EQ(CharToTabColumn(4, 4, "\tab"), 7);
    EXPECT_EQ(CharToTabColumn(6, 4, "\tab"), 9);  // past the end: one column per index
    EXPECT_EQ(CharToTabColumn(3, 1, "\tab"), 3);
    EXPECT_EQ(CharToTabColumn(3, 4, "abc"), 3);
}

TEST(NoteEditMiscProcs, DoubleByteScans) {
    const std::string text = Zhong + " a";
    EXPECT_EQ(ScanSetForward(text, 1, SetOf({' '})), 3);
    EXPECT_EQ(ScanSetForward(text, 2, SetOf({' '})), 3);  // from a trail byte: moved on
    EXPECT_EQ(ScanSetForward(text, 5, SetOf({' '})), 0);
    EXPECT_EQ(ScanSetForward(text, 0, SetOf({' '})), 0);
    // Trail bytes never match; a lone lead byte at the end is a byte of its own.
    const std::string tricky = "\xB0\xA1x\xA1";
    EXPECT_EQ(ScanSetForward(tricky, 1, SetOf({0xA1})), 4);
    EXPECT_EQ(ScanSetBackward(tricky, 4, SetOf({0xA1})), 4);
    EXPECT_EQ(ScanSetBackward(tricky, 3, SetOf({0xA1})), 0);
    EXPECT_EQ(ScanSetBackward(tricky, 99, SetOf({'x'})), 3);
    EXPECT_EQ(FindNextLeadByte("ab" + Zhong, 1), 3);
    EXPECT_EQ(FindNextLeadByte("ab" + Zhong, 4), 0);
    EXPECT_EQ(FindNextLeadByte(Zhong + Wen, 2), 3);
    EXPECT_EQ(FindNextLeadByte("ab\xD6", 1), 0);
    EXPECT_EQ(FindLastLeadByte(Zhong + "a" + Wen, 5), 4);
    EXPECT_EQ(FindLastLeadByte(Zhong + "a" + Wen, 3), 1);
    EXPECT_EQ(FindLastLeadByte("abc", 3), 0);
    EXPECT_EQ(FindLineEnd("ab\rc"), 2u);
    EXPECT_EQ(FindLineEnd("abc"), 3u);
    EXPECT_EQ(FindLineEnd(std::string_view("a\0b", 3)), 1u);
}

TEST(NoteEditMiscProcs, CharacterClasses) {
    using namespace NoteCType3;
    EXPECT_EQ(CharTypeClass(Symbol), 9);
    EXPECT_EQ(CharTypeClass(HalfWidth), 1);
    EXPECT_EQ(CharTypeClass(HalfWidth | Alpha), 1);
    EXPECT_EQ(CharTypeClass(HalfWidth | Symbol), 2);
    EXPECT_EQ(CharTypeClass(HalfWidth | Lexical | Alpha), 2);
    EXPECT_EQ(CharTypeClass(HalfWidth | Katakana), 3);
    EXPECT_EQ(CharTypeClass(HalfWidth | Ideograph), 0);
    EXPECT_EQ(CharTypeClass(FullWidth), 4);
    EXPECT_EQ(CharTypeClass(FullWidth | Alpha), 4);
    EXPECT_EQ(CharTypeClass(FullWidth | Symbol), 5);
    EXPECT_EQ(CharTypeClass(FullWidth | Katakana | Alpha), 6);
    EXPECT_EQ(CharTypeClass(FullWidth | Hiragana | Alpha), 7);
    EXPECT_EQ(CharTypeClass(FullWidth | Ideograph | Alpha), 8);
    EXPECT_EQ(CharTypeClass(0), 0);

    EXPECT_EQ(GbkCharClass(Zhong), 8);
    EXPECT_EQ(GbkCharClass("\x81\x40"), 8);   // GBK/3 hanzi
    EXPECT_EQ(GbkCharClass("\xA3\xAC"), 5);   // full-width comma
    EXPECT_EQ(GbkCharClass("\xA1\xA3"), 5);   // ideographic full stop
    EXPECT_EQ(GbkCharClass("\xA3\xC1"), 4);   // full-width A
    EXPECT_EQ(GbkCharClass("\xA3\xB1"), 4);   // full-width 1
    EXPECT_EQ(GbkCharClass("\xA4\xA2"), 7);   // hiragana
    EXPECT_EQ(GbkCharClass("\xA5\xA2"), 6);   // katakana
    EXPECT_EQ(GbkCharClass("a"), 1);
    EXPECT_EQ(GbkCharClass("7"), 1);
    EXPECT_EQ(GbkCharClass(","), 2);
    EXPECT_EQ(GbkCharClass(" "), 2);
    EXPECT_EQ(GbkCharClass("\x81"), 0);       // unpaired lead byte
    EXPECT_EQ(GbkCharClass(""), 0);
}
