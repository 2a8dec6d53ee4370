#pragma once
// The results the players report from their phones, waiting for the desk.
// Nothing a phone sends reaches the table: a report only joins this list,
// and the desk accepts it (and then enters the game through the editor, as
// if it had been typed) or rejects it.
//
// A report names a board of the current round, the disc counts of its left
// and right player and the board's code (core/ReportCode.h). The inbox
// checks the code and the counts as the result editor reads a count
// (core/ScoreReading.h), and bounds what a hostile network can do: reports
// per address and per board are limited, five wrong codes lock a board for a
// minute, at most a few reports wait per board, and the list itself is
// bounded by the boards of the table. The same report sent again (a reload,
// a second tap) adds nothing; the same result from another phone marks the
// report agreed; a different result for a board that has one waiting makes
// both a conflict for the desk.
//
// Safe to call from any thread: the server's threads submit, the desk reads
// and decides. The change callback runs on the thread that made the change,
// outside the inbox's lock.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

struct TournamentData;
class CResultTable;
class CTournamentInfo;

enum class ReportOutcome {
    Received,   // waiting for the desk
    Agreed,     // the same result as one already waiting from another phone
    Conflict,   // another result is waiting for the same board
    WrongCode,  // the code is not the board's (403)
    LockedOut,  // the board refuses reports for a while after wrong codes (429)
    WrongRound, // a round other than the current one (409)
    Invalid,    // no such board, or counts no game can end with (400)
    Limited,    // too many reports from the address or for the board, or too many waiting (429)
    Off,        // reporting is switched off (405)
    Decided,    // the desk already entered the board's result (409)
    Refused,    // a request no report page sends: too large, from another site, no form (refused by the server)
};
inline constexpr int kReportOutcomeCount = 11;
// The HTTP status the report page answers an outcome with.
int HttpStatusOf(ReportOutcome outcome);

// What reports are checked against: the key, the current round and its
// boards. Made from the tournament on every publication.
struct ReportContext {
    std::string key; // empty: reporting is off
    int round = 0;   // the current round, from 1 (0: none)
    struct Board {
        int number = 0;
        bool decided = false; // the game has a result
    };
    std::vector<Board> boards; // of the current round, by number
    int maxBoards = 0;         // the most boards a round of the table can have
    friend bool operator==(const ReportContext&, const ReportContext&) = default;
    friend bool operator==(const Board& a, const Board& b) { return a.number == b.number && a.decided == b.decided; }
};
// The context of a tournament: its key, its current round (the last round
// with a game) and that round's boards (core/Boards.h).
ReportContext ReportContextOf(const CResultTable& table, const CTournamentInfo& info);

struct PendingReport {
    std::uint64_t id = 0; // never reused within a run, kept across a recovery
    int round = 0;        // from 1
    int board = 0;
    int first = 0;         // the left player's discs
    int second = 0;        // the right player's discs
    std::int64_t when = 0; // seconds since 1970 (UTC) of the first report
    enum class State {
        Single,   // one phone sent it, nothing contradicts it
        Agreed,   // two phones sent the same result
        Conflict, // another result waits for the same board
    } state = State::Single;
    // The left player's disc difference, as the result editor stores it.
    int Disc() const { return first - second; }
    friend bool operator==(const PendingReport&, const PendingReport&) = default;
};

struct InboxLimits {
    int maxWaitingPerBoard = 3;
    int wrongCodesToLock = 5;
    std::chrono::seconds lockFor{60};
    // Token buckets: a burst, then one more every interval.
    int addressBurst = 10;
    std::chrono::seconds addressInterval{6};
    int boardBurst = 8;
    std::chrono::seconds boardInterval{6};
    std::size_t maxAddresses = 4096;
};

class CReportInbox {
public:
    using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;
    using WallNow = std::function<std::int64_t()>; // seconds since 1970 (UTC)

    explicit CReportInbox(InboxLimits limits = {}, SteadyNow steady = {}, WallNow wall = {});
    ~CReportInbox();
    CReportInbox(const CReportInbox&) = delete;
    CReportInbox& operator=(const CReportInbox&) = delete;

    // The tournament as it now stands. A new round or key ends every board's
    // lock; waiting reports stay (the desk still decides them).
    void SetContext(ReportContext context);
    bool IsOn() const;

    // A report as the form sends it: the texts of round, board, the two
    // counts and the code (UTF-8, full-width forms allowed), and the bytes
    // naming the sender's address.
    ReportOutcome Submit(std::string_view round, std::string_view board, std::string_view first,
                         std::string_view second, std::string_view code, std::string_view address);
    // The same with numbers already read (tests, the benchmark).
    ReportOutcome Submit(int round, int board, int first, int second, std::string_view code, std::string_view address);

    // Every report waiting, by round, board, then arrival.
    std::vector<PendingReport> Pending() const;
    std::size_t PendingCount() const;
    // The desk took the report: it and every other report for its board
    // leave the list; the report, or nothing when it was no longer waiting.
    std::optional<PendingReport> Accept(std::uint64_t id);
    // The desk threw the report away; false when it was no longer waiting.
    bool Reject(std::uint64_t id);

    // How often each outcome was answered since the start (index: the
    // outcome), for the dialog's status.
    std::array<std::uint64_t, kReportOutcomeCount> Counts() const;
    // Counts a report the server refused before it reached Submit (Refused,
    // or Limited by the server's own request limit).
    void NoteRefused(ReportOutcome outcome);

    // Called after every change of the waiting list (Pending), on the
    // changing thread. A callback must not call back into SetOnChange.
    void SetOnChange(std::function<void()> onChange);

    // The waiting list as bytes (for the crash journal) and back. Restore
    // reads any bytes: lines it cannot read are skipped, and it never takes
    // more reports than a table can have waiting. It replaces the list and
    // returns how many reports it took.
    std::string Serialize() const;
    std::size_t Restore(std::string_view bytes);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

} // namespace tabry
