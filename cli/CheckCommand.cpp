// check: a short UTF-8 summary of a tournament file for a terminal.
#include "cli/Cli.h"

#include "core/EventLines.h"
#include "core/Standings.h"
#include "core/TieBreaks.h"
#include "reports/Formatters.h"
#include "text/Cp932.h"
#include "text/FileIo.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace tabry::cli {

namespace {

// The tie-break values a method ranks by, in order, as display text.
std::string TieBreakValues(const PlayerEntry& e, int method)
{
    std::string text;
    for (const TieValue key : TieBreakMethodOf(method).Keys()) {
        if (!text.empty())
            text += " / ";
        if (key == TieValue::Brightwell) {
            text += FormatBrightwell(e.brightwell, true);
        } else if (key == TieValue::Disc) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%+d", e.discTotal);
            text += buf;
        } else {
            text += FormatHalfPoints(TieValueOf(e, key), true);
        }
    }
    return text;
}

// The players who left, in row order; nothing while everybody plays on.
void WithdrawnLines(std::ostringstream& os, const TournamentData& d)
{
    bool any = false;
    for (int r = 0; r < d.table.PlayerCount(); ++r) {
        const PlayerEntry& e = d.table.Entry(r);
        if (e.IsEmpty() || !e.IsWithdrawn())
            continue;
        if (!any)
            os << "棄権:\n";
        any = true;
        char line[64];
        std::snprintf(line, sizeof line, "%4d行  %3d回戦から  ", r + 1, e.withdrawnFrom + 1);
        os << line << cp932::ToUtf8(d.players.GetAt(e.playerIndex).m_longName) << "\n";
    }
}

int RunCheck(Context& ctx, const CommandLine& cl)
{
    if (!LoadTournament(ctx, cl))
        return kExitBadInput;
    const TournamentData& d = ctx.editor.Data();
    const CResultTable& t = d.table;
    const TableSettings& s = t.settings;

    int players = 0;
    for (int r = 0; r < t.PlayerCount(); ++r)
        players += t.Entry(r).IsEmpty() ? 0 : 1;
    int played = 0;
    for (int j = 0; j < t.RoundCount(); ++j)
        played += t.RoundHasGames(j) ? 1 : 0;

    std::ostringstream os;
    os << "ファイル: " << PathText(cl.input) << "\n";
    os << "大会名: " << (d.info.name.empty() ? std::string("(なし)") : cp932::ToUtf8(d.info.name)) << "\n";
    if (d.info.HasDate())
        os << "日付: " << d.info.year << "/" << d.info.month << "/" << d.info.day << "\n";
    else
        os << "日付: (なし)\n";
    os << "参加者: " << players << " 人 (" << t.PlayerCount() << " 行)\n";
    os << "回戦数: " << t.RoundCount() << " (対戦のある回戦 " << played << ")\n";
    os << "石数表示: " << (s.showDiscDifference ? "石差" : "石数") << "\n";
    os << "順位決定法: " << s.tieBreak << " " << cp932::ToUtf8(TieBreakMethodText(s.tieBreak)) << "\n";
    if (HasSecondTieBreak(s))
        os << "同点の場合: " << s.tieBreak2 << " " << cp932::ToUtf8(TieBreakMethodText(s.tieBreak2)) << "\n";
    os << "ブライトウェル係数: " << s.brightwellTenths / 10 << "."
       << (s.brightwellTenths % 10 < 0 ? -(s.brightwellTenths % 10) : s.brightwellTenths % 10) << "\n";
    if (!s.bye.IsDefault()) {
        os << "不戦の結果: " << (s.bye.winDisc > 0 ? ByeScoreText(s.bye) + " の勝ち" : std::string("結果なし")) << "\n";
        os << "不戦を受ける人: " << (s.bye.toLowest ? "不戦勝の無い最下位の参加者" : "組み合わせの計算に任せる")
           << "\n";
    }
    os << "順位:\n";

    // Standings of a sorted copy; the loaded table itself stays as it is.
    const CResultTable sorted = StandingsCopy(t);
    const std::vector<int> ranks = sorted.RankNumbers(s.tieBreak);
    for (int r = 0; r < sorted.PlayerCount(); ++r) {
        const PlayerEntry& e = sorted.Entry(r);
        if (e.IsEmpty())
            continue;
        char line[64];
        std::snprintf(line, sizeof line, "%4d  %3d勝%2d敗%2d分  %5s  %-12s  ", ranks[static_cast<size_t>(r)], e.wins,
                      e.losses, e.draws, FormatHalfPoints(e.points, true).c_str(),
                      TieBreakValues(e, s.tieBreak).c_str());
        os << line << cp932::ToUtf8(d.players.GetAt(e.playerIndex).m_longName) << "\n";
    }
    WithdrawnLines(os, d);
    const std::string text = os.str();
    std::cout << text;
    std::cout.flush();
    if (!std::cout)
        return kExitWriteFailed;
    // The summary shows what could be read; the lines the warnings named
    // make the file no sound tournament file.
    return ctx.findings.empty() ? kExitOk : kExitBadInput;
}

} // namespace

const Command kCheckCommand = {
    "check",
    "check FILE.stg                  print a summary (UTF-8); exit 3 when lines of the file\n"
    "                                  cannot be read as written (each named on standard error)",
    {},
    RunCheck,
};

} // namespace tabry::cli
