#include "core/TournamentData.h"

#include "text/FileIo.h"
#include "text/LineString.h"

namespace tabry {

void TournamentData::NewTournament()
{
    table.Clear();
    table.Resize(kNewTablePlayers, kNewTableRounds);
    info.Reset();
}

LoadStatus TournamentData::Load(std::string_view bytes, int* faultLine)
{
    if (bytes.empty())
        return LoadStatus::Empty;
    if (const int line = FirstLineWithNul(bytes); line != 0) {
        if (faultLine != nullptr)
            *faultLine = line;
        return LoadStatus::NulByte;
    }
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

LoadStatus TournamentData::LoadFile(const std::filesystem::path& path, std::string* error, int* faultLine)
{
    std::string bytes;
    if (ReadFileBytes(path, bytes, kMaxTournamentFileBytes, error) != ReadStatus::Ok)
        return LoadStatus::CannotOpen;
    int line = 0;
    const LoadStatus status = Load(bytes, &line);
    if (status == LoadStatus::NulByte) {
        if (faultLine != nullptr)
            *faultLine = line;
        if (error != nullptr)
            *error = "cannot read " + PathText(path) + ": line " + std::to_string(line) + " holds a NUL byte";
    }
    return status;
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

LoadStatus TournamentData::LoadPlayers(const std::filesystem::path& path, std::string* error, int* faultLine)
{
    players.Reset();
    int line = 0;
    if (players.Load(path, error, &line) == 0 || !players.LoadRefused())
        return LoadStatus::Ok;
    if (line == 0)
        return LoadStatus::CannotOpen;
    if (faultLine != nullptr)
        *faultLine = line;
    return LoadStatus::NulByte;
}

} // namespace tabry
