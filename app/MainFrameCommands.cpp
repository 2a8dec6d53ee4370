// The main window's commands, by menu. Each hands the work to the document,
// the report frame, a dialog and its logic, or the grid.

#include "app/AboutDialog.h"
#include "app/AppInfo.h"
#include "app/EditHistory.h"
#include "app/FileDetailsDialog.h"
#include "app/LiveServerController.h"
#include "app/MainFrame.h"
#include "app/ProgramLayout.h"
#include "app/SettingsDialog.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "edit/TournamentEditor.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "playerdb/ui/UserCommands.h"
#include "widgets/PathText.h"
#include "widgets/Prompt.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace tabry::app {

namespace {

// The manual is installed with the program and opened from the disk, so it
// matches the program's version and needs no network at the venue.
void OpenManual(CTabryApp& app, QWidget* parent)
{
    const ProgramLayout layout = DetectProgramLayout(app.ExecutableDirectory());
    const QString page = ManualFrontPage(layout);
    if (page.isEmpty()) {
        const QString expected = QDir(layout.dataDirectory).filePath(QStringLiteral("manual/index.html"));
        ui::Prompt().Error(
            parent,
            QStringLiteral("TORVA の使い方のページ「%1」がありません。").arg(QDir::toNativeSeparators(expected)));
        return;
    }
    app.OpenWebPage(QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded));
}

} // namespace

// ---- ファイル ---------------------------------------------------------------

void CMainFrame::OnFileNew()
{
    m_app.Document().FileNew();
}

void CMainFrame::OnFileOpen()
{
    m_app.Document().FileOpen();
}

void CMainFrame::OnFileSave()
{
    m_app.Document().FileSave();
}

void CMainFrame::OnFileSaveAs()
{
    m_app.Document().FileSaveAs();
}

void CMainFrame::OnRecentFile(int index)
{
    if (index < 0 || index >= m_recentActions.size())
        return;
    const QString path = m_recentActions[index]->data().toString();
    if (!path.isEmpty())
        m_app.Document().OpenDocumentFile(path);
}

void CMainFrame::OnReport(OutputKind kind)
{
    const OutputKindInfo& info = OutputKindOf(kind);
    if (info.round == RoundUse::Required) {
        // A kind of one round asks which, proposing the round to be paired.
        const int rounds = m_app.Data().table.RoundCount();
        const QString question =
            QString::fromUtf8(info.menu.roundPrompt.data(), static_cast<int>(info.menu.roundPrompt.size())).arg(rounds);
        const std::optional<int> round = ui::Prompt().AskInteger(
            this, QString::fromUtf8(info.menu.text.data(), static_cast<int>(info.menu.text.size())), question,
            ProposedPairingRound(m_app.Data()), 1, rounds);
        if (round)
            OnRoundReport(kind, *round);
        return;
    }
    CTabryDoc& doc = m_app.Document();
    RunReportCommand(this, m_app.Renderer(), kind, m_app.Data(), doc.Title(), doc.DefaultDirectory());
}

void CMainFrame::OnRoundReport(OutputKind kind, int round)
{
    if (round < 1 || round > m_app.Data().table.RoundCount())
        return;
    CTabryDoc& doc = m_app.Document();
    RunReportCommand(this, m_app.Renderer(), kind, m_app.Data(), doc.Title(), doc.DefaultDirectory(), round);
}

// ---- ツール -----------------------------------------------------------------

void CMainFrame::OnSort()
{
    m_app.SortTable();
    // Other rows are under the cursor now.
    UpdateDeleteCell();
}

void CMainFrame::OnAddUser()
{
    // The new person is in the database (saved at exit); the tournament
    // itself is unchanged.
    RunAddUserCommand(this, m_app.Editor());
}

void CMainFrame::OnEditUserDb()
{
    const QString dbPath = m_app.Database().save;
    QDir().mkpath(QFileInfo(dbPath).absolutePath());
    RunEditUserDbCommand(this, m_app.Editor(), ui::ToFsPath(dbPath));
}

void CMainFrame::OnFileDetails()
{
    CFileDetailsDialog dialog(DetailsText::FromInfo(m_app.Data().info), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    CTournamentInfo info = m_app.Data().info;
    ApplyDetails(dialog.Values(), info);
    m_app.Editor().SetDetails(info.name, info.year, info.month, info.day);
}

void CMainFrame::OnOptions()
{
    CSettingsDialog dialog(m_app.Data().table, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // One step; the view re-creates the grid itself after a new size.
    ApplySettings(m_app.Editor(), dialog.Values());
}

void CMainFrame::OnAddRow()
{
    m_view->AddRow();
}

void CMainFrame::OnEnterMovesDown(bool down)
{
    m_app.Settings().SetEnterMovesDown(down);
    m_view->SetEnterMovesDown(down);
}

void CMainFrame::OnResultSlips()
{
    const int rounds = m_app.Data().table.RoundCount();
    const std::optional<int> round = ui::Prompt().AskInteger(
        this, QStringLiteral("結果票の出力"), QStringLiteral("何回戦の結果票を出力しますか? (1～%1)").arg(rounds),
        ProposedPairingRound(m_app.Data()), 1, rounds);
    if (!round)
        return;
    // The phones reach the pages at the server's first address; without a
    // running server the slips carry the codes alone.
    OutputOptions options;
    const QStringList urls = m_live->Urls();
    if (!urls.isEmpty())
        options.reportUrl = urls.first().chopped(urls.first().endsWith('/') ? 1 : 0).toStdString();
    CTabryDoc& doc = m_app.Document();
    RunReportCommand(this, m_app.Renderer(), OutputKind::PdfSlips, m_app.Data(), doc.Title(), doc.DefaultDirectory(),
                     *round, options);
}

// ---- 編集 -------------------------------------------------------------------

void CMainFrame::OnUndo()
{
    m_app.History().Undo();
}

void CMainFrame::OnRedo()
{
    m_app.History().Redo();
}

// ---- ヘルプ -----------------------------------------------------------------

void CMainFrame::OnHomePage()
{
    if (HomePageIsPlaceholder())
        OpenManual(m_app, this);
    else
        m_app.OpenWebPage(HomePageUrl());
}

void CMainFrame::OnManualPage()
{
    OpenManual(m_app, this);
}

void CMainFrame::OnAbout()
{
    CAboutDialog dialog(this);
    dialog.exec();
}

// ---- tool bar only ------------------------------------------------------------

void CMainFrame::OnDeleteCell()
{
    if (grid::CResultGrid* grid = m_view->Grid())
        grid->DeleteCell();
}

} // namespace tabry::app
