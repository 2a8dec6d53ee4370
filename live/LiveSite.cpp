#include "live/LiveSite.h"

#include "live/LiveHtml.h"
#include "live/LiveJson.h"
#include "live/LiveSnapshot.h"

#include "core/PlayerKeys.h"

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
           + std::to_string(r.number) + "/" + r.key;
}

std::shared_ptr<const std::string> Compressed(Compressor compress, const std::string& body)
{
    if (compress == nullptr)
        return nullptr;
    std::optional<std::string> packed = compress(body);
    return packed ? std::make_shared<const std::string>(std::move(*packed)) : nullptr;
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
    if (!r.json && path == "/report") {
        r.kind = Route::Kind::Report;
        return r;
    }
    constexpr std::string_view kRound = "/round/";
    constexpr std::string_view kPlayer = "/player/";
    if (path.substr(0, kRound.size()) == kRound) {
        const std::optional<int> n = ParseNumber(path.substr(kRound.size()));
        if (!n)
            return std::nullopt;
        r.kind = Route::Kind::Round;
        r.number = *n;
        return r;
    }
    if (path.substr(0, kPlayer.size()) == kPlayer && IsPlayerKeyText(path.substr(kPlayer.size()))) {
        r.kind = Route::Kind::Player;
        r.key = std::string(path.substr(kPlayer.size()));
        return r;
    }
    return std::nullopt;
}

bool IsApiPath(std::string_view path)
{
    return path.substr(0, 5) == "/api/";
}

Page NotFound(bool json)
{
    static const auto html = std::make_shared<const std::string>(NotFoundPage());
    static const auto api = std::make_shared<const std::string>(ErrorJson("not found"));
    return json ? Page{api, nullptr, kJson, false} : Page{html, nullptr, kHtml, false};
}

const std::string& AssetTag()
{
    static const std::string tag = HashTag();
    return tag;
}

CLiveSite::CLiveSite(std::shared_ptr<const CLiveSnapshot> snapshot, std::string tag, Compressor compress,
                     bool reporting)
    : m_snapshot(std::move(snapshot)), m_tag(std::move(tag)), m_compress(compress), m_head(MakeHead(*m_snapshot)),
      m_reporting(reporting && !m_snapshot->Info().reportingKey.empty())
{
}

std::optional<BoardView> CLiveSite::ReportBoard(int round, int board) const
{
    if (!m_reporting || round != m_head.currentRound)
        return std::nullopt;
    std::call_once(m_currentMade, [this] { m_current = MakeRoundPairing(*m_snapshot, m_head.currentRound); });
    for (const BoardView& b : m_current.boards)
        if (b.number == board)
            return b;
    return std::nullopt;
}

bool CLiveSite::Exists(const Route& route) const
{
    switch (route.kind) {
    case Route::Kind::Round:
        return route.follows || (route.number >= 1 && route.number <= m_snapshot->Table().RoundCount());
    case Route::Kind::Player:
        return m_snapshot->RowOfKey(route.key) >= 0;
    case Route::Kind::Report:
        return m_reporting;
    default:
        return true;
    }
}

Page CLiveSite::Get(const Route& route) const
{
    const std::string key = CacheKey(route);
    std::promise<Bodies> promise;
    std::shared_future<Bodies> page;
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
            auto plain = std::make_shared<const std::string>(Render(route));
            auto gzip = Compressed(m_compress, *plain);
            promise.set_value(Bodies{std::move(plain), std::move(gzip)});
        } catch (...) {
            promise.set_exception(std::current_exception());
        }
    }
    const Bodies& bodies = page.get();
    if (route.kind == Route::Kind::Style)
        return Page{bodies.plain, bodies.gzip, "text/css; charset=utf-8", false};
    if (route.kind == Route::Kind::Script)
        return Page{bodies.plain, bodies.gzip, "text/javascript; charset=utf-8", false};
    return Page{bodies.plain, bodies.gzip, route.json ? kJson : kHtml, true};
}

const Standings& CLiveSite::StandingsModel() const
{
    std::call_once(m_standingsMade, [this] { m_standings = MakeStandings(*m_snapshot); });
    return m_standings;
}

const std::vector<std::vector<Board>>& CLiveSite::AllBoards() const
{
    std::call_once(m_boardsMade, [this] { m_boards = MakeAllBoards(*m_snapshot); });
    return m_boards;
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
        return route.json ? RoundJson(m_head, pairing, m_tag)
                          : RoundPage(m_head, pairing, route.follows, m_tag,
                                      m_reporting && pairing.round == m_head.currentRound);
    }
    case Route::Kind::Player: {
        for (const StandingRow& row : StandingsModel().rows) {
            if (row.player.key != route.key)
                continue;
            const PlayerPage page = MakePlayerPage(*m_snapshot, row, AllBoards());
            return route.json ? PlayerJson(m_head, page, m_tag) : PlayerPageHtml(m_head, page, m_tag);
        }
        return route.json ? ErrorJson("not found") : NotFoundPage();
    }
    case Route::Kind::Style:
        return StyleSheet();
    case Route::Kind::Script:
        return PageScript();
    case Route::Kind::Report:
        return NotFoundPage(); // made per request by the server (it carries the typed code)
    }
    return {};
}

} // namespace tabry::live
