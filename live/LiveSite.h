#pragma once
// The live site of one published snapshot: which addresses exist and what
// they answer. Only the addresses below exist; nothing in an address is ever
// taken as a file name.
//
//   /                  index: links to the rounds, the standings and every player
//   /standings         standings
//   /round             the current round's pairing (follows the next round)
//   /round/N           round N's pairing, N = 1..rounds
//   /player/ID         one player's rounds (ID: the player's number)
//   /api/standings, /api/round, /api/round/N, /api/player/ID   the same as JSON
//   /live.css, /live.js                                        style and script
//
// Pages are made on first request and kept for the life of the site, which
// is the life of its snapshot: every page of a site carries the same version
// tag, so a client that holds the tag needs nothing new.

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
    enum class Kind { Index, Standings, Round, Player, Style, Script } kind = Kind::Index;
    bool json = false;
    int number = 0;       // the round (1..) or the player's number
    bool follows = false; // /round: the current round, whichever it is
};

// The route of a decoded path (no query), or nothing. Numbers are plain
// decimal without sign or leading zero, at most nine digits.
std::optional<Route> ParsePath(std::string_view path);

struct Page {
    std::shared_ptr<const std::string> body;
    const char* contentType = "";
    bool versioned = true; // false for the style sheet and the script
};

class CLiveSite {
public:
    // `tag` is the version text pages carry and the server's entity tag
    // (without quotes).
    CLiveSite(std::shared_ptr<const CLiveSnapshot> snapshot, std::string tag);

    const std::string& Tag() const { return m_tag; }
    const CLiveSnapshot& Snapshot() const { return *m_snapshot; }

    // Whether the route names something in this snapshot (a round of the
    // table, a player of the table).
    bool Exists(const Route& route) const;
    // The page of an existing route; safe to call from any thread.
    Page Get(const Route& route) const;

private:
    const Standings& StandingsModel() const;
    std::string Render(const Route& route) const;

    std::shared_ptr<const CLiveSnapshot> m_snapshot;
    std::string m_tag;
    TournamentHead m_head;

    // Each page is made once, by the first request that needs it, outside
    // the lock: requests for other pages, and 304 answers, never wait for it.
    mutable std::mutex m_lock;
    mutable std::map<std::string, std::shared_future<std::shared_ptr<const std::string>>> m_pages;
    mutable std::once_flag m_standingsMade;
    mutable Standings m_standings;
};

// The entity tag of the style sheet and the script, which never change
// while the program runs.
const std::string& AssetTag();

} // namespace tabry::live
