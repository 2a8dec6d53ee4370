#pragma once
// The final standings as a macro file for a separate page-layout program,
// printed on B5 pages: a title box, then pages of at most 20 players, each a
// row of absolutely positioned column boxes (numbers, names with grades, one
// box per round, totals). Texts are inserted unchanged.

#include <string>

namespace tabry {

class CPlayerDatabase;
class CResultTable;
class CTournamentInfo;

// A long name laid out to five full-width characters: its first two words
// (split at ASCII white space) with (10 - bytes of both) / 2 full-width spaces
// between them; further words are dropped.
std::string AlignedZepName(const std::string& longName);

// Rebuilds the report rows of `table`, then appends the whole macro file. The
// players are printed in table order, numbered 1, 2, 3 ... by position.
void WriteZepReport(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                    std::string& out);

} // namespace tabry
