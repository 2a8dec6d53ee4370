#pragma once
// Tournaments for the printed documents' tests, and poppler's tools run on
// the PDFs (pdftotext, pdftoppm from Debian's poppler-utils).

#include "core/TournamentData.h"
#include "tests/support/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace tabry::test {

// "選手007": unique long names that no other name contains.
inline std::string PlayerName(int n)
{
    std::string digits = std::to_string(n);
    digits.insert(0, digits.size() < 3 ? 3 - digits.size() : 0, '0');
    return S("選手") + digits;
}

// `players` players in `rounds` rounds, paired round-robin by the circle
// method (an odd player out gets the bye). Every round but the last has
// results; the last is paired and waits for its results, as when the pairing
// sheet is printed. Method: win points A with secondary points (two values).
inline TournamentData GeneratedTournament(int players, int rounds)
{
    TournamentData d;
    d.table.Clear();
    d.table.Resize(players, rounds);
    const std::vector<std::string> places = {S("東京"), S("大阪"), S("鹿児島"), std::string()};
    for (int r = 0; r < players; ++r)
        d.table.Entry(r).playerIndex = d.players.Add(PlayerName(r + 1), "p" + std::to_string(r), "s" + std::to_string(r),
                                                     places[static_cast<size_t>(r % 4)], r % 19 - 9, "");
    const int n = players + players % 2; // with a dummy when odd
    for (int j = 0; j < rounds; ++j) {
        // Position 0 stays, the others turn one step per round.
        std::vector<int> order(static_cast<size_t>(n));
        order[0] = 0;
        for (int k = 1; k < n; ++k)
            order[static_cast<size_t>(k)] = 1 + (k - 1 + j) % (n - 1);
        for (int k = 0; k < n / 2; ++k) {
            const int a = order[static_cast<size_t>(k)];
            const int b = order[static_cast<size_t>(n - 1 - k)];
            if (a >= players || b >= players) {
                const int alone = a >= players ? b : a;
                d.table.SetCell(alone, j, ResultCell{ByeOpponent, ResultWin, 0, 0});
                continue;
            }
            std::int8_t result = ResultNone;
            std::int8_t disc = 0;
            if (j + 1 < rounds) {
                const int roll = (a * 7 + b * 3 + j * 5) % 5;
                result = roll < 2 ? ResultWin : roll == 2 ? ResultDraw : ResultLoss;
                disc = static_cast<std::int8_t>(result == ResultDraw ? 0 : result * ((a + b + j) % 40 + 2));
            }
            d.table.SetCell(a, j, ResultCell{b, result, disc, 0});
            d.table.SetCell(b, j, ResultCell{a, result == ResultNone ? ResultNone : static_cast<std::int8_t>(-result),
                                             static_cast<std::int8_t>(-disc), 0});
        }
    }
    d.table.settings.tieBreak = WinPointsASecondary;
    d.table.ComputeAll();
    d.info.name = S("全日本オセロ選手権");
    d.info.year = 2024;
    d.info.month = 5;
    d.info.day = 3;
    return d;
}

// Runs a shell command and returns what it printed; `ok` tells whether it
// exited with 0.
inline std::string Capture(const std::string& command, bool* ok = nullptr)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        if (ok != nullptr)
            *ok = false;
        return out;
    }
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    const int status = pclose(pipe);
    if (ok != nullptr)
        *ok = status == 0;
    return out;
}

// Whether poppler's tools are installed (tools/setup.sh installs them).
inline bool HavePoppler()
{
    bool ok = false;
    Capture("pdftotext -v 2>&1", &ok);
    return ok;
}

// Whether fontconfig finds IPA Gothic (tools/setup.sh installs it).
inline bool HaveIpaGothic()
{
    return Capture("fc-list IPAGothic family 2>/dev/null").find("IPAGothic") != std::string::npos;
}

// The pages of a PDF's text in its physical layout (UTF-8).
inline std::vector<std::string> PdfPages(const std::filesystem::path& pdf)
{
    std::vector<std::string> pages;
    const std::string text = Capture("pdftotext -layout \"" + pdf.string() + "\" - 2>&1");
    size_t from = 0;
    for (size_t ff = text.find('\f'); ff != std::string::npos; ff = text.find('\f', from)) {
        pages.push_back(text.substr(from, ff - from));
        from = ff + 1;
    }
    return pages;
}

} // namespace tabry::test
