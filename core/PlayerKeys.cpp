#include "core/PlayerKeys.h"

#include "playerdb/PlayerDatabase.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace tabry {

namespace {

constexpr size_t kHexDigits = 12;

std::string Identity(const CPlayerRecord& who)
{
    // A separator no Shift_JIS text holds keeps "ab"+"c" apart from "a"+"bc".
    return who.m_longName + '\x1F' + who.m_memberNumber;
}

std::string HashText(std::string_view identity)
{
    // FNV-1a, 64 bits: plain, stable across platforms and builds.
    std::uint64_t h = 14695981039346656037ULL;
    for (const unsigned char c : identity)
        h = (h ^ c) * 1099511628211ULL;
    static const char kHex[] = "0123456789abcdef";
    std::string text;
    for (size_t i = 0; i < kHexDigits; ++i)
        text += kHex[(h >> (60 - 4 * i)) & 0xF];
    return text;
}

} // namespace

std::vector<std::string> PlayerKeys(const CResultTable& table, const CPlayerDatabase& players)
{
    std::vector<std::string> keys(static_cast<size_t>(table.PlayerCount()));
    // Rows by hash, each group in the order of its identities (then rows,
    // for two rows of one person): the order of the table plays no part.
    std::map<std::string, std::vector<std::pair<std::string, int>>> groups;
    for (int r = 0; r < table.PlayerCount(); ++r) {
        const PlayerEntry& e = table.Entry(r);
        if (e.IsEmpty())
            continue;
        std::string identity = Identity(players.GetAt(e.playerIndex));
        groups[HashText(identity)].emplace_back(std::move(identity), r);
    }
    for (auto& [hash, members] : groups) {
        std::sort(members.begin(), members.end());
        for (size_t k = 0; k < members.size(); ++k)
            keys[static_cast<size_t>(members[k].second)] = k == 0 ? hash : hash + "-" + std::to_string(k + 1);
    }
    return keys;
}

bool IsPlayerKeyText(std::string_view text)
{
    if (text.size() < kHexDigits || text.size() > kHexDigits + 4)
        return false;
    for (size_t i = 0; i < kHexDigits; ++i)
        if (!((text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f')))
            return false;
    const std::string_view suffix = text.substr(kHexDigits);
    if (suffix.empty())
        return true;
    // "-2" ... "-9", "-10" ...: no leading zero, never "-0" or "-1".
    if (suffix.size() < 2 || suffix[0] != '-' || suffix[1] < '1' || suffix[1] > '9'
        || (suffix.size() == 2 && suffix[1] == '1'))
        return false;
    return std::all_of(suffix.begin() + 2, suffix.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace tabry
