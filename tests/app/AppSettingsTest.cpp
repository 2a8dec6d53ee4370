#include "app/AppSettings.h"
#include "app/DatabaseLocation.h"
#include "app/ProgramLayout.h"

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

TEST(DatabaseLocationTest, AnInstalledProgramKeepsItsPlayersInTheUsersFolderEvenWhenItCouldWriteBesideItself)
{
    // <prefix>/bin/torva beside <prefix>/share/torva: the package's layout,
    // here in a writable folder as when a test unpacks the package or root
    // runs the program.
    test::TempDir dir;
    std::filesystem::create_directories(dir / "usr" / "bin");
    std::filesystem::create_directories(dir / "usr" / "share" / "torva" / "manual");
    const QString exeDir = Q(dir / "usr" / "bin");
    const QString shared = Q(dir / "usr" / "share" / "torva");
    const QString user = Q(dir / "user");

    const ProgramLayout layout = DetectProgramLayout(exeDir);
    EXPECT_TRUE(layout.installed);
    EXPECT_EQ(layout.dataDirectory, shared);
    EXPECT_EQ(ManualFrontPage(layout), QString()); // not there yet
    test::WriteAll(dir / "usr" / "share" / "torva" / "manual" / "index.html", "<html></html>");
    EXPECT_EQ(ManualFrontPage(layout), QDir(shared).filePath("manual/index.html"));

    DatabasePaths p = ResolveDatabasePaths(exeDir, user, true);
    EXPECT_EQ(p.save, QDir(user).filePath("player.db"));
    EXPECT_EQ(p.load, QDir(shared).filePath("player.db")); // what a distributor may ship; missing: empty

    std::filesystem::create_directories(dir / "user");
    test::WriteAll(dir / "user" / "player.db", "");
    p = ResolveDatabasePaths(exeDir, user, true);
    EXPECT_EQ(p.load, p.save);

    // The same share folder beside a folder not named "bin" is a program
    // folder, whose database and manual are beside the executable.
    std::filesystem::create_directories(dir / "usr" / "app");
    const ProgramLayout folder = DetectProgramLayout(Q(dir / "usr" / "app"));
    EXPECT_FALSE(folder.installed);
    EXPECT_EQ(folder.dataDirectory, Q(dir / "usr" / "app"));
    EXPECT_EQ(ResolveDatabasePaths(Q(dir / "usr" / "app"), user, true).save,
              QDir(Q(dir / "usr" / "app")).filePath("player.db"));
}

} // namespace
} // namespace tabry::app
