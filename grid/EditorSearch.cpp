#include "grid/EditorSearch.h"

#include "core/TournamentData.h"
#include "playerdb/PlayerText.h"
#include "text/Cp932.h"

namespace tabry::grid {

namespace {

// The search key of what was typed: full-width letters and digits as
// ASCII, letters in lower case.
std::string KeyOf(std::string_view typed)
{
    return FoldLowerCase(cp932::FoldFullWidth(typed));
}

// A stored text compared with the key in its folded width only: "１２３"
// in a member number is found by "123" as by "１２３".
bool Matches(std::string_view stored, std::string_view key)
{
    return StartsWithKey(stored, key) || StartsWithKey(cp932::FoldFullWidth(stored), key);
}

bool RecordMatches(const CPlayerRecord& rec, std::string_view key)
{
    return Matches(rec.m_inputName, key) || Matches(rec.m_longName, key) || Matches(rec.m_memberNumber, key);
}

} // namespace

bool StartsWithKey(std::string_view stored, std::string_view key)
{
    return stored.size() >= key.size() && stored.compare(0, key.size(), key) == 0;
}

std::vector<EditorListItem> SearchPlayers(const CPlayerDatabase& db, std::string_view typed)
{
    std::vector<EditorListItem> items;
    if (typed.empty())
        return items;
    const std::string key = KeyOf(typed);
    for (int i = 1; i < db.GetCount(); ++i) {
        const CPlayerRecord& rec = db.GetAt(i);
        if (RecordMatches(rec, key))
            items.push_back({rec.m_longName, i});
    }
    return items;
}

std::vector<EditorListItem> UnenteredPlayers(const CPlayerDatabase& db, const CResultTable& table)
{
    std::vector<EditorListItem> items;
    for (int i = 1; i < db.GetCount(); ++i) {
        if (table.FindRowOfPlayer(i) < 0)
            items.push_back({db.GetAt(i).m_longName, i});
    }
    return items;
}

std::vector<EditorListItem> SearchCandidates(const TournamentData& data, int currentRow, std::string_view typed)
{
    std::vector<EditorListItem> items;
    if (typed.empty())
        return items;
    const std::string key = KeyOf(typed);
    const CResultTable& table = data.table;
    for (int row = 0; row < table.PlayerCount(); ++row) {
        const PlayerEntry& entry = table.Entry(row);
        if (row == currentRow || entry.IsEmpty())
            continue;
        const CPlayerRecord& rec = data.players.GetAt(entry.playerIndex);
        if (RecordMatches(rec, key))
            items.push_back({rec.m_longName, row});
    }
    const CPlayerRecord& bye = data.players.GetAt(0);
    if (Matches(bye.m_inputName, key) || Matches(bye.m_longName, key))
        items.push_back({bye.m_longName, ByeOpponent});
    return items;
}

std::vector<EditorListItem> AllCandidates(const TournamentData& data, int currentRow, int round)
{
    std::vector<EditorListItem> items;
    const CResultTable& table = data.table;
    for (int row = 0; row < table.PlayerCount(); ++row) {
        const PlayerEntry& entry = table.Entry(row);
        if (row == currentRow || entry.IsEmpty())
            continue;
        const int opponent = table.Cell(row, round).opponent;
        if (opponent == NoOpponent || opponent == currentRow)
            items.push_back({data.players.GetAt(entry.playerIndex).m_longName, row});
    }
    items.push_back({data.players.GetAt(0).m_longName, ByeOpponent});
    return items;
}

} // namespace tabry::grid
