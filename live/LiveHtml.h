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
// `reporting`: each board without a result links to its report page.
std::string RoundPage(const TournamentHead& head, const RoundPairing& pairing, bool follows, std::string_view version,
                      bool reporting = false);
std::string PlayerPageHtml(const TournamentHead& head, const PlayerPage& page, std::string_view version);
std::string NotFoundPage();

// A board's report page: its two players (left and right as the boards
// are numbered), a field for each one's discs, the code (filled in with
// `code`, escaped) and a button; a plain form, posted to /report.
std::string ReportFormPage(const TournamentHead& head, int round, const BoardView& board, std::string_view code);

// The answer to a report: what was received, or why not.
struct ReportAnswer {
    std::string heading;
    std::string text;
    int round = 0;
    const BoardView* board = nullptr; // the board reported on, when there is one
    int first = -1;                   // the counts received; -1 when nothing was received
    int second = -1;
};
std::string ReportAnswerPage(const TournamentHead& head, const ReportAnswer& answer);

// The style sheet and the script every page links (/live.css, /live.js).
const std::string& StyleSheet();
const std::string& PageScript();

} // namespace tabry::live
