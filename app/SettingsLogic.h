#pragma once
// The rules of the settings dialog without its widgets: reading and writing
// the three numbers, stepping them, the range checks with their messages, the
// question before a smaller table drops entered data, and applying the
// accepted values to the tournament.

#include "core/ResultTable.h"

#include <QString>

#include <optional>

namespace tabry {
class CResultTable;
class CTournamentEditor;
} // namespace tabry

namespace tabry::app {

struct SettingsValues {
    bool showDiscDifference = true;
    int tieBreak = 0;
    int players = 32;
    int rounds = 6;
    int brightwellTenths = 60;
    ByeRule bye;
    int tieBreak2 = kNoTieBreak; // the second method of the chain

    static SettingsValues FromTable(const CResultTable& table);
};

enum class SettingsField { Players, Rounds, Coefficient };

struct FieldRange {
    int minimum;
    int maximum;
};
FieldRange RangeOf(SettingsField field);

// A decimal integer as the C library reads one (leading blanks, a sign,
// digits; nothing readable gives 0).
int ParseCount(const QString& text);
// The whole part times ten plus the first digit after the first '.' (later
// decimals are ignored, not rounded): "6.55" 65, "6" 60, "6." 60, "abc" 0.
int ParseCoefficient(const QString& text);
// "%d.%d" of tenths: 60 gives "6.0".
QString FormatCoefficient(int tenths);
// The field's text after one step up (+1) or down (-1), clamped to its range.
QString StepText(SettingsField field, const QString& text, int delta);

QString RangeMessage(SettingsField field);

// Whether either method of the chain reads the Brightwell coefficient.
bool UsesBrightwell(int tieBreak, int tieBreak2);

// The bye's score as the dialog takes it: "33-31", or the bye's discs alone
// ("33"); the win as ByeRule::winDisc, nothing when it is no win on a full
// board.
std::optional<int> ParseByeScore(const QString& text);
// "33-31" of a win; "33-31" too for a bye without a result, the proposal.
QString FormatByeScore(int winDisc);

// The check of OK, in its order.
struct SettingsCheck {
    enum Outcome {
        Accept,     // end the dialog with these values
        RangeError, // show `message`, focus `field`
        Confirm,    // ask `message`; Yes accepts, No focuses `field`
    };
    Outcome outcome = Accept;
    SettingsField field = SettingsField::Players;
    QString message;
    SettingsValues values; // with the coefficient settled
};

// `values` as read from the controls; `current` the table the dialog opened
// on. A coefficient out of range is refused only with the Brightwell method
// selected; otherwise the table's coefficient is kept.
SettingsCheck CheckSettings(const SettingsValues& values, const CResultTable& current);

// The data-loss question for a smaller table, or empty when nothing entered
// would be lost. `concernsRows` tells which field gets the focus on No.
QString DataLossQuestionText(const CResultTable& table, int players, int rounds, bool* concernsRows = nullptr);

struct ApplyOutcome {
    bool resized = false; // the table has another size
    bool changed = false; // anything changed (one undoable step)
};
// Applies accepted values through the editor, in order: display mode, size
// (keeping what fits, dropping games with removed rows, recomputing),
// tie-break method, coefficient, bye rule. A new size is a change like any other: the
// saved file records it.
ApplyOutcome ApplySettings(CTournamentEditor& editor, const SettingsValues& values);

} // namespace tabry::app
