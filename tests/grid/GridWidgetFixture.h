#pragma once
// A shown results grid over a small tournament, with fake editors that
// record how they were opened and answer what a test sets.

#include "grid/ResultGrid.h"
#include "tests/support/SmallTournaments.h"

#include <QImage>

#include <memory>

namespace tabry::test {

struct FakePlayerPopup : grid::IPlayerPopup {
    int chosen = -1;
    bool registering = false;
    int ChosenRecord() const override { return chosen; }
    bool IsRegistering() const override { return registering; }
};

struct FakeResultPopup : grid::IResultPopup {
    int opponent = NoOpponent;
    int result = ResultNone;
    int score = 0;
    int Opponent() const override { return opponent; }
    int Result() const override { return result; }
    int Score() const override { return score; }
};

// A grid whose editors are the fakes above; the next one created takes the
// values of `nextPlayer` / `nextResult`.
class TestGrid : public grid::CResultGrid {
public:
    using CResultGrid::CResultGrid;
    FakePlayerPopup nextPlayer;
    FakeResultPopup nextResult;
    FakePlayerPopup* openPlayer = nullptr;

protected:
    std::unique_ptr<grid::IPlayerPopup> CreatePlayerPopup(const grid::PopupRequest&) override
    {
        auto p = std::make_unique<FakePlayerPopup>(nextPlayer);
        openPlayer = p.get();
        return p;
    }
    std::unique_ptr<grid::IResultPopup> CreateResultPopup(const grid::PopupRequest&) override
    {
        return std::make_unique<FakeResultPopup>(nextResult);
    }
};

// Makes a grid over the editor's tournament whose client area (the
// viewport) is exactly `width` x `height`, and shows it.
std::unique_ptr<TestGrid> ShowGrid(CTournamentEditor& editor, int width, int height);

// The client area as painted now.
QImage Shot(grid::CResultGrid& grid);

} // namespace tabry::test
