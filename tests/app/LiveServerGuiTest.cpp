// "ライブ公開(&L)..." in the running program: the window starts the server,
// the status bar and the window show the address (and its QR code), edits
// reach the open pages, and nothing listens after stop or exit.
#include "app/LiveServerController.h"
#include "app/LiveServerDialog.h"
#include "app/MainFrame.h"
#include "app/QrCodeWidget.h"
#include "app/TabryDoc.h"
#include "tests/app/AppTestSupport.h"
#include "tests/live/LiveFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace tabry::app {
namespace {

TEST(LiveServerGuiTest, TheWindowServesThePagesUntilStopOrExit)
{
    test::Sandbox box;
    test::WriteAll(box / "t.stg", test::StgBytes(8, 4, {"alice", "bob", "carol"}, "cup"));
    box.options.fileToOpen = test::Q(box / "t.stg");
    std::unique_ptr<CTabryApp> app = box.Start();
    ASSERT_NE(app, nullptr);
    CMainFrame* frame = app->MainFrame();
    auto* pane = frame->findChild<QLabel*>(QStringLiteral("liveStatus"));
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->isVisible());

    frame->Action(QStringLiteral("actionLivePublish"))->trigger();
    auto* dialog = frame->findChild<CLiveServerDialog*>(QStringLiteral("liveServerDialog"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    auto* address = dialog->findChild<QComboBox*>(QStringLiteral("liveAddress"));
    EXPECT_EQ(address->currentData().toString(), QString()) << "every address by default";
    address->setCurrentIndex(address->findData(QStringLiteral("127.0.0.1")));
    const int port = test::FreePort();
    dialog->findChild<QSpinBox*>(QStringLiteral("livePort"))->setValue(port);
    auto* startStop = dialog->findChild<QPushButton*>(QStringLiteral("liveStartStop"));
    QTest::mouseClick(startStop, Qt::LeftButton);

    const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    EXPECT_TRUE(pane->isVisible());
    EXPECT_TRUE(pane->text().contains(url)) << pane->text().toStdString();
    auto* urls = dialog->findChild<QListWidget*>(QStringLiteral("liveUrls"));
    ASSERT_EQ(urls->count(), 1);
    EXPECT_EQ(urls->item(0)->text(), url);
    EXPECT_EQ(dialog->QrCode()->Text(), url);
    EXPECT_FALSE(dialog->findChild<QSpinBox*>(QStringLiteral("livePort"))->isEnabled());

    const test::HttpReply first = test::HttpGet(url.toStdString() + "api/standings");
    ASSERT_EQ(first.status, 200);
    EXPECT_NE(first.body.find("\"alice\""), std::string::npos);
    // A command that changes the tournament publishes it.
    frame->Action(QStringLiteral("actionSort"))->trigger();
    EXPECT_EQ(test::HttpGet(url.toStdString() + "api/standings", {"If-None-Match: " + first.headers.at("etag")}).status,
              200);

    QTest::mouseClick(startStop, Qt::LeftButton);
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(urls->count(), 0);
    EXPECT_EQ(test::HttpGet(url.toStdString()).status, 0) << "stopped";

    QTest::mouseClick(startStop, Qt::LeftButton);
    ASSERT_EQ(test::HttpGet(url.toStdString()).status, 200);
    app->Document().SetModifiedFlag(false);
    frame->close();
    app->ExitInstance();
    app.reset();
    EXPECT_EQ(test::HttpGet(url.toStdString()).status, 0) << "the program's exit stops the server";
}

} // namespace
} // namespace tabry::app
