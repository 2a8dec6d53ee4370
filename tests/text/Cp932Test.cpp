#include "text/Cp932.h"

#include <gtest/gtest.h>

namespace tabry::cp932 {
namespace {

std::string Bytes(std::initializer_list<int> b)
{
    std::string s;
    for (int x : b)
        s += static_cast<char>(x);
    return s;
}

TEST(Cp932Test, LiteralsHaveTheIntendedBytes)
{
    EXPECT_EQ(SJ("勝"), Bytes({0x8F, 0x9F}));
    EXPECT_EQ(SJ("○"), Bytes({0x81, 0x9B}));
    EXPECT_EQ(SJ("△"), Bytes({0x81, 0xA2}));
    EXPECT_EQ(SJ("×"), Bytes({0x81, 0x7E}));
    EXPECT_EQ(SJ("不戦"), Bytes({0x95, 0x73, 0x90, 0xED}));
    EXPECT_EQ(SJ("表"), Bytes({0x95, 0x5C})); // trail byte 0x5C
    EXPECT_EQ(SJ("　"), Bytes({0x81, 0x40})); // full-width space
    EXPECT_EQ(SJ("・"), Bytes({0x81, 0x45})); // middle dot
    EXPECT_EQ(SJ("ｱ"), Bytes({0xB1}));        // half-width katakana
    EXPECT_EQ(SJ("～"), Bytes({0x81, 0x60}));
    EXPECT_EQ(SJ("①"), Bytes({0x87, 0x40}));  // NEC special row
    EXPECT_EQ(SJ("髙"), Bytes({0xFB, 0xFC})); // IBM extension
    EXPECT_EQ(SJ("abc,%"), "abc,%");
}

TEST(Cp932Test, EveryDoubleByteCodeRoundTrips)
{
    int defined = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const unsigned code = lead << 8 | trail;
            const char32_t ch = DecodeCode(code);
            if (!IsTrailByte(static_cast<unsigned char>(trail))) {
                EXPECT_EQ(ch, 0u) << std::hex << code;
                continue;
            }
            if (ch == 0)
                continue;
            ++defined;
            // Duplicated characters (NEC-selected and IBM extensions) encode
            // to one preferred code, which must decode to the same character.
            const int back = EncodeChar(ch);
            ASSERT_GT(back, 0xFF) << std::hex << code;
            EXPECT_EQ(DecodeCode(static_cast<unsigned>(back)), ch) << std::hex << code;

            const std::string sjis = Bytes({static_cast<int>(lead), static_cast<int>(trail)});
            bool lossless = false;
            const std::string again = FromUtf8(ToUtf8(sjis), &lossless);
            EXPECT_TRUE(lossless) << std::hex << code;
            EXPECT_EQ(again, Bytes({back >> 8, back & 0xFF})) << std::hex << code;
        }
    }
    // JIS X 0208 with the NEC and IBM extensions and the user-defined area.
    EXPECT_EQ(defined, 9604);
}

TEST(Cp932Test, SingleBytesMapAsciiAndHalfWidthKatakana)
{
    for (unsigned b = 0; b < 0x80; ++b)
        EXPECT_EQ(DecodeCode(b), static_cast<char32_t>(b));
    for (unsigned b = 0xA1; b <= 0xDF; ++b)
        EXPECT_EQ(DecodeCode(b), static_cast<char32_t>(0xFF61 + (b - 0xA1)));
    EXPECT_EQ(ToUtf8("\x80"), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8("\xA0"), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8("\xFD"), "\xEF\xBF\xBD");
}

TEST(Cp932Test, InvalidSequencesBecomeReplacementCharacters)
{
    // A lead byte before a non-trail byte is replaced alone; the next byte is read afresh.
    EXPECT_EQ(ToUtf8("\x82 A"), "\xEF\xBF\xBD A");
    EXPECT_EQ(ToUtf8("\x82\x7F"), "\xEF\xBF\xBD\x7F");
    // A lead byte at the end of the data.
    EXPECT_EQ(ToUtf8("a\x88"), "a\xEF\xBF\xBD");
    // A well-formed but unassigned double-byte code is one replacement.
    EXPECT_EQ(ToUtf8("\x85\x40"), "\xEF\xBF\xBD");
}

TEST(Cp932Test, FromUtf8ReportsCharactersWithoutACode)
{
    bool lossless = true;
    EXPECT_EQ(FromUtf8("a😀b", &lossless), "a?b");
    EXPECT_FALSE(lossless);
    EXPECT_EQ(FromUtf8("\xC3", &lossless), "?"); // truncated sequence
    EXPECT_FALSE(lossless);
    EXPECT_EQ(FromUtf8("\xC0\x80", &lossless).substr(0, 1), "?");     // overlong NUL
    EXPECT_EQ(FromUtf8("\xED\xA0\x80", &lossless).substr(0, 1), "?"); // surrogate
    // Common alternates of other Japanese mappings land on the CP932 codes.
    EXPECT_EQ(FromUtf8("\u301C", &lossless), SJ("～"));
    EXPECT_TRUE(lossless);
    EXPECT_EQ(FromUtf8("\u2212"), SJ("－"));
}

TEST(Cp932Test, CharLengthRespectsCharacterBoundaries)
{
    const std::string s = SJ("表a") + "\x81";
    EXPECT_EQ(CharLength(s, 0), 2);
    EXPECT_EQ(CharLength(s, 2), 1);
    EXPECT_EQ(CharLength(s, 3), 1); // lone lead byte at the end
    EXPECT_EQ(CharLength(s, 4), 0);
    // A cut never halves the double-byte character.
    EXPECT_EQ(WholeCharsLength(s, 1), 0u);
    EXPECT_EQ(WholeCharsLength(s, 2), 2u);
    EXPECT_EQ(WholeCharsLength(s, 100), s.size());
}

TEST(Cp932Test, FullWidthAsciiFoldsToAsciiAndNothingElseChanges)
{
    std::string covered(128, 0);
    int folded = 0;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLeadByte(static_cast<unsigned char>(lead)))
            continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!IsTrailByte(static_cast<unsigned char>(trail)))
                continue;
            const std::string code = Bytes({static_cast<int>(lead), static_cast<int>(trail)});
            const std::string out = FoldFullWidth(code);
            // Never a cut character: its neighbours stay where they were.
            ASSERT_EQ(FoldFullWidth("a" + code + "b"), "a" + out + "b") << lead << " " << trail;
            if (out == code)
                continue;
            ASSERT_EQ(out.size(), 1u) << lead << " " << trail;
            ASSERT_TRUE(out[0] >= 0x20 && out[0] < 0x7F) << lead << " " << trail;
            // The folded character is the one the code's Unicode form names.
            const std::string utf8 = ToUtf8(code);
            EXPECT_TRUE(utf8.rfind("\xEF\xBC", 0) == 0 || utf8.rfind("\xEF\xBD", 0) == 0 || utf8 == "\xE3\x80\x80")
                << lead << " " << trail;
            covered[static_cast<size_t>(out[0])] = 1;
            ++folded;
        }
    }
    // Every printable ASCII character and the blank have a full-width code.
    for (int c = 0x20; c < 0x7F; ++c)
        EXPECT_TRUE(covered[static_cast<size_t>(c)]) << c;
    EXPECT_GE(folded, 95);

    EXPECT_EQ(FoldFullWidth(FromUtf8("ＴＯＲＶＡ　３２－＋１．５ｚ")), "TORVA 32-+1.5z");
    EXPECT_EQ(FoldFullWidth(FromUtf8("山田３ｱ表")), FromUtf8("山田") + "3" + FromUtf8("ｱ表"));
    EXPECT_EQ(FoldFullWidth(Bytes({0x41, 0x82})), Bytes({0x41, 0x82})); // a lead byte cut off at the end
    EXPECT_EQ(FoldFullWidth(""), "");
}

} // namespace
} // namespace tabry::cp932
