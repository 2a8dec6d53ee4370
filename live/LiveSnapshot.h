#pragma once
// One published state of the tournament, made on the thread that owns the
// tournament and never changed afterwards, so the server's threads can read
// it while the organiser goes on editing. It holds only what the pages show:
// the table with its settings, the details, and the records of the players
// the table names (not the whole player database).

#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::live {

class CLiveSnapshot {
public:
    // Copies the pages' share of `data`. The copy's rows name their players
    // by positions in Players() (record 0 the bye, then one record per
    // player in row order); PlayerId tells the database index, which is the
    // player's number in the pages' addresses and stays the same across
    // sorts and edits.
    static std::shared_ptr<const CLiveSnapshot> Make(const TournamentData& data, std::uint64_t version);

    std::uint64_t Version() const { return m_version; }
    const CResultTable& Table() const { return m_table; }
    const CPlayerDatabase& Players() const { return m_players; }
    const CTournamentInfo& Info() const { return m_info; }

    // The player's number of a row, or -1 for an empty row or a row outside
    // the table.
    int PlayerId(int row) const;
    // The row of a player's number, or -1.
    int RowOfPlayer(int id) const;
    // The player's number of a position in Players() (what the copy's rows,
    // and any copy of it, keep in playerIndex), or -1.
    int IdOfPosition(int position) const;
    // The rounds the row's player played before he withdrew (0: he left
    // before the first), or -1 while he plays on.
    int WithdrawnAfter(int row) const;

    CLiveSnapshot(const CLiveSnapshot&) = delete;
    CLiveSnapshot& operator=(const CLiveSnapshot&) = delete;

private:
    CLiveSnapshot() = default;

    std::uint64_t m_version = 0;
    CResultTable m_table;
    CPlayerDatabase m_players;
    CTournamentInfo m_info;
    std::vector<int> m_ids;       // by position in m_players; m_ids[0] = 0 (the bye)
    std::vector<int> m_withdrawn; // by row
};

} // namespace tabry::live
