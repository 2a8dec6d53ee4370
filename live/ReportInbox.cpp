#include "live/ReportInbox.h"

#include "core/Boards.h"
#include "core/ReportCode.h"
#include "core/ResultTable.h"
#include "core/ScoreReading.h"
#include "core/TournamentInfo.h"
#include "live/RateLimiter.h"
#include "text/LineString.h"

#include <algorithm>
#include <map>

namespace tabry {

namespace {

// However long the desk leaves reports waiting, the list stays this small:
// a few per board of the largest table over several rounds.
constexpr std::size_t kMaxWaiting = 4096;
// Addresses kept per report, to tell a replay from a second phone.
constexpr std::size_t kMaxSenders = 4;
constexpr std::string_view kHeader = "TORVA-REPORTS 1";

// Plain decimal digits, at most nine of them; nothing for anything else.
std::optional<int> SmallNumber(std::string_view text)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    int v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// A count of discs as a phone sends it: one or two plain digits; -1 for
// anything else.
int Discs(std::string_view text)
{
    if (text.empty() || text.size() > 2)
        return -1;
    int v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::optional<long long> LongNumber(std::string_view text)
{
    if (text.empty() || text.size() > 15)
        return std::nullopt;
    long long v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string Folded(std::string_view utf8)
{
    return std::string(TrimCSpace(FoldWideAscii(utf8)));
}

std::string Hex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::optional<std::string> Unhex(std::string_view hex)
{
    if (hex.size() % 2 != 0 || hex.size() > 32)
        return std::nullopt;
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = digit(hex[i]);
        const int lo = digit(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        out += static_cast<char>(hi << 4 | lo);
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        const size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

} // namespace

int HttpStatusOf(ReportOutcome outcome)
{
    switch (outcome) {
    case ReportOutcome::Received:
    case ReportOutcome::Agreed:
    case ReportOutcome::Conflict:
        return 200;
    case ReportOutcome::WrongCode:
        return 403;
    case ReportOutcome::LockedOut:
    case ReportOutcome::Limited:
        return 429;
    case ReportOutcome::WrongRound:
    case ReportOutcome::Decided:
        return 409;
    case ReportOutcome::Invalid:
    case ReportOutcome::Refused:
        return 400;
    case ReportOutcome::Off:
        return 405;
    }
    return 500;
}

ReportContext ReportContextOf(const CResultTable& table, const CTournamentInfo& info)
{
    ReportContext context;
    context.maxBoards = table.PlayerCount() / 2;
    if (info.reportingKey.empty())
        return context;
    context.key = info.reportingKey;
    context.round = 1;
    for (int j = table.RoundCount() - 1; j >= 0; --j) {
        if (table.RoundHasGames(j)) {
            context.round = j + 1;
            break;
        }
    }
    for (const Board& board : RoundBoards(table, context.round - 1))
        context.boards.push_back({board.number, table.Cell(board.left, context.round - 1).result != ResultNone});
    return context;
}

struct CReportInbox::Impl {
    InboxLimits limits;
    SteadyNow steady;
    WallNow wall;

    mutable std::mutex lock;
    ReportContext context;
    struct Lock {
        int wrong = 0;
        std::chrono::steady_clock::time_point until{};
    };
    std::map<int, Lock> locks; // by board of the current round
    std::unique_ptr<live::CRateLimiter> byAddress;
    std::unique_ptr<live::CRateLimiter> byBoard;

    struct Entry {
        PendingReport report;
        bool agreed = false;
        std::vector<std::string> senders;
    };
    std::vector<Entry> entries; // in arrival order
    std::uint64_t nextId = 1;
    std::array<std::uint64_t, kReportOutcomeCount> counts{};
    std::function<void()> onChange;

    void Restate(int round, int board)
    {
        int waiting = 0;
        for (const Entry& e : entries)
            waiting += e.report.round == round && e.report.board == board ? 1 : 0;
        for (Entry& e : entries)
            if (e.report.round == round && e.report.board == board)
                e.report.state = waiting > 1 ? PendingReport::State::Conflict
                                 : e.agreed  ? PendingReport::State::Agreed
                                             : PendingReport::State::Single;
    }

    static ReportOutcome OutcomeOf(const PendingReport& r)
    {
        switch (r.state) {
        case PendingReport::State::Agreed:
            return ReportOutcome::Agreed;
        case PendingReport::State::Conflict:
            return ReportOutcome::Conflict;
        case PendingReport::State::Single:
            break;
        }
        return ReportOutcome::Received;
    }

    // The checks in order; `changed` tells whether the list changed.
    ReportOutcome Check(std::string_view roundText, std::string_view boardText, std::string_view firstText,
                        std::string_view secondText, std::string_view codeText, std::string_view address,
                        bool& changed);
};

CReportInbox::CReportInbox(InboxLimits limits, SteadyNow steady, WallNow wall) : m(std::make_unique<Impl>())
{
    m->limits = limits;
    m->steady = steady ? std::move(steady) : SteadyNow([] { return std::chrono::steady_clock::now(); });
    m->wall = wall ? std::move(wall) : WallNow([] {
        return static_cast<std::int64_t>(
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                .count());
    });
    const auto rate = [](std::chrono::seconds interval) {
        return interval.count() > 0 ? 1.0 / static_cast<double>(interval.count()) : 1e9;
    };
    m->byAddress =
        std::make_unique<live::CRateLimiter>(rate(limits.addressInterval), limits.addressBurst, limits.maxAddresses);
    m->byBoard = std::make_unique<live::CRateLimiter>(rate(limits.boardInterval), limits.boardBurst, 1024);
}

CReportInbox::~CReportInbox() = default;

void CReportInbox::SetContext(ReportContext context)
{
    std::lock_guard<std::mutex> hold(m->lock);
    if (context.key != m->context.key || context.round != m->context.round)
        m->locks.clear();
    m->context = std::move(context);
}

bool CReportInbox::IsOn() const
{
    std::lock_guard<std::mutex> hold(m->lock);
    return !m->context.key.empty();
}

ReportOutcome CReportInbox::Impl::Check(std::string_view roundText, std::string_view boardText,
                                        std::string_view firstText, std::string_view secondText,
                                        std::string_view codeText, std::string_view address, bool& changed)
{
    if (context.key.empty())
        return ReportOutcome::Off;
    const auto now = steady();
    if (!byAddress->Allow(address, now))
        return ReportOutcome::Limited;
    const std::optional<int> round = SmallNumber(Folded(roundText));
    const std::optional<int> board = SmallNumber(Folded(boardText));
    if (!round || !board)
        return ReportOutcome::Invalid;
    if (*round != context.round)
        return ReportOutcome::WrongRound;
    const auto seat = std::find_if(context.boards.begin(), context.boards.end(),
                                   [&](const ReportContext::Board& b) { return b.number == *board; });
    if (seat == context.boards.end())
        return ReportOutcome::Invalid;

    Lock& boardLock = locks[*board];
    if (boardLock.until > now)
        return ReportOutcome::LockedOut;
    if (!IsReportCode(context.key, *round, *board, codeText)) {
        if (++boardLock.wrong >= limits.wrongCodesToLock) {
            boardLock.wrong = 0;
            boardLock.until = now + limits.lockFor;
        }
        return ReportOutcome::WrongCode;
    }
    boardLock.wrong = 0;

    // The counts as the result editor reads a count, each side's reading
    // the other's mirror: the discs of both players fill the board. Only
    // whole discs: halves are the desk's adjudication, not a phone's count.
    const std::string first = Folded(firstText);
    const std::string second = Folded(secondText);
    const int firstDiscs = Discs(first);
    const int secondDiscs = Discs(second);
    if (firstDiscs < 0 || secondDiscs < 0)
        return ReportOutcome::Invalid;
    const ScoreReading left = ReadScoreText(first, false);
    const ScoreReading right = ReadScoreText(second, false);
    if (left.kind != ScoreReading::Number || right.kind != ScoreReading::Number || left.disc != -right.disc)
        return ReportOutcome::Invalid;

    for (Entry& e : entries) {
        if (e.report.round != *round || e.report.board != *board || e.report.first != firstDiscs)
            continue;
        // The same result again: a replay from the same phone, or the other
        // player agreeing.
        if (std::find(e.senders.begin(), e.senders.end(), address) == e.senders.end()) {
            if (e.senders.size() < kMaxSenders)
                e.senders.emplace_back(address);
            if (!e.agreed) {
                e.agreed = true;
                Restate(*round, *board);
                changed = true;
            }
        }
        return OutcomeOf(e.report);
    }
    if (seat->decided)
        return ReportOutcome::Decided;
    if (!byBoard->Allow(std::to_string(*round) + "/" + std::to_string(*board), now))
        return ReportOutcome::Limited;
    const auto waiting = std::count_if(entries.begin(), entries.end(), [&](const Entry& e) {
        return e.report.round == *round && e.report.board == *board;
    });
    if (waiting >= limits.maxWaitingPerBoard || entries.size() >= kMaxWaiting)
        return ReportOutcome::Limited;

    Entry entry;
    entry.report.id = nextId++;
    entry.report.round = *round;
    entry.report.board = *board;
    entry.report.first = firstDiscs;
    entry.report.second = secondDiscs;
    entry.report.when = wall();
    entry.senders.emplace_back(address);
    entries.push_back(std::move(entry));
    Restate(*round, *board);
    changed = true;
    return OutcomeOf(entries.back().report);
}

ReportOutcome CReportInbox::Submit(std::string_view round, std::string_view board, std::string_view first,
                                   std::string_view second, std::string_view code, std::string_view address)
{
    bool changed = false;
    ReportOutcome outcome;
    std::function<void()> tell;
    {
        std::lock_guard<std::mutex> hold(m->lock);
        outcome = m->Check(round, board, first, second, code, address, changed);
        ++m->counts[static_cast<size_t>(outcome)];
        if (changed)
            tell = m->onChange;
    }
    if (tell)
        tell();
    return outcome;
}

ReportOutcome CReportInbox::Submit(int round, int board, int first, int second, std::string_view code,
                                   std::string_view address)
{
    const auto text = [](int v) { return v < 0 ? std::string("-") + std::to_string(-v) : std::to_string(v); };
    return Submit(text(round), text(board), text(first), text(second), code, address);
}

std::vector<PendingReport> CReportInbox::Pending() const
{
    std::vector<PendingReport> list;
    {
        std::lock_guard<std::mutex> hold(m->lock);
        for (const Impl::Entry& e : m->entries)
            list.push_back(e.report);
    }
    std::stable_sort(list.begin(), list.end(), [](const PendingReport& a, const PendingReport& b) {
        return a.round != b.round ? a.round < b.round : a.board < b.board;
    });
    return list;
}

std::size_t CReportInbox::PendingCount() const
{
    std::lock_guard<std::mutex> hold(m->lock);
    return m->entries.size();
}

std::optional<PendingReport> CReportInbox::Accept(std::uint64_t id)
{
    std::optional<PendingReport> taken;
    std::function<void()> tell;
    {
        std::lock_guard<std::mutex> hold(m->lock);
        const auto it =
            std::find_if(m->entries.begin(), m->entries.end(), [&](const Impl::Entry& e) { return e.report.id == id; });
        if (it == m->entries.end())
            return std::nullopt;
        taken = it->report;
        std::erase_if(m->entries, [&](const Impl::Entry& e) {
            return e.report.round == taken->round && e.report.board == taken->board;
        });
        // The board has its result now, even before the next publication
        // says so: a late phone must not queue it again.
        if (taken->round == m->context.round)
            for (ReportContext::Board& b : m->context.boards)
                if (b.number == taken->board)
                    b.decided = true;
        tell = m->onChange;
    }
    if (tell)
        tell();
    return taken;
}

bool CReportInbox::Reject(std::uint64_t id)
{
    std::function<void()> tell;
    {
        std::lock_guard<std::mutex> hold(m->lock);
        const auto it =
            std::find_if(m->entries.begin(), m->entries.end(), [&](const Impl::Entry& e) { return e.report.id == id; });
        if (it == m->entries.end())
            return false;
        const int round = it->report.round;
        const int board = it->report.board;
        m->entries.erase(it);
        m->Restate(round, board);
        tell = m->onChange;
    }
    if (tell)
        tell();
    return true;
}

std::array<std::uint64_t, kReportOutcomeCount> CReportInbox::Counts() const
{
    std::lock_guard<std::mutex> hold(m->lock);
    return m->counts;
}

void CReportInbox::NoteRefused(ReportOutcome outcome)
{
    std::lock_guard<std::mutex> hold(m->lock);
    ++m->counts[static_cast<size_t>(outcome)];
}

void CReportInbox::SetOnChange(std::function<void()> onChange)
{
    std::lock_guard<std::mutex> hold(m->lock);
    m->onChange = std::move(onChange);
}

std::string CReportInbox::Serialize() const
{
    std::lock_guard<std::mutex> hold(m->lock);
    std::string out(kHeader);
    out += "\nnext " + std::to_string(m->nextId) + "\n";
    for (const Impl::Entry& e : m->entries) {
        const PendingReport& r = e.report;
        out += "report " + std::to_string(r.id) + " " + std::to_string(r.round) + " " + std::to_string(r.board) + " "
               + std::to_string(r.first) + " " + std::to_string(r.second) + " " + std::to_string(r.when) + " "
               + (e.agreed ? "1" : "0") + " ";
        for (size_t i = 0; i < e.senders.size(); ++i)
            out += (i > 0 ? "," : "") + Hex(e.senders[i]);
        out += "\n";
    }
    return out;
}

std::size_t CReportInbox::Restore(std::string_view bytes)
{
    std::vector<Impl::Entry> entries;
    std::uint64_t nextId = 1;
    std::vector<std::string_view> lines = Split(bytes, '\n');
    if (!lines.empty() && !lines[0].empty() && lines[0].back() == '\r')
        lines[0].remove_suffix(1);
    if (!lines.empty() && lines[0] == kHeader) {
        for (size_t i = 1; i < lines.size(); ++i) {
            std::string_view line = lines[i];
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
            const std::vector<std::string_view> f = Split(line, ' ');
            if (f.size() == 2 && f[0] == "next") {
                if (const std::optional<long long> n = LongNumber(f[1]))
                    nextId = std::max<std::uint64_t>(nextId, static_cast<std::uint64_t>(*n));
                continue;
            }
            if (f.size() != 9 || f[0] != "report" || entries.size() >= kMaxWaiting)
                continue;
            const std::optional<long long> id = LongNumber(f[1]);
            const std::optional<int> round = SmallNumber(f[2]);
            const std::optional<int> board = SmallNumber(f[3]);
            const std::optional<int> first = SmallNumber(f[4]);
            const std::optional<int> second = SmallNumber(f[5]);
            const std::optional<long long> when = LongNumber(f[6]);
            if (!id || *id == 0 || !round || *round < 1 || *round > kMaxRounds || !board || *board < 1
                || *board > kMaxPlayers / 2 || !first || !second || *first + *second != 64 || !when
                || (f[7] != "0" && f[7] != "1"))
                continue;
            Impl::Entry e;
            for (const std::string_view hex : Split(f[8], ',')) {
                const std::optional<std::string> address = Unhex(hex);
                if (address && !address->empty() && e.senders.size() < kMaxSenders)
                    e.senders.push_back(*address);
            }
            const auto same = [&](const Impl::Entry& o) {
                return o.report.id == static_cast<std::uint64_t>(*id)
                       || (o.report.round == *round && o.report.board == *board && o.report.first == *first);
            };
            const auto onBoard = std::count_if(entries.begin(), entries.end(), [&](const Impl::Entry& o) {
                return o.report.round == *round && o.report.board == *board;
            });
            if (std::any_of(entries.begin(), entries.end(), same) || onBoard >= m->limits.maxWaitingPerBoard)
                continue;
            e.report = {static_cast<std::uint64_t>(*id), *round, *board, *first, *second, *when, {}};
            e.agreed = f[7] == "1";
            entries.push_back(std::move(e));
            nextId = std::max<std::uint64_t>(nextId, static_cast<std::uint64_t>(*id) + 1);
        }
    }
    std::function<void()> tell;
    std::size_t taken = 0;
    {
        std::lock_guard<std::mutex> hold(m->lock);
        m->entries = std::move(entries);
        m->nextId = std::max(m->nextId, nextId);
        for (const Impl::Entry& e : m->entries)
            m->Restate(e.report.round, e.report.board);
        taken = m->entries.size();
        tell = m->onChange;
    }
    if (tell)
        tell();
    return taken;
}

} // namespace tabry
