#include "text/FileIo.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tabry {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;
using test::WriteAll;

// Names in `dir` other than `keep`: what a save left lying about.
std::vector<std::string> Litter(const fs::path& dir, const std::vector<std::string>& keep)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = PathText(e.path().filename());
        if (std::find(keep.begin(), keep.end(), name) == keep.end())
            names.push_back(name);
    }
    return names;
}

TEST(FileIoTest, ReadTakesOnlyRegularFilesWithinTheBoundAndAFailedWriteSaysWhy)
{
    TempDir dir;
    std::string bytes = "stale";
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(dir / "no-such-folder" / "t.stg", "x", &error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos);
    // Writing over a folder cannot replace it: the folder stays.
    fs::create_directory(dir / "folder");
    EXPECT_FALSE(WriteFileAtomically(dir / "folder", "x", &error));
    EXPECT_TRUE(fs::is_directory(dir / "folder"));

    EXPECT_EQ(ReadFileBytes(dir / "missing", bytes, 100, &error), ReadStatus::Missing);
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(dir.Path(), bytes, 100, &error), ReadStatus::NotRegularFile);

    std::string big(200000, 'x');
    big[12345] = '\0';
    WriteAll(dir / "big", big);
    ASSERT_EQ(ReadFileBytes(dir / "big", bytes, big.size(), &error), ReadStatus::Ok) << error;
    EXPECT_EQ(bytes, big);
    EXPECT_EQ(ReadFileBytes(dir / "big", bytes, big.size() - 1, &error), ReadStatus::TooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_NE(error.find("larger than 199999 bytes"), std::string::npos) << error;

    // Endless or never-ending inputs are refused before a byte is read: a
    // pipe without a writer would block a plain open, a device never ends.
#if defined(_WIN32)
    EXPECT_EQ(ReadFileBytes("NUL", bytes, 100, &error), ReadStatus::NotRegularFile) << error;
#else
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadFileBytes(dir / "fifo", bytes, 100, &error), ReadStatus::NotRegularFile);
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_EQ(ReadFileBytes("/dev/zero", bytes, 1u << 30, &error), ReadStatus::NotRegularFile);
    EXPECT_TRUE(bytes.empty());
#endif
}

TEST(FileIoTest, JapaneseNamesAreSavedReadAndNamedInMessages)
{
    // On Windows the names live as UTF-16, beyond the ANSI code page of a
    // Western system; the messages give them as UTF-8.
    TempDir dir;
    const auto folder = dir.Path() / PathFromUtf8("大会データ");
    fs::create_directory(folder);
    const auto file = folder / PathFromUtf8("春季大会（決勝）.stg");
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, "1,1\r\n", &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(file, "2,2\r\n", &error)) << error;
    std::string bytes;
    ASSERT_EQ(ReadFileBytes(file, bytes, 100, &error), ReadStatus::Ok) << error;
    EXPECT_EQ(bytes, "2,2\r\n");
    EXPECT_EQ(Litter(folder, {}), std::vector<std::string>{"春季大会（決勝）.stg"});
    EXPECT_EQ(ReadFileBytes(folder / PathFromUtf8("無い.stg"), bytes, 100, &error), ReadStatus::Missing);
    EXPECT_NE(error.find("大会データ"), std::string::npos) << error;
    EXPECT_NE(error.find("無い.stg"), std::string::npos) << error;
    EXPECT_EQ(PathFromUtf8(PathText(file)), file);
}

TEST(FileIoTest, ExecutablePathNamesThisTestProgram)
{
    const auto exe = ExecutablePath();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(std::filesystem::exists(exe));
}

#if defined(_WIN32)

TEST(FileIoWindowsTest, AFileHeldOpenElsewhereIsReportedWholeAndSavedOnceLetGo)
{
    TempDir dir;
    const auto file = dir / "t.stg";
    WriteAll(file, "old");
    // As an editor or a viewer holds a file: it may be read and written, but
    // not deleted or renamed over. (The sharing rules are the same for a
    // handle of this process as for another program's.)
    const auto hold = [&] {
        return CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    };
    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(file, "new", &error));
    EXPECT_NE(error.find("open in another program"), std::string::npos) << error;
    CloseHandle(held);
    EXPECT_EQ(ReadAll(file), "old");
    EXPECT_EQ(Litter(dir.Path(), {"t.stg"}), std::vector<std::string>{});

    // Let go while the save is still trying: the save goes through.
    held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        Sleep(300);
        CloseHandle(held);
    });
    EXPECT_TRUE(WriteFileAtomically(file, "new", &error)) << error;
    release.join();
    EXPECT_EQ(ReadAll(file), "new");
}

TEST(FileIoWindowsTest, AttributesStayAndDevicesLeftoversAndReadOnlyFilesAreHandled)
{
    TempDir dir;
    const auto file = dir / "t.stg";
    WriteAll(file, "old");
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN));
    // A leftover of a killed save goes; a running save's file, open without
    // sharing, stays.
    WriteAll(dir / "t.stg.tmp0123abcd", "left behind");
    WriteAll(dir / "t.stg.tmp89abcdef", "being written");
    const HANDLE running =
        CreateFileW((dir / "t.stg.tmp89abcdef").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(running, INVALID_HANDLE_VALUE);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, "new", &error)) << error;
    CloseHandle(running);
    EXPECT_EQ(ReadAll(file), "new");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(Litter(dir.Path(), {"t.stg"}), std::vector<std::string>{"t.stg.tmp89abcdef"});

    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteFileAtomically(file, "newer", &error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadAll(file), "new");

    EXPECT_FALSE(WriteFileAtomically("NUL", "x", &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

#else

mode_t ModeOf(const fs::path& path)
{
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
}

TEST(FileIoPosixTest, SavesThroughLinksKeepOwnerAndModeAndLeaveOtherKindsAlone)
{
    TempDir dir;
    std::string error;
    // A chain: an absolute link to a relative link to the file.
    fs::create_directory(dir / "real");
    const auto file = dir / "real" / "t.stg";
    WriteAll(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    fs::create_symlink("real/t.stg", dir / "relative");
    fs::create_symlink(dir / "relative", dir / "absolute");
    ASSERT_TRUE(WriteFileAtomically(dir / "absolute", "new", &error)) << error;
    EXPECT_EQ(ReadAll(file), "new");
    EXPECT_TRUE(fs::is_symlink(dir / "absolute"));
    EXPECT_TRUE(fs::is_symlink(dir / "relative"));
    EXPECT_EQ(ModeOf(file), 0600u);
    EXPECT_EQ(Litter(dir / "real", {"t.stg"}), std::vector<std::string>{});
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(file, "newer", &error)) << error;
    EXPECT_EQ(ModeOf(file), 0640u);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), 4321, 8765), 0);
        ASSERT_TRUE(WriteFileAtomically(file, "newest", &error)) << error;
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 8765u);
    }

    // A link to nothing: the file it names is made, the link stays.
    fs::create_symlink("made.stg", dir / "dangling");
    ASSERT_TRUE(WriteFileAtomically(dir / "dangling", "made", &error)) << error;
    EXPECT_EQ(ReadAll(dir / "made.stg"), "made");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    // A loop of links names no file.
    fs::create_symlink("loop2", dir / "loop1");
    fs::create_symlink("loop1", dir / "loop2");
    EXPECT_FALSE(WriteFileAtomically(dir / "loop1", "x", &error));
    EXPECT_NE(error.find("loop1"), std::string::npos) << error;

    // Hard links: the saved name gets a new file, the other keeps the old bytes.
    WriteAll(dir / "h1", "old");
    fs::create_hard_link(dir / "h1", dir / "h2");
    ASSERT_TRUE(WriteFileAtomically(dir / "h1", "new", &error)) << error;
    EXPECT_EQ(ReadAll(dir / "h1"), "new");
    EXPECT_EQ(ReadAll(dir / "h2"), "old");

    // A pipe (as a device would be) is refused and stays what it was.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(WriteFileAtomically(dir / "fifo", "x", &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    if (::geteuid() == 0) {
        ASSERT_EQ(::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        EXPECT_FALSE(WriteFileAtomically(dir / "null", "x", &error));
        EXPECT_TRUE(fs::is_character_file(dir / "null"));
    }
}

TEST(FileIoPosixTest, LeftoversOfKilledSavesGoWhileARunningSaveAndOtherFilesStay)
{
    TempDir dir;
    const std::vector<std::string> stay = {"t.stg", "t.stg.tmp89abcdef", "t.stg.tmp0123abcg", "u.stg.tmp0123abcd",
                                           "t.stg.tmp0123abc"};
    for (const std::string& name : stay)
        WriteAll(dir / name, "x");
    WriteAll(dir / "t.stg.tmp0123abcd", "left by a killed save");
    // A save in progress elsewhere holds a lock on its temporary file.
    const int running = ::open((dir / "t.stg.tmp89abcdef").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(running, 0);
    ASSERT_EQ(::flock(running, LOCK_EX), 0);
    std::string error;
    EXPECT_TRUE(WriteFileAtomically(dir / "t.stg", "saved", &error)) << error;
    ::close(running);
    std::vector<std::string> left = Litter(dir.Path(), {});
    std::sort(left.begin(), left.end());
    std::vector<std::string> expected = stay;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(left, expected);
}

// Runs `body` in a child process and returns its exit code (-1: it died).
template <class Body>
int InChild(Body body)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(FileIoPosixTest, AFullDiskKeepsTheOldFileAndLeavesNoTemporary)
{
    TempDir dir;
    const auto file = dir / "t.stg";
    WriteAll(file, "old");
    // The file size limit fails a write as a full disk does, and needs no
    // privileges; the signal it raises is ignored, as a full disk raises none.
    const int code = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string error;
        if (WriteFileAtomically(file, std::string(100000, 'x'), &error))
            return 1;
        return error.find(file.string()) != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadAll(file), "old");
    EXPECT_EQ(Litter(dir.Path(), {"t.stg"}), std::vector<std::string>{});
}

TEST(FileIoPosixTest, SavesKilledAtRandomMomentsLeaveOldOrNewBytesAndNoLitterAfterTheNextSave)
{
    TempDir dir;
    const auto file = dir / "t.stg";
    // Versions of different lengths and bytes: a torn file matches none.
    std::vector<std::string> versions;
    for (int v = 0; v < 4; ++v)
        versions.emplace_back(static_cast<size_t>(64 * 1024 * (v + 1)), static_cast<char>('a' + v));
    WriteAll(file, versions[0]);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    int killsThatLeftATemporary = 0;
    for (int kill = 0; kill < 200; ++kill) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(30); // never outlive a parent that failed to kill
            for (size_t i = 1;; ++i)
                WriteFileAtomically(file, versions[i % versions.size()]);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 15000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string now = ReadAll(file);
        ASSERT_NE(std::find(versions.begin(), versions.end(), now), versions.end())
            << "a torn file of " << now.size() << " bytes after kill " << kill;
        // Each save clears what the one before it left: never more than one.
        const auto litter = Litter(dir.Path(), {"t.stg"});
        ASSERT_LE(litter.size(), 1u) << "after kill " << kill;
        killsThatLeftATemporary += litter.empty() ? 0 : 1;
    }
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, "final", &error)) << error;
    EXPECT_EQ(ReadAll(file), "final");
    EXPECT_EQ(Litter(dir.Path(), {"t.stg"}), std::vector<std::string>{});
    RecordProperty("kills_that_left_a_temporary_file", killsThatLeftATemporary);
}

#endif

} // namespace
} // namespace tabry
