#include "app/SettingsLogic.h"

#include "core/TournamentData.h"
#include "edit/TournamentEditor.h"

#include <gtest/gtest.h>

namespace tabry::app {
namespace {

TEST(SettingsLogicTest, CoefficientTextIsReadToOneDecimalWithoutRounding)
{
    EXPECT_EQ(ParseCoefficient("6.0"), 60);
    EXPECT_EQ(ParseCoefficient("6.55"), 65);
    EXPECT_EQ(ParseCoefficient("6"), 60);
    EXPECT_EQ(ParseCoefficient("6."), 60);
    EXPECT_EQ(ParseCoefficient("abc"), 0);
    EXPECT_EQ(ParseCoefficient(" 12.3x"), 123);
    EXPECT_EQ(ParseCoefficient(".5"), 5);
    EXPECT_EQ(ParseCoefficient("100.0"), 1000);
    EXPECT_EQ(ParseCoefficient("99999999999"), ParseCoefficient("99999999999")); // saturates, no overflow
    EXPECT_EQ(FormatCoefficient(60), "6.0");
    EXPECT_EQ(FormatCoefficient(1), "0.1");
    EXPECT_EQ(FormatCoefficient(999), "99.9");
}

TEST(SettingsLogicTest, StepsAreClampedToTheRanges)
{
    EXPECT_EQ(StepText(SettingsField::Players, "512", +1), "512");
    EXPECT_EQ(StepText(SettingsField::Players, "2", -1), "2");
    EXPECT_EQ(StepText(SettingsField::Players, "31", +1), "32");
    EXPECT_EQ(StepText(SettingsField::Players, "junk", +1), "2");
    EXPECT_EQ(StepText(SettingsField::Rounds, "128", +1), "128");
    EXPECT_EQ(StepText(SettingsField::Rounds, "1", -1), "1");
    EXPECT_EQ(StepText(SettingsField::Rounds, "900", -1), "128");
    EXPECT_EQ(StepText(SettingsField::Coefficient, "6.0", +1), "6.1");
    EXPECT_EQ(StepText(SettingsField::Coefficient, "0.1", -1), "0.1");
    EXPECT_EQ(StepText(SettingsField::Coefficient, "99.9", +1), "99.9");
    EXPECT_EQ(StepText(SettingsField::Coefficient, "6.55", -1), "6.4");
}

TEST(SettingsLogicTest, RangeMessages)
{
    EXPECT_EQ(RangeMessage(SettingsField::Players),
              QString::fromUtf8("プレイヤ数は 2 ～ 512 の範囲でなければいけません"));
    EXPECT_EQ(RangeMessage(SettingsField::Rounds),
              QString::fromUtf8("ラウンド数は 1 ～ 128 の範囲でなければいけません"));
    EXPECT_EQ(RangeMessage(SettingsField::Coefficient),
              QString::fromUtf8("ブライトウェル係数は 0.1 ～ 99.9 の範囲でなければいけません"));
}

struct CheckFixture : testing::Test {
    TournamentData data;
    SettingsValues values;
    void SetUp() override { values = SettingsValues::FromTable(data.table); }
};

TEST_F(CheckFixture, SizeLimitsAreChecked)
{
    for (int players : {1, 513, 0, -5}) {
        values.players = players;
        const SettingsCheck c = CheckSettings(values, data.table);
        EXPECT_EQ(c.outcome, SettingsCheck::RangeError) << players;
        EXPECT_EQ(c.field, SettingsField::Players);
    }
    for (int players : {2, 512}) {
        values.players = players;
        EXPECT_EQ(CheckSettings(values, data.table).outcome, SettingsCheck::Accept) << players;
    }
    values.players = 32;
    for (int rounds : {0, 129}) {
        values.rounds = rounds;
        const SettingsCheck c = CheckSettings(values, data.table);
        EXPECT_EQ(c.outcome, SettingsCheck::RangeError) << rounds;
        EXPECT_EQ(c.field, SettingsField::Rounds);
        EXPECT_EQ(c.message, RangeMessage(SettingsField::Rounds));
    }
    for (int rounds : {1, 128}) {
        values.rounds = rounds;
        EXPECT_EQ(CheckSettings(values, data.table).outcome, SettingsCheck::Accept) << rounds;
    }
    // Players are checked first.
    values.players = 1;
    values.rounds = 0;
    EXPECT_EQ(CheckSettings(values, data.table).field, SettingsField::Players);
}

TEST_F(CheckFixture, CoefficientIsRefusedOnlyForTheBrightwellMethod)
{
    data.table.settings.brightwellTenths = 45;
    for (int tenths : {0, 1000}) {
        values.brightwellTenths = tenths;
        values.tieBreak = Brightwell;
        EXPECT_EQ(CheckSettings(values, data.table).outcome, SettingsCheck::RangeError);
        values.tieBreak = WinPointsA;
        const SettingsCheck c = CheckSettings(values, data.table);
        EXPECT_EQ(c.outcome, SettingsCheck::Accept);
        EXPECT_EQ(c.values.brightwellTenths, 45); // the old one stays
    }
    // A valid coefficient is taken whatever the method.
    values.brightwellTenths = 75;
    EXPECT_EQ(CheckSettings(values, data.table).values.brightwellTenths, 75);
}

struct LossFixture : testing::Test {
    TournamentData data;
    void SetUp() override
    {
        data.table.Clear();
        data.table.Resize(20, 7);
        for (int row : {0, 1, 17, 18}) {
            data.table.Entry(row).playerIndex = data.players.Add("p" + std::to_string(row), "", "", "", 0, "");
        }
        ResultCell c;
        c.opponent = 1;
        c.result = ResultWin;
        data.table.SetCell(0, 4, c); // round 5
        c.opponent = 0;
        c.result = ResultLoss;
        data.table.SetCell(1, 4, c);
    }
};

TEST_F(LossFixture, FewerRowsWithPlayersAnnounceTheFirstRemovedRow)
{
    bool rows = false;
    EXPECT_EQ(DataLossQuestionText(data.table, 16, 7, &rows),
              QString::fromUtf8("17 行目以降に入力されたデータは全て削除されます。\nよろしいですか？"));
    EXPECT_TRUE(rows);
    EXPECT_EQ(DataLossQuestionText(data.table, 18, 7),
              QString::fromUtf8("19 行目以降に入力されたデータは全て削除されます。\nよろしいですか？"));
    EXPECT_TRUE(DataLossQuestionText(data.table, 19, 7).isEmpty()); // row 19 (the 20th) holds nobody
    EXPECT_TRUE(DataLossQuestionText(data.table, 20, 7).isEmpty()); // the same size drops nothing
}

TEST_F(LossFixture, FewerRoundsOnlyAskWhenARemovedRoundHasAGame)
{
    EXPECT_TRUE(DataLossQuestionText(data.table, 20, 5).isEmpty()); // only rounds 1..5 hold games
    bool rows = true;
    EXPECT_EQ(DataLossQuestionText(data.table, 20, 4, &rows),
              QString::fromUtf8("5 回戦以降のデータは全て削除されます。\nよろしいですか？"));
    EXPECT_FALSE(rows);
}

TEST_F(LossFixture, BothLossesAreJoinedInOneQuestion)
{
    const SettingsCheck c = CheckSettings({true, 0, 16, 4, 60, {}, kNoTieBreak}, data.table);
    EXPECT_EQ(c.outcome, SettingsCheck::Confirm);
    EXPECT_EQ(c.field, SettingsField::Players);
    EXPECT_EQ(
        c.message,
        QString::fromUtf8("17 行目以降に入力されたデータ及び5 回戦以降のデータは全て削除されます。\nよろしいですか？"));
}

TEST_F(LossFixture, ApplyingASizeChangeKeepsWhatFitsAndIsAChange)
{
    SettingsValues v = SettingsValues::FromTable(data.table);
    v.players = 18; // drops row 18, which has no games
    v.rounds = 5;
    CTournamentEditor editor(data);
    const ApplyOutcome out = ApplySettings(editor, v);
    EXPECT_TRUE(out.resized);
    EXPECT_TRUE(out.changed); // the file records the size: one undoable step
    EXPECT_EQ(editor.Table().PlayerCount(), 18);
    EXPECT_EQ(editor.Table().RoundCount(), 5);
    EXPECT_EQ(editor.Table().Cell(0, 4).opponent, 1);
    EXPECT_EQ(editor.Table().Entry(0).wins, 1); // recomputed
}

TEST_F(LossFixture, ShrinkingDropsGamesAgainstRemovedRows)
{
    ResultCell c;
    c.opponent = 18;
    c.result = ResultWin;
    data.table.SetCell(0, 0, c);
    c.opponent = 0;
    c.result = ResultLoss;
    data.table.SetCell(18, 0, c);
    SettingsValues v = SettingsValues::FromTable(data.table);
    v.players = 17;
    CTournamentEditor editor(data);
    ApplySettings(editor, v);
    EXPECT_EQ(editor.Table().Cell(0, 0).opponent, NoOpponent);
}

TEST_F(LossFixture, ApplyingOtherSettingsCountsAsAChangeButDoesNotSort)
{
    data.table.ComputeAll();
    const int firstBefore = data.table.Entry(0).playerIndex;
    SettingsValues v = SettingsValues::FromTable(data.table);
    v.tieBreak = WinPointsB;
    CTournamentEditor editor(data);
    ApplyOutcome out = ApplySettings(editor, v);
    EXPECT_TRUE(out.changed);
    EXPECT_FALSE(out.resized);
    EXPECT_EQ(editor.Table().settings.tieBreak, WinPointsB);
    EXPECT_EQ(editor.Table().Entry(0).playerIndex, firstBefore);

    v.showDiscDifference = false;
    EXPECT_TRUE(ApplySettings(editor, v).changed);
    EXPECT_FALSE(editor.Table().settings.showDiscDifference);
    v.brightwellTenths = 10;
    EXPECT_TRUE(ApplySettings(editor, v).changed);
    EXPECT_EQ(editor.Table().settings.brightwellTenths, 10);
    EXPECT_FALSE(ApplySettings(editor, v).changed); // nothing differs now
}

} // namespace
} // namespace tabry::app
