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

LoadStatus TournamentData::Load(std::string_view bytes, LoadReport* report, DamagePolicy damage)
{
    return LoadImpl(bytes, false, report, damage);
}

LoadStatus TournamentData::LoadWithRecords(std::string_view bytes, LoadReport* report, DamagePolicy damage)
{
    return LoadImpl(bytes, true, report, damage);
}

LoadStatus TournamentData::LoadImpl(std::string_view bytes, bool recovering, LoadReport* report, DamagePolicy damage)
{
    LoadReport local;
    LoadReport& out = report != nullptr ? *report : local;
    out.status = LoadStatus::Ok;
    out.faultLine = 0;
    out.findings.clear();
    if (bytes.empty())
        return out.status = LoadStatus::Empty;
    if (const int line = FirstLineWithNul(bytes); line != 0) {
        out.faultLine = line;
        return out.status = LoadStatus::NulByte;
    }
    // Read into a fresh table so that a refused file leaves the open
    // tournament (and its details) exactly as it was. The database is read
    // into in place (a million records are not copied for each opening):
    // Read refuses before it adds anyone, and a damaged file that is not to
    // be opened takes back the people it added.
    CResultTable loaded;
    loaded.settings = table.settings;
    CTournamentInfo details;
    const int recordsBefore = players.GetCount();
    const bool modifiedBefore = playersModified;
    std::vector<CPlayerRecord> lineRecords;
    if (loaded.Read(bytes, details, players, playersModified, recovering ? &lineRecords : nullptr, &out.findings,
                    &out.whole)
        != 0) {
        if (!out.findings.empty() && RefusesFile(out.findings.back().kind)) {
            out.faultLine = out.findings.back().line;
            return out.status = LoadStatus::BadEventLine;
        }
        out.findings.clear();
        return out.status = LoadStatus::Rejected;
    }
    if (!out.findings.empty() && damage == DamagePolicy::Refuse) {
        players.Truncate(recordsBefore);
        playersModified = modifiedBefore;
        return out.status = LoadStatus::Damaged;
    }
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
    return out.status;
}

LoadStatus TournamentData::LoadFile(const std::filesystem::path& path, LoadReport* report, DamagePolicy damage)
{
    LoadReport local;
    LoadReport& out = report != nullptr ? *report : local;
    out = LoadReport{};
    std::string bytes;
    if (ReadFileBytes(path, bytes, kMaxTournamentFileBytes, &out.file) != ReadStatus::Ok)
        return out.status = LoadStatus::CannotOpen;
    out.stamp = StampOf(path, bytes);
    const LoadStatus status = Load(bytes, &out, damage);
    if (status == LoadStatus::NulByte) {
        out.file.step = FileStep::Read;
        out.file.problem = FileProblem::NulByte;
        out.file.path = path;
        out.file.line = out.faultLine;
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

bool TournamentData::SaveFile(const std::filesystem::path& path, FileError* error, FileStamp* stamp) const
{
    const std::string bytes = Save();
    if (!WriteFileAtomically(path, bytes, error))
        return false;
    if (stamp != nullptr)
        *stamp = StampOf(path, bytes);
    return true;
}

LoadStatus TournamentData::LoadPlayers(const std::filesystem::path& path, FileError* error)
{
    players.Reset();
    if (players.Load(path, error) == 0 || !players.LoadRefused())
        return LoadStatus::Ok;
    if (error != nullptr && error->problem == FileProblem::NulByte)
        return LoadStatus::NulByte;
    return LoadStatus::CannotOpen;
}

} // namespace tabry
