#include "core/Terms.h"

#include "core/ResultTable.h"
#include "text/Cp932.h"

#include <array>

namespace tabry {

namespace {

struct TermRow {
    Term term;
    std::string_view text;
};

// In the order of Term; the README's table of terms lists the same words.
constexpr TermRow kTerms[] = {
    {Term::Board, "盤"},       {Term::Points, "勝点"},    {Term::Rank, "順位"},        {Term::Name, "氏名"},
    {Term::Grade, "段級"},     {Term::Residence, "所属"}, {Term::Record, "勝敗"},      {Term::Result, "結果"},
    {Term::Opponent, "相手"},  {Term::Number, "番号"},    {Term::Bye, "不戦"},         {Term::Unpaired, "組合せ待ち"},
    {Term::Withdrawn, "棄権"}, {Term::Playing, "対局中"}, {Term::WithdrawnCell, "棄"}, {Term::Left, "左"},
    {Term::Right, "右"},       {Term::AbsentCell, "休"},  {Term::Absent, "休み"},
};
constexpr size_t kTermCount = sizeof kTerms / sizeof kTerms[0];

constexpr bool InOrder()
{
    for (size_t i = 0; i < kTermCount; ++i)
        if (static_cast<size_t>(kTerms[i].term) != i)
            return false;
    return true;
}
static_assert(InOrder(), "kTerms lists the terms in the order of Term");

} // namespace

std::string_view TermUtf8(Term term)
{
    return kTerms[static_cast<size_t>(term)].text;
}

const std::string& TermText(Term term)
{
    static const std::array<std::string, kTermCount> texts = [] {
        std::array<std::string, kTermCount> t;
        for (size_t i = 0; i < kTermCount; ++i)
            t[i] = cp932::FromUtf8(kTerms[i].text);
        return t;
    }();
    return texts[static_cast<size_t>(term)];
}

std::optional<Term> NoGameMark(const PlayerEntry& entry, int round)
{
    if (entry.IsEmpty())
        return std::nullopt;
    if (entry.IsWithdrawnIn(round))
        return Term::WithdrawnCell;
    if (entry.IsAbsentIn(round))
        return Term::AbsentCell;
    return std::nullopt;
}

std::string WithdrawnMarkUtf8(int withdrawnFrom)
{
    return std::string(TermUtf8(Term::Withdrawn)) + "(" + std::to_string(withdrawnFrom + 1) + "回戦から)";
}

std::string StandingsPointUtf8(int round, bool complete)
{
    if (round <= 0)
        return "開始前";
    return std::to_string(round) + (complete ? "回戦終了時点" : "回戦途中");
}

} // namespace tabry
