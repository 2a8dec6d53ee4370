#pragma once
// The live pages as HTML5 in UTF-8, made for a phone first: the index, the
// standings, a round's pairing by board and one page per player. Every page
// carries the published version in <main data-version>, which the page's
// script sends back to learn whether a newer state exists.

#include "live/LiveModel.h"

#include <string>
#include <string_view>

namespace tabry::live {

std::string IndexPage(const TournamentHead& head, const std::vector<PlayerRef>& players, std::string_view version);
std::string StandingsPage(const TournamentHead& head, const Standings& standings, std::string_view version);
// `follows`: the page at /round, which always shows the current round.
std::string RoundPage(const TournamentHead& head, const RoundPairing& pairing, bool follows, std::string_view version);
std::string PlayerPageHtml(const TournamentHead& head, const PlayerPage& page, std::string_view version);
std::string NotFoundPage();

// The style sheet and the script every page links (/live.css, /live.js).
const std::string& StyleSheet();
const std::string& PageScript();

} // namespace tabry::live
