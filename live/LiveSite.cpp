#include "live/LiveSite.h"

#include "live/LiveHtml.h"
#include "live/LiveJson.h"
#include "live/LiveSnapshot.h"

namespace tabry::live {

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kJson = "application/json; charset=utf-8";

std::optional<int> ParseNumber(std::string_view text)
{
    if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string CacheKey(const Route& r)
{
    return std::to_string(static_cast<int>(r.kind)) + (r.json ? "j" : "h") + (r.follows ? "f" : "n")
           + std::to_string(r.number);
}

// FNV-1a of the two assets: their tag changes whenever a build changes them.
std::string HashTag()
{
    std::uint64_t h = 1469598103934665603ULL;
    for (const std::string* text : {&StyleSheet(), &PageScript()})
        for (unsigned char c : *text)
            h = (h ^ c) * 1099511628211ULL;
    static const char kHex[] = "0123456789abcdef";
    std::string tag = "a";
    for (int shift = 60; shift >= 0; shift -= 4)
        tag += kHex[(h >> shift) & 0xF];
    return tag;
}

} // namespace

std::optional<Route> ParsePath(std::string_view path)
{
    Route r;
    if (path.substr(0, 5) == "/api/") {
        r.json = true;
        path.remove_prefix(4);
    }
    if (!r.json && path == "/")
        return r;
    if (!r.json && path == "/live.css") {
        r.kind = Route::Kind::Style;
        return r;
    }
    if (!r.json && path == "/live.js") {
        r.kind = Route::Kind::Script;
        return r;
    }
    if (path == "/standings") {
        r.kind = Route::Kind::Standings;
        return r;
    }
    if (path == "/round") {
        r.kind = Route::Kind::Round;
        r.follows = true;
        return r;
    }
    for (const auto& [prefix, kind] : {std::pair{std::string_view("/round/"), Route::Kind::Round},
                                       std::pair{std::string_view("/player/"), Route::Kind::Player}}) {
        if (path.substr(0, prefix.size()) == prefix) {
            const std::optional<int> n = ParseNumber(path.substr(prefix.size()));
            if (!n)
                return std::nullopt;
            r.kind = kind;
            r.number = *n;
            return r;
        }
    }
    return std::nullopt;
}

const std::string& AssetTag()
{
    static const std::string tag = HashTag();
    return tag;
}

CLiveSite::CLiveSite(std::shared_ptr<const CLiveSnapshot> snapshot, std::string tag)
    : m_snapshot(std::move(snapshot)), m_tag(std::move(tag)), m_head(MakeHead(*m_snapshot))
{
}

bool CLiveSite::Exists(const Route& route) const
{
    switch (route.kind) {
    case Route::Kind::Round:
        return route.follows || (route.number >= 1 && route.number <= m_snapshot->Table().RoundCount());
    case Route::Kind::Player:
        return m_snapshot->RowOfPlayer(route.number) >= 0;
    default:
        return true;
    }
}

Page CLiveSite::Get(const Route& route) const
{
    if (route.kind == Route::Kind::Style)
        return Page{std::shared_ptr<const std::string>(std::shared_ptr<void>(), &StyleSheet()),
                    "text/css; charset=utf-8", false};
    if (route.kind == Route::Kind::Script)
        return Page{std::shared_ptr<const std::string>(std::shared_ptr<void>(), &PageScript()),
                    "text/javascript; charset=utf-8", false};
    const std::string key = CacheKey(route);
    std::promise<std::shared_ptr<const std::string>> promise;
    std::shared_future<std::shared_ptr<const std::string>> page;
    bool mine = false;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        auto it = m_pages.find(key);
        if (it == m_pages.end()) {
            mine = true;
            it = m_pages.emplace(key, promise.get_future().share()).first;
        }
        page = it->second;
    }
    if (mine) {
        try {
            promise.set_value(std::make_shared<const std::string>(Render(route)));
        } catch (...) {
            promise.set_exception(std::current_exception());
        }
    }
    return Page{page.get(), route.json ? kJson : kHtml, true};
}

const Standings& CLiveSite::StandingsModel() const
{
    std::call_once(m_standingsMade, [this] { m_standings = MakeStandings(*m_snapshot); });
    return m_standings;
}

std::string CLiveSite::Render(const Route& route) const
{
    switch (route.kind) {
    case Route::Kind::Index:
        if (route.json)
            return StandingsJson(m_head, StandingsModel(), m_tag);
        return IndexPage(m_head, MakePlayerList(*m_snapshot), m_tag);
    case Route::Kind::Standings:
        return route.json ? StandingsJson(m_head, StandingsModel(), m_tag)
                          : StandingsPage(m_head, StandingsModel(), m_tag);
    case Route::Kind::Round: {
        const RoundPairing pairing = MakeRoundPairing(*m_snapshot, route.follows ? m_head.currentRound : route.number);
        return route.json ? RoundJson(m_head, pairing, m_tag) : RoundPage(m_head, pairing, route.follows, m_tag);
    }
    case Route::Kind::Player: {
        for (const StandingRow& row : StandingsModel().rows) {
            if (row.player.id != route.number)
                continue;
            const PlayerPage page = MakePlayerPage(*m_snapshot, row);
            return route.json ? PlayerJson(m_head, page, m_tag) : PlayerPageHtml(m_head, page, m_tag);
        }
        return NotFoundPage();
    }
    default:
        return {};
    }
}

} // namespace tabry::live
