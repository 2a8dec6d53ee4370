#pragma once
// The checks of the file details dialog: the tournament name and the date,
// validated in the order name, year, month, day with the program's standard
// input messages.

#include <QString>

#include <optional>

namespace tabry {
class CTournamentInfo;
}

namespace tabry::app {

constexpr int kMaxNameBytes = 128;

enum class DetailsField { Name, Year, Month, Day };

struct DetailsText {
    QString name;
    QString year;
    QString month;
    QString day;

    static DetailsText FromInfo(const CTournamentInfo& info);
};

struct DetailsError {
    DetailsField field;
    QString message;
};

// Reads a whole number the way an integer field is read: blanks around it, an
// optional sign and digits, nothing else. Nothing on a failure.
std::optional<int> ParseIntegerField(const QString& text);

// The first failing field with its message, or nothing when all four are good.
std::optional<DetailsError> ValidateDetails(const DetailsText& text);

// Copies validated values into the details (the name as Shift_JIS).
void ApplyDetails(const DetailsText& text, CTournamentInfo& info);

} // namespace tabry::app
