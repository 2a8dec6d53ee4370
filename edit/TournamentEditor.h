#pragma once
// The one way the tournament changes. The editor owns the table, its settings,
// the details and the player database; everybody else reads them through
// Data() and asks the editor for a change. Each change method checks its
// arguments, runs the recomputation the change needs, records what it changed
// as an undoable step, tells every listener once, and returns what must be
// repainted. A call that changes nothing records nothing and tells nobody.
//
// The editor is the only guardian of the tournament's rules (edit/EditRules.h):
// a call that would break one changes nothing and returns the reason in
// ChangeEffects::refusal, whatever its arguments. A change that would lose
// games asks its question (edit/EditTexts.h) through the caller's ConfirmFn;
// without one the answer is No.
//
// Undo and Redo put a recorded step back or make it again and tell the
// listeners in the same way; the caller keeps the order of the steps (a stack
// in the desktop program). Opening, starting a new tournament and restoring a
// recovery file are not steps: listeners hear a Reset and any earlier steps no
// longer apply (Undo and Redo refuse them).

#include "core/TournamentData.h"
#include "edit/ChangeEffects.h"
#include "edit/EditRules.h"
#include "edit/EditStep.h"
#include "edit/EditTexts.h"
#include "pairing/PairingGenerator.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

class CRandomGenerator;

enum class ChangeKind {
    Edit,  // a new step was made
    Undo,  // a step was taken back
    Redo,  // a step was made again
    Reset, // another tournament (opened, new, restored): earlier steps are void
};

struct ChangeEvent {
    ChangeKind kind;
    const ChangeEffects& effects;
    // The new step of an Edit (a history keeps it); null otherwise.
    std::shared_ptr<const CEditStep> step;
};

// Asked before a change that would undo somebody else's game; the text is
// Shift_JIS. True to go on.
using ConfirmFn = std::function<bool(const std::string& question)>;

// Who hears a change, and in this order (within a rank, in the order they
// were added): the history first, so that the step is on the undo stack
// before anything can ask to take it back; then the crash journal, so that
// the change is safe on disk before it is shown; then the live pages; the
// views last.
enum class ListenerRank { History = 0, Journal = 1, LivePages = 2, Views = 3 };

// A person of the rebuilt player database: the texts as typed (folded as the
// database folds them) and the record he came from (-1: new).
struct PlayerListEntry {
    CPlayerRecord record;
    int origin = -1;
};

// What a rebuild did to the tournament table.
struct PlayerRebuildResult {
    bool referencesChanged = false; // some row names its player by another index
    bool playersChanged = false;    // some row's player now has other data
};

class CTournamentEditor {
public:
    using Listener = std::function<void(const ChangeEvent&)>;

    // A new 32 x 6 tournament and a database holding only the bye record.
    CTournamentEditor();
    // Starts from a tournament made elsewhere (tests, tools).
    explicit CTournamentEditor(TournamentData initial);
    ~CTournamentEditor();
    CTournamentEditor(const CTournamentEditor&) = delete;
    CTournamentEditor& operator=(const CTournamentEditor&) = delete;

    const TournamentData& Data() const { return m_data; }
    const CResultTable& Table() const { return m_data.table; }
    const CPlayerDatabase& Players() const { return m_data.players; }
    const CTournamentInfo& Info() const { return m_data.info; }
    // The player database differs from the last "player.db" read or written.
    bool PlayersModified() const { return m_data.playersModified; }

    // Listeners are called by rank (see ListenerRank). A listener may add or
    // remove listeners and read the tournament, but must not change it.
    int AddListener(ListenerRank rank, Listener listener);
    void RemoveListener(int id);

    // ---- whole tournaments (Reset) -----------------------------------------
    // A new 32 x 6 tournament, details reset, settings kept.
    void NewTournament();
    // Opens ".stg" bytes as the desktop program opens a file; on rejection
    // nothing changes and nobody is told. See TournamentData::Load and
    // LoadFile for `report` and `damage`.
    LoadStatus Load(std::string_view bytes, LoadReport* report = nullptr, DamagePolicy damage = DamagePolicy::Open);
    LoadStatus LoadFile(const std::filesystem::path& path, LoadReport* report = nullptr,
                        DamagePolicy damage = DamagePolicy::Open);
    // Opens the bytes of a recovery file: as Load, and every player named
    // gets the data the file holds for him (records edited since the
    // database was last written come back too). A recovery file that would
    // read differently is damaged and never opened (Damaged).
    LoadStatus Restore(std::string_view bytes, LoadReport* report = nullptr);
    // The database reset to the bye record, then "player.db" appended (see
    // TournamentData::LoadPlayers).
    LoadStatus LoadPlayers(const std::filesystem::path& path, FileError* error = nullptr);
    // The database was written: it no longer differs from the file.
    void MarkPlayersSaved() { m_data.playersModified = false; }
    // Writing it failed: the save at exit must try again.
    void MarkPlayersUnsaved() { m_data.playersModified = true; }

    std::string Save() const { return m_data.Save(); }
    bool SaveFile(const std::filesystem::path& path, FileError* error = nullptr, FileStamp* stamp = nullptr) const
    {
        return m_data.SaveFile(path, error, stamp);
    }

    // ---- the player database (no step: an added person stays) -------------
    // Appends a person (names folded as the database folds them); returns his
    // record index.
    int AddPlayer(const CPlayerRecord& record);

    // ---- changes (one step each) --------------------------------------------
    // Writes the game (opponent, result, disc difference) into the cell of
    // `row` and `round` (from 0), mirrors it into the opponent's row, empties
    // the mirrors of any previous pairing, and recomputes the totals involved.
    // Opponent NoOpponent clears the cell. When the new opponent already has a
    // third player in this round, `confirm` is asked first; No changes nothing.
    // A pairing is dissolved only from cells that still name their partner.
    // Refused (GameRefusal) for an empty row, an opponent who is no player,
    // a result code no game has, and a round either player withdrew from.
    ChangeEffects SetGame(int row, int round, int opponent, int result, int disc, const ConfirmFn& confirm = {});
    ChangeEffects ClearGame(int row, int round) { return SetGame(row, round, NoOpponent, ResultDraw, 0); }
    // Puts record `record` into `row`, or empties the row when `record` is
    // negative. A row with games keeps them for the new player; emptying such
    // a row also removes its games from the opponents' rows, after `confirm`
    // said Yes to DeletePlayerQuestion. Refused (RowPlayerRefusal) for a
    // person outside the database or the bye record, and for a person who
    // already plays in another row.
    ChangeEffects SetRowPlayer(int row, int record, const ConfirmFn& confirm = {});
    ChangeEffects DeletePlayer(int row, const ConfirmFn& confirm = {}) { return SetRowPlayer(row, -1, confirm); }
    // Empties every cell of `round` (from 0). When it holds a game, `confirm`
    // is asked first.
    ChangeEffects DeleteRound(int round, const ConfirmFn& confirm = {});
    // Pairs every player without an opponent in `round` (from 0), as the
    // pairing generator does. Nothing when nobody lacks an opponent there or
    // the round is outside the table; `info` then stays untouched. While an
    // earlier round still has boards without a result, `confirm` is asked
    // first (OpenBoardsQuestion). `paired` gets what the pairing did.
    ChangeEffects PairRound(int round, CRandomGenerator& random, const PairingOptions& options = {},
                            PairingRunInfo* info = nullptr, const ConfirmFn& confirm = {},
                            PairedRound* paired = nullptr);
    // Standings order by the current method, totals recomputed first.
    ChangeEffects Sort();
    // Display mode, size (keeping what fits, dropping games with removed rows,
    // recomputing), tie-break method and coefficient, in that order, and the
    // bye rule (an invalid one is ignored; byes already entered stay). A size
    // that would drop players or games asks `confirm` first
    // (DataLossQuestion); a size outside the table's limits is refused.
    ChangeEffects ApplySettings(const TableSettings& settings, int players, int rounds, const ConfirmFn& confirm = {});
    // Withdraws the row's player from `round` (from 0) on: no pairing gives
    // him a game there any more. His byes and his games still without a
    // result from that round on go (the opponents become free again); his
    // games with a result stay and count. Refused for an empty row, a round
    // outside the table or before CResultTable::EarliestWithdrawal, and when
    // he already withdrew from that round.
    ChangeEffects Withdraw(int row, int round);
    // The row's player sits out `round` (from 0), with `absent` false plays
    // it again: no pairing gives him a game there, and his totals count the
    // round as the bye rule's score says (ByeRule::SittingOutCell). One
    // step. Refused (AbsenceRefusal) outside the table, for an empty row, a
    // round in which he has a game or no longer plays, and a take-back of a
    // round he does not sit out.
    ChangeEffects SetAbsent(int row, int round, bool absent);
    // Takes the row's withdrawal back; his rounds stay as they are.
    ChangeEffects Reinstate(int row);
    // Appends an empty row at the end of the table, for a latecomer when
    // every row holds a player; his earlier rounds stay empty. Nothing at
    // the table's largest size (kMaxPlayers rows).
    ChangeEffects AddRow();
    // The tournament's name (Shift_JIS) and date.
    ChangeEffects SetDetails(const std::string& name, int year, int month, int day);
    // Switches the players' result reports on with `key` (a reporting key,
    // core/ReportCode.h), or off with an empty one. A new key changes every
    // board's code. Refused (BadReportingKey) for any other text.
    ChangeEffects SetReportingKey(const std::string& key);
    // Rewrites record `index` (not the bye record) as given, nothing folded.
    ChangeEffects EditPlayerRecord(int index, const CPlayerRecord& record);
    // Rebuilds the database from `list` in its order (bye record first, entry
    // i becomes record i + 1) and points every table row that named an
    // entry's origin at its new index. Refused when the list leaves out a
    // person a row plays as: that row would point at somebody else.
    ChangeEffects RebuildPlayers(const std::vector<PlayerListEntry>& list, PlayerRebuildResult* result = nullptr);

    // ---- history --------------------------------------------------------------
    // Takes back `step`, which must be the last step made or made again and
    // not yet taken back; else nothing happens and false is returned.
    bool Undo(const CEditStep& step);
    // Makes `step` again, which must be the last step taken back.
    bool Redo(const CEditStep& step);

private:
    class CRecording;

    // Records the change made since `rec` was taken as a step named `name`
    // and tells the listeners; a change that changed nothing records nothing
    // and empties `fx`.
    void Commit(CRecording& rec, std::string name, ChangeEffects& fx);
    void Notify(ChangeKind kind, const ChangeEffects& effects, std::shared_ptr<const CEditStep> step);
    ChangeEffects ResetEffects() const;
    // After an opening: an accepted tournament voids every earlier step and
    // is announced as a Reset.
    LoadStatus Opened(LoadStatus status);
    std::string RowName(int row) const;

    TournamentData m_data;
    struct ListenerEntry {
        int id;
        ListenerRank rank;
        std::shared_ptr<Listener> fn;
    };
    std::vector<ListenerEntry> m_listeners;
    int m_nextListener = 1;
    // Every state gets a serial; a step knows the serials on its two sides,
    // so a step that does not belong to the current state is refused.
    std::uint64_t m_serial = 1;
    std::uint64_t m_nextSerial = 2;
};

} // namespace tabry
