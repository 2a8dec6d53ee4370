#pragma once
// The standings as a fixed-pitch text table: two lines per player, every
// column padded by bytes to its widest entry so that full-width characters
// (two bytes, two columns) keep the table aligned.

#include <string>

namespace tabry {

class CPlayerDatabase;
class CResultTable;
class CTournamentInfo;

// Rebuilds the report rows of `table`, then appends the whole text report.
void WriteTextReport(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                     std::string& out);

} // namespace tabry
