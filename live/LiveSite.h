#pragma once
// The live site of one published snapshot: which addresses exist and what
// they answer. Only the addresses below exist; nothing in an address is ever
// taken as a file name.
//
//   /                  index: links to the rounds, the standings and every player
//   /standings         standings
//   /round             the current round's pairing (follows the next round)
//   /round/N           round N's pairing, N = 1..rounds
//   /player/KEY        one player's rounds (KEY: core/PlayerKeys.h)
//   /api/standings, /api/round, /api/round/N, /api/player/KEY  the same as JSON
//   /live.css, /live.js                                        style and script
//   /report?round=R&board=B[&code=C]  a board's report page, while the
//                      players report results (made per request: it carries
//                      the code from the slip's QR)
//
// Pages are made on first request, compressed then (once per publication, not
// per request), and kept for the life of the site, which is the life of its
// snapshot: every page of a site carries the same version tag, so a client
// that holds the tag needs nothing new.

#include "live/LiveModel.h"

#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tabry::live {

class CLiveSnapshot;

struct Route {
    enum class Kind { Index, Standings, Round, Player, Style, Script, Report } kind = Kind::Index;
    bool json = false;
    int number = 0;       // the round (1..)
    std::string key;      // the player's key
    bool follows = false; // /round: the current round, whichever it is
};

// The route of a decoded path (no query), or nothing. Round numbers are
// plain decimal without sign or leading zero, at most nine digits; a player
// key has the form core/PlayerKeys.h gives it.
std::optional<Route> ParsePath(std::string_view path);
// Whether an address (as ParsePath takes it) asks for JSON: every answer to
// it, an error too, is JSON then.
bool IsApiPath(std::string_view path);

struct Page {
    std::shared_ptr<const std::string> body;
    std::shared_ptr<const std::string> gzipBody; // the same gzip-compressed; null when that is not smaller
    const char* contentType = "";
    bool versioned = true; // false for the style sheet and the script
};

// The answer to an address that names nothing: an HTML page, or
// {"error":"not found"} for the API.
Page NotFound(bool json);

// Compresses a page (gzip); nothing when the plain bytes are to be sent.
using Compressor = std::optional<std::string> (*)(std::string_view);

class CLiveSite {
public:
    // `tag` is the version text pages carry and the server's entity tag
    // (without quotes). With `compress`, each page is compressed once, when
    // it is made. With `reporting` (and a reporting key in the snapshot)
    // the boards of the current round link to their report pages.
    CLiveSite(std::shared_ptr<const CLiveSnapshot> snapshot, std::string tag, Compressor compress = nullptr,
              bool reporting = false);

    const std::string& Tag() const { return m_tag; }
    const CLiveSnapshot& Snapshot() const { return *m_snapshot; }
    const std::shared_ptr<const CLiveSnapshot>& SnapshotPointer() const { return m_snapshot; }
    const TournamentHead& Head() const { return m_head; }
    bool Reporting() const { return m_reporting; }
    // Board `board` of round `round` while reports are taken and the round
    // is the current one; nothing otherwise.
    std::optional<BoardView> ReportBoard(int round, int board) const;

    // Whether the route names something in this snapshot (a round of the
    // table, a player of the table).
    bool Exists(const Route& route) const;
    // The page of an existing route; safe to call from any thread.
    Page Get(const Route& route) const;

private:
    const Standings& StandingsModel() const;
    const std::vector<std::vector<Board>>& AllBoards() const;
    std::string Render(const Route& route) const;

    std::shared_ptr<const CLiveSnapshot> m_snapshot;
    std::string m_tag;
    Compressor m_compress;
    TournamentHead m_head;
    bool m_reporting;

    // Each page is made once, by the first request that needs it, outside
    // the lock: requests for other pages, and 304 answers, never wait for it.
    struct Bodies {
        std::shared_ptr<const std::string> plain;
        std::shared_ptr<const std::string> gzip;
    };
    mutable std::mutex m_lock;
    mutable std::map<std::string, std::shared_future<Bodies>> m_pages;
    mutable std::once_flag m_standingsMade;
    mutable Standings m_standings;
    mutable std::once_flag m_boardsMade;
    mutable std::vector<std::vector<Board>> m_boards;
    mutable std::once_flag m_currentMade;
    mutable RoundPairing m_current;
};

// The entity tag of the style sheet and the script, which never change
// while the program runs.
const std::string& AssetTag();

} // namespace tabry::live
