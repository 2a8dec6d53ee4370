// The Japanese explanations of a failed read or save: each must name what
// really stopped it, as found on the disk.

#include "app/FileErrors.h"
#include "widgets/FileErrorText.h"

#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tabry::app {
namespace {

using test::Q;
using test::Shown;

// The reason as the program shows it, from a real read or save.
QString ReadReason(const std::filesystem::path& path, std::uintmax_t limit = kMaxTournamentFileBytes)
{
    std::string bytes;
    FileError error;
    EXPECT_NE(ReadFileBytes(path, bytes, limit, &error), ReadStatus::Ok);
    return ui::FileProblemText(error);
}

QString SaveReason(const std::filesystem::path& path)
{
    FileError error;
    EXPECT_FALSE(CreateFolders(path.parent_path(), &error) && WriteFileAtomically(path, "x", &error));
    return ui::FileProblemText(error);
}

TEST(FileErrorsTest, TheDetailNamesWhatStoppedTheReadOrTheSave)
{
    test::TempDir dir;
    // The folder for a new file cannot be made: a file stands on the way.
    test::WriteAll(dir / "file", "x");
    EXPECT_EQ(SaveReason(dir / "file" / "sub" / "player.db"),
              QString::fromUtf8("保存先のフォルダ「%1」を作成できません。途中にフォルダではなくファイルがあります。")
                  .arg(Shown(dir / "file" / "sub")));

    test::WriteAll(dir / "huge.stg", "");
    std::filesystem::resize_file(dir / "huge.stg", kMaxTournamentFileBytes + 1);
    EXPECT_EQ(ReadReason(dir / "huge.stg"), QString::fromUtf8("ファイルが大きすぎます（上限 64 MB）。"));
    EXPECT_EQ(ReadReason(dir / "missing.stg"), QString::fromUtf8("ファイルが見つかりません。"));

#if defined(Q_OS_UNIX)
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadReason(dir / "fifo"), QString::fromUtf8("通常のファイルではありません（デバイスやパイプなど）。"));
    EXPECT_EQ(SaveReason(dir / "fifo"),
              QString::fromUtf8("通常のファイルではないため上書きできません（デバイスやパイプなど）。"));

    // A read-only folder (the superuser writes anywhere, so only for others):
    // the database's own folder cannot be made in it, and was not "missing".
    if (::geteuid() != 0) {
        std::filesystem::create_directory(dir / "ro");
        ASSERT_EQ(::chmod((dir / "ro").c_str(), 0555), 0);
        EXPECT_EQ(SaveReason(dir / "ro" / "TORVA" / "player.db"),
                  QString::fromUtf8("保存先のフォルダ「%1」を作成できません。書き込みが許可されていません。")
                      .arg(Shown(dir / "ro" / "TORVA")));
        EXPECT_EQ(SaveReason(dir / "ro" / "player.db"), QString::fromUtf8("書き込みが許可されていません。"));
        ::chmod((dir / "ro").c_str(), 0755);
    }
#endif
}

} // namespace
} // namespace tabry::app
