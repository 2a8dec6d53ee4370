#pragma once
// 結果票: the result slips of a round, cut apart and laid on the boards.

#include "paper/PageDescription.h"

#include <string_view>

namespace tabry {
struct TournamentData;
}

namespace tabry::paper {

// Slips per A4 page (two columns of four).
constexpr int kSlipsPerPage = 8;

// The slips of round `round` (1..roundCount), portrait, one per board in
// board order (core/Boards.h): the round and board, both players (left
// first) with a box each for the discs, and while the players report
// results, the board's code after 「報告コード」 and, with `urlBase` (the
// live pages' address, "http://HOST:PORT"), a QR code that opens the
// board's report page with the code filled in. The QR is drawn as filled
// rectangles so that both renderers draw it alike.
PaperDocument LayoutResultSlips(const TournamentData& data, int round, std::string_view urlBase = {});

} // namespace tabry::paper
