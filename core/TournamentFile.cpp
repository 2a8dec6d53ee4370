// The ".stg" tournament file: a header line with the table size and settings,
// the "##" details lines, then one line per table row.
#include "core/EventLines.h"
#include "core/ReadFindings.h"
#include "core/ResultTable.h"
#include "core/TournamentInfo.h"
#include "playerdb/PlayerDatabase.h"
#include "playerdb/PlayerText.h"

#include <charconv>
#include <cstdio>

namespace tabry {

namespace {

constexpr int kCurrentFormat = 1;

struct Layout {
    int playerFields;
    int fieldsPerRound;
};

Layout LayoutOf(int format)
{
    return format == kCurrentFormat ? Layout{6, 4} : Layout{4, 3};
}

std::int8_t Low8(int value)
{
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu));
}

// ",%d" without the cost of a format string: the cells are most of the file.
void AppendInt(std::string& out, int value)
{
    char buf[16];
    buf[0] = ',';
    const auto end = std::to_chars(buf + 1, buf + sizeof buf, value).ptr;
    out.append(buf, static_cast<size_t>(end - buf));
}

} // namespace

namespace {

void Note(ReadFindings* findings, FindingKind kind, int line, int row, int fields = 0, int expected = 0)
{
    if (findings == nullptr)
        return;
    ReadFinding f;
    f.kind = kind;
    f.line = line;
    f.row = row;
    f.fields = fields;
    f.expected = expected;
    findings->push_back(std::move(f));
}

} // namespace

int CResultTable::Read(std::string_view data, CTournamentInfo& info, CPlayerDatabase& db, bool& dbModified,
                       std::vector<CPlayerRecord>* lineRecords, ReadFindings* findings, bool* whole)
{
    // A NUL byte would cut its line short, and the player on it would vanish
    // from the table (and from the file at the next save) without a word.
    if (FirstLineWithNul(data) != 0)
        return -1;
    const std::vector<std::string_view> lines = SplitLines(data);
    if (lines.empty())
        return -1;

    std::string header(lines[0]);
    TrimSpaces(header);
    CFieldList fields;
    if (CLineString(header).Split(fields, ',', -1) != 5)
        return -1;
    const int players = ParseDecimal(fields.Get(0).str());
    const int rounds = ParseDecimal(fields.Get(1).str());
    if (players < 1 || players > kMaxPlayers || rounds < 1 || rounds > kMaxRounds)
        return -1;
    const bool showDiscDifference = ParseDecimal(fields.Get(2).str()) != 0;
    const int tieBreak = ParseDecimal(fields.Get(3).str());
    const int brightwellTenths = ParseDecimal(fields.Get(4).str());

    // Details lines. A '#' line that is no known details line but has exactly
    // the field count of a player line is the first player line: a player whose
    // long name begins with '#' must not vanish (and shift every row) on load.
    // An event line that cannot be read refuses the file before anything of it
    // is taken.
    CEventLines events(players, rounds);
    size_t next = 1;
    for (; next < lines.size() && !lines[next].empty() && lines[next][0] == '#'; ++next) {
        if (info.ParseHeaderLine(lines[next]) == 1)
            continue;
        const CEventLines::Outcome event = events.Parse(lines[next], static_cast<int>(next) + 1);
        if (event == CEventLines::Outcome::Taken)
            continue;
        if (event == CEventLines::Outcome::Malformed) {
            if (findings != nullptr) {
                Note(findings, FindingKind::BadEventLine, static_cast<int>(next) + 1, -1);
                findings->back().key = SplitDetailsLine(lines[next])->key;
            }
            return -1;
        }
        const Layout probe = LayoutOf(info.format);
        if (CLineString(lines[next]).Split(fields, ',', -1) == probe.playerFields + rounds * probe.fieldsPerRound)
            break;
    }

    settings.showDiscDifference = showDiscDifference;
    settings.tieBreak = tieBreak;
    settings.brightwellTenths = brightwellTenths;
    Clear();
    Resize(players, rounds);

    const Layout layout = LayoutOf(info.format);
    const int expected = layout.playerFields + rounds * layout.fieldsPerRound;
    if (lineRecords != nullptr)
        lineRecords->assign(static_cast<size_t>(players), CPlayerRecord{});
    int rowsRead = 0;
    for (int r = 0; r < players && next < lines.size(); ++r, ++next) {
        ++rowsRead;
        const int count = CLineString(lines[next]).Split(fields, ',', -1);
        if (count != expected) {
            // An empty line is how an empty row is written; anything else
            // held a player this row now lacks.
            if (!lines[next].empty())
                Note(findings, lines[next][0] == '#' ? FindingKind::DetailsAmongPlayers : FindingKind::WrongFieldCount,
                     static_cast<int>(next) + 1, r, count, expected);
            continue;
        }
        const std::string longName = UnescapeField(fields.Get(0).str());
        const std::string shortName = UnescapeField(fields.Get(1).str());
        const int grade = ParseDecimal(fields.Get(2).str());
        const std::string residence = UnescapeField(fields.Get(3).str());
        std::string inputName;
        std::string memberNumber;
        if (layout.playerFields == 6) {
            inputName = UnescapeField(fields.Get(4).str());
            memberNumber = UnescapeField(fields.Get(5).str());
        }
        int index = db.Find(longName);
        if (index < 0) {
            if (longName.empty())
                continue;
            index = db.Add(longName, inputName, shortName, residence, grade, memberNumber);
            dbModified = true;
        }
        if (lineRecords != nullptr)
            (*lineRecords)[static_cast<size_t>(r)] = {longName, inputName, shortName, grade, residence, memberNumber};
        Entry(r).playerIndex = index;

        for (int j = 0; j < rounds; ++j) {
            const int f = layout.playerFields + j * layout.fieldsPerRound;
            int opponent = ParseDecimal(fields.Get(f).str());
            int result = ParseDecimal(fields.Get(f + 1).str());
            const int disc = ParseDecimal(fields.Get(f + 2).str());
            const int reserved = layout.fieldsPerRound == 4 ? ParseDecimal(fields.Get(f + 3).str()) : 0;
            if (opponent < ByeOpponent || opponent >= players)
                opponent = NoOpponent;
            if (result < ResultNone)
                result = ResultNone;
            if (result > 0)
                result = ResultWin;
            ResultCell& c = Cell(r, j);
            c.opponent = opponent;
            c.result = static_cast<std::int8_t>(result);
            c.disc = Low8(disc);
            c.reserved = Low8(reserved);
        }
    }
    if (findings != nullptr)
        NoteWhatIsMissingOrLeft(data, lines, next, rowsRead, *findings);
    if (whole != nullptr)
        *whole = rowsRead == players && !data.empty() && data.back() == '\n';
    settings.bye = events.Bye();
    settings.tieBreak2 = events.TieBreak2();
    info.reportingKey = events.ReportingKey();
    events.ApplyTo(*this, findings);
    return 0;
}

void CResultTable::NoteWhatIsMissingOrLeft(std::string_view data, const std::vector<std::string_view>& lines,
                                           size_t next, int rowsRead, ReadFindings& findings) const
{
    if (rowsRead < playerCount) {
        // Rows cut off at the end: harmless only when they can have been
        // empty rows, that is when the last line is whole and no game read
        // names one of them.
        bool named = false;
        for (int r = 0; r < rowsRead && !named; ++r)
            for (int j = 0; j < roundCount && !named; ++j)
                named = Cell(r, j).opponent >= rowsRead;
        const bool wholeLastLine = !data.empty() && data.back() == '\n';
        if (named || !wholeLastLine)
            Note(&findings, FindingKind::FileEndsEarly, static_cast<int>(lines.size()), rowsRead, 0, playerCount);
    }
    int after = 0;
    size_t first = 0;
    for (size_t i = next; i < lines.size(); ++i) {
        if (TrimCSpace(lines[i]).empty())
            continue;
        if (after++ == 0)
            first = i;
    }
    if (after > 0)
        Note(&findings, FindingKind::LinesAfterTable, static_cast<int>(first) + 1, -1, after);
}

int CResultTable::Write(std::string& out, CTournamentInfo& info, const CPlayerDatabase& db) const
{
    info.format = kCurrentFormat;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d,%d\r\n", playerCount, roundCount, settings.showDiscDifference ? 1 : 0,
                  settings.tieBreak, settings.brightwellTenths);
    out += buf;
    info.WriteHeaderLines(out);
    WriteEventLines(*this, info, out);
    for (int r = 0; r < playerCount; ++r) {
        const PlayerEntry& e = entries[static_cast<size_t>(r)];
        if (!e.IsEmpty()) {
            const CPlayerRecord& p = db.GetAt(e.playerIndex);
            out += EscapeField(p.m_longName);
            out += ',';
            out += EscapeField(p.m_shortName);
            out += ',';
            out += std::to_string(p.m_grade);
            out += ',';
            out += EscapeField(p.m_residence);
            out += ',';
            out += EscapeField(p.m_inputName);
            out += ',';
            out += EscapeField(p.m_memberNumber);
            for (int j = 0; j < roundCount; ++j) {
                const ResultCell& c = Cell(r, j);
                AppendInt(out, c.opponent);
                AppendInt(out, c.result);
                AppendInt(out, c.disc);
                AppendInt(out, c.reserved);
            }
        }
        out += "\r\n";
    }
    return 0;
}

} // namespace tabry
