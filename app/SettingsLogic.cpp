#include "app/SettingsLogic.h"

#include "core/EventLines.h"
#include "core/ResultTable.h"
#include "edit/TournamentEditor.h"
#include "text/Cp932.h"
#include "text/LineString.h"
#include "widgets/TextCodec.h"

#include <algorithm>
#include <cstdint>

namespace tabry::app {

SettingsValues SettingsValues::FromTable(const CResultTable& table)
{
    SettingsValues v;
    v.showDiscDifference = table.settings.showDiscDifference;
    v.tieBreak = table.settings.tieBreak;
    v.tieBreak2 = table.settings.tieBreak2;
    v.players = table.PlayerCount();
    v.rounds = table.RoundCount();
    v.brightwellTenths = table.settings.brightwellTenths;
    v.bye = table.settings.bye;
    return v;
}

FieldRange RangeOf(SettingsField field)
{
    switch (field) {
    case SettingsField::Players:
        return {2, kMaxPlayers};
    case SettingsField::Rounds:
        return {1, kMaxRounds};
    case SettingsField::Coefficient:
        return {1, 999};
    }
    return {0, 0};
}

namespace {

// A number as typed, full-width digits (an input method's) read as ASCII.
std::string NumberBytes(const QString& text)
{
    return cp932::FoldFullWidth(ui::ToSjis(text));
}

} // namespace

int ParseCount(const QString& text)
{
    return ParseDecimal(NumberBytes(text));
}

int ParseCoefficient(const QString& text)
{
    const std::string bytes = NumberBytes(text);
    long long value = static_cast<long long>(ParseDecimal(bytes)) * 10;
    const size_t dot = bytes.find('.');
    if (dot != std::string::npos && dot + 1 < bytes.size() && bytes[dot + 1] >= '0' && bytes[dot + 1] <= '9')
        value += bytes[dot + 1] - '0';
    // Far outside every range either way; keep it an int.
    return static_cast<int>(std::clamp<long long>(value, INT32_MIN / 2, INT32_MAX / 2));
}

QString FormatCoefficient(int tenths)
{
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

QString StepText(SettingsField field, const QString& text, int delta)
{
    const FieldRange range = RangeOf(field);
    if (field == SettingsField::Coefficient)
        return FormatCoefficient(std::clamp(ParseCoefficient(text) + delta, range.minimum, range.maximum));
    const long long v = static_cast<long long>(ParseCount(text)) + delta;
    return QString::number(std::clamp<long long>(v, range.minimum, range.maximum));
}

std::optional<int> ParseByeScore(const QString& text)
{
    QString score = ui::ToQString(NumberBytes(text)).trimmed();
    if (!score.contains(QLatin1Char('-'))) {
        bool ok = false;
        const int own = score.toInt(&ok);
        if (!ok || own < 0 || own > 64)
            return std::nullopt;
        score = QStringLiteral("%1-%2").arg(own).arg(64 - own);
    }
    return ByeWinDisc(score.toStdString());
}

QString FormatByeScore(int winDisc)
{
    ByeRule rule;
    rule.winDisc = winDisc > 0 ? winDisc : 2;
    return QString::fromStdString(ByeScoreText(rule));
}

QString RangeMessage(SettingsField field)
{
    switch (field) {
    case SettingsField::Players:
        return QStringLiteral("プレイヤ数は %1 ～ %2 の範囲でなければいけません").arg(2).arg(kMaxPlayers);
    case SettingsField::Rounds:
        return QStringLiteral("ラウンド数は %1 ～ %2 の範囲でなければいけません").arg(1).arg(kMaxRounds);
    case SettingsField::Coefficient:
        return QStringLiteral("ブライトウェル係数は %1.%2 ～ %3.%4 の範囲でなければいけません")
            .arg(0)
            .arg(1)
            .arg(99)
            .arg(9);
    }
    return {};
}

bool UsesBrightwell(int tieBreak, int tieBreak2)
{
    return tieBreak == Brightwell || tieBreak2 == Brightwell;
}

QString DataLossQuestionText(const CResultTable& table, int players, int rounds, bool* concernsRows)
{
    return ui::ToQString(tabry::DataLossQuestion(table, players, rounds, concernsRows));
}

SettingsCheck CheckSettings(const SettingsValues& values, const CResultTable& current)
{
    SettingsCheck check;
    check.values = values;
    auto outside = [](SettingsField f, int v) { return v < RangeOf(f).minimum || v > RangeOf(f).maximum; };
    for (SettingsField f : {SettingsField::Players, SettingsField::Rounds}) {
        const int v = f == SettingsField::Players ? values.players : values.rounds;
        if (outside(f, v)) {
            check.outcome = SettingsCheck::RangeError;
            check.field = f;
            check.message = RangeMessage(f);
            return check;
        }
    }
    if (outside(SettingsField::Coefficient, values.brightwellTenths)) {
        if (UsesBrightwell(values.tieBreak, values.tieBreak2)) {
            check.outcome = SettingsCheck::RangeError;
            check.field = SettingsField::Coefficient;
            check.message = RangeMessage(SettingsField::Coefficient);
            return check;
        }
        check.values.brightwellTenths = current.settings.brightwellTenths;
    }
    bool rows = false;
    const QString question = DataLossQuestionText(current, values.players, values.rounds, &rows);
    if (!question.isEmpty()) {
        check.outcome = SettingsCheck::Confirm;
        check.field = rows ? SettingsField::Players : SettingsField::Rounds;
        check.message = question;
    }
    return check;
}

ApplyOutcome ApplySettings(CTournamentEditor& editor, const SettingsValues& v)
{
    TableSettings settings = editor.Table().settings;
    settings.showDiscDifference = v.showDiscDifference;
    settings.tieBreak = v.tieBreak;
    settings.tieBreak2 = v.tieBreak2;
    settings.brightwellTenths = v.brightwellTenths;
    settings.bye = v.bye;
    // The dialog asked the editor's question before it closed (CheckSettings),
    // so the answer is already Yes.
    const ChangeEffects fx =
        editor.ApplySettings(settings, v.players, v.rounds, [](const std::string&) { return true; });
    return {fx.resized, fx.Any()};
}

} // namespace tabry::app
