#pragma once
// What the result editor does, without its widgets: how it is filled when it
// opens over a round cell, the candidate list with its highlighted line, and
// the values a commit hands to the grid. The popup widget forwards the
// fields' changes and the keys here.

#include "grid/EditorSearch.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::grid {

class CResultPopupLogic {
public:
    // The editor of `row`'s cell of `round` (counted from 0).
    CResultPopupLogic(const TournamentData& data, int row, int round);

    bool ShowDiscDifference() const;

    // ---- opening ------------------------------------------------------------
    enum class Focus { Score, Name };
    struct Opening {
        // The name field: the typed letter, or the long name of the cell's
        // opponent (the bye's for a bye, empty without one).
        std::string nameText;
        // The cell's opponent when the name comes from the cell (it is
        // highlighted even when another candidate's name begins the same
        // way), else nothing.
        std::optional<int> opponentOfCell;
        std::string cellScoreText; // the stored score as the field shows it
        int cellEntry = 0;         // the selector entry of the stored result
        // The typed digit or sign that then replaces the score text.
        std::optional<std::string> typedScore;
        Focus focus = Focus::Score;
    };
    // `typed` is the character typed into the cell, if any.
    Opening Open(const std::optional<std::string>& typed) const;

    // ---- candidate list -----------------------------------------------------
    const std::vector<EditorListItem>& Items() const { return m_items; }
    int Highlighted() const { return m_highlighted; }
    void SetHighlighted(int index);
    // The name field changed: the matching candidates, the first highlighted.
    void Search(std::string_view typed);
    // Every free candidate and the bye, the first highlighted.
    void ListAll();
    // Down in the name field: an empty list is filled with every candidate;
    // otherwise the line after the highlighted one is highlighted.
    void DownFromName();
    // Highlights the line that stands for `data` (a row or the bye), when
    // the list has one.
    void Prefer(int data);

    // ---- result mark ----------------------------------------------------------
    // The organiser picked a mark in the selector (with the mouse or its
    // keys): from now on the score no longer moves it.
    void ChooseMarkByHand() { m_markByHand = true; }
    bool MarkChosenByHand() const { return m_markByHand; }
    // The selector's entry after the score field changed to `scoreText`:
    // the score's own mark until a mark was chosen by hand, then `current`.
    int MarkAfterScoreChange(std::string_view scoreText, int current) const;

    // ---- commit ---------------------------------------------------------------
    // Why the score cannot be committed with this mark against `opponent`,
    // as a short note for the editor (Shift_JIS); empty when it can. A score
    // no game can end with, or text that is no number, is always refused;
    // an empty field only where a result needs a score (an opponent and a
    // mark other than the blank one).
    std::string Refusal(std::string_view scoreText, int entry, int opponent) const;
    // Why the game cannot be committed against `opponent` (the highlighted
    // line's, or NoOpponent) with the name field holding `nameText`, as a
    // short note (Shift_JIS); empty when it can. A name that finds nobody is
    // refused when a score or a mark would be committed with it: the
    // organiser meant somebody, and clearing the cell would throw the game
    // away. An empty name field clears the cell. A game the editor would
    // refuse (a player who withdrew from the round) is refused here with the
    // editor's own words.
    std::string OpponentRefusal(std::string_view nameText, std::string_view scoreText, int entry, int opponent) const;

    struct Values {
        int opponent = -1; // row, ByeOpponent or NoOpponent
        int result = -2;   // ResultWin, ResultDraw, ResultLoss or ResultNone
        int score = 0;     // disc difference -64..64
        friend bool operator==(const Values&, const Values&) = default;
    };
    // The opponent of the highlighted line (none without one), the score of
    // the field's text (0 when empty) and the result of the selector's entry
    // (-1: none). Only for a text Refusal accepts.
    Values Collect(std::string_view scoreText, int entry) const;
    // The opponent a commit would take now: the highlighted line's.
    int HighlightedOpponent() const;

private:
    const TournamentData& m_data;
    int m_row;
    int m_round;
    std::vector<EditorListItem> m_items;
    int m_highlighted = -1;
    bool m_markByHand = false;
};

} // namespace tabry::grid
