#pragma once
// The standings as an HTML 4.01 page in Shift_JIS for publication on the web:
// one table row per player with a nested name block, a cell per round and a
// totals cell, closed by a credit line linking the program's home page.

#include <string>

namespace tabry {

class CPlayerDatabase;
class CResultTable;
class CTournamentInfo;

// Rebuilds the report rows of `table`, then appends the whole page. Texts are
// inserted as they are (no HTML escaping): names are the organiser's own.
void WriteHtmlReport(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                     std::string& out);

} // namespace tabry
