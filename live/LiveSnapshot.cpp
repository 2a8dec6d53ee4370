#include "live/LiveSnapshot.h"

#include "core/TournamentData.h"

namespace tabry::live {

std::shared_ptr<const CLiveSnapshot> CLiveSnapshot::Make(const TournamentData& data, std::uint64_t version)
{
    std::shared_ptr<CLiveSnapshot> s(new CLiveSnapshot());
    s->m_version = version;
    s->m_info = data.info;
    s->m_table = data.table;
    s->m_players.Reset();
    s->m_ids.assign(1, 0);
    const int rows = s->m_table.PlayerCount();
    s->m_withdrawn.assign(static_cast<size_t>(rows), kNotWithdrawn);
    for (int r = 0; r < rows; ++r) {
        PlayerEntry& entry = s->m_table.Entry(r);
        if (entry.IsEmpty())
            continue;
        s->m_withdrawn[static_cast<size_t>(r)] = entry.withdrawnFrom;
        // Add folds the names; the record is then copied over whole so the
        // pages show exactly what the database holds.
        const int position = s->m_players.Add({}, {}, {}, {}, 0, {});
        s->m_players.GetAt(position) = data.players.GetAt(entry.playerIndex);
        s->m_ids.push_back(entry.playerIndex);
        entry.playerIndex = position;
    }
    return s;
}

int CLiveSnapshot::PlayerId(int row) const
{
    if (row < 0 || row >= m_table.PlayerCount())
        return -1;
    return IdOfPosition(m_table.Entry(row).playerIndex);
}

int CLiveSnapshot::IdOfPosition(int position) const
{
    return position > 0 && position < static_cast<int>(m_ids.size()) ? m_ids[static_cast<size_t>(position)] : -1;
}

int CLiveSnapshot::RowOfPlayer(int id) const
{
    if (id < 0)
        return -1;
    for (size_t position = 1; position < m_ids.size(); ++position)
        if (m_ids[position] == id)
            return m_table.FindRowOfPlayer(static_cast<int>(position));
    return -1;
}

int CLiveSnapshot::WithdrawnAfter(int row) const
{
    return row >= 0 && row < static_cast<int>(m_withdrawn.size()) ? m_withdrawn[static_cast<size_t>(row)]
                                                                  : kNotWithdrawn;
}

} // namespace tabry::live
