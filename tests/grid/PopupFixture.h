#pragma once
// A shown results grid with its real editors over a small tournament of
// Japanese names, for the tests that type into the editors and open the
// context menus.

#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"
#include "grid/PlayerPopup.h"
#include "grid/ResultGrid.h"
#include "grid/ResultPopup.h"
#include "tests/support/SmallTournaments.h"

#include <gtest/gtest.h>

#include <memory>

namespace tabry::test {

// Records 1..7: 青木一郎 (aoki), 伊藤 (ito), 上田 (ueda), 田中 (tanaka),
// 田中一郎 (tanakai), 太田 (ota), 高木 (takagi). Rows 0..4 of an 8 x 3 table
// hold 青木一郎, 伊藤, 田中一郎, 田中 and 上田; rows 5..7 are empty.
TournamentData MakeRoster();

struct PopupFixture : testing::Test {
    CTournamentEditor editor{MakeRoster()};
    const TournamentData& data = editor.Data();
    std::unique_ptr<grid::CResultGrid> grid;
    std::unique_ptr<EditCounter> edits;

    void SetUp() override;
    void TearDown() override;

    // The open editors, nullptr when none.
    grid::CPlayerPopup* PlayerPopup() const;
    grid::CResultPopup* ResultPopup() const;
    // Lets the posted done messages arrive.
    static void Settle();
    // Types into the grid: the first character opens the current cell's
    // editor, the rest goes into the field the editor focused.
    void Type(const QString& text);
    void Key(QWidget* widget, int key);
    grid::GridCell Cur() const { return {grid->CurCol(), grid->CurRow()}; }
    // The long names of a list's lines.
    static QStringList Lines(const class QListWidget* list);
};

} // namespace tabry::test
