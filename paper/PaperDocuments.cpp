#include "paper/PaperDocuments.h"

#include "text/Cp932.h"

#include <algorithm>
#include <array>

namespace tabry::paper {

namespace {

PaperDocument PairingSheetOf(const TournamentData& data, int round)
{
    return LayoutPairingSheet(data, round);
}

PaperDocument StandingsOf(const TournamentData& data, int)
{
    return LayoutStandings(data);
}

PaperDocument ResultTableOf(const TournamentData& data, int)
{
    return LayoutResultTable(data);
}

constexpr PaperKindInfo kPaperKinds[] = {
    {PaperKind::PairingSheet, "組み合わせ表", true, PairingSheetOf},
    {PaperKind::Standings, "成績表", false, StandingsOf},
    {PaperKind::ResultTable, "対戦表", false, ResultTableOf},
};

} // namespace

std::span<const PaperKindInfo> PaperKinds()
{
    return kPaperKinds;
}

const PaperKindInfo& PaperKindOf(PaperKind kind)
{
    const auto it = std::find_if(std::begin(kPaperKinds), std::end(kPaperKinds),
                                 [kind](const PaperKindInfo& info) { return info.kind == kind; });
    return it != std::end(kPaperKinds) ? *it : kPaperKinds[0];
}

PaperDocument LayoutPaper(PaperKind kind, const TournamentData& data, int round)
{
    return PaperKindOf(kind).layout(data, round);
}

const std::string& PaperTitle(PaperKind kind)
{
    static const std::array<std::string, std::size(kPaperKinds)> titles = [] {
        std::array<std::string, std::size(kPaperKinds)> t;
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = cp932::FromUtf8(kPaperKinds[i].title);
        return t;
    }();
    return titles[static_cast<size_t>(&PaperKindOf(kind) - kPaperKinds)];
}

} // namespace tabry::paper
