#pragma once
// The one list of everything the program can write about a tournament: the
// published reports, the interim sheets and the printed documents as PDF.
// The desktop program's output commands (their menu texts and prompts),
// torva-cli's --format names, the proposed file names and the printed
// document each PDF holds all read this table, so a new kind is one row.

#include "paper/PaperDocuments.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tabry {

struct TournamentData;

enum class OutputKind {
    RatingCsv,    // the federation's rating-report CSV
    Text,         // the plain-text standings table
    Html,         // the HTML page
    Zep,          // the macro file for the page-layout program
    ScoreSheet,   // interim score sheet; with a round, as it stood after it
    PairingTable, // interim pairing table of a round
    PdfPairing,   // the printed pairing sheet of a round, as PDF
    PdfStandings, // the printed standings, as PDF
    PdfTable,     // the printed result table, as PDF
    PdfSlips,     // the result slips of a round, as PDF
};

// How a kind uses a round number (1..roundCount).
enum class RoundUse {
    None,     // the round is ignored
    Optional, // 0 means "all rounds"
    Required, // 1..roundCount, anything else is refused
};

enum class OutputStatus {
    Ok,
    Refused, // the data cannot be written in this form (the rating CSV's duplicate short names)
    Failed,  // the output could not be produced
};

// What some outputs need beyond the tournament.
struct OutputOptions {
    // The live pages' address ("http://HOST:PORT") the slips' QR codes
    // open; empty: the slips carry no QR code.
    std::string reportUrl;
};

// Writes the bytes of one output of `data` into `out` (cleared first). On
// Refused or Failed, `message` (when given) receives the reason in Shift_JIS.
// Only the live table's report cache changes; its rows, cells and totals
// never do.
using OutputWriter = OutputStatus (*)(const TournamentData& data, int round, const OutputOptions& options,
                                      std::string& out, std::string* message);

// The desktop program's menu command of a kind that has one of its own
// (UTF-8); empty action for the kinds reached otherwise (the PDFs through
// the print commands' document choice).
struct OutputMenuCommand {
    std::string_view action;      // the action's object name
    std::string_view text;        // menu text, with its mnemonic
    std::string_view prompt;      // status-bar prompt, then "\n" and the tool tip
    std::string_view roundPrompt; // for a kind that needs a round: the question, "%1" the last round
};

struct OutputKindInfo {
    OutputKind kind;
    std::string_view name;      // torva-cli's --format name
    std::string_view extension; // default file extension, without the dot
    std::string_view filter;    // save-dialog filter in pipe form ("name|patterns|...||"), UTF-8
    RoundUse round;
    bool text; // Shift_JIS text with CR LF (not a binary document)
    OutputWriter write;
    OutputMenuCommand menu;
    // What follows the tournament's name in the proposed file name (UTF-8),
    // without a round and with one ("%d" stands for the round).
    std::string_view suffix;
    std::string_view roundSuffix;
    // The printed document this kind holds as PDF.
    std::optional<paper::PaperKind> paper;
};

// Every kind, in the order torva-cli lists them.
std::span<const OutputKindInfo> OutputKinds();
// The row of a kind.
const OutputKindInfo& OutputKindOf(OutputKind kind);
// The row with this command-line name, or nullptr.
const OutputKindInfo* FindOutputKind(std::string_view name);
// The row that writes this printed document as PDF.
const OutputKindInfo& OutputKindOfPaper(paper::PaperKind kind);

// Checks the round against the kind's RoundUse and the table, then writes.
// A round outside 1..roundCount where one is needed is Refused (with a
// message) instead of writing a meaningless sheet.
OutputStatus RenderOutput(OutputKind kind, const TournamentData& data, int round, std::string& out,
                          std::string* message);
OutputStatus RenderOutput(OutputKind kind, const TournamentData& data, int round, const OutputOptions& options,
                          std::string& out, std::string* message);

// The document title without a trailing ".stg" (case-sensitive): the base of
// every proposed file name.
std::string DefaultReportFileName(std::string_view title);

// What follows that base in the proposed file name of `kind` (Shift_JIS):
// the interim sheets and the printed documents say which document and
// which round they hold ("_3回戦_組み合わせ", "_3回戦まで_成績表",
// "_成績表", "_対戦表"), so that accepting every proposal never writes one
// output over another of the same tournament (the sheets share ".csv" with
// the rating CSV, the documents ".pdf" with each other); the published
// reports add nothing.
std::string ProposedNameSuffix(OutputKind kind, int round);

} // namespace tabry
