#include "core/TournamentData.h"

#include "text/FileIo.h"

namespace tabry {

void TournamentData::NewTournament()
{
    table.Clear();
    table.Resize(kNewTablePlayers, kNewTableRounds);
    info.Reset();
}

LoadStatus TournamentData::Load(std::string_view bytes)
{
    if (bytes.empty())
        return LoadStatus::Empty;
    // Read into a fresh table so that a rejected file leaves the open
    // tournament (and its details) exactly as it was.
    CResultTable loaded;
    loaded.settings = table.settings;
    CTournamentInfo details;
    if (loaded.Read(bytes, details, players, playersModified) != 0)
        return LoadStatus::Rejected;
    loaded.Validate();
    loaded.ComputeAll();
    table = std::move(loaded);
    info = details;
    return LoadStatus::Ok;
}

LoadStatus TournamentData::LoadFile(const std::filesystem::path& path, std::string* error)
{
    std::string bytes;
    if (ReadFileBytes(path, bytes, kMaxTournamentFileBytes, error) != ReadStatus::Ok)
        return LoadStatus::CannotOpen;
    return Load(bytes);
}

std::string TournamentData::Save()
{
    std::string out;
    table.Write(out, info, players);
    return out;
}

bool TournamentData::SaveFile(const std::filesystem::path& path, std::string* error)
{
    return WriteFileAtomically(path, Save(), error);
}

void TournamentData::LoadPlayers(const std::filesystem::path& path)
{
    players.Reset();
    players.Load(path);
}

} // namespace tabry
