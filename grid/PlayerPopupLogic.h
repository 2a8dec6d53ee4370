#pragma once
// What the player editor does, without its widgets: the match list with its
// highlighted line, and the outcome of Enter, a double click and Escape.
// The popup widget forwards the name field's changes and the keys here and
// shows the list this class holds.

#include "grid/EditorSearch.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::grid {

class CPlayerPopupLogic {
public:
    // The editor of `row`'s player cell.
    CPlayerPopupLogic(const TournamentData& data, int row);

    const std::vector<EditorListItem>& Items() const { return m_items; }
    // The highlighted line, -1 for none.
    int Highlighted() const { return m_highlighted; }
    void SetHighlighted(int index);
    // Database index of the record taken, -1 before and after Escape.
    int ChosenRecord() const { return m_chosen; }

    // The name field changed: the records the text finds, the first
    // highlighted (an empty text empties the list).
    void Search(std::string_view typed);
    // Every record that no table row holds, the first highlighted.
    void ListUnentered();
    // Down in the name field: the next line when one is highlighted (true),
    // else the list of players not yet entered.
    void DownFromName();

    // Takes the highlighted line: it becomes the chosen record and its text
    // is what the name field should now show. Nothing without a highlight.
    std::optional<std::string> TakeHighlighted();

    struct Outcome {
        enum Kind {
            Commit,    // post commit: the chosen record goes into the row
            Cancel,    // post cancel
            Duplicate, // refuse with `message`; the name field shows and selects the long name
            Register,  // `typed` matches nobody: offer to register it
            Nothing,   // nothing to do
        };
        Kind kind = Nothing;
        std::optional<std::string> fieldText; // new text of the name field
        std::string message;                  // Shift_JIS
        std::string typed;                    // the text to register
    };

    // Enter. `fieldText` is the name field's text.
    Outcome Ok(std::string_view fieldText);
    // A double click on line `index`: that line is taken and committed.
    // Like Enter, a player who already plays in another row is refused:
    // the same person in two rows would count twice in every standing.
    Outcome DoubleClick(int index);
    // The registration dialog added record `record` for the typed text.
    Outcome Registered(int record);
    // Escape.
    Outcome Cancel();

private:
    Outcome CommitOrRefuse(std::optional<std::string> fieldText);

    const TournamentData& m_data;
    int m_row;
    std::vector<EditorListItem> m_items;
    int m_highlighted = -1;
    int m_chosen = -1;
};

} // namespace tabry::grid
