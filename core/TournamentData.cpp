#include "core/TournamentData.h"

#include "core/Boards.h"
#include "playerdb/PlayerText.h"
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
    return LoadImpl(bytes, false, faultLine);
}

LoadStatus TournamentData::LoadWithRecords(std::string_view bytes, int* faultLine)
{
    return LoadImpl(bytes, true, faultLine);
}

LoadStatus TournamentData::LoadImpl(std::string_view bytes, bool recovering, int* faultLine)
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
    std::vector<CPlayerRecord> lineRecords;
    std::vector<std::string> unreadable;
    if (loaded.Read(bytes, details, players, playersModified, recovering ? &lineRecords : nullptr, &unreadable) != 0)
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
    // The plans as the valid cells leave them, so that what is shown is
    // what the next change keeps.
    for (int j = 0; j < loaded.RoundCount(); ++j)
        if (!loaded.Plan(j).empty())
            loaded.SetPlan(j, CheckedPlan(loaded, j));
    table = std::move(loaded);
    info = details;
    findings = std::move(unreadable);
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
