#pragma once
// What the results grid needs of its two in-place editors. An editor is
// created by the grid over the current cell, reports back by posting its done
// message (PostPlayerPopupDone / PostResultPopupDone of CResultGrid), and is
// destroyed by the grid while that message is handled, never earlier.

#include "grid/GridLayout.h"

#include <QPoint>
#include <QString>

#include <optional>

namespace tabry::grid {

class IPlayerPopup {
public:
    virtual ~IPlayerPopup() = default;
    // Database index of the record taken; -1 after Escape.
    virtual int ChosenRecord() const = 0;
    // True while the popup shows its add-user dialog: activating the main
    // window must not cancel the entry then.
    virtual bool IsRegistering() const = 0;
    // True while a message box of the editor's own is open: the editor is
    // inside its handler and must not be cancelled (destroyed) until it
    // returns.
    virtual bool IsBusy() const { return false; }
};

class IResultPopup {
public:
    virtual ~IResultPopup() = default;
    virtual int Opponent() const = 0; // row, ByeOpponent or NoOpponent
    virtual int Result() const = 0;   // ResultWin, ResultDraw, ResultLoss or ResultNone
    virtual int Score() const = 0;    // disc difference -64..64
    virtual bool IsBusy() const { return false; }
};

// Everything an editor needs to open over a cell.
struct PopupRequest {
    enum Kind { Player, Result };
    Kind kind = Player;
    std::optional<QString> text; // the typed character, the player's name, or none
    bool selectAll = false;
    GridCell cell;    // the current cell
    QPoint screenPos; // top-left corner of the editor on the screen
};

} // namespace tabry::grid
