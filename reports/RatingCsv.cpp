#include "reports/RatingCsv.h"

#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"
#include "reports/Formatters.h"
#include "text/Cp932.h"
#include "text/LineString.h"

#include <cstdio>
#include <vector>

namespace tabry {

namespace {

bool IsDoubleByte(std::string_view text, size_t pos, unsigned char lead, unsigned char trail)
{
    return cp932::CharLength(text, pos) == 2 && static_cast<unsigned char>(text[pos]) == lead
           && static_cast<unsigned char>(text[pos + 1]) == trail;
}

// Position of the first character lead/trail, walking whole characters so that
// a trail byte followed by a byte equal to `trail` is never taken for it.
size_t FindDoubleByte(std::string_view text, unsigned char lead, unsigned char trail)
{
    for (size_t i = 0; i < text.size(); i += static_cast<size_t>(cp932::CharLength(text, i)))
        if (IsDoubleByte(text, i, lead, trail))
            return i;
    return std::string_view::npos;
}

// True when `pos` falls between two characters of `text` (never after a lead
// byte whose trail byte follows).
bool IsCharacterBoundary(std::string_view text, size_t pos)
{
    size_t i = 0;
    while (i < pos)
        i += static_cast<size_t>(cp932::CharLength(text, i));
    return i == pos;
}

} // namespace

int CollectDuplicateShortNames(const CResultTable& table, const CPlayerDatabase& players, CFieldList& duplicates)
{
    duplicates.Clear();
    CFieldList seen;
    for (int r = 0; r < table.PlayerCount(); ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        const std::string& name = players.GetAt(e.playerIndex).m_shortName;
        if (seen.Find(name) < 0)
            seen.Append(name);
        else if (duplicates.Find(name) < 0)
            duplicates.Append(name);
    }
    return duplicates.Count();
}

std::string DuplicateShortNameMessage(const CFieldList& duplicates)
{
    std::string message =
        SJ("以下の表示名(短)が重複して使用されているため\n本フォーマットに変換することが出来ません：\n\n");
    for (const CLineString& name : duplicates) {
        message += "  ";
        message += name.Text();
        message += "\n";
    }
    return message;
}

int SplitPlayerName(std::string_view name, std::string& first, std::string& second)
{
    // The splitter has always worked on the first 255 bytes; the cut is moved
    // back by one byte when it would leave half of a double-byte character.
    constexpr size_t kWorkingBytes = 255;
    if (name.size() > kWorkingBytes)
        name = name.substr(0, IsCharacterBoundary(name, kWorkingBytes) ? kWorkingBytes : kWorkingBytes - 1);
    // A full-width space becomes two blanks, then every run of blanks one.
    // No blank byte can be part of a double-byte character, so the blank
    // handling may look at single bytes.
    std::string spaced;
    for (size_t i = 0; i < name.size();) {
        const size_t length = static_cast<size_t>(cp932::CharLength(name, i));
        if (IsDoubleByte(name, i, 0x81, 0x40))
            spaced += "  ";
        else
            spaced.append(name.substr(i, length));
        i += length;
    }
    std::string work;
    for (const char c : spaced)
        if (c != ' ' || work.empty() || work.back() != ' ')
            work += c;
    TrimSpaces(work);

    size_t cut = work.find(' ');
    size_t skip = 1;
    if (cut == std::string::npos) {
        cut = FindDoubleByte(work, 0x81, 0x45); // "・"
        skip = 2;
    }
    if (cut == std::string::npos) {
        // By length: four or five full-width characters after the second,
        // six after the third. A cut that would fall inside a double-byte
        // character (possible in a name mixing single and double bytes) is
        // no cut: the name stays whole rather than corrupted.
        skip = 0;
        if (work.size() == 8 || work.size() == 10)
            cut = 4;
        else if (work.size() == 12)
            cut = 6;
        if (cut != std::string::npos && !IsCharacterBoundary(work, cut))
            cut = std::string::npos;
    }
    if (cut == std::string::npos)
        return 0;
    first = work.substr(0, cut);
    second = work.substr(cut + skip);
    return 2;
}

void WriteRatingCsv(const CResultTable& table, const CTournamentInfo& info, const CPlayerDatabase& players,
                    std::string& out)
{
    const int rowCount = table.PlayerCount();
    std::vector<std::string> csvNames(static_cast<size_t>(rowCount));
    std::vector<std::string> shortNames(static_cast<size_t>(rowCount));
    int nameWidth = 0;
    for (int r = 0; r < rowCount; ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        const CPlayerRecord& who = players.GetAt(e.playerIndex);
        std::string first;
        std::string second;
        std::string& csvName = csvNames[static_cast<size_t>(r)];
        csvName =
            SplitPlayerName(who.m_longName, first, second) == 2 ? report::Concat({first, " ", second}) : who.m_longName;
        nameWidth = std::max(nameWidth, static_cast<int>(csvName.size()));
        shortNames[static_cast<size_t>(r)] = who.m_shortName;
    }

    std::string heading;
    if (info.HasDate())
        heading = report::SlashDate(info.year, info.month, info.day);
    if (!info.name.empty()) {
        if (!heading.empty())
            heading += ",";
        heading += info.name;
    }
    if (!heading.empty())
        report::Append(out, {heading, "\r\n"});

    const std::string& byeName = players.GetAt(0).m_shortName;
    const char* const noGame = ",     ";
    int k = 0;
    for (int r = 0; r < rowCount; ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        const CPlayerRecord& who = players.GetAt(e.playerIndex);
        ++k;

        report::AppendRight(out, report::Decimal(k), 3);
        out += ",";
        report::AppendLeft(out, csvNames[static_cast<size_t>(r)], nameWidth);
        out += ",";
        report::AppendLeft(out, who.m_shortName, 4);
        for (int j = 0; j < table.RoundCount(); ++j) {
            const ResultCell& cell = table.Cell(r, j);
            if (cell.opponent == NoOpponent) {
                out += noGame;
                continue;
            }
            // The CSV always carries the difference, whatever the display mode.
            out += ",";
            out += ResultMark(cell.result);
            out += cell.disc >= 0 ? '+' : '-';
            report::AppendRight(out, report::Decimal(cell.disc < 0 ? -cell.disc : cell.disc), 2);
        }
        report::Append(out, {",", FormatRecord(e.wins, e.losses, e.draws, 2), "\r\n"});

        out += "   ,";
        report::AppendLeft(out, who.m_residence, nameWidth);
        out += ",";
        report::AppendLeft(out, FormatGrade(who.m_grade), 4);
        for (int j = 0; j < table.RoundCount(); ++j) {
            const int opponent = table.Cell(r, j).opponent;
            if (opponent == NoOpponent) {
                out += noGame;
                continue;
            }
            std::string_view shortName;
            if (opponent == ByeOpponent)
                shortName = byeName;
            else if (opponent >= 0 && opponent < rowCount)
                shortName = shortNames[static_cast<size_t>(opponent)];
            out += ",";
            report::AppendLeft(out, shortName, 4);
            out += " ";
        }
        char total[32];
        std::snprintf(total, sizeof total, ",%+12d", e.discTotal);
        out += total;
        out += "\r\n";
    }
}

} // namespace tabry
