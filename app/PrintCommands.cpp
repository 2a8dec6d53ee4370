#include "app/PrintCommands.h"

#include "app/ReportCommand.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "core/TournamentData.h"
#include "paper/qt/PaperPainter.h"
#include "widgets/Prompt.h"

#include <QAction>
#include <QKeySequence>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tabry::app {

namespace {

// The kind chosen last in this run.
paper::PaperKind& LastKind()
{
    static paper::PaperKind kind = paper::PaperKind::PairingSheet;
    return kind;
}

QAction* AddAction(QWidget* frame, const char* name, const char* text, const char* prompt)
{
    auto* action = new QAction(QString::fromUtf8(text), frame);
    action->setObjectName(QString::fromLatin1(name));
    const QStringList parts = QString::fromUtf8(prompt).split('\n');
    action->setStatusTip(parts.value(0));
    action->setToolTip(parts.value(1, action->text()));
    return action;
}

} // namespace

void CreatePrintActions(QWidget* frame, CTabryApp& app)
{
    QAction* print = AddAction(frame, "actionFilePrint", "印刷(&P)...", "表を印刷\n印刷");
    print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    QObject::connect(print, &QAction::triggered, frame, [frame, &app] { RunPrintCommand(frame, app); });
    QAction* preview =
        AddAction(frame, "actionFilePrintPreview", "印刷プレビュー(&V)", "印刷イメージを表示\n印刷プレビュー");
    QObject::connect(preview, &QAction::triggered, frame, [frame, &app] { RunPrintPreviewCommand(frame, app); });
    QAction* pdf = AddAction(frame, "actionFileExportPdf", "PDFに出力...", "表をPDFファイルに保存\nPDFに出力");
    QObject::connect(pdf, &QAction::triggered, frame, [frame, &app] { RunPdfExportCommand(frame, app); });
}

std::optional<PaperChoice> AskPaperChoice(QWidget* parent, const TournamentData& data, const QString& caption)
{
    const PaperChoice proposed{LastKind(), ProposedPairingRound(data)};
    CPaperChoiceDialog dialog(caption, data.table.RoundCount(), proposed, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    LastKind() = dialog.Choice().kind;
    return dialog.Choice();
}

void RunPrintCommand(QWidget* parent, CTabryApp& app)
{
    const std::optional<PaperChoice> choice = AskPaperChoice(parent, app.Data(), QStringLiteral("印刷"));
    if (!choice)
        return;
    const paper::PaperDocument doc = paper::LayoutPaper(choice->kind, app.Data(), choice->round);
    QPrinter printer(QPrinter::HighResolution);
    paper::PreparePrinter(printer, doc);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, static_cast<int>(doc.pages.size()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!paper::PrintDocument(printer, doc))
        ui::Prompt().Error(parent, QStringLiteral("印刷を開始できません。プリンタの設定を確認してください。"));
}

void RunPrintPreviewCommand(QWidget* parent, CTabryApp& app)
{
    const std::optional<PaperChoice> choice = AskPaperChoice(parent, app.Data(), QStringLiteral("印刷プレビュー"));
    if (!choice)
        return;
    const paper::PaperDocument doc = paper::LayoutPaper(choice->kind, app.Data(), choice->round);
    QPrinter printer(QPrinter::HighResolution);
    paper::PreparePrinter(printer, doc);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("printPreview"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&doc](QPrinter* target) { paper::PrintDocument(*target, doc); });
    preview.exec();
}

void RunPdfExportCommand(QWidget* parent, CTabryApp& app)
{
    const std::optional<PaperChoice> choice = AskPaperChoice(parent, app.Data(), QStringLiteral("PDFに出力"));
    if (!choice)
        return;
    const int round = paper::PaperKindOf(choice->kind).usesRound ? choice->round : 0;
    CTabryDoc& doc = app.Document();
    RunReportCommand(parent, app.Renderer(), OutputKindOfPaper(choice->kind).kind, app.Data(), doc.Title(),
                     doc.DefaultDirectory(), round);
}

} // namespace tabry::app
