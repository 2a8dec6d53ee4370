#include "tests/grid/PopupFixture.h"

#include "tests/guisupport/DialogDriver.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>

namespace tabry::test {

TournamentData MakeRoster()
{
    TournamentData data;
    data.table.Clear();
    data.table.Resize(8, 3);
    struct Person {
        const char* longName;
        const char* shortName;
        const char* input;
        const char* member;
    };
    static const Person people[] = {
        {"青木一郎", "青木", "aoki", "1001"},      {"伊藤", "伊藤", "ito", "1002"},
        {"上田", "上田", "ueda", "1003"},          {"田中", "田中", "tanaka", "1004"},
        {"田中一郎", "田中一", "tanakai", "1005"}, {"太田", "太田", "ota", "1006"},
        {"高木", "高木", "takagi", "2001"},
    };
    for (const Person& p : people)
        data.players.Add(S(p.longName), p.input, S(p.shortName), S("東京"), 1, p.member);
    const int rows[] = {1, 2, 5, 4, 3};
    for (int row = 0; row < 5; ++row)
        data.table.Entry(row).playerIndex = rows[row];
    data.table.ComputeAll();
    return data;
}

void PopupFixture::SetUp()
{
    grid = std::make_unique<grid::CResultGrid>(editor);
    grid->resize(700, 420);
    grid->show();
    grid->activateWindow();
    QApplication::processEvents();
    edits = std::make_unique<EditCounter>(editor);
}

void PopupFixture::TearDown()
{
    EXPECT_FALSE(DropPendingModalActions()) << "a dialog the test waited for never opened";
    grid.reset();
}

grid::CPlayerPopup* PopupFixture::PlayerPopup() const
{
    return dynamic_cast<grid::CPlayerPopup*>(grid->PlayerPopup());
}

grid::CResultPopup* PopupFixture::ResultPopup() const
{
    return dynamic_cast<grid::CResultPopup*>(grid->ResultPopup());
}

void PopupFixture::Settle()
{
    QApplication::processEvents();
}

void PopupFixture::Type(const QString& text)
{
    if (text.isEmpty())
        return;
    TypeText(grid.get(), text.left(1));
    QWidget* focused = nullptr;
    if (grid::CPlayerPopup* p = PlayerPopup())
        focused = p->focusWidget();
    else if (grid::CResultPopup* r = ResultPopup())
        focused = r->focusWidget();
    ASSERT_NE(focused, nullptr) << "no editor opened";
    TypeText(focused, text.mid(1));
}

void PopupFixture::Key(QWidget* widget, int key)
{
    QTest::keyClick(widget, Qt::Key(key));
}

QStringList PopupFixture::Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

} // namespace tabry::test
