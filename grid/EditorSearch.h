#pragma once
// The lists of the two in-place editors: which players a few typed letters
// find, and what the list offers when the organiser asks for it with an
// empty name field. Plain functions over the table and the player database;
// texts are Shift_JIS.

#include <string>
#include <string_view>
#include <vector>

namespace tabry {
struct TournamentData;
class CPlayerDatabase;
class CResultTable;
} // namespace tabry

namespace tabry::grid {

// One line of an editor's list: the long display name and what choosing it
// means (a database record for the player editor; a table row, or
// ByeOpponent for the bye, for the result editor).
struct EditorListItem {
    std::string text;
    int data = -1;
    friend bool operator==(const EditorListItem&, const EditorListItem&) = default;
};

// True when `stored` begins with all of `key`, byte for byte. A stored text
// shorter than the key never matches.
bool StartsWithKey(std::string_view stored, std::string_view key);

// Every database record but the bye whose input name, long name or member
// number begins with the typed text (ASCII capitals folded), in database
// order. Players already in the table are offered too. Empty text: nothing.
std::vector<EditorListItem> SearchPlayers(const CPlayerDatabase& db, std::string_view typed);

// Every record but the bye that no table row holds, in database order.
std::vector<EditorListItem> UnenteredPlayers(const CPlayerDatabase& db, const CResultTable& table);

// The players of the table (every row with a player but `currentRow`) whose
// input name, long name or member number begins with the typed text, in row
// order, then the bye when its input name ("pass") or long name matches.
// Players are offered whether or not they already have a game in the round.
std::vector<EditorListItem> SearchCandidates(const TournamentData& data, int currentRow, std::string_view typed);

// The players who are free to meet `currentRow` in `round` (no opponent
// there yet, or `currentRow` itself), in row order, then always the bye.
std::vector<EditorListItem> AllCandidates(const TournamentData& data, int currentRow, int round);

} // namespace tabry::grid
