#pragma once
// The printed documents' commands of the ファイル menu: "印刷(&P)...",
// "印刷プレビュー(&V)" and "PDFに出力...". Each first asks which document
// (and, for the pairing sheet, which round), lays it out from the open
// tournament and then prints it through Qt's print dialog, shows it in the
// print preview, or writes it as PDF through the output-command frame.

#include "app/PaperChoiceDialog.h"
#include "outputs/OutputKinds.h"

#include <optional>

class QWidget;

namespace tabry {
struct TournamentData;
}

namespace tabry::app {

class CTabryApp;

// Creates the three actions as children of `frame` ("actionFilePrint" with
// Ctrl+P, "actionFilePrintPreview", "actionFileExportPdf"), wired to the
// commands below; the frame puts them in its menu.
void CreatePrintActions(QWidget* frame, CTabryApp& app);

// Asks for the document and round; nothing on cancel. The proposal is the
// kind chosen last time and the last round with a game.
std::optional<PaperChoice> AskPaperChoice(QWidget* parent, const TournamentData& data, const QString& caption);

void RunPrintCommand(QWidget* parent, CTabryApp& app);
void RunPrintPreviewCommand(QWidget* parent, CTabryApp& app);
void RunPdfExportCommand(QWidget* parent, CTabryApp& app);

} // namespace tabry::app
