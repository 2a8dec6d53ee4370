#pragma once
// The words the printed documents and the live pages use for the same
// things, in one table, so paper and phone never word a thing differently.
// The byte-defined report texts (the rating CSV, the text, HTML and macro
// reports, the interim sheets) keep their own words.

#include <optional>
#include <string>
#include <string_view>

namespace tabry {

struct PlayerEntry;

enum class Term {
    Board,         // 盤
    Points,        // 勝点
    Rank,          // 順位
    Name,          // 氏名
    Grade,         // 段級
    Residence,     // 所属
    Record,        // 勝敗
    Result,        // 結果
    Opponent,      // 相手
    Number,        // 番号: a player's number in the result table
    Bye,           // 不戦: the bye, also its result while it has none
    Unpaired,      // 組合せ待ち: plays, but has no game in the round yet
    Withdrawn,     // 棄権
    Playing,       // 対局中: a game without its result yet
    WithdrawnCell, // 棄: a round cell without a game of a withdrawn player
    Left,          // 左: the side of the higher placed player of a board
    Right,         // 右
    AbsentCell,    // 休: a round cell of a player who sits that round out
    Absent,        // 休み: the players who sit a round out
};

// UTF-8, for the pages.
std::string_view TermUtf8(Term term);
// Shift_JIS, for paper.
const std::string& TermText(Term term);

// The mark of a round cell (round from 0) that holds no game, wherever it
// is shown: WithdrawnCell from his withdrawal on, AbsentCell in a round
// before it that he sits out, nothing while he is still to be paired.
std::optional<Term> NoGameMark(const PlayerEntry& entry, int round);

// "棄権(3回戦から)": the mark of a player withdrawn from round
// `withdrawnFrom` (from 0) on, in UTF-8.
std::string WithdrawnMarkUtf8(int withdrawnFrom);

// Where the standings stand (see StandingsAfter in core/Standings.h), in
// UTF-8: "3回戦終了時点", "4回戦途中", or "開始前" before any result.
std::string StandingsPointUtf8(int round, bool complete);

} // namespace tabry
