#pragma once
// The state the desktop program and the command-line tool keep for one run:
// the table with its settings, the tournament details, the player database and
// the flag that says the database must be written back.

#include "core/ReadFindings.h"
#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"
#include "text/FileIo.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tabry {

enum class LoadStatus {
    Ok,
    CannotOpen,   // the file could not be read at all
    Empty,        // a file of 0 bytes
    Rejected,     // the header line is missing or invalid
    NulByte,      // a line holds a NUL byte: a damaged file, refused whole
    BadEventLine, // an event line cannot be read or is out of range: refused whole
    Damaged,      // it would read differently (see LoadReport::findings) and was not to be opened so
};

// What a load does with a file it can read only differently than it says.
enum class DamagePolicy {
    Open,   // opens what can be read; the report lists what was not
    Refuse, // opens nothing and returns Damaged: the caller asks first
};

// Everything a load found beyond its status.
struct LoadReport {
    LoadStatus status = LoadStatus::Ok;
    // CannotOpen: why; NulByte: the line as well.
    FileError file;
    // NulByte and BadEventLine: the line (from 1).
    int faultLine = 0;
    // With Ok or Damaged: what was read otherwise than the file says (see
    // core/ReadFindings.h); with BadEventLine: that line.
    ReadFindings findings;
    // With Ok: every declared row had its line and the last line its end.
    // A file cut at a line end before rows no game names reads without a
    // finding (other writers may leave trailing empty rows out), but a file
    // this program wrote is always whole, so one that is not is still being
    // written (see the serve command).
    bool whole = true;
    // What the bytes read were (LoadFile only).
    FileStamp stamp;

    // Opened, but not exactly as the file says.
    bool ReadDifferently() const { return status == LoadStatus::Ok && !findings.empty(); }
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

    TournamentData() { players.Reset(); }

    // A new tournament: 32 x 6 empty rows, details reset, settings kept.
    void NewTournament();

    // Opens a tournament from ".stg" bytes exactly as the desktop program does:
    // details reset, Read, Validate, totals and tie-break values over every
    // round. On refusal the previous table, settings, details and database
    // stay. `report` gets the line of a NUL byte or of an event line that
    // cannot be read, and what was read differently, which `damage` says
    // what to do with.
    LoadStatus Load(std::string_view bytes, LoadReport* report = nullptr, DamagePolicy damage = DamagePolicy::Open);
    // Load of a file this program wrote of its own state (a recovery file):
    // every player named gets the data his line holds, also where the
    // database already has him with other data (records edited after the
    // database was last written come back), and the cells come back exactly
    // as written (see CResultTable::DropDanglingGames).
    LoadStatus LoadWithRecords(std::string_view bytes, LoadReport* report = nullptr,
                               DamagePolicy damage = DamagePolicy::Open);
    // Reads the file (a regular file of at most kMaxTournamentFileBytes),
    // then Load; `report` also gets why it could not be read, and the stamp
    // of the bytes read.
    LoadStatus LoadFile(const std::filesystem::path& path, LoadReport* report = nullptr,
                        DamagePolicy damage = DamagePolicy::Open);

    // The ".stg" bytes of the current tournament.
    std::string Save() const;
    // Writes the ".stg" file atomically; false (with the reason) on failure.
    // `stamp` gets what the file holds now.
    bool SaveFile(const std::filesystem::path& path, FileError* error = nullptr, FileStamp* stamp = nullptr) const;

    // The database reset to the bye record, then "player.db" appended. A
    // missing file leaves only the bye record and is Ok. A file that cannot
    // be read (CannotOpen) or holds a NUL byte (NulByte) leaves only the bye
    // record too, and the database then refuses to be saved over it;
    // `error` says why (the line of the NUL byte in error->line).
    LoadStatus LoadPlayers(const std::filesystem::path& path, FileError* error = nullptr);

private:
    LoadStatus LoadImpl(std::string_view bytes, bool recovering, LoadReport* report, DamagePolicy damage);
};

} // namespace tabry
