#pragma once
// Small tournaments built cell by cell for the report tests, with readable
// UTF-8 names converted to Shift_JIS.

#include "core/TournamentData.h"
#include "tests/support/TestSupport.h"

#include <string_view>

namespace tabry::test {

// "P7": a prefix and a number, for tables with many players. (Built by
// appending: GCC 12 warns falsely about "literal" + std::string at -O3.)
inline std::string Numbered(std::string_view prefix, int n)
{
    return std::string(prefix).append(std::to_string(n));
}

class TournamentBuilder {
public:
    TournamentBuilder(int rows, int rounds)
    {
        data.table.Clear();
        data.table.Resize(rows, rounds);
    }

    // Puts a new database player into `row`.
    TournamentBuilder& Player(int row, std::string_view longName, std::string_view shortName,
                              std::string_view residence, int grade)
    {
        const int index = data.players.Add(S(longName), Numbered("p", row), S(shortName), S(residence), grade, "");
        data.table.Entry(row).playerIndex = index;
        return *this;
    }

    // A game of round `round` (0-based) from a's view, mirrored into b's row.
    TournamentBuilder& Game(int round, int a, int b, std::int8_t result, int disc)
    {
        data.table.SetCell(a, round, ResultCell{b, result, static_cast<std::int8_t>(disc), 0});
        const std::int8_t mirrored = result == ResultNone ? ResultNone : static_cast<std::int8_t>(-result);
        data.table.SetCell(b, round, ResultCell{a, mirrored, static_cast<std::int8_t>(-disc), 0});
        return *this;
    }

    TournamentBuilder& Bye(int round, int row, std::int8_t result, int disc)
    {
        data.table.SetCell(row, round, ResultCell{ByeOpponent, result, static_cast<std::int8_t>(disc), 0});
        return *this;
    }

    TournamentBuilder& Named(std::string_view name, int year = 0, int month = 1, int day = 1)
    {
        data.info.name = S(name);
        data.info.year = year;
        data.info.month = month;
        data.info.day = day;
        return *this;
    }

    TournamentData& Done()
    {
        data.table.ComputeAll();
        return data;
    }

    TournamentData data;
};

// The tournament most report tests are worked out on: five rows (row 2 empty),
// three rounds, disc difference mode, method 0 unless a test changes it.
//
//   row 0  山田 太郎      山田    東京    三段  R1 beat B +12, R2 beat C +4, R3 vs D no result
//   row 1  佐藤　花子      佐藤    大阪    ２級  R1 lost to A -12, R2 beat D +4, R3 bye won 0
//   row 3  ジョン・スミス  ジョン  -       -     R1 drew D, R2 lost to A -4, R3 no game
//   row 4  鈴木一郎        鈴木    北海道  初段  R1 drew C, R2 lost to B -4, R3 vs A no result
//
// Totals: A 2-0-0 +16, B 2-1-0 -8, C 0-1-1 -4, D 0-1-1 -4 (C and D tie under
// method 0). Win points A: A 6, B 5, C 5, D 9; B: A 5, B 1, C 0, D 0;
// secondary A: A 19, B 15, C 15, D 16; secondary B: A 1, others 0;
// Brightwell (6.0): A 90.00, B 107.00, C 77.00, D 89.00.
inline TournamentData SpringCup()
{
    TournamentBuilder b(5, 3);
    b.Player(0, "山田 太郎", "山田", "東京", 3)
        .Player(1, "佐藤　花子", "佐藤", "大阪", -2)
        .Player(3, "ジョン・スミス", "ジョン", "", 0)
        .Player(4, "鈴木一郎", "鈴木", "北海道", 1)
        .Game(0, 0, 1, ResultWin, 12)
        .Game(0, 3, 4, ResultDraw, 0)
        .Game(1, 0, 3, ResultWin, 4)
        .Game(1, 1, 4, ResultWin, 4)
        .Game(2, 0, 4, ResultNone, 0)
        .Bye(2, 1, ResultWin, 0)
        .Named("春季大会", 2024, 5, 3);
    return b.Done();
}

} // namespace tabry::test
