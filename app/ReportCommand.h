#pragma once
// The frame every output command shares: render the report, propose a file
// name from the tournament file's name, ask where to write it (with the
// overwrite question), and write it atomically. The rating CSV may be refused
// (two players share a short name); that is said before any dialog opens.

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace tabry {
struct TournamentData;
}

namespace tabry::app {

enum class ReportCommandKind { RatingCsv, Text, Html, Zep, ScoreSheet, ScoreSheetThrough, PairingTable };

// Produces the bytes of a report. The real one uses the report writers; tests
// use fakes.
class IReportRenderer {
public:
    virtual ~IReportRenderer() = default;
    // Appends the report to `out` and returns 0, or returns -1 with a
    // Shift_JIS reason in `refusal`. `round` (from 1) is used by the
    // score sheet through a round and the pairing table.
    virtual int Render(ReportCommandKind kind, const TournamentData& data, int round, std::string& out,
                       std::string* refusal) = 0;
    // The proposed file name for a document title (Shift_JIS).
    virtual std::string DefaultFileName(std::string_view title) = 0;
};

// The renderer of this build.
IReportRenderer& ReportRenderer();

// The file dialog's filter in pipe form ("name|patterns|...||") and the
// default extension of a command.
const char* PipeFilterOf(ReportCommandKind kind);
const char* DefaultExtensionOf(ReportCommandKind kind);

// "CSV (*.csv)|*.csv|All Files (*.*)|*.*||" in Qt's form: names joined by
// ";;", each with its patterns in parentheses, "*.*" meaning every file.
QString QtFilterFromPipe(const QString& pipe);

// The title without a trailing ".stg" (exactly that, case-sensitive).
QString DefaultReportName(IReportRenderer& renderer, const QString& title);

// Runs one output command. True when a file was written.
bool RunReportCommand(QWidget* parent, IReportRenderer& renderer, ReportCommandKind kind, const TournamentData& data,
                      const QString& documentTitle, const QString& directory, int round = 0);

// The round the pairing-table command proposes: the last round with a game,
// else the first.
int ProposedPairingRound(const TournamentData& data);

} // namespace tabry::app
