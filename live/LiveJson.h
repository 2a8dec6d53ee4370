#pragma once
// The read-only JSON API: the same values as the pages, for scripts and other
// displays. Texts are as the pages show them; points are JSON numbers.

#include "live/LiveModel.h"

#include <string>
#include <string_view>

namespace tabry::live {

std::string StandingsJson(const TournamentHead& head, const Standings& standings, std::string_view version);
std::string RoundJson(const TournamentHead& head, const RoundPairing& pairing, std::string_view version);
std::string PlayerJson(const TournamentHead& head, const PlayerPage& page, std::string_view version);

} // namespace tabry::live
