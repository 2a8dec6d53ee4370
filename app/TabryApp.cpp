#include "app/TabryApp.h"

#include "app/EditHistory.h"
#include "app/FileAssociation.h"
#include "app/FileErrors.h"
#include "app/LiveServerController.h"
#include "app/MainFrame.h"
#include "app/ReportCommand.h"
#include "app/ReportDesk.h"
#include "app/TabryDoc.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"
#include "widgets/FileErrorText.h"
#include "widgets/PathText.h"
#include "widgets/Prompt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <exception>

namespace tabry::app {

namespace {
CTabryApp* g_app = nullptr;
} // namespace

CTabryApp* CTabryApp::Instance()
{
    return g_app;
}

CTabryApp::CTabryApp(AppOptions options, QObject* parent)
    : QObject(parent), m_options(std::move(options)), m_renderer(&ReportRenderer()),
      m_webOpener([](const QUrl& url) { QDesktopServices::openUrl(url); }),
      // No destructor runs: a clean exit would take the journal away.
      m_fatalExit([](int code) { std::_Exit(code); })
{
    g_app = this;
}

CTabryApp::~CTabryApp()
{
    m_frame.reset();
    m_keeper.reset();
    // It listens to the editor, a member that is gone before the QObject
    // children are.
    delete m_history;
    m_history = nullptr;
    if (g_app == this)
        g_app = nullptr;
}

grid::CTabryView* CTabryApp::View() const
{
    return m_frame ? m_frame->View() : nullptr;
}

void CTabryApp::SetRenderer(IReportRenderer* renderer)
{
    m_renderer = renderer != nullptr ? renderer : &ReportRenderer();
}

void CTabryApp::SeedRandomGenerator()
{
    // Seeded once from the clock, so every run draws its own shuffles of
    // equally placed players.
    m_seed = CRandomGenerator::TimeSeed();
    m_random.Seed(m_seed);
}

bool CTabryApp::InitInstance()
{
    m_settings = std::make_unique<CAppSettings>(m_options.settingsFile);

    m_exePath = m_options.executablePath.isEmpty() ? QCoreApplication::applicationFilePath() : m_options.executablePath;
    m_exePath = QFileInfo(m_exePath).absoluteFilePath();
    m_exeDir = QFileInfo(m_exePath).absolutePath();

    // The database comes first: opening a tournament looks its players up
    // there and adds the missing ones.
    const QString userDir = m_options.userDataDirectory.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : m_options.userDataDirectory;
    m_dbPaths = ResolveDatabasePaths(m_exeDir, userDir, QFileInfo(m_exeDir).isWritable());
    FileError dbError;
    if (m_editor.LoadPlayers(ui::ToFsPath(m_dbPaths.load), &dbError) != LoadStatus::Ok)
        ui::Prompt().Error(nullptr, DatabaseUnreadableMessage(m_dbPaths.load, dbError));

    SeedRandomGenerator();

    // The history and the journal listen to the editor before any view does,
    // so that the journal is on disk before the grid repaints.
    m_history = new CEditHistory(m_editor, this);
    m_recoveryDir = QDir(userDir).filePath(QStringLiteral("recovery"));
    const QString lockDir = QDir(m_recoveryDir).filePath(QStringLiteral("locks"));
    // Lock files of runs that were killed: nobody holds them any more.
    CRecoveryJournal::RemoveStaleLocks(ui::ToFsPath(m_recoveryDir));
    CDocumentLocks(ui::ToFsPath(lockDir)).RemoveStale();
    m_journal = std::make_unique<CRecoveryJournal>(ui::ToFsPath(m_recoveryDir));
    m_keeper = std::make_unique<CJournalKeeper>(m_editor, *m_journal);
    // Written right after the change's own events (the grid's repaint among
    // them) and before the next input: posted events come before input.
    m_keeper->SetScheduler([this](std::function<void()> task) {
        QMetaObject::invokeMethod(
            this,
            [this, task = std::move(task)] {
                task();
                emit journalWritten();
            },
            Qt::QueuedConnection);
    });

    m_doc = new CTabryDoc(m_editor, this);
    m_doc->SetHistory(m_history);
    m_doc->SetJournal(m_journal.get(), m_keeper.get(), m_recoveryDir);
    m_doc->SetLockFolder(lockDir);
    m_doc->SetDefaultDirectory(m_settings->LastDirectory());
    m_frame = std::make_unique<CMainFrame>(*this);
    m_doc->SetDialogParent(m_frame.get());
    // The reports waiting are kept beside the journal's recovery file, and
    // come back with a restored tournament.
    m_frame->Reports().KeepInJournal(m_keeper.get());
    m_doc->SetRestoreListener(
        [this](const std::filesystem::path& recoveryFile) { m_frame->Reports().RestoreFromJournal(recoveryFile); });
    connect(m_doc, &CTabryDoc::fileUsed, this, [this](const QString& path) {
        m_settings->AddRecentFile(path);
        m_frame->RebuildRecentFiles();
    });
    connect(m_doc, &CTabryDoc::openFailed, this, [this](const QString& path) {
        m_settings->RemoveRecentFile(path);
        m_frame->RebuildRecentFiles();
    });

    if (m_options.fileToOpen.isEmpty()) {
        // Tournaments of runs that ended without saving are offered first.
        if (!m_doc->OfferRecovery())
            m_doc->OnNewDocument();
    } else if (!m_doc->OnOpenDocument(m_options.fileToOpen)) {
        return false;
    }

    m_frame->ShowRestored();
    StartServing();
    if (m_options.checkAssociation)
        AskAboutAssociation();
    return true;
}

void CTabryApp::StartServing()
{
    CLiveServerController& live = m_frame->Live();
    if (m_options.reports)
        live.SetReporting(true);
    if (m_options.serve.isEmpty())
        return;
    QString address;
    int port = 0;
    QString error;
    if (!ParseServeAddress(m_options.serve, address, port))
        error = QStringLiteral("--serve には「アドレス:ポート」を指定してください (「%1」)。").arg(m_options.serve);
    else
        live.Start(address, port, &error);
    // The program goes on without the pages: the organiser can start them
    // from the window once the port is free.
    if (!error.isEmpty())
        ui::Prompt().Error(m_frame.get(), error);
}

void CTabryApp::AskAboutAssociation()
{
    if (IsFileTypeRegistered())
        return;
    if (ui::Prompt().Confirm(m_frame.get(),
                             QStringLiteral("大会結果ファイル(*.stg)が TORVA に関連付けされていません。\n"
                                            "関連付けしてよろしいですか？")))
        RegisterFileType();
}

bool CTabryApp::IsFileTypeRegistered() const
{
    return CFileAssociation(m_exePath, m_options.associationDataHome, m_options.associationConfigHome)
        .IsFileTypeRegistered();
}

bool CTabryApp::RegisterFileType() const
{
    return CFileAssociation(m_exePath, m_options.associationDataHome, m_options.associationConfigHome)
        .RegisterFileType();
}

int CTabryApp::ExitInstance()
{
    int result = 0;
    // A clean exit: the tournament was saved or its changes discarded when
    // the window closed, so there is nothing left to recover.
    if (m_keeper)
        m_keeper->Flush();
    if (m_journal)
        m_journal->Remove();
    if (m_editor.PlayersModified() && m_editor.Players().LoadRefused()) {
        ui::Prompt().Error(nullptr, QStringLiteral("プレイヤデータベース「%1」は起動時に読み込めなかったため、"
                                                   "変更を書き込みませんでした。")
                                        .arg(QDir::toNativeSeparators(m_dbPaths.load)));
        result = 1;
    } else if (m_editor.PlayersModified()) {
        const std::filesystem::path save = ui::ToFsPath(m_dbPaths.save);
        FileError error;
        if (!CreateFolders(save.parent_path(), &error) || m_editor.Players().Save(save, 1, &error) != 0) {
            ui::Prompt().Error(nullptr, QStringLiteral("プレイヤデータベース「%1」に書き込めません。\n%2")
                                            .arg(QDir::toNativeSeparators(m_dbPaths.save), ui::FileProblemText(error)));
            result = 1;
        } else {
            m_editor.MarkPlayersSaved();
        }
    }
    if (m_settings) {
        if (m_doc)
            m_settings->SetLastDirectory(m_doc->DefaultDirectory());
        m_settings->Sync();
    }
    return result;
}

void CTabryApp::OpenWebPage(const QString& url)
{
    if (m_webOpener)
        m_webOpener(QUrl(url));
}

void CTabryApp::SortTable()
{
    m_editor.Sort();
}

QString CTabryApp::JournalError() const
{
    return m_keeper ? ui::FileProblemText(m_keeper->LastError()) : QString();
}

bool CTabryApp::Guard(const std::function<bool()>& work)
{
    try {
        return work();
    } catch (const std::exception& e) {
        Fatal(e.what());
    } catch (...) {
        Fatal(nullptr);
    }
    return false;
}

void CTabryApp::Fatal(const char* what)
{
    // Whatever broke, the tournament as it stands goes to the journal
    // first: the next start offers it back.
    bool kept = false;
    if (m_keeper) {
        m_keeper->WriteNow();
        kept = m_keeper->LastError().problem == FileProblem::None;
    }
    QString text = QStringLiteral("予期しないエラーが発生したため、TORVA を終了します。");
    if (what != nullptr && *what != '\0')
        text += QStringLiteral("\n（%1）").arg(QString::fromUtf8(what).toHtmlEscaped());
    text += kept ? QStringLiteral("\n\n保存していない変更は復元データとして残してあります。"
                                  "次に起動したときに復元できます。")
                 : QStringLiteral("\n\n保存していない変更を復元データとして残すことができませんでした。");
    ui::Prompt().Error(m_frame.get(), text);
    m_fatalExit(kFatalExitCode);
}

} // namespace tabry::app
