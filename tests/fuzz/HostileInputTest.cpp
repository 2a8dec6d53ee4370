// Feeds the file readers the kind of bytes a damaged disk, a wrong file or a
// hand edit produces. Under the sanitizer build any overflow, leak or
// undefined behaviour fails the test; the targets' own checks abort on a
// broken round trip.
#include "fuzz/targets/FuzzTargets.h"

#include "core/TournamentData.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>

namespace tabry {
namespace {

void Feed(const std::string& bytes)
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
    fuzz::StgReader(p, bytes.size());
    fuzz::PlayerDbReader(p, bytes.size());
    fuzz::FieldSplit(p, bytes.size());
}

std::string PlayerLine(int rounds, const std::string& name)
{
    std::string line = name + ",s,1,r,i,m";
    for (int j = 0; j < rounds; ++j)
        line += ",0,1,2,3";
    return line;
}

// Every cut of a file: read with nothing lost, refused, or read with a
// finding that names what was lost. The only cut read short without a word
// ends whole before the first player line, where nothing read names a row.
TEST(HostileInputTest, TruncatedFilesAreRefusedOrNamedNeverReadShortSilently)
{
    const std::string details = "3,4,1,0,60\r\n##Format: 1\r\n##Tournament: Cup\r\n";
    std::string file = details;
    // Row 0 plays row 2 in every round, so a cut that keeps row 0 names
    // the rows it loses.
    file += "p0,s,1,r,i,m,2,1,2,0,2,1,2,0,2,1,2,0,2,1,2,0\r\n";
    file += PlayerLine(4, "p1") + "\r\n";
    file += "p2,s,1,r,i,m,0,-1,-2,0,0,-1,-2,0,0,-1,-2,0,0,-1,-2,0\r\n";
    for (size_t cut = 0; cut <= file.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::string bytes = file.substr(0, cut);
        Feed(bytes);
        TournamentData d;
        LoadReport report;
        if (d.Load(bytes, &report) != LoadStatus::Ok)
            continue;
        int players = 0;
        for (int r = 0; r < d.table.PlayerCount(); ++r)
            players += d.table.Entry(r).IsEmpty() ? 0 : 1;
        if (players == 3 && d.Save() == file) {
            EXPECT_TRUE(report.findings.empty()); // whole, or only the last line break lost
        } else if (report.findings.empty()) {
            EXPECT_EQ(players, 0);
            EXPECT_EQ(bytes.back(), '\n');
            EXPECT_LE(cut, details.size());
        }
    }
}

TEST(HostileInputTest, HugeFieldsAndLines)
{
    const std::string huge(std::size_t{10} * 1024 * 1024, 'x');
    Feed("1,1,1,0,60\r\n##Format: 1\r\n" + huge + ",s,1,r,i,m,0,1,2,3\r\n");
    Feed("1,1,1,0,60\r\n##Tournament: " + huge + "\r\n");
    Feed(huge);
    Feed(huge + "," + huge + ",a,1\r\n");
    std::string manyFields = "1,1,1,0,60\r\n##Format: 1\r\nn";
    for (int i = 0; i < 200000; ++i)
        manyFields += ",9";
    Feed(manyFields);
}

TEST(HostileInputTest, NulBytesAndInvalidShiftJis)
{
    Feed(std::string("2,1,1,0,60\r\n##Format: 1\r\na\0b,s,1,,,,1,1,2,0\r\n", 44));
    Feed(std::string("\0\0\0\0", 4));
    Feed("2,1,1,0,60\r\n##Format: 1\r\n\x82,\x81\x81\x81,1,\xFF\xFE,\x80,\xA0,1,1,2,0\r\n\x9F\r\n");
    std::string lone;
    for (int b = 0x80; b < 0x100; ++b)
        lone += static_cast<char>(b);
    Feed(lone);
    Feed("1,1,1,0,60\r\n" + lone + "\r\n");
}

TEST(HostileInputTest, ExtremeNumbers)
{
    Feed("512,128,99999999999,-99999999999,2147483648\r\n");
    Feed("-1,-1,1,0,60\r\n");
    Feed("2,1,1,0,60\r\n##Format: 1\r\n##Date: 99999999999/-99999999999/0\r\n"
         "a,a,-2147483649,,,,-2147483648,2147483647,99999,-99999\r\n"
         "b,b,2147483648,,,,1,-99999999999,-1,0\r\n");
    // The largest table, full of games that name every kind of value.
    std::string big = "512,128,1,7,999\r\n##Format: 1\r\n";
    std::mt19937 rng(7);
    for (int r = 0; r < 512; ++r) {
        big += "p" + std::to_string(r) + ",s,0,,,";
        for (int j = 0; j < 128; ++j)
            big += "," + std::to_string(static_cast<int>(rng() % 520) - 4) + ","
                   + std::to_string(static_cast<int>(rng() % 9) - 4) + ","
                   + std::to_string(static_cast<int>(rng() % 400) - 200) + ",0";
        big += "\r\n";
    }
    Feed(big);
}

TEST(HostileInputTest, RandomBytesAndMutatedFiles)
{
    std::mt19937 rng(42);
    const std::string seed = "4,2,1,3,60\r\n##Format: 1\r\n##Date: 2020/1/2\r\n"
                             "a,a,1,x,i,m,1,1,4,0,-2,1,0,0\r\nb,b,2,y,j,n,0,-1,-4,0,2,0,0,0\r\n"
                             "c,c,3,z,k,o,-1,0,0,0,1,0,0,0\r\n\r\n";
    for (int i = 0; i < 3000; ++i) {
        std::string s = seed;
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const size_t pos = rng() % (s.size() + 1);
            switch (rng() % 4) {
            case 0:
                if (pos < s.size())
                    s[pos] = static_cast<char>(rng());
                break;
            case 1:
                s.insert(pos, 1, "#,%\r\n\0-9"[rng() % 9]);
                break;
            case 2:
                if (pos < s.size())
                    s.erase(pos, 1 + rng() % 4);
                break;
            default:
                s.insert(pos, s.substr(rng() % s.size(), rng() % 20));
            }
        }
        Feed(s);
    }
    for (int i = 0; i < 300; ++i) {
        std::string s(rng() % 300, '\0');
        for (char& c : s)
            c = static_cast<char>(rng());
        Feed(s);
    }
}

} // namespace
} // namespace tabry
