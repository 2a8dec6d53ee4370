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

void Player(CJson& j, const PlayerRef& p)
{
    j.Member("key", p.key);
    j.Member("name", p.name);
    j.Member("shortName", p.shortName);
    j.Member("grade", p.grade);
}

void Result(CJson& j, const ResultView& r)
{
    j.Key("result");
    j.Open('{');
    j.Member("mark", MarkWord(r.mark));
    j.Key("disc");
    if (r.disc)
        j.Int(*r.disc);
    else
        j.Raw("null");
    j.Member("text", r.text);
    j.Close('}');
}

void Standing(CJson& j, const StandingRow& row)
{
    j.IntMember("rank", row.rank);
    Player(j, row.player);
    j.Member("residence", row.residence);
    j.Key("points");
    j.Raw(PointsText(row.halfPoints));
    j.Key("record");
    j.Open('{');
    j.IntMember("wins", row.wins);
    j.IntMember("losses", row.losses);
    j.IntMember("draws", row.draws);
    j.Close('}');
    j.Member("recordText", row.record);
    j.Key("tieBreaks");
    j.Open('[');
    for (const TieBreakValue& v : row.tieBreaks)
        j.Raw(v.number);
    j.Close(']');
    j.Key("tieBreakTexts");
    j.Open('[');
    for (const TieBreakValue& v : row.tieBreaks)
        j.String(v.text);
    j.Close(']');
    j.Key("withdrawnAfterRound");
    if (row.withdrawnFrom >= 0)
        j.Int(row.withdrawnFrom);
    else
        j.Raw("null");
}

void SideMember(CJson& j, const BoardSide& side)
{
    j.Open('{');
    Player(j, side.player);
    j.Key("points");
    j.Raw(PointsText(side.pointsBefore));
    Result(j, side.result);
    j.Close('}');
}

// A member holding a list of players, as the round lists its byes,
// unpaired and withdrawn players.
void SidesMember(CJson& j, std::string_view key, const std::vector<BoardSide>& sides)
{
    j.Key(key);
    j.Open('[');
    for (const BoardSide& s : sides)
        SideMember(j, s);
    j.Close(']');
}

const char* SideWord(Side side)
{
    return side == Side::Left ? "left" : side == Side::Right ? "right" : nullptr;
}

} // namespace

std::string StandingsJson(const TournamentHead& head, const Standings& standings, std::string_view version)
{
    CJson j;
    j.Open('{');
    Head(j, head, version);
    j.Key("after");
    j.Open('{');
    j.IntMember("round", standings.afterRound);
    j.Key("complete");
    j.Raw(standings.complete ? "true" : "false");
    j.Member("text", standings.afterText);
    j.Close('}');
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
    for (const BoardView& b : pairing.boards) {
        j.Open('{');
        j.IntMember("board", b.number);
        j.Key("players"); // the left side first
        j.Open('[');
        SideMember(j, b.left);
        SideMember(j, b.right);
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
    if (!pairing.absent.empty())
        SidesMember(j, "absent", pairing.absent);
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
        j.Key("board");
        if (r.board > 0)
            j.Int(r.board);
        else
            j.Raw("null");
        j.Key("side");
        if (const char* side = SideWord(r.side))
            j.String(side);
        else
            j.Raw("null");
        j.Key("opponent");
        if (r.kind == PlayerRound::Kind::Game) {
            j.Open('{');
            Player(j, r.opponent);
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
        Result(j, r.result);
        j.Key("points");
        if (r.pointsAfter)
            j.Raw(PointsText(*r.pointsAfter));
        else
            j.Raw("null");
        j.Close('}');
    }
    j.Close(']');
    j.Close('}');
    return j.Done();
}

std::string ErrorJson(std::string_view message)
{
    CJson j;
    j.Open('{');
    j.Member("error", message);
    j.Close('}');
    return j.Done();
}

} // namespace tabry::live
