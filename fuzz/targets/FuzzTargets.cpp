#include "fuzz/targets/FuzzTargets.h"

#include "core/TournamentData.h"
#include "live/ReportInbox.h"
#include "text/LineString.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

namespace tabry::fuzz {

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
        std::abort();
    }
}

std::string_view View(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace

int StgReader(const std::uint8_t* data, std::size_t size)
{
    TournamentData d;
    if (d.Load(View(data, size)) != LoadStatus::Ok)
        return 0;
    // Exercise what every command does after loading.
    d.table.Sort(d.table.settings.tieBreak, false);
    (void)d.table.RankNumbers(d.table.settings.tieBreak);
    const std::string first = d.Save();

    // Two cases cannot round-trip, by the nature of the format: a player whose
    // long name begins with "##" reads as a details line, and two different
    // database records with one long name (a name with capitals is added
    // again, folded) collapse into the first, because the file identifies
    // players by long name. Every other file must.
    std::map<std::string, int> indexOfName;
    for (int r = 0; r < d.table.PlayerCount(); ++r) {
        const PlayerEntry& e = d.table.Entry(r);
        if (e.IsEmpty())
            continue;
        const std::string& name = d.players.GetAt(e.playerIndex).m_longName;
        if (name.rfind("##", 0) == 0)
            return 0;
        const auto [it, added] = indexOfName.emplace(name, e.playerIndex);
        if (!added && it->second != e.playerIndex)
            return 0;
    }
    TournamentData again;
    again.players = d.players;
    Check(again.Load(first) == LoadStatus::Ok, "a saved tournament loads");
    Check(again.Save() == first, "save, load, save gives the same bytes");
    return 0;
}

int PlayerDbReader(const std::uint8_t* data, std::size_t size)
{
    CPlayerDatabase db;
    db.Reset();
    if (db.LoadBytes(View(data, size)) != 0)
        return 0; // a NUL byte: refused whole, nothing to round-trip
    const std::string first = db.SaveBytes(1);
    CPlayerDatabase again;
    again.Reset();
    Check(again.LoadBytes(first) == 0, "a saved database holds no NUL byte");
    Check(again.GetCount() == db.GetCount(), "a saved database loads every record");
    Check(again.SaveBytes(1) == first, "save, load, save gives the same bytes");
    return 0;
}

int FieldSplit(const std::uint8_t* data, std::size_t size)
{
    CLineString line;
    line.Assign(View(data, size));
    const std::string_view text = line.Text();
    CFieldList list;
    const int n = line.Split(list, ',', -1);
    std::string joined;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            joined += ',';
        joined += list.Get(i).str();
    }
    const std::string_view expected = !text.empty() && text.back() == ',' ? text.substr(0, text.size() - 1) : text;
    Check(joined == expected, "split items join back to the text");
    const int limit = size > 0 ? (data[0] % 5) : 0;
    Check(line.Split(list, ',', limit) <= (limit > 1 ? limit : n), "split respects its limit");
    const int w = line.SplitWhite(list, -1);
    for (int i = 0; i < w; ++i)
        Check(!list.Get(i).IsEmpty(), "white-space split gives no empty items");
    return 0;
}

int ReportInboxReader(const std::uint8_t* data, std::size_t size)
{
    CReportInbox inbox;
    const std::size_t taken = inbox.Restore(View(data, size));
    Check(taken == inbox.PendingCount(), "restore counts what it lists");
    Check(taken <= 4096, "the list stays bounded");
    std::map<std::pair<int, int>, int> perBoard;
    for (const PendingReport& r : inbox.Pending()) {
        Check(r.first + r.second == 64 && r.first >= 0 && r.second >= 0, "counts fill the board");
        Check(++perBoard[{r.round, r.board}] <= 3, "a few reports per board");
    }
    const std::string bytes = inbox.Serialize();
    CReportInbox again;
    Check(again.Restore(bytes) == taken, "written reports read back");
    Check(again.Pending() == inbox.Pending(), "the same reports");
    Check(again.Serialize() == bytes, "the same bytes");
    return 0;
}

} // namespace tabry::fuzz
