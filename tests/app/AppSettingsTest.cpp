#include "app/AppSettings.h"
#include "app/DatabaseLocation.h"

#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>

namespace tabry::app {
namespace {

using test::Q;

TEST(AppSettingsTest, RecentFilesKeepFourMostRecentFirstWithoutDuplicates)
{
    test::TempDir dir;
    const QString ini = Q(dir / "s.ini");
    {
        CAppSettings s(ini);
        EXPECT_TRUE(s.RecentFiles().isEmpty());
        for (const char* name : {"a.stg", "b.stg", "c.stg", "d.stg", "e.stg"})
            s.AddRecentFile(Q(dir / name));
        s.AddRecentFile(Q(dir / "c.stg")); // again: to the front, once
        EXPECT_TRUE(s.Sync());
    }
    CAppSettings again(ini);
    const QStringList files = again.RecentFiles();
    ASSERT_EQ(files.size(), 4);
    EXPECT_TRUE(SamePath(files[0], Q(dir / "c.stg")));
    EXPECT_TRUE(SamePath(files[1], Q(dir / "e.stg")));
    EXPECT_TRUE(SamePath(files[2], Q(dir / "d.stg")));
    EXPECT_TRUE(SamePath(files[3], Q(dir / "b.stg")));
    again.RemoveRecentFile(Q(dir / "d.stg"));
    EXPECT_EQ(again.RecentFiles().size(), 3);
}

TEST(AppSettingsTest, StoresUnderTheRecentFileListKeys)
{
    test::TempDir dir;
    const QString ini = Q(dir / "s.ini");
    {
        CAppSettings s(ini);
        s.AddRecentFile(Q(dir / "x.stg"));
        s.SetLastDirectory("/somewhere");
        s.Sync();
    }
    QSettings raw(ini, QSettings::IniFormat);
    EXPECT_TRUE(SamePath(raw.value("Recent File List/File1").toString(), Q(dir / "x.stg")));
    EXPECT_EQ(CAppSettings(ini).LastDirectory(), "/somewhere");
}

TEST(DatabaseLocationTest, BesideTheExecutableUnlessThatFolderIsReadOnly)
{
    test::TempDir dir;
    const QString exeDir = Q(dir / "bin");
    const QString user = Q(dir / "user");
    DatabasePaths p = ResolveDatabasePaths(exeDir, user, true);
    EXPECT_EQ(p.load, QDir(exeDir).filePath("player.db"));
    EXPECT_EQ(p.save, p.load);

    p = ResolveDatabasePaths(exeDir, user, false);
    EXPECT_EQ(p.load, QDir(exeDir).filePath("player.db")); // no own copy yet
    EXPECT_EQ(p.save, QDir(user).filePath("player.db"));

    std::filesystem::create_directories(dir / "user");
    test::WriteAll(dir / "user" / "player.db", "");
    p = ResolveDatabasePaths(exeDir, user, false);
    EXPECT_EQ(p.load, QDir(user).filePath("player.db"));
}

} // namespace
} // namespace tabry::app
