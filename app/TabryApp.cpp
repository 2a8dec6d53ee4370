#include "app/TabryApp.h"

#include "app/FileAssociation.h"
#include "app/FileErrors.h"
#include "app/MainFrame.h"
#include "app/ReportCommand.h"
#include "app/TabryDoc.h"
#include "widgets/PathText.h"
#include "widgets/Prompt.h"
#include "grid/ResultGrid.h"
#include "grid/TabryView.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>


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
      m_webOpener([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    g_app = this;
}

CTabryApp::~CTabryApp()
{
    m_frame.reset();
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
    int faultLine = 0;
    if (m_data.LoadPlayers(ui::ToFsPath(m_dbPaths.load), nullptr, &faultLine) != LoadStatus::Ok)
        ui::Prompt().Error(nullptr, DatabaseUnreadableMessage(m_dbPaths.load, faultLine));

    SeedRandomGenerator();

    m_doc = new CTabryDoc(m_data, this);
    m_doc->SetDefaultDirectory(m_settings->LastDirectory());
    m_frame = std::make_unique<CMainFrame>(*this);
    m_doc->SetDialogParent(m_frame.get());
    connect(m_doc, &CTabryDoc::fileUsed, this, [this](const QString& path) {
        m_settings->AddRecentFile(path);
        m_frame->RebuildRecentFiles();
    });
    connect(m_doc, &CTabryDoc::openFailed, this, [this](const QString& path) {
        m_settings->RemoveRecentFile(path);
        m_frame->RebuildRecentFiles();
    });

    if (m_options.fileToOpen.isEmpty())
        m_doc->OnNewDocument();
    else if (!m_doc->OnOpenDocument(m_options.fileToOpen))
        return false;

    m_frame->ShowRestored();
    if (m_options.checkAssociation)
        AskAboutAssociation();
    return true;
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
    if (m_data.playersModified && m_data.players.LoadRefused()) {
        ui::Prompt().Error(nullptr, QStringLiteral("プレイヤデータベース「%1」は起動時に読み込めなかったため、"
                                                   "変更を書き込みませんでした。")
                                        .arg(QDir::toNativeSeparators(m_dbPaths.load)));
        result = 1;
    } else if (m_data.playersModified) {
        QDir().mkpath(QFileInfo(m_dbPaths.save).absolutePath());
        if (m_data.players.Save(ui::ToFsPath(m_dbPaths.save), 1) != 0) {
            ui::Prompt().Error(nullptr, QStringLiteral("プレイヤデータベース「%1」に書き込めません。\n%2")
                                            .arg(QDir::toNativeSeparators(m_dbPaths.save),
                                                 WriteFailureDetail(m_dbPaths.save)));
            result = 1;
        } else {
            m_data.playersModified = false;
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
    m_data.table.Sort(EffectiveTieBreak(m_data.table.settings.tieBreak), false);
    m_doc->SetModifiedFlag(true);
    if (grid::CTabryView* view = View()) {
        if (view->Grid() != nullptr)
            view->Grid()->InvalidateAll();
    }
}

} // namespace tabry::app
