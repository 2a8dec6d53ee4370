#include "edit/EditStep.h"

#include <algorithm>

namespace tabry {

namespace {

const ResultCell kEmptyCell{};
const PlayerEntry kEmptyEntry{};

size_t At(int row, int round, int rounds)
{
    return static_cast<size_t>(row) * static_cast<size_t>(rounds) + static_cast<size_t>(round);
}

size_t RecordBytes(const CPlayerRecord& r)
{
    return sizeof r + r.m_longName.capacity() + r.m_inputName.capacity() + r.m_shortName.capacity()
           + r.m_residence.capacity() + r.m_memberNumber.capacity();
}

} // namespace

CEditStep::Image CEditStep::Image::Take(const TournamentData& data)
{
    Image image;
    image.players = data.table.PlayerCount();
    image.rounds = data.table.RoundCount();
    image.settings = data.table.settings;
    image.entries = data.table.Entries();
    image.cells = data.table.Cells();
    image.plans = data.table.Plans();
    image.info = data.info;
    return image;
}

void CEditStep::RecordTable(const Image& before, const TournamentData& after, std::vector<int> order)
{
    // The rows as the permutation leaves them, so that a sort records only
    // what the sort's recomputation changed besides the moves.
    const Image* from = &before;
    Image moved;
    if (!order.empty()) {
        CResultTable t;
        t.AssignStorage(before.players, before.rounds, before.entries, before.cells);
        for (size_t j = 0; j < before.plans.size(); ++j)
            t.SetPlan(static_cast<int>(j), before.plans[j]);
        t.PermuteRows(order);
        moved = before;
        moved.entries = t.Entries();
        moved.cells = t.Cells();
        moved.plans = t.Plans();
        from = &moved;
        m_order = std::move(order);
    }
    const CResultTable& table = after.table;
    const int ap = table.PlayerCount();
    const int ar = table.RoundCount();
    const std::vector<ResultCell>& acells = table.Cells();
    const std::vector<PlayerEntry>& aentries = table.Entries();

    m_undo = {from->players, from->rounds, from->settings, {}, {}, {}};
    m_redo = {ap, ar, table.settings, {}, {}, {}};

    auto fromCell = [&](int r, int j) -> const ResultCell& {
        return r < from->players && j < from->rounds ? from->cells[At(r, j, from->rounds)] : kEmptyCell;
    };
    auto afterCell = [&](int r, int j) -> const ResultCell& {
        return r < ap && j < ar ? acells[At(r, j, ar)] : kEmptyCell;
    };
    if (from->players == ap && from->rounds == ar) {
        // The common case: one pass over two arrays of the same shape.
        for (size_t i = 0; i < acells.size(); ++i) {
            if (acells[i] == from->cells[i])
                continue;
            const int r = static_cast<int>(i / static_cast<size_t>(ar));
            const int j = static_cast<int>(i % static_cast<size_t>(ar));
            m_undo.cells.push_back({r, j, from->cells[i]});
            m_redo.cells.push_back({r, j, acells[i]});
        }
    } else {
        for (int r = 0; r < from->players; ++r)
            for (int j = 0; j < from->rounds; ++j)
                if (!(fromCell(r, j) == afterCell(r, j)))
                    m_undo.cells.push_back({r, j, fromCell(r, j)});
        for (int r = 0; r < ap; ++r)
            for (int j = 0; j < ar; ++j)
                if (!(afterCell(r, j) == fromCell(r, j)))
                    m_redo.cells.push_back({r, j, afterCell(r, j)});
    }
    const int rows = std::max(from->players, ap);
    for (int r = 0; r < rows; ++r) {
        const PlayerEntry& f = r < from->players ? from->entries[static_cast<size_t>(r)] : kEmptyEntry;
        const PlayerEntry& a = r < ap ? aentries[static_cast<size_t>(r)] : kEmptyEntry;
        if (f.playerIndex == a.playerIndex && f.withdrawnFrom == a.withdrawnFrom && f.absent == a.absent)
            continue;
        if (r < from->players)
            m_undo.entries.push_back({r, f.playerIndex, f.withdrawnFrom, f.absent});
        if (r < ap)
            m_redo.entries.push_back({r, a.playerIndex, a.withdrawnFrom, a.absent});
    }
    static const BoardPlan kNoPlan;
    for (int j = 0; j < std::max(from->rounds, ar); ++j) {
        const BoardPlan& f = j < static_cast<int>(from->plans.size()) ? from->plans[static_cast<size_t>(j)] : kNoPlan;
        const BoardPlan& a = table.Plan(j);
        if (f == a)
            continue;
        if (j < from->rounds)
            m_undo.plans.push_back({j, f});
        if (j < ar)
            m_redo.plans.push_back({j, a});
    }
    if (!(before.info == after.info)) {
        m_infoBefore = before.info;
        m_infoAfter = after.info;
    }
}

bool CEditStep::IsEmpty() const
{
    return m_order.empty() && m_undo.players == m_redo.players && m_undo.rounds == m_redo.rounds
           && m_undo.settings == m_redo.settings && m_undo.cells.empty() && m_redo.cells.empty()
           && m_undo.entries.empty() && m_redo.entries.empty() && m_undo.plans.empty() && m_redo.plans.empty()
           && !m_infoBefore && !m_record && !m_rebuild;
}

namespace {

// Resizes the stored table to the side's shape without recomputing anything,
// then writes the side's values.
template <class Side>
void ApplySide(CResultTable& table, const Side& side)
{
    const int p = table.PlayerCount();
    const int r = table.RoundCount();
    if (p != side.players || r != side.rounds) {
        std::vector<PlayerEntry> entries(static_cast<size_t>(side.players));
        std::vector<ResultCell> cells(static_cast<size_t>(side.players) * static_cast<size_t>(side.rounds));
        const int keepRows = std::min(p, side.players);
        const int keepRounds = std::min(r, side.rounds);
        for (int row = 0; row < keepRows; ++row) {
            entries[static_cast<size_t>(row)] = table.Entries()[static_cast<size_t>(row)];
            for (int j = 0; j < keepRounds; ++j)
                cells[At(row, j, side.rounds)] = table.Cells()[At(row, j, r)];
        }
        table.AssignStorage(side.players, side.rounds, std::move(entries), std::move(cells));
    }
    table.settings = side.settings;
    for (const auto& c : side.cells)
        table.SetCell(c.row, c.round, c.value);
    for (const auto& e : side.entries) {
        table.Entry(e.row).playerIndex = e.playerIndex;
        table.Entry(e.row).withdrawnFrom = e.withdrawnFrom;
        table.Entry(e.row).absent = e.absent;
    }
    for (const auto& change : side.plans)
        table.SetPlan(change.round, change.plan);
}

} // namespace

void CEditStep::ApplyRedo(TournamentData& data) const
{
    if (m_rebuild) {
        // People appended since the rebuild (outside any step) stay, after
        // the rebuilt list; so do the ones the rebuild itself added.
        std::vector<CPlayerRecord> records = m_rebuild->after;
        const std::vector<CPlayerRecord> current = data.players.Records();
        const size_t keepFrom = m_rebuild->before.size() + m_rebuild->added.size();
        for (size_t i = keepFrom; i < current.size(); ++i)
            records.push_back(current[i]);
        data.players.AssignRecords(records);
        data.playersModified = true;
    }
    if (m_record) {
        data.players.SetAt(m_record->index, m_record->after);
        data.playersModified = true;
    }
    if (!m_order.empty())
        data.table.PermuteRows(m_order);
    ApplySide(data.table, m_redo);
    data.table.ComputeAll();
    if (m_infoAfter)
        data.info = *m_infoAfter;
}

void CEditStep::ApplyUndo(TournamentData& data) const
{
    ApplySide(data.table, m_undo);
    if (!m_order.empty()) {
        std::vector<int> inverse(m_order.size());
        for (size_t i = 0; i < m_order.size(); ++i)
            inverse[static_cast<size_t>(m_order[i])] = static_cast<int>(i);
        data.table.PermuteRows(inverse);
    }
    data.table.ComputeAll();
    if (m_infoBefore)
        data.info = *m_infoBefore;
    if (m_record) {
        data.players.SetAt(m_record->index, m_record->before);
        data.playersModified = true;
    }
    if (m_rebuild) {
        // Taking a rebuild back keeps every person added meanwhile: those the
        // rebuild added and those appended after it.
        std::vector<CPlayerRecord> records = m_rebuild->before;
        const std::vector<CPlayerRecord> current = data.players.Records();
        for (int i : m_rebuild->added)
            records.push_back(m_rebuild->after[static_cast<size_t>(i)]);
        for (size_t i = m_rebuild->after.size(); i < current.size(); ++i)
            records.push_back(current[i]);
        data.players.AssignRecords(records);
        data.playersModified = true;
    }
}

ChangeEffects CEditStep::Effects() const
{
    ChangeEffects fx;
    if (m_undo.players != m_redo.players || m_undo.rounds != m_redo.rounds) {
        fx.resized = true;
        fx.wholeTable = true;
    }
    if (!m_order.empty() || !(m_undo.settings == m_redo.settings) || m_record || m_rebuild)
        fx.wholeTable = true;
    fx.players = m_record.has_value() || m_rebuild.has_value();
    fx.details = m_infoBefore.has_value();
    for (const auto* list : {&m_undo.cells, &m_redo.cells})
        for (const CellChange& c : *list)
            if (std::find(fx.cells.begin(), fx.cells.end(), CellRef{c.row, c.round}) == fx.cells.end())
                fx.cells.push_back({c.row, c.round});
    auto addRow = [](std::vector<int>& rows, int row) {
        if (std::find(rows.begin(), rows.end(), row) == rows.end())
            rows.push_back(row);
    };
    for (const std::vector<CellChange>* list : {&m_undo.cells, &m_redo.cells})
        for (const CellChange& c : *list)
            addRow(fx.totalsRows, c.row);
    // A row whose player changed shows another name in every cell that
    // names him.
    if (!m_undo.entries.empty() || !m_redo.entries.empty())
        fx.wholeTable = true;
    // The recomputed tie-break values may move on every row.
    fx.allTotals = true;
    return fx;
}

std::size_t CEditStep::Cost() const
{
    size_t bytes = sizeof *this + m_name.capacity() + m_order.capacity() * sizeof(int);
    for (const TableSide* side : {&m_undo, &m_redo}) {
        bytes += side->cells.capacity() * sizeof(CellChange) + side->entries.capacity() * sizeof(EntryChange);
        for (const PlanChange& p : side->plans)
            bytes += sizeof p + p.plan.capacity() * sizeof(BoardSeat);
    }
    if (m_infoBefore)
        bytes += m_infoBefore->name.capacity() + m_infoAfter->name.capacity();
    if (m_record)
        bytes += RecordBytes(m_record->before) + RecordBytes(m_record->after);
    if (m_rebuild) {
        for (const auto* list : {&m_rebuild->before, &m_rebuild->after})
            for (const CPlayerRecord& r : *list)
                bytes += RecordBytes(r);
        bytes += m_rebuild->added.capacity() * sizeof(int);
    }
    return bytes;
}

} // namespace tabry
