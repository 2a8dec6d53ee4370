#pragma once
// The read-only JSON API: the same values as the pages, for scripts and other
// displays. Numbers are JSON numbers (points, tie-break values, board
// numbers), each beside its display text where the pages show one; a result
// has one shape everywhere: {"mark": "win|draw|loss|none|bye|absent",
// "disc": N or null, "text": "○+12"}. The README describes every member.

#include "live/LiveModel.h"

#include <string>
#include <string_view>

namespace tabry::live {

std::string StandingsJson(const TournamentHead& head, const Standings& standings, std::string_view version);
std::string RoundJson(const TournamentHead& head, const RoundPairing& pairing, std::string_view version);
std::string PlayerJson(const TournamentHead& head, const PlayerPage& page, std::string_view version);
// {"error":"..."}: what every refused or unknown API request gets, with its
// status.
std::string ErrorJson(std::string_view message);

} // namespace tabry::live
