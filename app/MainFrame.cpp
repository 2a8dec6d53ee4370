#include "app/MainFrame.h"

#include "app/AppIcons.h"
#include "app/AppInfo.h"
#include "app/EditHistory.h"
#include "app/LiveServerController.h"
#include "app/LockIndicators.h"
#include "app/PrintCommands.h"
#include "app/ReportDesk.h"
#include "app/ReportReviewLogic.h"
#include "app/TabryApp.h"
#include "app/TabryDoc.h"
#include "edit/TournamentEditor.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "widgets/TextCodec.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace tabry::app {

namespace {

// Long paths in the recent-file list are shortened in the middle.
QString RecentCaption(int index, const QString& path)
{
    QString shown = QDir::toNativeSeparators(path);
    if (shown.size() > 60)
        shown = shown.left(20) + QStringLiteral("...") + shown.right(37);
    shown.replace('&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

} // namespace

CMainFrame::CMainFrame(CTabryApp& app) : m_app(app), m_view(new grid::CTabryView(app.Editor(), this))
{
    m_view->SetRandomGenerator(&app.Random());
    m_view->SetEnterMovesDown(app.Settings().EnterMovesDown());
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(AppIcon());
    setCentralWidget(m_view);
    m_reports = new CReportDesk(app.Editor(), this);
    m_live = new CLiveServerController(app.Editor(), *m_reports, this);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    resize(760, 560);

    CTabryDoc& doc = m_app.Document();
    connect(&doc, &CTabryDoc::titleChanged, this, &CMainFrame::UpdateTitle);
    connect(&doc, &CTabryDoc::modifiedChanged, this, &CMainFrame::UpdateTitle);
    connect(&doc, &CTabryDoc::documentReset, m_view, &grid::CTabryView::OnInitialUpdate);
    connect(&doc, &CTabryDoc::documentReset, m_view, &grid::CTabryView::UpdateTitle);
    connect(m_view, &grid::CTabryView::gridCreated, this, &CMainFrame::ConnectGrid);
    connect(&m_app.History(), &CEditHistory::changed, this, &CMainFrame::UpdateUndoRedo);
    connect(&m_app, &CTabryApp::journalWritten, this, &CMainFrame::UpdateJournalWarning);
    // The live pages follow every change (nothing while they are off).
    m_liveListener = m_app.Editor().AddListener(ListenerRank::LivePages,
                                                [this](const ChangeEvent&) { m_live->Publish(m_app.Data()); });
    m_listener = m_app.Editor().AddListener(ListenerRank::Views, [this](const ChangeEvent&) {
        // A sort or an undo may put other rows under the cursor.
        UpdateDeleteCell();
        UpdateAddRow();
        UpdateWaitingMarks();
    });
    connect(m_reports, &CReportDesk::changed, this, &CMainFrame::UpdateWaitingMarks);
    UpdateTitle();
    RebuildRecentFiles();
    UpdateUndoRedo();
}

CMainFrame::~CMainFrame()
{
    m_app.Editor().RemoveListener(m_listener);
    m_app.Editor().RemoveListener(m_liveListener);
}

QAction* CMainFrame::NewAction(const QString& objectName, const QString& text, const QString& prompt)
{
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    if (!prompt.isEmpty()) {
        // "status-bar prompt\ntool tip"
        const QStringList parts = prompt.split('\n');
        action->setStatusTip(parts.value(0));
        if (parts.size() > 1)
            action->setToolTip(parts.value(1));
    }
    return action;
}

QAction* CMainFrame::Action(const QString& name) const
{
    return findChild<QAction*>(name);
}

void CMainFrame::CreateActions()
{
    struct Def {
        const char* name;
        const char* text;
        const char* prompt;
        void (CMainFrame::*slot)();
    };
    static const Def defs[] = {
        {"actionFileNew", "新規作成(&N)", "新規にファイルを作成\n新規ファイル", &CMainFrame::OnFileNew},
        {"actionFileOpen", "開く(&O)...", "既存のファイルを開く\n開く", &CMainFrame::OnFileOpen},
        {"actionFileSave", "上書き保存(&S)", "アクティブなドキュメントを上書きして保存\n上書き保存",
         &CMainFrame::OnFileSave},
        {"actionFileSaveAs", "名前を付けて保存(&A)...", "アクティブなドキュメントを新しい名前で保存",
         &CMainFrame::OnFileSaveAs},
        {"actionSort", "順位でソート(&S)", "順位でソートする\nソート", &CMainFrame::OnSort},
        {"actionFileDetails", "ファイルの詳細情報(&D)", "大会名と開催日を編集", &CMainFrame::OnFileDetails},
        {"actionOptions", "オプション(&O)...", "順位決定方法・表示方法・表の大きさを設定", &CMainFrame::OnOptions},
        {"actionAddRow", "行の追加(&I)", "表の最後に空の行を追加", &CMainFrame::OnAddRow},
        {"actionHomePage", "TORVAのホームページ(&W)...", "TORVA のホームページを開きます。\nTORVA のホームページ",
         &CMainFrame::OnHomePage},
        {"actionManualPage", "TORVA の使い方(&M)...", "TORVA の使い方のページを開きます。\nTORVA の使い方",
         &CMainFrame::OnManualPage},
        {"actionAbout", "バージョン情報(&A)...", "プログラム情報、バージョン、著作権を表示\nバージョン情報",
         &CMainFrame::OnAbout},
        {"actionDeleteCell", "削除", "カーソル位置のセルを削除\n削除", &CMainFrame::OnDeleteCell},
        {"actionResultSlips", "結果票の出力(&J)...",
         "盤ごとに切り分ける結果票(報告コードと QR コード付き)を PDF に保存", &CMainFrame::OnResultSlips},
    };
    for (const Def& d : defs) {
        QAction* a = NewAction(QString::fromLatin1(d.name), QString::fromUtf8(d.text), QString::fromUtf8(d.prompt));
        connect(a, &QAction::triggered, this, d.slot);
    }
    Action(QStringLiteral("actionFileNew"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    Action(QStringLiteral("actionFileOpen"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    Action(QStringLiteral("actionFileSave"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));

    connect(NewAction(QStringLiteral("actionUndo"), QStringLiteral("元に戻す(&U)"),
                      QStringLiteral("直前の操作を元に戻す\n元に戻す")),
            &QAction::triggered, this, &CMainFrame::OnUndo);
    connect(NewAction(QStringLiteral("actionRedo"), QStringLiteral("やり直し(&R)"),
                      QStringLiteral("元に戻した操作をやり直す\nやり直し")),
            &QAction::triggered, this, &CMainFrame::OnRedo);
    Action(QStringLiteral("actionUndo"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    Action(QStringLiteral("actionRedo"))
        ->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});

    // The output commands, as the table of output kinds lists them.
    for (const OutputKindInfo& info : OutputKinds()) {
        if (info.menu.action.empty())
            continue;
        QAction* a = NewAction(QString::fromUtf8(info.menu.action.data(), static_cast<int>(info.menu.action.size())),
                               QString::fromUtf8(info.menu.text.data(), static_cast<int>(info.menu.text.size())),
                               QString::fromUtf8(info.menu.prompt.data(), static_cast<int>(info.menu.prompt.size())));
        const OutputKind kind = info.kind;
        connect(a, &QAction::triggered, this, [this, kind] { OnReport(kind); });
    }

    QAction* down = NewAction(QStringLiteral("actionEnterMovesDown"), QStringLiteral("Enter で下へ移動(&E)"),
                              QStringLiteral("結果入力を確定したら同じ回戦の次の行へ移動"));
    down->setCheckable(true);
    down->setChecked(m_app.Settings().EnterMovesDown());
    connect(down, &QAction::toggled, this, &CMainFrame::OnEnterMovesDown);

    connect(NewAction(QStringLiteral("actionAddUser"), QStringLiteral("ユーザDBへの追加(&A)"),
                      QStringLiteral("プレイヤをユーザDBに登録")),
            &QAction::triggered, this, &CMainFrame::OnAddUser);
    connect(NewAction(QStringLiteral("actionEditUserDb"), QStringLiteral("ユーザDBの編集(&U)"),
                      QStringLiteral("ユーザDBのプレイヤを一覧で編集")),
            &QAction::triggered, this, &CMainFrame::OnEditUserDb);

    QAction* exit = NewAction(QStringLiteral("actionExit"), QStringLiteral("終了(&X)"),
                              QStringLiteral("アプリケーションを終了し、ファイルの保存を指示\n終了"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    struct IconDef {
        const char* name;
        ToolIcon icon;
    };
    static const IconDef icons[] = {
        {"actionFileNew", ToolIcon::New},
        {"actionFileOpen", ToolIcon::Open},
        {"actionFileSave", ToolIcon::Save},
        {"actionReportText", ToolIcon::TextReport},
        {"actionReportCsv", ToolIcon::CsvReport},
        {"actionReportHtml", ToolIcon::HtmlReport},
        {"actionDeleteCell", ToolIcon::DeleteCell},
        {"actionSort", ToolIcon::Sort},
        {"actionAbout", ToolIcon::About},
        {"actionUndo", ToolIcon::Undo},
        {"actionRedo", ToolIcon::Redo},
    };
    for (const IconDef& d : icons)
        Action(QString::fromLatin1(d.name))->setIcon(ToolBarIcon(d.icon));

    for (int i = 0; i < CAppSettings::kMaxRecentFiles; ++i) {
        QAction* a = NewAction(QStringLiteral("actionRecentFile%1").arg(i + 1), QString(),
                               QStringLiteral("指定のファイルを開く"));
        connect(a, &QAction::triggered, this, [this, i] { OnRecentFile(i); });
        m_recentActions << a;
    }
    m_recentPlaceholder = NewAction(QStringLiteral("actionRecentPlaceholder"), QStringLiteral("最近使ったﾌｧｲﾙ"));
    m_recentPlaceholder->setEnabled(false);
    CreatePrintActions(this, m_app);
}

void CMainFrame::CreateMenus()
{
    auto a = [this](const char* name) { return Action(QString::fromLatin1(name)); };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    m_fileMenu->addActions({a("actionFileNew"), a("actionFileOpen"), a("actionFileSave"), a("actionFileSaveAs")});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({a("actionFilePrint"), a("actionFilePrintPreview"), a("actionFileExportPdf")});
    m_fileMenu->addSeparator();
    QMenu* results = m_fileMenu->addMenu(QStringLiteral("結果表出力(&E)"));
    results->setObjectName(QStringLiteral("menuResults"));
    results->addActions({a("actionReportCsv"), a("actionReportText"), a("actionReportHtml"), a("actionReportZep")});
    QMenu* interim = m_fileMenu->addMenu(QStringLiteral("途中経過出力"));
    interim->setObjectName(QStringLiteral("menuInterim"));
    interim->addActions({a("actionScoreSheet"), a("actionPairingTable")});
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_recentPlaceholder);
    m_fileMenu->addActions(m_recentActions);
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(a("actionExit"));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->addActions({a("actionUndo"), a("actionRedo")});

    QMenu* tools = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    tools->setObjectName(QStringLiteral("menuTools"));
    tools->addAction(a("actionSort"));
    tools->addSeparator();
    tools->addActions({a("actionAddUser"), a("actionEditUserDb")});
    tools->addSeparator();
    tools->addActions({a("actionFileDetails"), a("actionOptions")});
    tools->addSeparator();
    tools->addActions({a("actionAddRow"), a("actionEnterMovesDown")});
    tools->addSeparator();
    tools->addAction(m_live->Action());
    tools->addAction(m_reports->Action());
    tools->addAction(a("actionResultSlips"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addActions({a("actionHomePage"), a("actionManualPage")});
    help->addSeparator();
    help->addAction(a("actionAbout"));
}

void CMainFrame::CreateToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("標準"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(true);
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setIconSize(QSize(16, 16));
    auto a = [this](const char* name) { return Action(QString::fromLatin1(name)); };
    bar->addActions({a("actionFileNew"), a("actionFileOpen"), a("actionFileSave")});
    bar->addSeparator();
    bar->addActions({a("actionUndo"), a("actionRedo")});
    bar->addSeparator();
    bar->addActions({a("actionReportText"), a("actionReportCsv"), a("actionReportHtml")});
    bar->addSeparator();
    bar->addActions({a("actionDeleteCell"), a("actionSort")});
    bar->addSeparator();
    bar->addAction(a("actionAbout"));
}

void CMainFrame::CreateStatusBar()
{
    // Prompts of the menu items and buttons cover this while shown.
    auto* idle = new QLabel(QStringLiteral("レディ"), this);
    idle->setObjectName(QStringLiteral("idleMessage"));
    statusBar()->addWidget(idle, 1);
    // Shown while the crash journal cannot be written: the organiser must
    // know that a crash now would lose the latest changes.
    m_journalWarning = new QLabel(this);
    m_journalWarning->setObjectName(QStringLiteral("journalWarning"));
    m_journalWarning->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_journalWarning->hide();
    statusBar()->addPermanentWidget(m_journalWarning);
    m_reports->AttachStatusBar(statusBar());
    m_live->AttachStatusBar(statusBar());
    if (std::unique_ptr<ILockKeyState> locks = PlatformLockKeyState())
        m_locks = new CLockIndicators(statusBar(), std::move(locks));
}

void CMainFrame::UpdateUndoRedo()
{
    const CEditHistory& history = m_app.History();
    // A '&' in a name would read as a mnemonic.
    auto escaped = [](QString text) { return text.replace('&', QStringLiteral("&&")); };
    QAction* undo = Action(QStringLiteral("actionUndo"));
    QAction* redo = Action(QStringLiteral("actionRedo"));
    undo->setEnabled(history.CanUndo());
    redo->setEnabled(history.CanRedo());
    undo->setText(history.CanUndo() ? QStringLiteral("元に戻す(&U): %1").arg(escaped(history.UndoText()))
                                    : QStringLiteral("元に戻す(&U)"));
    redo->setText(history.CanRedo() ? QStringLiteral("やり直し(&R): %1").arg(escaped(history.RedoText()))
                                    : QStringLiteral("やり直し(&R)"));
    undo->setToolTip(history.CanUndo() ? QStringLiteral("元に戻す: %1").arg(history.UndoText())
                                       : QStringLiteral("元に戻す"));
    redo->setToolTip(history.CanRedo() ? QStringLiteral("やり直し: %1").arg(history.RedoText())
                                       : QStringLiteral("やり直し"));
}

void CMainFrame::UpdateJournalWarning()
{
    const QString error = m_app.JournalError();
    if (error.isEmpty()) {
        m_journalWarning->hide();
        return;
    }
    m_journalWarning->setText(QStringLiteral("復元データを書き込めません"));
    m_journalWarning->setToolTip(error);
    m_journalWarning->show();
}

void CMainFrame::UpdateTitle()
{
    const CTabryDoc& doc = m_app.Document();
    // A file another running TORVA holds: this window cannot save over it.
    const QString readOnly = doc.IsReadOnly() ? QStringLiteral(" (読み取り専用)") : QString();
    setWindowTitle(QStringLiteral("%1[*]%2 - %3").arg(doc.Title(), readOnly, AppTitle()));
    setWindowModified(doc.IsModified());
}

void CMainFrame::RebuildRecentFiles()
{
    const QStringList files = m_app.Settings().RecentFiles();
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction* a = m_recentActions[i];
        a->setVisible(i < files.size());
        if (i < files.size()) {
            a->setText(RecentCaption(i, files[i]));
            a->setData(files[i]);
        }
    }
    m_recentPlaceholder->setVisible(files.isEmpty());
}

void CMainFrame::ConnectGrid(grid::CResultGrid* grid)
{
    connect(grid, &grid::CResultGrid::selectionChanged, this, &CMainFrame::UpdateDeleteCell);
    connect(grid, &grid::CResultGrid::scoreSheetRequested, this,
            [this](int round) { OnRoundReport(OutputKind::ScoreSheet, round); });
    connect(grid, &grid::CResultGrid::pairingTableRequested, this,
            [this](int round) { OnRoundReport(OutputKind::PairingTable, round); });
    connect(grid, &grid::CResultGrid::statusMessage, this, [this](const QString& text) { ShowStatus(text); });
    UpdateDeleteCell();
    UpdateAddRow();
    UpdateWaitingMarks();
}

void CMainFrame::UpdateWaitingMarks()
{
    if (grid::CResultGrid* grid = m_view->Grid())
        grid->SetWaitingCells(WaitingCells(m_app.Data(), m_reports->Pending()));
}

void CMainFrame::ShowStatus(const QString& text)
{
    statusBar()->showMessage(text);
}

void CMainFrame::UpdateDeleteCell()
{
    grid::CResultGrid* grid = m_view->Grid();
    Action(QStringLiteral("actionDeleteCell"))->setEnabled(grid != nullptr && grid->CanDeleteCell());
}

void CMainFrame::UpdateAddRow()
{
    Action(QStringLiteral("actionAddRow"))->setEnabled(m_app.Data().table.PlayerCount() < kMaxPlayers);
}

void CMainFrame::ShowRestored()
{
    const QByteArray geometry = m_app.Settings().WindowGeometry();
    if (!geometry.isEmpty())
        restoreGeometry(geometry);
    show();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!m_app.Document().SaveModified()) {
        event->ignore();
        return;
    }
    m_app.Settings().SetWindowGeometry(saveGeometry());
    event->accept();
}

} // namespace tabry::app
