// Damaged tournament files through torva-cli: what the format lets a reader
// take is taken, as before, but every line read differently is named on
// standard error; check calls such a file unreadable; a damaged file is
// never written over with what could be read of it; and an event line that
// cannot be read refuses the file for every command.
#include "tests/cli/CliRunner.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::ReadAll;
using test::RunCli;
using test::TempDir;
using test::WriteAll;

// Four players, two rounds; row 0 beat row 3 in round 1, so a file that
// loses row 3 still names it. Player lines are lines 3 to 6.
const std::vector<std::string> kLines = {
    "4,2,1,0,60",
    "##Format: 1",
    "a,a,0,,a,,3,1,10,0,-1,0,0,0",
    "b,b,0,,b,,2,-1,-4,0,-1,0,0,0",
    "c,c,0,,c,,1,1,4,0,-1,0,0,0",
    "d,d,0,,d,,0,-1,-10,0,-1,0,0,0",
};

std::string FileOf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

struct Damage {
    const char* what;
    std::string bytes;
    // The same tournament as a faithful writer would have left it: what a
    // reader takes from the damaged bytes.
    std::string readAs;
    std::string warning; // "t.stg:LINE: ..." on standard error
};

std::vector<Damage> Damages()
{
    std::vector<std::string> fewer = kLines;
    fewer[3] = "b,b,0,,b,,2,-1,-4,0,-1,0,0"; // one field short
    std::vector<std::string> fewerAsRead = kLines;
    fewerAsRead[3] = "";

    std::vector<std::string> among = kLines;
    among.insert(among.begin() + 4, "##Withdrawn: 1,2");
    std::vector<std::string> amongAsRead = kLines;
    amongAsRead[4] = "";
    amongAsRead[5] = kLines[4];

    const std::vector<std::string> cut(kLines.begin(), kLines.begin() + 4);
    std::vector<std::string> cutAsRead = cut;
    cutAsRead.insert(cutAsRead.end(), {"", ""});

    std::vector<std::string> extra = kLines;
    extra.emplace_back("extra,line,after,the,table");

    return {
        {"a line one field short", FileOf(fewer), FileOf(fewerAsRead),
         "t.stg:4: player line has 13 fields, 14 expected; row 2 read as empty"},
        {"an event line among the players", FileOf(among), FileOf(amongAsRead),
         "t.stg:5: a '#' line among the player lines; row 3 read as empty"},
        {"a file cut after two rows", FileOf(cut), FileOf(cutAsRead),
         "t.stg:4: the file ends after 2 of 4 rows; rows 3 to 4 read as empty"},
        {"a line after the table", FileOf(extra), FileOf(kLines), "t.stg:7: 1 line after the last row not read"},
    };
}

struct DamagedFileTest : ::testing::Test {
    TempDir dir;
    std::string stg = (dir / "t.stg").string();
    std::string db = (dir / "none.db").string();
};

TEST_F(DamagedFileTest, EveryDamageIsNamedCheckRefusesItAndItIsNeverWrittenOver)
{
    for (const Damage& d : Damages()) {
        SCOPED_TRACE(d.what);
        WriteAll(stg, d.bytes);

        const auto check = RunCli(dir, {"--db", db, "check", stg});
        EXPECT_EQ(check.exitCode, 3);
        EXPECT_NE(check.err.find(d.warning), std::string::npos) << check.err;

        // As before, what can be read is sorted and written, now with the
        // warning; the bytes are those of the same tournament written whole.
        const std::string out = (dir / "sorted.stg").string();
        const auto sort = RunCli(dir, {"--db", db, "sort", "-o", out, stg});
        EXPECT_EQ(sort.exitCode, 0) << sort.err;
        EXPECT_NE(sort.err.find(d.warning), std::string::npos) << sort.err;
        WriteAll(dir / "whole.stg", d.readAs);
        const auto whole = RunCli(dir, {"--db", db, "sort", (dir / "whole.stg").string()});
        ASSERT_EQ(whole.exitCode, 0) << whole.err;
        EXPECT_TRUE(whole.err.empty()) << whole.err;
        EXPECT_EQ(ReadAll(out), whole.out);

        // Never over the damaged file itself, by any command.
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"sort", "-o", stg, stg},
              {"report", "--format", "text", "-o", stg, stg},
              {"pair", "--round", "2", "--seed", "1", "--trace-dir", dir.Path().string(), "-o", stg, stg}}) {
            std::vector<std::string> all = {"--db", db};
            all.insert(all.end(), args.begin(), args.end());
            const auto r = RunCli(dir, all);
            EXPECT_EQ(r.exitCode, 3) << args[0];
            EXPECT_NE(r.err.find("not written over"), std::string::npos) << r.err;
            EXPECT_EQ(ReadAll(stg), d.bytes) << args[0];
        }
    }
}

TEST_F(DamagedFileTest, AnEventLineThatCannotBeReadRefusesTheFileForEveryCommand)
{
    for (const char* line : {"##Withdrawn: 9,1", "##Withdrawn: 1,x", "##Bye: 32-32,pairing", "##Bye: 33-31,nobody"}) {
        SCOPED_TRACE(line);
        std::vector<std::string> lines = kLines;
        lines.insert(lines.begin() + 2, line);
        WriteAll(stg, FileOf(lines));
        const std::string out = (dir / "out").string();
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"check"},
              {"sort", "-o", out},
              {"report", "--format", "csv", "-o", out},
              {"pair", "--round", "2", "--seed", "1", "--trace-dir", dir.Path().string(), "-o", out}}) {
            std::vector<std::string> all = {"--db", db};
            all.insert(all.end(), args.begin(), args.end());
            all.push_back(stg);
            const auto r = RunCli(dir, all);
            EXPECT_EQ(r.exitCode, 3) << args[0];
            EXPECT_NE(r.err.find("t.stg: line 3: "), std::string::npos) << r.err;
            EXPECT_FALSE(std::filesystem::exists(out)) << args[0];
        }
    }
}

} // namespace
} // namespace tabry
