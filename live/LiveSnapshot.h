#pragma once
// One published state of the tournament, made on the thread that owns the
// tournament and never changed afterwards, so the server's threads can read
// it while the organiser goes on editing. It holds only what the pages show:
// the table with its settings, the details, the records of the players the
// table names (not the whole player database) and their address keys.

#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {
struct TournamentData;
}

namespace tabry::live {

class CLiveSnapshot {
public:
    // Copies the pages' share of `data`. The copy's rows name their players
    // by positions in Players() (record 0 the bye, then one record per
    // player in row order). Each player is named in the addresses by his
    // key (core/PlayerKeys.h), which stays the same across sorts, restarts
    // and a reordered database.
    static std::shared_ptr<const CLiveSnapshot> Make(const TournamentData& data, std::uint64_t version);

    std::uint64_t Version() const { return m_version; }
    const CResultTable& Table() const { return m_table; }
    const CPlayerDatabase& Players() const { return m_players; }
    const CTournamentInfo& Info() const { return m_info; }

    // The row of a key, or -1 when it names nobody of this table.
    int RowOfKey(std::string_view key) const;
    // The key of a position in Players() (what the copy's rows, and any copy
    // of it, keep in playerIndex); empty for the bye or a position outside.
    const std::string& KeyOfPosition(int position) const;

    CLiveSnapshot(const CLiveSnapshot&) = delete;
    CLiveSnapshot& operator=(const CLiveSnapshot&) = delete;

private:
    CLiveSnapshot() = default;

    std::uint64_t m_version = 0;
    CResultTable m_table;
    CPlayerDatabase m_players;
    CTournamentInfo m_info;
    std::vector<std::string> m_keys;           // by row
    std::vector<std::string> m_keysByPosition; // by position in m_players; [0] the bye's, empty
};

} // namespace tabry::live
