#pragma once
// The tournament's details: its name, its date and the layout number of the
// ".stg" player lines being read or written. They travel in the "##" details
// lines of the tournament file.

#include <optional>
#include <string>
#include <string_view>

namespace tabry {

// A details line "##Key: value" cut at its first colon: the key with its
// ASCII letters upper-cased, and the value, both without white space at
// their ends. Nothing for a line of another kind.
struct DetailsLine {
    std::string key;
    std::string_view value;
};
std::optional<DetailsLine> SplitDetailsLine(std::string_view line);

class CTournamentInfo {
public:
    virtual ~CTournamentInfo() = default;

    std::string name; // Shift_JIS; empty when not set
    int year = 0;     // a year <= 0 means no date is set
    int month = 1;
    int day = 1;
    int format = 0; // 1 = current player-line layout, anything else = older layout
    // The secret the boards' report codes come from (core/ReportCode.h):
    // empty while the players' phones may not report results. It travels in
    // its own event line (core/EventLines.h), not with the lines below.
    std::string reportingKey;

    void Reset() { *this = CTournamentInfo{}; }
    bool HasDate() const { return year > 0; }

    // Takes a "##Key: value" line (keys Tournament, Format, Date in any case).
    // Returns 1 when the line was recognised, else 0 and nothing changes.
    int ParseHeaderLine(std::string_view line);
    // Appends the details lines: always ##Format, the name when set, the date
    // when set. CR and LF are left out of the name so its line cannot split.
    void WriteHeaderLines(std::string& out) const;

    CTournamentInfo& operator=(const CTournamentInfo&) = default;
    friend bool operator==(const CTournamentInfo&, const CTournamentInfo&) = default;
    CTournamentInfo() = default;
    CTournamentInfo(const CTournamentInfo&) = default;
};

} // namespace tabry
