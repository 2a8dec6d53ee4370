#include "edit/TournamentEditor.h"

#include "core/Boards.h"
#include "core/ReportCode.h"
#include "pairing/RandomGenerator.h"
#include "text/Cp932.h"
#include "text/FileIo.h"

#include <algorithm>
#include <cstdio>

namespace tabry {

namespace {

std::string Format(const std::string& format, auto... args)
{
    const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

// A name as the edit menu shows it: whole up to a menu's width, else cut
// between two characters with "..." after it.
std::string MenuText(const std::string& text)
{
    constexpr size_t kMaxBytes = 32;
    if (text.size() <= kMaxBytes)
        return text;
    return text.substr(0, cp932::WholeCharsLength(text, kMaxBytes)) + "...";
}

// The boards of fixed rounds whose games a change is about to alter, as
// they are shown before it, so that afterwards every board keeps its number.
// A round the program never paired stays numbered by the standings (see
// core/Boards.h): games typed by hand fix nothing, so a tournament entered
// by hand is saved exactly as before.
class CBoardsBefore {
public:
    void Take(const CResultTable& table, int round)
    {
        if (table.Plan(round).empty())
            return;
        if (std::none_of(m_rounds.begin(), m_rounds.end(), [round](const auto& r) { return r.first == round; }))
            m_rounds.emplace_back(round, RoundBoards(table, round));
    }
    // Each taken round keeps its boards' numbers: a removed game's number
    // stays unused and a new game takes the next one. A round left without
    // games has no numbers to keep.
    void Keep(CResultTable& table) const
    {
        for (const auto& [round, before] : m_rounds) {
            if (round >= table.RoundCount())
                continue;
            BoardPlan plan = RefixedPlan(table, round, before);
            if (!table.RoundHasGames(round))
                plan.clear();
            table.SetPlan(round, std::move(plan));
        }
    }

private:
    std::vector<std::pair<int, std::vector<Board>>> m_rounds;
};

} // namespace

// The state before a change, and the step the change becomes.
class CTournamentEditor::CRecording {
public:
    explicit CRecording(const TournamentData& data) : before(CEditStep::Image::Take(data)) {}
    CEditStep::Image before;
    std::vector<int> order;
    std::optional<CEditStep::RecordEdit> record;
    std::optional<CEditStep::PlayerRebuild> rebuild;
};

CTournamentEditor::CTournamentEditor() = default;

CTournamentEditor::CTournamentEditor(TournamentData initial) : m_data(std::move(initial))
{
}

CTournamentEditor::~CTournamentEditor() = default;

int CTournamentEditor::AddListener(ListenerRank rank, Listener listener)
{
    const int id = m_nextListener++;
    // Kept in the order they are told: by rank, then as they came.
    const auto at = std::upper_bound(m_listeners.begin(), m_listeners.end(), rank,
                                     [](ListenerRank r, const ListenerEntry& e) { return r < e.rank; });
    m_listeners.insert(at, {id, rank, std::make_shared<Listener>(std::move(listener))});
    return id;
}

void CTournamentEditor::RemoveListener(int id)
{
    std::erase_if(m_listeners, [id](const ListenerEntry& e) { return e.id == id; });
}

void CTournamentEditor::Notify(ChangeKind kind, const ChangeEffects& effects, std::shared_ptr<const CEditStep> step)
{
    // A listener may remove itself or others (a view re-created on a resize):
    // work on a copy and skip whoever left meanwhile.
    const std::vector<ListenerEntry> listeners = m_listeners;
    const ChangeEvent event{kind, effects, std::move(step)};
    for (const ListenerEntry& l : listeners) {
        const bool present =
            std::any_of(m_listeners.begin(), m_listeners.end(), [&](const ListenerEntry& e) { return e.id == l.id; });
        if (present)
            (*l.fn)(event);
    }
}

ChangeEffects CTournamentEditor::ResetEffects() const
{
    ChangeEffects fx;
    fx.wholeTable = true;
    fx.allTotals = true;
    fx.resized = true;
    fx.details = true;
    fx.players = true;
    return fx;
}

std::string CTournamentEditor::RowName(int row) const
{
    return MenuText(m_data.players.GetAt(m_data.table.Entry(row).playerIndex).m_longName);
}

// ---- whole tournaments --------------------------------------------------------

void CTournamentEditor::NewTournament()
{
    m_data.NewTournament();
    m_serial = m_nextSerial++;
    Notify(ChangeKind::Reset, ResetEffects(), nullptr);
}

LoadStatus CTournamentEditor::Opened(LoadStatus status)
{
    if (status == LoadStatus::Ok) {
        m_serial = m_nextSerial++;
        Notify(ChangeKind::Reset, ResetEffects(), nullptr);
    }
    return status;
}

LoadStatus CTournamentEditor::Load(std::string_view bytes, LoadReport* report, DamagePolicy damage)
{
    return Opened(m_data.Load(bytes, report, damage));
}

LoadStatus CTournamentEditor::Restore(std::string_view bytes, LoadReport* report)
{
    return Opened(m_data.LoadWithRecords(bytes, report, DamagePolicy::Refuse));
}

LoadStatus CTournamentEditor::LoadFile(const std::filesystem::path& path, LoadReport* report, DamagePolicy damage)
{
    return Opened(m_data.LoadFile(path, report, damage));
}

LoadStatus CTournamentEditor::LoadPlayers(const std::filesystem::path& path, FileError* error)
{
    const LoadStatus status = m_data.LoadPlayers(path, error);
    // Record indices may mean other people now: no earlier step applies.
    m_serial = m_nextSerial++;
    return status;
}

int CTournamentEditor::AddPlayer(const CPlayerRecord& r)
{
    const int index =
        m_data.players.Add(r.m_longName, r.m_inputName, r.m_shortName, r.m_residence, r.m_grade, r.m_memberNumber);
    m_data.playersModified = true;
    return index;
}

// ---- changes ----------------------------------------------------------------

namespace {

void EmptyCell(CResultTable& table, int row, int round, ChangeEffects& fx)
{
    table.SetCell(row, round, ResultCell{});
    table.ComputeTotals(row, -1);
    fx.cells.push_back({row, round});
    fx.totalsRows.push_back(row);
}

void WriteCell(CResultTable& table, int row, int round, int opponent, int result, int disc, ChangeEffects& fx)
{
    ResultCell cell;
    cell.opponent = opponent;
    cell.result = static_cast<std::int8_t>(result);
    cell.disc = static_cast<std::int8_t>(disc);
    cell.reserved = 0;
    table.SetCell(row, round, cell);
    table.ComputeTotals(row, -1);
    fx.cells.push_back({row, round});
    fx.totalsRows.push_back(row);
}

} // namespace

namespace {

ChangeEffects Refused(EditRefusal refusal)
{
    ChangeEffects fx;
    fx.refusal = refusal;
    return fx;
}

ChangeEffects Declined()
{
    return Refused({RefusalCode::Declined});
}

} // namespace

ChangeEffects CTournamentEditor::SetGame(int row, int round, int opponent, int result, int disc,
                                         const ConfirmFn& confirm)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (const EditRefusal refusal = GameRefusal(m_data, row, round, opponent, result))
        return Refused(refusal);

    disc = std::clamp(disc, -64, 64);
    if (opponent == NoOpponent) {
        result = ResultWin;
        disc = 0;
    } else if (result == ResultNone) {
        disc = 0;
    }
    const ResultCell current = table.Cell(row, round);
    if (current.opponent == opponent && current.result == result && current.disc == disc)
        return fx;

    int third = -1;
    if (opponent >= 0) {
        // In a table whose pairs all mirror each other, a third player x is
        // there exactly when the current cell does not name the opponent
        // yet. Asking about x rather than about the current cell also covers
        // a table read with a one-sided pair: a cell that names this row
        // without being named back is no third player, and a real pairing
        // of the opponent is never overwritten without the question.
        third = table.Cell(opponent, round).opponent;
        if (third >= 0 && third != row) {
            if (!confirm || !confirm(OverwriteOpponentQuestion(m_data, opponent, round, third)))
                return Declined();
        }
    }

    // Only a new partner changes the round's boards; a result does not.
    CBoardsBefore boards;
    if (current.opponent != opponent)
        boards.Take(table, round);
    CRecording rec(m_data);
    if (third >= 0 && third != row && table.Cell(third, round).opponent == opponent)
        EmptyCell(table, third, round, fx);
    // The previous partner is freed only when his cell still names this row;
    // otherwise it holds a game of his own.
    if (current.opponent >= 0 && table.Cell(current.opponent, round).opponent == row)
        EmptyCell(table, current.opponent, round, fx);

    WriteCell(table, row, round, opponent, result, disc, fx);
    if (opponent >= 0) {
        const int mirrored = result == ResultNone ? ResultNone : -result;
        WriteCell(table, opponent, round, row, mirrored, -disc, fx);
    }
    boards.Keep(table);
    // Win points, secondary points and the Brightwell score depend on every
    // opponent's totals, so one game can move every row's values.
    if (table.settings.tieBreak != DiscDifference
        || (HasSecondTieBreak(table.settings) && table.settings.tieBreak2 != DiscDifference)) {
        table.ComputeTieBreaks(-1);
        fx.allTotals = true;
    }

    std::string name;
    if (opponent == NoOpponent)
        name = Format(SJ("%d回戦 %s の結果を削除"), round + 1, RowName(row).c_str());
    else if (opponent == ByeOpponent)
        name = Format(SJ("%d回戦 %s - %s"), round + 1, RowName(row).c_str(),
                      MenuText(m_data.players.GetAt(0).m_longName).c_str());
    else
        name = Format(SJ("%d回戦 %s - %s"), round + 1, RowName(row).c_str(), RowName(opponent).c_str());
    Commit(rec, std::move(name), fx);
    return fx;
}

ChangeEffects CTournamentEditor::SetRowPlayer(int row, int record, const ConfirmFn& confirm)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (const EditRefusal refusal = RowPlayerRefusal(m_data, row, record))
        return Refused(refusal);
    const int current = table.Entry(row).playerIndex;
    if (current < 0 && record < 0)
        return fx;
    // Taking the row's own player again (F2, Enter) is no change.
    if (record >= 0 && current == record)
        return fx;
    if (record < 0 && table.RowHasGames(row) && (!confirm || !confirm(DeletePlayerQuestion(m_data, row))))
        return Declined();

    CRecording rec(m_data);
    const std::string name =
        record >= 0 ? Format(SJ("プレイヤ入力: %s"), MenuText(m_data.players.GetAt(record).m_longName).c_str())
                    : Format(SJ("プレイヤ削除: %s"), RowName(row).c_str());
    if (table.RowHasGames(row)) {
        if (record < 0) {
            CBoardsBefore boards;
            for (int j = 0; j < table.RoundCount(); ++j)
                if (table.Cell(row, j).opponent >= 0)
                    boards.Take(table, j);
            table.DeletePlayer(row); // also clears the mirrors and recomputes everything
            boards.Keep(table);
        } else
            table.Entry(row).playerIndex = record; // the games now belong to the new player
        fx.wholeTable = true;
    } else {
        table.Entry(row).playerIndex = record < 0 ? -1 : record;
        // An empty row withdraws nobody; a player put into it later plays.
        if (record < 0) {
            table.Entry(row).withdrawnFrom = kNotWithdrawn;
            table.Entry(row).absent.reset();
        }
        fx.playerRows.push_back(row);
    }
    fx.totalsRows.push_back(row);
    Commit(rec, name, fx);
    return fx;
}

ChangeEffects CTournamentEditor::DeleteRound(int round, const ConfirmFn& confirm)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    // A round without games has nothing to delete; clearing it anyway would
    // only recompute.
    if (round < 0 || round >= table.RoundCount())
        return Refused({RefusalCode::OutOfTable, -1, round});
    if (!table.RoundHasGames(round))
        return fx;
    if (!confirm || !confirm(DeleteRoundQuestion(round)))
        return Declined();
    CRecording rec(m_data);
    table.ClearRound(round);
    fx.rounds.push_back(round);
    fx.allTotals = true;
    Commit(rec, Format(SJ("%d回戦の結果を削除"), round + 1), fx);
    return fx;
}

ChangeEffects CTournamentEditor::PairRound(int round, CRandomGenerator& random, const PairingOptions& options,
                                           PairingRunInfo* info, const ConfirmFn& confirm, PairedRound* paired)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (round < 0 || round >= table.RoundCount())
        return Refused({RefusalCode::OutOfTable, -1, round});
    std::vector<int> unpaired;
    for (int r = 0; r < table.PlayerCount(); ++r)
        if (!table.Entry(r).IsEmpty() && table.Entry(r).PlaysIn(round) && table.Cell(r, round).opponent == NoOpponent)
            unpaired.push_back(r);
    if (unpaired.empty())
        return fx;
    if (const std::vector<OpenBoards> open = OpenBoardsBefore(table, round);
        !open.empty() && (!confirm || !confirm(OpenBoardsQuestion(open))))
        return Declined();
    CRecording rec(m_data);
    // A round not fixed yet gets the numbers of the pairing table as it
    // stands now; a fixed one keeps its boards and numbers the new games on.
    const bool fixed = !table.Plan(round).empty();
    const std::vector<Board> before = fixed ? RoundBoards(table, round) : std::vector<Board>{};
    if (GeneratePairing(table, round, random, options, info) < 0)
        return fx;
    table.SetPlan(round, fixed ? RefixedPlan(table, round, before) : PlanOf(DerivedBoards(table, round)));
    if (paired != nullptr) {
        *paired = PairedRound{};
        paired->round = round;
        // Every new board joins two players who had no opponent before.
        for (const int r : unpaired) {
            const int opponent = table.Cell(r, round).opponent;
            if (opponent == ByeOpponent)
                paired->byeRow = r;
            else if (opponent > r)
                ++paired->boards;
        }
        paired->withdrawnRows = table.WithdrawnRows(round);
        paired->absentRows = table.AbsentRows(round);
    }
    fx.rounds.push_back(round);
    fx.allTotals = true;
    Commit(rec, Format(SJ("%d回戦の組み合わせ作成"), round + 1), fx);
    return fx;
}

ChangeEffects CTournamentEditor::Sort()
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    CRecording rec(m_data);
    table.ComputeAll();
    rec.order = table.SortOrder(EffectiveTieBreak(table.settings.tieBreak));
    table.PermuteRows(rec.order);
    bool moved = false;
    for (size_t i = 0; i < rec.order.size() && !moved; ++i)
        moved = rec.order[i] != static_cast<int>(i);
    if (!moved)
        rec.order.clear();
    fx.wholeTable = true;
    fx.allTotals = true;
    Commit(rec, SJ("順位でソート"), fx);
    return fx;
}

ChangeEffects CTournamentEditor::ApplySettings(const TableSettings& s, int players, int rounds,
                                               const ConfirmFn& confirm)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (players < 1 || players > kMaxPlayers || rounds < 1 || rounds > kMaxRounds)
        return Refused({RefusalCode::BadSize});
    if (s == table.settings && players == table.PlayerCount() && rounds == table.RoundCount())
        return fx;
    if (const std::string question = DataLossQuestion(table, players, rounds);
        !question.empty() && (!confirm || !confirm(question)))
        return Declined();
    CRecording rec(m_data);
    table.settings.showDiscDifference = s.showDiscDifference;
    if (players != table.PlayerCount() || rounds != table.RoundCount()) {
        // Games with removed rows go; the other boards keep their numbers.
        CBoardsBefore boards;
        for (int j = 0; j < std::min(rounds, table.RoundCount()); ++j)
            for (int r = std::max(players, 0); r < table.PlayerCount(); ++r)
                if (table.Cell(r, j).opponent >= 0)
                    boards.Take(table, j);
        table.Resize(players, rounds);
        table.Validate();
        boards.Keep(table);
        table.ComputeTotals(-1, -1);
        table.ComputeTieBreaks(-1);
        fx.resized = true;
    }
    if (s.tieBreak != table.settings.tieBreak) {
        table.settings.tieBreak = s.tieBreak;
        table.ComputeTieBreaks(-1);
    }
    if (s.tieBreak2 != table.settings.tieBreak2) {
        table.settings.tieBreak2 = HasSecondTieBreak(s) ? s.tieBreak2 : kNoTieBreak;
        table.ComputeTieBreaks(-1);
    }
    if (s.brightwellTenths != table.settings.brightwellTenths) {
        table.settings.brightwellTenths = s.brightwellTenths;
        table.ComputeTieBreaks(-1);
    }
    if (s.bye.IsValid() && s.bye != table.settings.bye) {
        table.settings.bye = s.bye;
        // The rounds sat out score as the rule says.
        table.ComputeAll();
    }
    fx.wholeTable = true;
    fx.allTotals = true;
    Commit(rec, SJ("オプションの変更"), fx);
    return fx;
}

// ---- withdrawals ------------------------------------------------------------

namespace {

// A cell the withdrawal takes away: a bye, or a pairing not yet played.
bool Unplayed(const ResultCell& c)
{
    return c.opponent == ByeOpponent || (c.opponent >= 0 && c.result == ResultNone);
}

} // namespace

ChangeEffects CTournamentEditor::Withdraw(int row, int round)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (const EditRefusal refusal = WithdrawalRefusal(m_data, row, round))
        return Refused(refusal);

    CBoardsBefore boards;
    for (int j = round; j < table.RoundCount(); ++j)
        if (Unplayed(table.Cell(row, j)) && table.Cell(row, j).opponent >= 0)
            boards.Take(table, j);
    CRecording rec(m_data);
    table.Entry(row).withdrawnFrom = round;
    // Rounds he meant to sit out are no longer his to sit out.
    for (int j = round; j < kMaxRounds; ++j)
        table.Entry(row).absent.reset(static_cast<size_t>(j));
    for (int j = round; j < table.RoundCount(); ++j) {
        const ResultCell cell = table.Cell(row, j);
        if (!Unplayed(cell))
            continue;
        // The partner is freed only when his cell still names this row;
        // otherwise it holds a game of his own.
        if (cell.opponent >= 0 && table.Cell(cell.opponent, j).opponent == row)
            table.Cell(cell.opponent, j).ClearGame();
        table.Cell(row, j).ClearGame();
    }
    boards.Keep(table);
    table.ComputeAll();
    fx.wholeTable = true;
    fx.allTotals = true;
    Commit(rec, SJ("棄権: ") + RowName(row) + " (" + std::to_string(round + 1) + SJ("回戦から)"), fx);
    return fx;
}

ChangeEffects CTournamentEditor::Reinstate(int row)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (row < 0 || row >= table.PlayerCount())
        return Refused({RefusalCode::OutOfTable, row});
    if (table.Entry(row).IsEmpty() || !table.Entry(row).IsWithdrawn())
        return Refused({RefusalCode::NotWithdrawn, row});
    CRecording rec(m_data);
    table.Entry(row).withdrawnFrom = kNotWithdrawn;
    fx.wholeTable = true;
    Commit(rec, SJ("棄権の取り消し: ") + RowName(row), fx);
    return fx;
}

ChangeEffects CTournamentEditor::SetAbsent(int row, int round, bool absent)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (const EditRefusal refusal = AbsenceRefusal(m_data, row, round, absent))
        return Refused(refusal);
    if (table.Entry(row).IsAbsentIn(round) == absent)
        return fx;
    CRecording rec(m_data);
    table.Entry(row).absent.set(static_cast<size_t>(round), absent);
    // A scored absence moves his points, and with them his opponents' values.
    table.ComputeAll();
    fx.wholeTable = true;
    fx.allTotals = true;
    const std::string what = absent ? SJ("休み: ") : SJ("休みの取り消し: ");
    Commit(rec, what + RowName(row) + " (" + std::to_string(round + 1) + SJ("回戦)"), fx);
    return fx;
}

ChangeEffects CTournamentEditor::AddRow()
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    if (table.PlayerCount() >= kMaxPlayers)
        return Refused({RefusalCode::TableFull});
    CRecording rec(m_data);
    table.Resize(table.PlayerCount() + 1, table.RoundCount());
    table.ComputeTieBreaks(-1);
    fx.resized = true;
    fx.wholeTable = true;
    fx.allTotals = true;
    Commit(rec, SJ("行の追加"), fx);
    return fx;
}

ChangeEffects CTournamentEditor::SetDetails(const std::string& name, int year, int month, int day)
{
    ChangeEffects fx;
    CTournamentInfo& info = m_data.info;
    if (info.name == name && info.year == year && info.month == month && info.day == day)
        return fx;
    CRecording rec(m_data);
    info.name = name;
    info.year = year;
    info.month = month;
    info.day = day;
    fx.details = true;
    Commit(rec, SJ("ファイルの詳細情報の変更"), fx);
    return fx;
}

ChangeEffects CTournamentEditor::SetReportingKey(const std::string& key)
{
    ChangeEffects fx;
    if (!key.empty() && !IsReportingKey(key))
        return Refused({RefusalCode::BadReportingKey});
    if (m_data.info.reportingKey == key)
        return fx;
    CRecording rec(m_data);
    m_data.info.reportingKey = key;
    fx.details = true;
    Commit(rec, key.empty() ? SJ("結果報告の停止") : SJ("結果報告の開始"), fx);
    return fx;
}

ChangeEffects CTournamentEditor::EditPlayerRecord(int index, const CPlayerRecord& record)
{
    ChangeEffects fx;
    // Record 0 is the bye, which nobody edits.
    if (index < 1 || index >= m_data.players.GetCount())
        return Refused({RefusalCode::BadRecord, -1, -1, -1, index});
    if (m_data.players.GetAt(index) == record)
        return fx;
    CRecording rec(m_data);
    rec.record = CEditStep::RecordEdit{index, m_data.players.GetAt(index), record};
    m_data.players.SetAt(index, record);
    m_data.playersModified = true;
    fx.wholeTable = true;
    fx.players = true;
    Commit(rec, Format(SJ("ユーザDBの編集: %s"), MenuText(record.m_longName).c_str()), fx);
    return fx;
}

ChangeEffects CTournamentEditor::RebuildPlayers(const std::vector<PlayerListEntry>& list, PlayerRebuildResult* result)
{
    ChangeEffects fx;
    CResultTable& table = m_data.table;
    CPlayerDatabase& db = m_data.players;
    // Every row's player must be in the new list: a row whose person is left
    // out would keep his old index, which then names somebody else. (The
    // bye record stays record 0 whatever the list holds.)
    for (int t = 0; t < table.PlayerCount(); ++t) {
        const int index = table.Entry(t).playerIndex;
        if (index > 0
            && std::none_of(list.begin(), list.end(), [index](const PlayerListEntry& p) { return p.origin == index; }))
            return Refused({RefusalCode::RebuildDropsPlayer, t, -1, -1, index});
    }
    CRecording rec(m_data);
    CEditStep::PlayerRebuild rebuild;
    rebuild.before = db.Records();
    const CPlayerDatabase before = db;
    std::vector<int> renumber(static_cast<size_t>(table.PlayerCount()), -1);

    db.Reset();
    for (const PlayerListEntry& p : list) {
        const CPlayerRecord& r = p.record;
        const int index =
            db.Add(r.m_longName, r.m_inputName, r.m_shortName, r.m_residence, r.m_grade, r.m_memberNumber);
        if (p.origin < 0) {
            rebuild.added.push_back(index);
            continue;
        }
        // Every table row that plays as this person follows him to his new
        // index, not only the first: a table that names one person twice
        // must not leave the second row pointing at whoever lands on the
        // old index.
        for (int t = 0; t < table.PlayerCount(); ++t)
            if (table.Entry(t).playerIndex == p.origin)
                renumber[static_cast<size_t>(t)] = index;
    }

    PlayerRebuildResult outcome;
    for (int t = 0; t < table.PlayerCount(); ++t) {
        PlayerEntry& entry = table.Entry(t);
        const int oldIndex = entry.playerIndex;
        if (renumber[static_cast<size_t>(t)] >= 0 && renumber[static_cast<size_t>(t)] != oldIndex) {
            entry.playerIndex = renumber[static_cast<size_t>(t)];
            outcome.referencesChanged = true;
        }
        if (!entry.IsEmpty() && !(before.GetAt(oldIndex) == db.GetAt(entry.playerIndex)))
            outcome.playersChanged = true;
    }
    if (result != nullptr)
        *result = outcome;

    rebuild.after = db.Records();
    if (rebuild.after == rebuild.before) {
        // The same people in the same order: nothing to record.
        return fx;
    }
    rec.rebuild = std::move(rebuild);
    m_data.playersModified = true;
    fx.wholeTable = true;
    fx.players = true;
    Commit(rec, SJ("ユーザDBの編集"), fx);
    return fx;
}

void CTournamentEditor::Commit(CRecording& rec, std::string name, ChangeEffects& fx)
{
    auto step = std::make_shared<CEditStep>();
    step->m_name = std::move(name);
    step->RecordTable(rec.before, m_data, std::move(rec.order));
    step->m_record = std::move(rec.record);
    step->m_rebuild = std::move(rec.rebuild);
    if (step->IsEmpty()) {
        fx = ChangeEffects{};
        return;
    }
    step->m_serialBefore = m_serial;
    m_serial = m_nextSerial++;
    step->m_serialAfter = m_serial;
    Notify(ChangeKind::Edit, fx, std::move(step));
}

// ---- history ----------------------------------------------------------------

bool CTournamentEditor::Undo(const CEditStep& step)
{
    if (step.m_serialAfter != m_serial)
        return false;
    step.ApplyUndo(m_data);
    m_serial = step.m_serialBefore;
    Notify(ChangeKind::Undo, step.Effects(), nullptr);
    return true;
}

bool CTournamentEditor::Redo(const CEditStep& step)
{
    if (step.m_serialBefore != m_serial)
        return false;
    step.ApplyRedo(m_data);
    m_serial = step.m_serialAfter;
    Notify(ChangeKind::Redo, step.Effects(), nullptr);
    return true;
}

} // namespace tabry
