// The reporting key in the tournament file and the boards' codes made from
// it: the codes agree with an independent HMAC-SHA256 (Python's hmac module
// made the expected ones), typed codes are read as a phone's keyboard types
// them, and a file without the key is written as it always was.
#include "core/ReportCode.h"
#include "core/TournamentData.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace tabry {
namespace {

const std::string kPlain = "2,1,1,0,60\r\n##Format: 1\r\n##Tournament: Cup\r\n"
                           "a,a,0,,a,,1,-1,0,0\r\nb,b,0,,b,,0,-1,0,0\r\n";

TEST(ReportCodeTest, CodesMatchAnIndependentHmacAndShowWithAHyphen)
{
    EXPECT_EQ(ReportCode("00112233445566778899aabbccddeeff", 1, 1), "CUBA65UP");
    EXPECT_EQ(ReportCode("00112233445566778899aabbccddeeff", 3, 17), "W8K42RH8");
    EXPECT_EQ(ReportCode("ffffffffffffffffffffffffffffffff", 12, 256), "AZYGXPDX");
    EXPECT_EQ(ReportCode("0123456789abcdef0123456789abcdef", 1, 2), "PVZF6GHV");
    EXPECT_EQ(ShownReportCode("CUBA65UP"), "CUBA-65UP");
    // No key, no code: an upper-case or short key is no key.
    EXPECT_EQ(ReportCode("00112233445566778899AABBCCDDEEFF", 1, 1), "");
    EXPECT_EQ(ReportCode("0011", 1, 1), "");
    EXPECT_EQ(ReportCode("", 1, 1), "");
}

TEST(ReportCodeTest, NewKeysAreKeysAndDifferAndTheirCodesSpreadOverBoards)
{
    std::set<std::string> keys;
    for (int i = 0; i < 50; ++i) {
        const std::string key = NewReportingKey();
        EXPECT_TRUE(IsReportingKey(key)) << key;
        keys.insert(key);
    }
    EXPECT_EQ(keys.size(), 50u);
    // 40 bits per code: among a whole event's boards no two codes meet.
    const std::string key = *keys.begin();
    std::set<std::string> codes;
    for (int round = 1; round <= 16; ++round)
        for (int board = 1; board <= 256; ++board)
            codes.insert(ReportCode(key, round, board));
    EXPECT_EQ(codes.size(), 16u * 256u);
}

TEST(ReportCodeTest, TypedCodesFoldCaseHyphensBlanksAndFullWidthForms)
{
    EXPECT_EQ(NormalizeReportCode("CUBA-65UP"), "CUBA65UP");
    EXPECT_EQ(NormalizeReportCode("cuba65up"), "CUBA65UP");
    EXPECT_EQ(NormalizeReportCode(" cuba 65up "), "CUBA65UP");
    EXPECT_EQ(NormalizeReportCode("ＣＵＢＡ－６５ｕｐ"), "CUBA65UP");
    EXPECT_EQ(NormalizeReportCode("ｃｕｂａー６５ＵＰ"), "CUBA65UP");
    EXPECT_EQ(NormalizeReportCode("CUBA\xE3\x80\x80"
                                  "65UP"),
              "CUBA65UP");
    // Letters outside the alphabet, too few or too many: no code.
    EXPECT_EQ(NormalizeReportCode("CUBA-65U0"), std::nullopt);
    EXPECT_EQ(NormalizeReportCode("CUBA-65UI"), std::nullopt);
    EXPECT_EQ(NormalizeReportCode("CUBA-65U"), std::nullopt);
    EXPECT_EQ(NormalizeReportCode("CUBA-65UPP"), std::nullopt);
    EXPECT_EQ(NormalizeReportCode(""), std::nullopt);
    EXPECT_EQ(NormalizeReportCode("\xFF\xFE\x80"), std::nullopt);
    EXPECT_EQ(FoldWideAscii("４０\xE2\x88\x92１"), "40-1");
    EXPECT_EQ(FoldWideAscii("\xE3\x81\x82\xFF"), "\xE3\x81\x82\xFF");
}

TEST(ReportCodeTest, TheKeyLineRoundTripsAndOnlyAWellFormedKeyIsRead)
{
    TournamentData plain;
    ASSERT_EQ(plain.Load(kPlain), LoadStatus::Ok);
    EXPECT_EQ(plain.info.reportingKey, "");
    EXPECT_EQ(plain.Save(), kPlain);

    const std::string keyed = "2,1,1,0,60\r\n##Format: 1\r\n##Tournament: Cup\r\n"
                              "##Reporting: 0123456789abcdef0123456789abcdef\r\n"
                              "a,a,0,,a,,1,-1,0,0\r\nb,b,0,,b,,0,-1,0,0\r\n";
    TournamentData d;
    ASSERT_EQ(d.Load(keyed), LoadStatus::Ok);
    EXPECT_EQ(d.info.reportingKey, "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(d.Save(), keyed);
    // The key goes with the details: a new tournament has none.
    d.NewTournament();
    EXPECT_EQ(d.info.reportingKey, "");

    for (const char* bad : {"##Reporting: 0123456789ABCDEF0123456789abcdef", "##Reporting: 0123",
                            "##Reporting: ", "##Reporting: 0123456789abcdef0123456789abcdeg",
                            "##reporting: 0123456789abcdef0123456789abcdef00"}) {
        std::string bytes = kPlain;
        bytes.insert(bytes.find("a,a"), std::string(bad) + "\r\n");
        TournamentData refused;
        ASSERT_EQ(refused.Load(plain.Save()), LoadStatus::Ok);
        LoadReport report;
        EXPECT_EQ(refused.Load(bytes, &report), LoadStatus::BadEventLine) << bad;
        EXPECT_EQ(report.faultLine, 4) << bad;
    }
}

} // namespace
} // namespace tabry
