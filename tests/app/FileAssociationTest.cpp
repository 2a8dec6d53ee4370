#include "app/FileAssociation.h"

#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

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
    EXPECT_TRUE(std::filesystem::exists(dir / "share" / "icons" / "hicolor" / "48x48" / "mimetypes" /
                                        "application-x-torva-stg.png"));

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

#endif

} // namespace
} // namespace tabry::app
