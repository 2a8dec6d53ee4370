#include "app/FileAssociation.h"
#include "app/DesktopFiles.h"

#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

namespace tabry::app {
namespace {

using test::Q;

TEST(FileAssociationTest, DesktopExecQuotesThePath)
{
    EXPECT_EQ(CFileAssociation::DesktopExecValue("/opt/torva/torva"), "\"/opt/torva/torva\" %f");
    EXPECT_EQ(CFileAssociation::DesktopExecValue("/a b/$x\"y"), "\"/a b/\\\\$x\\\\\"y\" %f");
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

TEST(FileAssociationTest, RegistrationMakesTheCheckSucceedForThisExecutableOnly)
{
    test::TempDir dir;
    const QString share = Q(dir / "share");
    const QString config = Q(dir / "config");
    const CFileAssociation assoc(Q(dir / "bin" / "torva"), share, config);
    EXPECT_FALSE(assoc.IsFileTypeRegistered());

    // Other programs' defaults in mimeapps.list survive.
    std::filesystem::create_directories(dir / "config");
    test::WriteAll(dir / "config" / "mimeapps.list",
                   "[Default Applications]\ntext/plain=editor.desktop;\n\n[Added Associations]\nx/y=z.desktop;\n");
    ASSERT_TRUE(assoc.RegisterFileType());
    EXPECT_TRUE(assoc.IsFileTypeRegistered());

    const std::string apps = test::ReadAll(dir / "config" / "mimeapps.list");
    EXPECT_NE(apps.find("text/plain=editor.desktop;"), std::string::npos);
    EXPECT_NE(apps.find("application/x-torva-stg=torva.desktop;"), std::string::npos);
    EXPECT_NE(apps.find("[Added Associations]\nx/y=z.desktop;"), std::string::npos);
    EXPECT_LT(apps.find("application/x-torva-stg"), apps.find("[Added Associations]"));

    const std::string entry = test::ReadAll(dir / "share" / "applications" / "torva.desktop");
    EXPECT_NE(entry.find("MimeType=application/x-torva-stg;"), std::string::npos);
    EXPECT_NE(entry.find("Exec=\"" + (dir / "bin" / "torva").string() + "\" %f"), std::string::npos);
    const std::string mime = test::ReadAll(dir / "share" / "mime" / "packages" / "torva-stg.xml");
    EXPECT_NE(mime.find("<glob pattern=\"*.stg\"/>"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "share" / "icons" / "hicolor" / "48x48" / "mimetypes"
                                        / "application-x-torva-stg.png"));

    // Another copy of the program elsewhere is not the registered one.
    EXPECT_FALSE(CFileAssociation(Q(dir / "other" / "torva"), share, config).IsFileTypeRegistered());
    // Registering twice keeps one default line.
    ASSERT_TRUE(assoc.RegisterFileType());
    const std::string twice = test::ReadAll(dir / "config" / "mimeapps.list");
    EXPECT_EQ(twice.find("application/x-torva-stg"), twice.rfind("application/x-torva-stg"));
}

TEST(FileAssociationTest, MissingPiecesCountAsNotRegistered)
{
    test::TempDir dir;
    const CFileAssociation assoc(Q(dir / "bin" / "torva"), Q(dir / "share"), Q(dir / "config"));
    ASSERT_TRUE(assoc.RegisterFileType());
    std::filesystem::remove(dir / "config" / "mimeapps.list");
    EXPECT_FALSE(assoc.IsFileTypeRegistered());
}

TEST(FileAssociationTest, ThePackagesFilesRegisterTheProgramTheDesktopStartsForEveryUser)
{
    // The files a package installs into the system's data folder, and the
    // program it installs, found on PATH by its bare name.
    test::TempDir dir;
    const QString system = Q(dir / "usr" / "share");
    QString error;
    ASSERT_TRUE(WriteDesktopFiles(system, &error)) << error.toStdString();
    for (int size : {16, 48, 256}) {
        const QString icon = QStringLiteral("%1/icons/hicolor/%2x%2/apps/torva.png").arg(system).arg(size);
        EXPECT_EQ(QImage(icon).size(), QSize(size, size)) << icon.toStdString();
    }
    const std::string entry = test::ReadAll(dir / "usr" / "share" / "applications" / "torva.desktop");
    EXPECT_NE(entry.find("\nExec=torva %f\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-torva-stg;\n"), std::string::npos);

    std::filesystem::create_directories(dir / "usr" / "bin");
    test::WriteAll(dir / "usr" / "bin" / "torva", "#!/bin/sh\n");
    std::filesystem::permissions(dir / "usr" / "bin" / "torva", std::filesystem::perms::owner_all);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(Q(dir / "usr" / "bin")) + ':' + oldPath);
    const QString share = Q(dir / "home" / "share");
    const QString config = Q(dir / "home" / "config");
    EXPECT_TRUE(CFileAssociation(Q(dir / "usr" / "bin" / "torva"), share, config, {system}).IsFileTypeRegistered());
    // Another copy is not the one the system's entry starts, and a system
    // folder without the type registers nothing.
    EXPECT_FALSE(CFileAssociation(Q(dir / "other" / "torva"), share, config, {system}).IsFileTypeRegistered());
    std::filesystem::remove(dir / "usr" / "share" / "mime" / "packages" / "torva-stg.xml");
    EXPECT_FALSE(CFileAssociation(Q(dir / "usr" / "bin" / "torva"), share, config, {system}).IsFileTypeRegistered());
    qputenv("PATH", oldPath);
    EXPECT_FALSE(std::filesystem::exists(dir / "home")); // nothing written for the user
}

#endif

} // namespace
} // namespace tabry::app
