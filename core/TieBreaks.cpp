#include "core/TieBreaks.h"

#include "text/Cp932.h"

#include <cstdlib>
#include <vector>

namespace tabry {

namespace {

using V = TieValue;

// Indexed by TieBreakMethod. Brightwell compares its score alone but shows
// the discs beside it.
constexpr TieBreakMethodInfo kMethods[kTieBreakMethodCount] = {
    {DiscDifference, "石差（石数）", {V::Disc, V::Disc}, 1, {V::Disc, V::Disc}, 1},
    {Brightwell, "ブライトウェル", {V::Brightwell, V::Disc}, 1, {V::Brightwell, V::Disc}, 2},
    {WinPointsA, "勝数ポイントＡ（全ての相手の勝数合計）", {V::WinPointsA, V::Disc}, 1, {V::WinPointsA, V::Disc}, 1},
    {WinPointsASecondary,
     "勝数ポイントＡ＋二次ポイント",
     {V::WinPointsA, V::SecondaryA},
     2,
     {V::WinPointsA, V::SecondaryA},
     2},
    {WinPointsADisc, "勝数ポイントＡ＋石差", {V::WinPointsA, V::Disc}, 2, {V::WinPointsA, V::Disc}, 2},
    {WinPointsB, "勝数ポイントＢ（勝った相手の勝数合計）", {V::WinPointsB, V::Disc}, 1, {V::WinPointsB, V::Disc}, 1},
    {WinPointsBSecondary,
     "勝数ポイントＢ＋二次ポイント",
     {V::WinPointsB, V::SecondaryB},
     2,
     {V::WinPointsB, V::SecondaryB},
     2},
    {WinPointsBDisc, "勝数ポイントＢ＋石差", {V::WinPointsB, V::Disc}, 2, {V::WinPointsB, V::Disc}, 2},
};

// "3.5" / "3" of a value in halves; "84.05" of one in twentieths.
std::string Halves(long long v)
{
    std::string text = std::to_string(v / 2);
    if (v % 2 != 0)
        text = (v < 0 && v / 2 == 0 ? "-" : "") + text + ".5";
    return text;
}

std::string Twentieths(long long v)
{
    const long long hundredths = std::llabs(v) * 5;
    std::string frac = std::to_string(hundredths % 100);
    if (frac.size() < 2)
        frac.insert(0, "0");
    return (v < 0 ? "-" : "") + std::to_string(hundredths / 100) + "." + frac;
}

} // namespace

const TieBreakMethodInfo& TieBreakMethodOf(int method)
{
    return kMethods[EffectiveTieBreak(method)];
}

const std::string& TieBreakMethodText(int method)
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        for (const TieBreakMethodInfo& m : kMethods)
            t.push_back(cp932::FromUtf8(m.name));
        return t;
    }();
    return texts[static_cast<size_t>(EffectiveTieBreak(method))];
}

std::int32_t TieValueOf(const PlayerEntry& e, TieValue value)
{
    switch (value) {
    case V::Disc:
        return e.discTotal;
    case V::Brightwell:
        return e.brightwell;
    case V::WinPointsA:
        return e.winPointsA;
    case V::SecondaryA:
        return e.secondaryA;
    case V::WinPointsB:
        return e.winPointsB;
    case V::SecondaryB:
        return e.secondaryB;
    }
    return 0;
}

const std::string& TieValueCaption(TieValue value, bool showDiscDifference)
{
    switch (value) {
    case V::Disc:
        return showDiscDifference ? SJ("石差") : SJ("石数");
    case V::Brightwell:
        return SJ("ブライトウェル");
    case V::WinPointsA:
        return SJ("勝数Ａ");
    case V::SecondaryA:
        return SJ("二次Ａ");
    case V::WinPointsB:
        return SJ("勝数Ｂ");
    case V::SecondaryB:
        return SJ("二次Ｂ");
    }
    return SJ("石差");
}

std::vector<std::string> TieBreakCaptions(int method, bool showDiscDifference)
{
    std::vector<std::string> captions;
    for (const TieValue value : TieBreakMethodOf(method).Shown())
        captions.push_back(TieValueCaption(value, showDiscDifference));
    return captions;
}

std::string TieValueNumber(const PlayerEntry& e, TieValue value, bool showDiscDifference)
{
    const long long v = TieValueOf(e, value);
    switch (value) {
    case V::Disc:
        if (showDiscDifference)
            return std::to_string(v);
        return Halves(v + 64LL * (e.wins + e.losses + e.draws));
    case V::Brightwell:
        return Twentieths(v);
    default:
        return Halves(v);
    }
}

} // namespace tabry
