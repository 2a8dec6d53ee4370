#include "live/LiveJson.h"

#include "core/ResultTable.h"
#include "live/WebText.h"

namespace tabry::live {

namespace {

// A small writer that keeps the commas: Key() before every member, Item()
// before every array element.
class CJson {
public:
    void Open(char bracket)
    {
        Comma();
        m_out += bracket;
        m_first = true;
    }
    void Close(char bracket)
    {
        m_out += bracket;
        m_first = false;
    }
    void Key(std::string_view key)
    {
        Comma();
        AppendJsonString(m_out, key);
        m_out += ':';
        m_first = true; // the value follows without a comma
    }
    void String(std::string_view text)
    {
        Comma();
        AppendJsonString(m_out, text);
    }
    // A number, true, false or null, written as given.
    void Raw(std::string_view literal)
    {
        Comma();
        m_out += literal;
    }
    void Int(long long v) { Raw(std::to_string(v)); }
    void Member(std::string_view key, std::string_view text)
    {
        Key(key);
        String(text);
    }
    void IntMember(std::string_view key, long long v)
    {
        Key(key);
        Int(v);
    }
    std::string Done() { return std::move(m_out) + "\n"; }

private:
    void Comma()
    {
        if (!m_first)
            m_out += ',';
        m_first = false;
    }

    std::string m_out;
    bool m_first = true;
};

void Head(CJson& j, const TournamentHead& head, std::string_view version)
{
    j.Member("version", version);
    j.Key("tournament");
    j.Open('{');
    j.Member("name", head.name);
    j.Key("date");
    if (head.isoDate.empty())
        j.Raw("null");
    else
        j.String(head.isoDate);
    j.IntMember("rounds", head.rounds);
    j.IntMember("currentRound", head.currentRound);
    j.Close('}');
}

void Standing(CJson& j, const StandingRow& row)
{
    j.IntMember("rank", row.rank);
    j.IntMember("id", row.player.id);
    j.Member("name", row.player.name);
    j.Member("shortName", row.player.shortName);
    j.Member("grade", row.player.grade);
    j.Member("residence", row.residence);
    j.Key("points");
    j.Raw(row.points);
    j.Key("record");
    j.Open('{');
    j.IntMember("wins", row.wins);
    j.IntMember("losses", row.losses);
    j.IntMember("draws", row.draws);
    j.Close('}');
    j.Key("tieBreaks");
    j.Open('[');
    for (const std::string& v : row.tieBreaks)
        j.String(v);
    j.Close(']');
    j.Key("withdrawnAfterRound");
    if (row.withdrawnAfter >= 0)
        j.Int(row.withdrawnAfter);
    else
        j.Raw("null");
}

void Side(CJson& j, const BoardSide& side)
{
    j.Open('{');
    j.IntMember("id", side.player.id);
    j.Member("name", side.player.name);
    j.Member("grade", side.player.grade);
    j.Key("points");
    j.Raw(side.points);
    j.Member("result", side.result);
    j.Close('}');
}

// A member holding a list of players, as the round lists its byes,
// unpaired and withdrawn players.
void SidesMember(CJson& j, std::string_view key, const std::vector<BoardSide>& sides)
{
    j.Key(key);
    j.Open('[');
    for (const BoardSide& s : sides)
        Side(j, s);
    j.Close(']');
}

const char* ResultWord(int result)
{
    if (result == ResultNone)
        return "null";
    return result > 0 ? "\"win\"" : result < 0 ? "\"loss\"" : "\"draw\"";
}

} // namespace

std::string StandingsJson(const TournamentHead& head, const Standings& standings, std::string_view version)
{
    CJson j;
    j.Open('{');
    Head(j, head, version);
    j.Key("tieBreak");
    j.Open('{');
    j.IntMember("method", standings.method);
    j.Member("name", standings.methodName);
    j.Key("columns");
    j.Open('[');
    for (const std::string& caption : standings.tieBreakCaptions)
        j.String(caption);
    j.Close(']');
    j.Close('}');
    j.Key("standings");
    j.Open('[');
    for (const StandingRow& row : standings.rows) {
        j.Open('{');
        Standing(j, row);
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');
    return j.Done();
}

std::string RoundJson(const TournamentHead& head, const RoundPairing& pairing, std::string_view version)
{
    CJson j;
    j.Open('{');
    Head(j, head, version);
    j.IntMember("round", pairing.round);
    j.Key("boards");
    j.Open('[');
    for (const Board& b : pairing.boards) {
        j.Open('{');
        j.IntMember("board", b.number);
        j.Key("players");
        j.Open('[');
        Side(j, b.first);
        Side(j, b.second);
        j.Close(']');
        j.Close('}');
    }
    j.Close(']');
    SidesMember(j, "byes", pairing.byes);
    SidesMember(j, "unpaired", pairing.unpaired);
    // Only when somebody withdrew: the pages of an event without
    // withdrawals stay as they were.
    if (!pairing.withdrawn.empty())
        SidesMember(j, "withdrawn", pairing.withdrawn);
    j.Close('}');
    return j.Done();
}

std::string PlayerJson(const TournamentHead& head, const PlayerPage& page, std::string_view version)
{
    CJson j;
    j.Open('{');
    Head(j, head, version);
    Standing(j, page.standing);
    j.Key("rounds");
    j.Open('[');
    for (const PlayerRound& r : page.rounds) {
        j.Open('{');
        j.IntMember("round", r.round);
        j.Key("opponent");
        if (r.kind == PlayerRound::Kind::Game) {
            j.Open('{');
            j.IntMember("id", r.opponent.id);
            j.Member("name", r.opponent.name);
            j.Member("shortName", r.opponent.shortName);
            j.Member("grade", r.opponent.grade);
            j.Close('}');
        } else if (r.kind == PlayerRound::Kind::Bye) {
            j.Open('{');
            j.Key("bye");
            j.Raw("true");
            j.Member("name", r.opponent.shortName);
            j.Close('}');
        } else {
            j.Raw("null");
        }
        j.Key("result");
        j.Raw(r.kind == PlayerRound::Kind::None ? "null" : ResultWord(r.result));
        j.Member("mark", r.mark);
        j.Member("score", r.score);
        j.Key("points");
        if (r.runningPoints.empty())
            j.Raw("null");
        else
            j.Raw(r.runningPoints);
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');
    return j.Done();
}

} // namespace tabry::live
