// A whole small tournament typed at the desk with the keyboard alone, the
// way an organiser enters it: the players by the first letters of their
// input names, every game as its score and the opponent's first letters,
// then sorted and saved. The saved file is compared byte for byte with the
// one written out by hand below. And the README's pictures, taken by the
// program itself from a running window.

#include "app/MainFrame.h"
#include "app/Screenshots.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "grid/PlayerPopup.h"
#include "grid/ResultGrid.h"
#include "grid/ResultPopup.h"
#include "grid/TabryView.h"
#include "tests/app/AppTestSupport.h"
#include "tests/guisupport/DialogDriver.h"
#include "tests/guisupport/GuiTest.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTest>

namespace tabry::app {
namespace {

using test::CrLf;
using test::Q;
using test::S;

class EndToEndTest : public testing::Test {
protected:
    test::Sandbox box;
    std::unique_ptr<CTabryApp> app;

    void SetUp() override
    {
        // long name, short name, input name, grade, residence, member number
        test::WriteAll(box.bin / "player.db",
                       CrLf({S("青木 一郎,青木,aoki,1,東京,1001"), S("伊藤 花子,伊藤,ito,-1,大阪,1002"),
                             S("上田 健,上田,ueda,2,京都,1003"), S("江藤 誠,江藤,eto,0,,1004"),
                             S("大野 翼,大野,ono,3,北海道,1005")}));
        // Five empty rows, three rounds, games shown as disc differences,
        // standings by disc difference.
        test::WriteAll(box / "cup.stg",
                       CrLf({"5,3,1,0,60", "##Format: 1", S("##Tournament: 練習会"), "", "", "", "", ""}));
        box.options.fileToOpen = Q(box / "cup.stg");
        app = box.Start();
        ASSERT_NE(app, nullptr);
    }
    void TearDown() override
    {
        EXPECT_FALSE(test::DropPendingModalActions());
        if (app) {
            app->Document().SetModifiedFlag(false);
            app->MainFrame()->close();
            app->ExitInstance();
        }
    }

    grid::CResultGrid* Grid() const { return app->View()->Grid(); }
    QWidget* Editor() const
    {
        if (auto* p = dynamic_cast<grid::CPlayerPopup*>(Grid()->PlayerPopup()))
            return p;
        return dynamic_cast<grid::CResultPopup*>(Grid()->ResultPopup());
    }
    // Keys as the organiser presses them: to the grid while no editor is
    // open, else to the editor's focused field.
    void Keys(const QString& text)
    {
        for (const QChar c : text) {
            QWidget* editor = Editor();
            test::TypeText(editor != nullptr ? editor->focusWidget() : Grid(), QString(c));
        }
    }
    void Press(Qt::Key key)
    {
        QWidget* editor = Editor();
        QTest::keyClick(editor != nullptr ? editor->focusWidget() : static_cast<QWidget*>(Grid()), key);
        QApplication::processEvents(); // the editors' done messages
    }
    // A player cell: the first letters and Enter.
    void Player(const char* letters)
    {
        Keys(QString::fromLatin1(letters));
        Press(Qt::Key_Return);
    }
    // A round cell: the score (which opens the editor in its score field),
    // Tab over the result mark to the name, the opponent's letters, Enter.
    void Game(const char* score, const char* opponent)
    {
        Keys(QString::fromLatin1(score));
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        Keys(QString::fromLatin1(opponent));
        Press(Qt::Key_Return);
    }
    grid::GridCell Cur() const { return {Grid()->CurCol(), Grid()->CurRow()}; }
};

TEST_F(EndToEndTest, ATournamentTypedSortedAndSavedGivesTheExpectedFile)
{
    Player("a");
    Player("i");
    Player("u");
    Player("e");
    Player("o"); // the last row: the cursor stays
    ASSERT_EQ(Cur(), (grid::GridCell{0, 4}));

    Press(Qt::Key_PageUp);
    Press(Qt::Key_Right);
    // 青木: beats 伊藤 by 16, loses to 上田 by 6 and to 大野 by 2.
    Game("+16", "ito");
    Game("-6", "ue");
    Game("-2", "o");
    ASSERT_EQ(Cur(), (grid::GridCell{1, 1})); // wrapped to the next row
    // 伊藤: round 1 is there already; loses to 大野 by 10, beats 江藤 by 8.
    Press(Qt::Key_Tab);
    Game("-10", "ono");
    Game("8", "e");
    // 上田: a draw with 江藤, round 2 is there, the bye in round 3.
    Game("0", "eto");
    Press(Qt::Key_Tab);
    Game("+64", "pass");
    // 江藤: the bye in round 2; 大野: the bye in round 1.
    Press(Qt::Key_Tab);
    Game("+64", "pa");
    Press(Qt::Key_Tab);
    Game("+64", "pass");
    EXPECT_EQ(Cur(), (grid::GridCell{2, 4}));
    EXPECT_FALSE(Grid()->HasPopup());
    EXPECT_TRUE(test::Prompts().Events().empty());
    ASSERT_TRUE(app->Document().IsModified());

    app->MainFrame()->Action("actionSort")->trigger();
    app->MainFrame()->Action("actionFileSave")->trigger();
    EXPECT_FALSE(app->Document().IsModified());

    // 大野 6 points, 上田 5, 江藤 3, then 青木 and 伊藤 with 2 points each,
    // 青木 ahead on discs (+8 against -18). Opponents are the new rows.
    const std::string expected = CrLf({
        "5,3,1,0,60",
        "##Format: 1",
        S("##Tournament: 練習会"),
        S("大野 翼,大野,3,北海道,ono,1005") + ",-2,1,64,0,4,1,10,0,3,1,2,0",
        S("上田 健,上田,2,京都,ueda,1003") + ",2,0,0,0,3,1,6,0,-2,1,64,0",
        S("江藤 誠,江藤,0,,eto,1004") + ",1,0,0,0,-2,1,64,0,4,-1,-8,0",
        S("青木 一郎,青木,1,東京,aoki,1001") + ",4,1,16,0,1,-1,-6,0,0,-1,-2,0",
        S("伊藤 花子,伊藤,-1,大阪,ito,1002") + ",3,-1,-16,0,0,-1,-10,0,2,1,8,0",
    });
    EXPECT_EQ(test::ReadAll(box / "cup.stg"), expected);
}

} // namespace
} // namespace tabry::app

namespace tabry::app {
namespace {

// The README's pictures come from the program itself.
TEST(ScreenshotsTest, ThePicturesAreWrittenAndTheTournamentStaysAsItWas)
{
    test::Sandbox box;
    test::WriteAll(box / "t.stg", test::StgBytes(6, 6, {"a", "b", "c"}, "cup"));
    box.options.fileToOpen = Q(box / "t.stg");
    auto app = box.Start();
    ASSERT_NE(app, nullptr);
    const std::string before = app->Data().Save();
    QString error;
    ASSERT_TRUE(WriteScreenshots(*app, Q(box / "shots"), &error)) << error.toStdString();
    for (const char* name : {"main-window.png", "result-popup.png"}) {
        const QImage image(Q(box / "shots" / name));
        EXPECT_FALSE(image.isNull()) << name;
        EXPECT_GT(image.width(), 600) << name;
    }
    EXPECT_FALSE(app->View()->Grid()->HasPopup());
    EXPECT_EQ(app->Data().Save(), before);
    EXPECT_FALSE(app->Document().IsModified());
    app->MainFrame()->close();
    app->ExitInstance();
}

} // namespace
} // namespace tabry::app
