#pragma once
// The state the desktop program and the command-line tool keep for one run:
// the table with its settings, the tournament details, the player database and
// the flag that says the database must be written back.

#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

enum class LoadStatus {
    Ok,
    CannotOpen, // the file could not be read at all
    Empty,      // a file of 0 bytes
    Rejected,   // the header line is missing or invalid
    NulByte,    // a line holds a NUL byte: a damaged file, refused whole
};

// The largest ".stg" file that is read: fifty times the largest legal
// tournament (512 players, 128 rounds, about 1.3 MB). Anything larger is no
// tournament file.
inline constexpr std::uintmax_t kMaxTournamentFileBytes = 64u << 20;

struct TournamentData {
    CResultTable table;
    CTournamentInfo info;
    CPlayerDatabase players;
    bool playersModified = false;
    // What was amiss in the last file loaded (English, see
    // CResultTable::Read); empty for a file read whole.
    std::vector<std::string> findings;

    TournamentData() { players.Reset(); }

    // A new tournament: 32 x 6 empty rows, details reset, settings kept.
    void NewTournament();

    // Opens a tournament from ".stg" bytes exactly as the desktop program does:
    // details reset, Read, Validate, totals and tie-break values over every
    // round. On rejection the previous table, settings and details stay.
    // NulByte puts the number of the first line holding one (from 1) in
    // `faultLine`.
    LoadStatus Load(std::string_view bytes, int* faultLine = nullptr);
    // Load of a file this program wrote of its own state (a recovery file):
    // every player named gets the data his line holds, also where the
    // database already has him with other data (records edited after the
    // database was last written come back), and the cells come back exactly
    // as written (see CResultTable::DropDanglingGames).
    LoadStatus LoadWithRecords(std::string_view bytes, int* faultLine = nullptr);
    // Reads the file (a regular file of at most kMaxTournamentFileBytes),
    // then Load. `error` receives an English reason naming the file when it
    // cannot be read or holds a NUL byte.
    LoadStatus LoadFile(const std::filesystem::path& path, std::string* error = nullptr, int* faultLine = nullptr);

    // The ".stg" bytes of the current tournament.
    std::string Save() const;
    // Writes the ".stg" file atomically; false (with a reason) on failure.
    bool SaveFile(const std::filesystem::path& path, std::string* error = nullptr) const;

    // The database reset to the bye record, then "player.db" appended. A
    // missing file leaves only the bye record and is Ok. A file that cannot
    // be read (CannotOpen) or holds a NUL byte (NulByte, the line in
    // `faultLine`) leaves only the bye record too, and the database then
    // refuses to be saved over it; `error` says why.
    LoadStatus LoadPlayers(const std::filesystem::path& path, std::string* error = nullptr, int* faultLine = nullptr);

private:
    LoadStatus LoadImpl(std::string_view bytes, bool recovering, int* faultLine);
};

} // namespace tabry
