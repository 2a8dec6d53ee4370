#pragma once
// The federation's rating-report CSV: two fixed-width lines per player, the
// games by result mark and disc difference on the first line and by the
// opponent's short display name on the second. Because opponents are named by
// short display name, the report is refused while two players share one.

#include <string>
#include <string_view>

namespace tabry {

class CFieldList;
class CPlayerDatabase;
class CResultTable;
class CTournamentInfo;

// Fills `duplicates` (cleared first) with every short display name that more
// than one player of the table uses, each once, in the order of its second
// use; returns how many there are. Names compare byte for byte.
int CollectDuplicateShortNames(const CResultTable& table, const CPlayerDatabase& players, CFieldList& duplicates);

// The refusal shown instead of writing the CSV (Shift_JIS, LF line breaks).
std::string DuplicateShortNameMessage(const CFieldList& duplicates);

// Splits a Japanese name into family and given name: at the first blank (a
// full-width space counts as blanks), else at the middle dot "・", else a name
// of four or five double-byte characters after two and one of six after three.
// Returns 2 with the parts in `first` and `second`, or 0 (both untouched)
// when the name has no such form. The search never looks inside a double-byte
// character, and a name with any single-byte character is not split by length.
int SplitPlayerName(std::string_view name, std::string& first, std::string& second);

// Appends the whole CSV of the table in its current order with its stored
// totals. Callers check CollectDuplicateShortNames first.
void WriteRatingCsv(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                    std::string& out);

} // namespace tabry
