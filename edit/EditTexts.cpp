#include "edit/EditTexts.h"

#include "core/EventLines.h"
#include "text/Cp932.h"

#include <cstdio>

namespace tabry {

namespace {

std::string Format(const std::string& format, auto... args)
{
    const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format.c_str(), args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

const std::string& NameOfRow(const TournamentData& data, int row)
{
    return data.players.GetAt(data.table.Entry(row).playerIndex).m_longName;
}

} // namespace

std::string OverwriteOpponentQuestion(const TournamentData& data, int opponent, int round, int third)
{
    static const std::string question = SJ("「%s」さんの%d回戦の相手は\n「%s」さんになっています。\n 上書きしますか？");
    return Format(question, NameOfRow(data, opponent).c_str(), round + 1, NameOfRow(data, third).c_str());
}

std::string DeletePlayerQuestion(const TournamentData& data, int row)
{
    static const std::string question = SJ("「%s」さんを削除します。よろしいですか？");
    return Format(question, NameOfRow(data, row).c_str());
}

std::string DeleteRoundQuestion(int round)
{
    return std::to_string(round + 1) + SJ("回戦の結果を削除します。よろしいですか？");
}

std::string DataLossQuestion(const CResultTable& table, int players, int rounds, bool* concernsRows)
{
    std::string text;
    bool rows = false;
    if (players < table.PlayerCount() && !table.RowsEmptyFrom(players)) {
        // Numbered from 1, as the grid numbers its rows.
        text = std::to_string(players + 1) + SJ(" 行目以降に入力されたデータ");
        rows = true;
    }
    if (rounds < table.RoundCount() && !table.RoundsEmptyFrom(rounds)) {
        if (!text.empty())
            text += SJ("及び");
        text += std::to_string(rounds + 1) + SJ(" 回戦以降のデータ");
    }
    if (concernsRows != nullptr)
        *concernsRows = rows;
    if (text.empty())
        return text;
    return text + SJ("は全て削除されます。\nよろしいですか？");
}

std::string OpenBoardsQuestion(const std::vector<OpenBoards>& open)
{
    if (open.empty())
        return {};
    int boards = 0;
    std::string rounds;
    for (const OpenBoards& o : open) {
        if (!rounds.empty())
            rounds += SJ("・");
        rounds += Format(SJ("第%d回戦"), o.round + 1);
        boards += o.boards;
    }
    const std::string count = open.size() == 1 ? Format(SJ("%d局"), boards) : Format(SJ("合わせて%d局"), boards);
    return rounds + SJ("に結果のない対局が") + count + SJ("あります。組み合わせを作成しますか?");
}

std::string RefusalText(const EditRefusal& refusal, const TournamentData& data)
{
    const CResultTable& table = data.table;
    const int round = refusal.round + 1;
    switch (refusal.code) {
    case RefusalCode::None:
    case RefusalCode::Declined:
        return {};
    case RefusalCode::OutOfTable:
        return SJ("表の外の位置です。");
    case RefusalCode::BadRecord:
        return SJ("ユーザDBにないプレイヤです。");
    case RefusalCode::BadResult:
        return SJ("対局の結果が正しくありません。");
    case RefusalCode::EmptyRow:
        return SJ("この行にはプレイヤが入力されていません。");
    case RefusalCode::NoSuchOpponent:
        return SJ("対戦相手がいません。");
    case RefusalCode::PlayerInOtherRow:
        return Format(SJ("「%s」さんは既に入力されています。"), data.players.GetAt(refusal.record).m_longName.c_str());
    case RefusalCode::Withdrawn:
        return Format(SJ("「%s」さんは%d回戦から棄権しているため、%d回戦の対局は入力できません。"),
                      NameOfRow(data, refusal.row).c_str(), refusal.other + 1, round);
    case RefusalCode::OpponentWithdrawn:
        return Format(SJ("「%s」さんは%d回戦から棄権しているため、%d回戦の対局は入力できません。"),
                      NameOfRow(data, refusal.other).c_str(), table.Entry(refusal.other).withdrawnFrom + 1, round);
    case RefusalCode::WithdrawalTooEarly:
        if (refusal.other >= table.RoundCount())
            return Format(SJ("「%s」さんは最終回戦まで結果が入っているので、棄権にできません。"),
                          NameOfRow(data, refusal.row).c_str());
        return Format(SJ("「%s」さんは%d回戦の結果が入っています。\n棄権は%d回戦以降から選んでください。"),
                      NameOfRow(data, refusal.row).c_str(), refusal.other, refusal.other + 1);
    case RefusalCode::AlreadyWithdrawn:
        return Format(SJ("「%s」さんは既に%d回戦から棄権しています。"), NameOfRow(data, refusal.row).c_str(), round);
    case RefusalCode::NotWithdrawn:
        return Format(SJ("「%s」さんは棄権していません。"), NameOfRow(data, refusal.row).c_str());
    case RefusalCode::Absent:
    case RefusalCode::OpponentAbsent: {
        const int absentRow = refusal.code == RefusalCode::Absent ? refusal.row : refusal.other;
        return Format(SJ("「%s」さんは%d回戦を休むため、対局は入力できません。"), NameOfRow(data, absentRow).c_str(),
                      round);
    }
    case RefusalCode::HasGame:
        return Format(SJ("「%s」さんは%d回戦の対局が入っています。\n休みにするには先に対局を削除してください。"),
                      NameOfRow(data, refusal.row).c_str(), round);
    case RefusalCode::NotAbsent:
        return Format(SJ("「%s」さんは%d回戦を休んでいません。"), NameOfRow(data, refusal.row).c_str(), round);
    case RefusalCode::TableFull:
        return Format(SJ("表の行数は %d 行までです。"), kMaxPlayers);
    case RefusalCode::BadSize:
        return Format(SJ("表の大きさは 1 ～ %d 行、1 ～ %d 回戦です。"), kMaxPlayers, kMaxRounds);
    case RefusalCode::RebuildDropsPlayer:
        return Format(SJ("「%s」さんは現在編集中の結果表で使用されているため\nユーザDBから削除することは出来ません。"),
                      data.players.GetAt(refusal.record).m_longName.c_str());
    case RefusalCode::StaleStep:
        return SJ("この操作は今の大会の状態に当てはまらないため、元に戻すことも、やり直すこともできません。");
    case RefusalCode::BadReportingKey:
        return SJ("結果報告の鍵が正しくありません。");
    }
    return {};
}

std::string AbsenceQuestion(const TournamentData& data, int row, int round)
{
    // Says what the round will count, which the bye rule decides.
    const ByeRule& rule = data.table.settings.bye;
    const std::string score =
        rule.winDisc > 0 ? SJ("不戦勝 ") + ByeScoreText(rule) + SJ(" として数えます") : SJ("この回戦の点はありません");
    return Format(SJ("「%s」さんは%d回戦を休みます（組み合わせから外れ、%s）。\nよろしいですか？"),
                  NameOfRow(data, row).c_str(), round + 1, score.c_str());
}

std::string PairedRoundText(const PairedRound& paired, const TournamentData& data)
{
    if (paired.round < 0)
        return {};
    std::string text = Format(SJ("第%d回戦の組み合わせを作成しました: %d局"), paired.round + 1, paired.boards);
    if (paired.byeRow >= 0)
        text += SJ("、不戦 ") + NameOfRow(data, paired.byeRow);
    for (const auto& [rows, why] : {std::pair{&paired.withdrawnRows, SJ("、棄権のため除外 %d人 (")},
                                    std::pair{&paired.absentRows, SJ("、休みのため除外 %d人 (")}}) {
        if (rows->empty())
            continue;
        text += Format(why, static_cast<int>(rows->size()));
        for (size_t i = 0; i < rows->size(); ++i)
            text += (i > 0 ? SJ("、") : std::string()) + NameOfRow(data, (*rows)[i]);
        text += ")";
    }
    return text;
}

} // namespace tabry
