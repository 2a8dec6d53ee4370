#pragma once
// One completed change of the tournament, kept so that it can be taken back
// and made again. A step stores what changed, not copies of the tournament:
// the cells and row players that differ (with their values before and
// after), the board numbers of the rounds whose numbers changed, the size,
// settings and details when they changed, the row order of a sort, and the
// player records a change rewrote. Totals and tie-break
// values are not stored: they follow from the cells, and are recomputed
// after a step is taken back or made again (every change leaves them so
// computed). A game written into a 512 x 128 table costs a few hundred
// bytes; only a user DB rebuild keeps whole copies (of the player database,
// before and after).

#include "core/ResultTable.h"
#include "core/TournamentData.h"
#include "edit/ChangeEffects.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabry {

class CEditStep {
public:
    // What the step is called in the edit menu ("3回戦 山田 - 佐藤"), Shift_JIS.
    const std::string& Name() const { return m_name; }
    // Bytes of memory the step holds (an estimate good to a few percent).
    std::size_t Cost() const;

private:
    friend class CTournamentEditor;

    // The table as stored, taken before a change.
    struct Image {
        int players = 0;
        int rounds = 0;
        TableSettings settings;
        std::vector<PlayerEntry> entries;
        std::vector<ResultCell> cells;
        std::vector<BoardPlan> plans;
        CTournamentInfo info;

        static Image Take(const TournamentData& data);
    };
    struct CellChange {
        int row;
        int round;
        ResultCell value;
    };
    // What a row stores besides its totals: its player, his withdrawal and
    // the rounds he sits out.
    struct EntryChange {
        int row;
        int playerIndex;
        int withdrawnFrom;
        std::bitset<kMaxRounds> absent;
    };
    // A round's board numbers as they stand on one side.
    struct PlanChange {
        int round;
        BoardPlan plan;
    };
    // One side of the table's change: the size and settings of that side and
    // the cells, entries and board numbers to write after resizing to it.
    struct TableSide {
        int players = 0;
        int rounds = 0;
        TableSettings settings;
        std::vector<CellChange> cells;
        std::vector<EntryChange> entries;
        std::vector<PlanChange> plans;
    };
    // A rebuild of the player database: whole copies before and after, and
    // where in `after` the people added by the rebuild sit (they stay when
    // the rebuild is taken back).
    struct PlayerRebuild {
        std::vector<CPlayerRecord> before;
        std::vector<CPlayerRecord> after;
        std::vector<int> added;
    };
    struct RecordEdit {
        int index = 0;
        CPlayerRecord before;
        CPlayerRecord after;
    };

    // Compares the tournament with `before` (rows first moved by `order`,
    // when given) and keeps the differences.
    void RecordTable(const Image& before, const TournamentData& after, std::vector<int> order);
    // Nothing recorded: the change changed nothing.
    bool IsEmpty() const;
    void ApplyRedo(TournamentData& data) const;
    void ApplyUndo(TournamentData& data) const;
    // What taking the step back (or making it again) repaints.
    ChangeEffects Effects() const;

    std::string m_name;
    std::uint64_t m_serialBefore = 0;
    std::uint64_t m_serialAfter = 0;
    // Redo: permute, resize to `m_redo`, write its cells and players.
    // Undo: resize to `m_undo`, write its cells and players, unpermute.
    // Then both recompute the totals and tie-break values.
    std::vector<int> m_order; // empty: the rows kept their places
    TableSide m_undo;
    TableSide m_redo;
    std::optional<CTournamentInfo> m_infoBefore;
    std::optional<CTournamentInfo> m_infoAfter;
    std::optional<RecordEdit> m_record;
    std::optional<PlayerRebuild> m_rebuild;
};

} // namespace tabry
