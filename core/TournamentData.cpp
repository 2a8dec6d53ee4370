#include "core/TournamentData.h"

#include "playerdb/PlayerText.h"
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
    return LoadImpl(bytes, false);
}

LoadStatus TournamentData::LoadWithRecords(std::string_view bytes)
{
    return LoadImpl(bytes, true);
}

LoadStatus TournamentData::LoadImpl(std::string_view bytes, bool recovering)
{
    if (bytes.empty())
        return LoadStatus::Empty;
    // Read into a fresh table so that a rejected file leaves the open
    // tournament (and its details) exactly as it was.
    CResultTable loaded;
    loaded.settings = table.settings;
    CTournamentInfo details;
    std::vector<CPlayerRecord> lineRecords;
    if (loaded.Read(bytes, details, players, playersModified, recovering ? &lineRecords : nullptr) != 0)
        return LoadStatus::Rejected;
    for (size_t r = 0; r < lineRecords.size(); ++r) {
        const int index = loaded.Entry(static_cast<int>(r)).playerIndex;
        CPlayerRecord record = lineRecords[r];
        // Folded as the database folds what it is given.
        for (std::string* text : {&record.m_longName, &record.m_inputName, &record.m_shortName, &record.m_memberNumber})
            *text = FoldLowerCase(*text);
        if (index > 0 && !(players.GetAt(index) == record)) {
            players.SetAt(index, record);
            playersModified = true;
        }
    }
    if (recovering)
        loaded.DropDanglingGames(); // the state exactly as this program left it
    else
        loaded.Validate();
    loaded.ComputeAll();
    table = std::move(loaded);
    info = details;
    return LoadStatus::Ok;
}

LoadStatus TournamentData::LoadFile(const std::filesystem::path& path, std::string* error)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return LoadStatus::CannotOpen;
    return Load(bytes);
}

std::string TournamentData::Save() const
{
    // Writing marks the details with the current layout; saving must not
    // change the tournament it saves, so a copy takes the mark.
    CTournamentInfo details = info;
    std::string out;
    table.Write(out, details, players);
    return out;
}

bool TournamentData::SaveFile(const std::filesystem::path& path, std::string* error) const
{
    return WriteFileAtomically(path, Save(), error);
}

void TournamentData::LoadPlayers(const std::filesystem::path& path)
{
    players.Reset();
    players.Load(path);
}

} // namespace tabry
