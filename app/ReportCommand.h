#pragma once
// The frame every output command shares: render the output, propose a file
// name from the tournament file's name and the kind's extension, ask where
// to write it (with the kind's filter and the overwrite question), and write
// it atomically. The rating CSV may be refused (two players share a short
// name); that is said before any dialog opens.

#include "outputs/OutputKinds.h"

#include <QString>

#include <string>
#include <string_view>

class QWidget;

namespace tabry {
struct TournamentData;
}

namespace tabry::app {

// Produces the bytes of a report. The real one uses the report writers; tests
// use fakes.
class IReportRenderer {
public:
    virtual ~IReportRenderer() = default;
    // Puts the output's bytes in `out`, or returns Refused or Failed with a
    // Shift_JIS reason in `message`. `round` (from 1) is used by the kinds
    // that take one; 0 means none.
    virtual OutputStatus Render(OutputKind kind, const TournamentData& data, int round, const OutputOptions& options,
                                std::string& out, std::string* message) = 0;
    // The proposed file name for a document title (Shift_JIS).
    virtual std::string DefaultFileName(std::string_view title) = 0;
};

// The renderer of this build.
IReportRenderer& ReportRenderer();

// "CSV (*.csv)|*.csv|All Files (*.*)|*.*||" in Qt's form: names joined by
// ";;", each with its patterns in parentheses, "*.*" meaning every file.
QString QtFilterFromPipe(const QString& pipe);

// The title without a trailing ".stg" (exactly that, case-sensitive).
QString DefaultReportName(IReportRenderer& renderer, const QString& title);

// How long the status bar says where an output was written.
constexpr int kWrittenMessageMs = 6000;

// Runs one output command. True when a file was written; the status bar of
// `parent`'s main window then says where for a few seconds, since nothing
// else confirms that the file is there.
bool RunReportCommand(QWidget* parent, IReportRenderer& renderer, OutputKind kind, const TournamentData& data,
                      const QString& documentTitle, const QString& directory, int round = 0,
                      const OutputOptions& options = {});

// The round the pairing-table command proposes: the last round with a game,
// else the first.
int ProposedPairingRound(const TournamentData& data);

} // namespace tabry::app
