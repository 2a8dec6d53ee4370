#include "paper/PaperDocuments.h"

#include "text/Cp932.h"

namespace tabry::paper {

PaperDocument LayoutPaper(PaperKind kind, const TournamentData& data, int round)
{
    switch (kind) {
    case PaperKind::PairingSheet:
        return LayoutPairingSheet(data, round);
    case PaperKind::Standings:
        return LayoutStandings(data);
    case PaperKind::ResultTable:
        return LayoutResultTable(data);
    }
    return {};
}

const std::string& PaperTitle(PaperKind kind)
{
    switch (kind) {
    case PaperKind::PairingSheet:
        return SJ("組み合わせ表");
    case PaperKind::Standings:
        return SJ("成績表");
    case PaperKind::ResultTable:
        break;
    }
    return SJ("対戦表");
}

} // namespace tabry::paper
