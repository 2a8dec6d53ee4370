#pragma once
// The main window: menus, tool bar and status bar around the view. The
// commands are one or two lines each that call into the document, the grid,
// the dialogs and the report frame; they are defined by menu in
// MainFrameCommands.cpp.

#include "app/ReportCommand.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;

namespace tabry::grid {
class CTabryView;
class CResultGrid;
} // namespace tabry::grid

namespace tabry::app {

class CTabryApp;
class CLiveServerController;
class CLockIndicators;
class CReportDesk;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(CTabryApp& app);
    ~CMainFrame() override;

    grid::CTabryView* View() const { return m_view; }
    // An action by its object name ("actionFileSave" ...), for tests.
    QAction* Action(const QString& name) const;

    void RebuildRecentFiles();
    // Shows the window where it was last time.
    void ShowRestored();
    // Says `text` in the status bar until the next message.
    void ShowStatus(const QString& text);
    CLiveServerController& Live() const { return *m_live; }
    CReportDesk& Reports() const { return *m_reports; }

    // ---- commands -------------------------------------------------------
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnRecentFile(int index);
    void OnReport(OutputKind kind);
    // An interim output of one round (from 1), asked for by the grid.
    void OnRoundReport(OutputKind kind, int round);
    void OnUndo();
    void OnRedo();
    void OnSort();
    void OnAddUser();
    void OnEditUserDb();
    void OnFileDetails();
    void OnOptions();
    void OnAddRow();
    void OnEnterMovesDown(bool down);
    void OnHomePage();
    void OnManualPage();
    void OnAbout();
    void OnDeleteCell();
    // 結果票 of a round as PDF; its QR codes open the running live pages.
    void OnResultSlips();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* NewAction(const QString& objectName, const QString& text, const QString& prompt = {});
    void UpdateTitle();
    void UpdateDeleteCell();
    // "行の追加(&I)" is grayed at the table's largest size.
    void UpdateAddRow();
    void UpdateUndoRedo();
    void UpdateJournalWarning();
    void ConnectGrid(grid::CResultGrid* grid);
    // The grid marks the cells of the reports waiting.
    void UpdateWaitingMarks();

    CTabryApp& m_app;
    grid::CTabryView* m_view;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QAction*> m_recentActions;
    QLabel* m_journalWarning = nullptr;
    int m_listener = 0;
    int m_liveListener = 0;
    CReportDesk* m_reports = nullptr;        // the results reported from phones (ツール menu, status bar)
    CLiveServerController* m_live = nullptr; // the live pages (ツール menu, status bar)
    CLockIndicators* m_locks = nullptr;      // none where the platform cannot say
};

} // namespace tabry::app
