#include "live/LiveSnapshot.h"

#include "core/PlayerKeys.h"
#include "core/TournamentData.h"

namespace tabry::live {

std::shared_ptr<const CLiveSnapshot> CLiveSnapshot::Make(const TournamentData& data, std::uint64_t version)
{
    std::shared_ptr<CLiveSnapshot> s(new CLiveSnapshot());
    s->m_version = version;
    s->m_info = data.info;
    s->m_table = data.table;
    s->m_keys = PlayerKeys(data.table, data.players);
    s->m_players.Reset();
    s->m_keysByPosition.assign(1, std::string());
    for (int r = 0; r < s->m_table.PlayerCount(); ++r) {
        PlayerEntry& entry = s->m_table.Entry(r);
        if (entry.IsEmpty())
            continue;
        // Add folds the names; the record is then copied over whole so the
        // pages show exactly what the database holds.
        const int position = s->m_players.Add({}, {}, {}, {}, 0, {});
        s->m_players.GetAt(position) = data.players.GetAt(entry.playerIndex);
        s->m_keysByPosition.push_back(s->m_keys[static_cast<size_t>(r)]);
        entry.playerIndex = position;
    }
    return s;
}

const std::string& CLiveSnapshot::KeyOfPosition(int position) const
{
    static const std::string kNone;
    return position > 0 && position < static_cast<int>(m_keysByPosition.size())
               ? m_keysByPosition[static_cast<size_t>(position)]
               : kNone;
}

int CLiveSnapshot::RowOfKey(std::string_view key) const
{
    if (key.empty())
        return -1;
    for (size_t r = 0; r < m_keys.size(); ++r)
        if (m_keys[r] == key)
            return static_cast<int>(r);
    return -1;
}

} // namespace tabry::live
