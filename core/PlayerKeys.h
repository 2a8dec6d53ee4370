#pragma once
// The keys that name a player in the live pages' addresses (/player/KEY).
// A key is made from who the player is, not from where he stands: twelve hex
// digits of a hash of his long name and member number. It stays the same
// across sorts, restarts of the program or the server, and a reordered
// player database; it changes only when those two fields of his record are
// edited. Two players of one table whose hashes meet (or who share both
// fields) are told apart by "-2", "-3" ... in the order of those fields.

#include "core/ResultTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace tabry {

class CPlayerDatabase;

// The key of every row's player, by row; empty for an empty row.
std::vector<std::string> PlayerKeys(const CResultTable& table, const CPlayerDatabase& players);

// Whether a text has the form of a key (the addresses accept nothing else).
bool IsPlayerKeyText(std::string_view text);

} // namespace tabry
