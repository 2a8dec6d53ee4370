#include "text/FileIo.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace tabry {
namespace {

using test::ReadAll;
using test::TempDir;
using test::WriteAll;

TEST(FileIoTest, AtomicWriteReplacesTheFileAndLeavesNoTemporary)
{
    TempDir dir;
    const auto file = dir / "t.stg";
    WriteAll(file, "old");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, "new contents\r\n", &error)) << error;
    EXPECT_EQ(ReadAll(file), "new contents\r\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(FileIoTest, FailedWriteKeepsTheOldFileAndSaysWhy)
{
    TempDir dir;
    const auto missingFolder = dir / "no-such-folder" / "t.stg";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(missingFolder, "x", &error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos);

    // Writing over a folder cannot replace it: the folder stays.
    const auto folder = dir / "folder";
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(WriteFileAtomically(folder, "x", &error));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(FileIoTest, ReadReportsMissingFilesAndFolders)
{
    TempDir dir;
    std::string bytes = "stale";
    std::string error;
    EXPECT_FALSE(ReadFileBytes(dir / "missing", bytes, &error));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(ReadFileBytes(dir.Path(), bytes, &error));

    std::string big(200000, 'x');
    big[12345] = '\0';
    WriteAll(dir / "big", big);
    ASSERT_TRUE(ReadFileBytes(dir / "big", bytes, &error));
    EXPECT_EQ(bytes, big);
}

TEST(FileIoTest, ExecutablePathNamesThisTestProgram)
{
    const auto exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(std::filesystem::exists(exe));
}

} // namespace
} // namespace tabry
