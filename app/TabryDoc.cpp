#include "app/TabryDoc.h"

#include "app/EditHistory.h"
#include "app/FileErrors.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "widgets/PathText.h"
#include "widgets/Prompt.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <filesystem>

namespace tabry::app {

namespace {

const QString kFilter = QStringLiteral("大会結果ファイル (*.stg)");
const QString kOpenFilter = QStringLiteral("大会結果ファイル (*.stg);;すべてのファイル (*)");

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

CTabryDoc::CTabryDoc(CTournamentEditor& editor, QObject* parent)
    : QObject(parent), m_editor(editor), m_title(UntitledTitle())
{
}

void CTabryDoc::SetHistory(CEditHistory* history)
{
    m_history = history;
    if (m_history != nullptr)
        connect(m_history, &CEditHistory::cleanChanged, this, [this](bool clean) { SetModifiedFlag(!clean); });
}

void CTabryDoc::SetJournal(CRecoveryJournal* journal, CJournalKeeper* keeper, const QString& recoveryDirectory)
{
    m_journal = journal;
    m_keeper = keeper;
    m_recoveryDir = recoveryDirectory;
}

QString CTabryDoc::UntitledTitle()
{
    return QStringLiteral("無題");
}

void CTabryDoc::SetModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

QString CTabryDoc::DefaultDirectory() const
{
    if (!m_path.isEmpty())
        return QFileInfo(m_path).absolutePath();
    return m_directory;
}

void CTabryDoc::SetPathName(const QString& path)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_title = m_path.isEmpty() ? UntitledTitle() : QFileInfo(m_path).fileName();
    if (!m_path.isEmpty())
        m_directory = QFileInfo(m_path).absolutePath();
    if (m_journal != nullptr)
        m_journal->SetDocument(ui::ToFsPath(m_path));
    emit titleChanged();
}

void CTabryDoc::OnNewDocument()
{
    m_editor.NewTournament();
    SetPathName({});
    SetModifiedFlag(false);
    emit documentReset();
}

bool CTabryDoc::OnOpenDocument(const QString& path)
{
    // Unsaved changes of this very file from a run that ended without
    // saving them come before the file itself.
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (OfferRecoveryOf(&absolute))
        return true;
    int faultLine = 0;
    const LoadStatus status = m_editor.LoadFile(ui::ToFsPath(path), nullptr, &faultLine);
    switch (status) {
    case LoadStatus::Ok:
        SetPathName(path);
        SetModifiedFlag(false);
        emit documentReset();
        emit fileUsed(m_path);
        return true;
    case LoadStatus::CannotOpen:
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」を開けません。\n%2").arg(Native(path), ReadFailureDetail(path)));
        break;
    case LoadStatus::Empty:
    case LoadStatus::Rejected:
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」は大会結果ファイルとして読み込めません。").arg(Native(path)));
        break;
    case LoadStatus::NulByte:
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」を開けません。\n%2").arg(Native(path), NulByteDetail(faultLine)));
        break;
    }
    emit openFailed(path);
    return false;
}

bool CTabryDoc::OnSaveDocument(const QString& path)
{
    if (!m_editor.SaveFile(ui::ToFsPath(path))) {
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」に保存できません。\n%2").arg(Native(path), WriteFailureDetail(path)));
        return false;
    }
    SetPathName(path);
    if (m_history != nullptr)
        m_history->SetClean();
    if (m_keeper != nullptr)
        m_keeper->MarkSaved();
    SetModifiedFlag(false);
    emit fileUsed(m_path);
    return true;
}

bool CTabryDoc::FileNew()
{
    if (!SaveModified())
        return false;
    OnNewDocument();
    return true;
}

bool CTabryDoc::FileOpen()
{
    const QString path =
        ui::Prompt().OpenFileName(m_dialogParent, QStringLiteral("開く"), DefaultDirectory(), kOpenFilter);
    if (path.isEmpty())
        return false;
    m_directory = QFileInfo(path).absolutePath();
    return OpenDocumentFile(path);
}

bool CTabryDoc::OpenDocumentFile(const QString& path)
{
    if (!SaveModified())
        return false;
    return OnOpenDocument(path);
}

bool CTabryDoc::FileSave()
{
    if (m_path.isEmpty())
        return FileSaveAs();
    return OnSaveDocument(m_path);
}

bool CTabryDoc::FileSaveAs()
{
    const QString proposed =
        m_path.isEmpty() ? QDir(DefaultDirectory()).filePath(m_title + QStringLiteral(".stg")) : m_path;
    const QString path = ui::Prompt().SaveFileName(m_dialogParent, QStringLiteral("名前を付けて保存"), proposed,
                                                   kFilter, QStringLiteral("stg"));
    if (path.isEmpty())
        return false;
    return OnSaveDocument(path);
}

bool CTabryDoc::SaveModified()
{
    if (!m_modified)
        return true;
    const QString name = m_path.isEmpty() ? m_title : Native(m_path);
    switch (ui::Prompt().AskYesNoCancel(m_dialogParent, QStringLiteral("TORVA"),
                                        QStringLiteral("%1 への変更を保存しますか?").arg(name))) {
    case ui::Answer::Yes:
        return FileSave();
    case ui::Answer::No:
        return true;
    default:
        return false;
    }
}

// ---- recovery ----------------------------------------------------------------

bool CTabryDoc::OfferRecovery()
{
    return OfferRecoveryOf(nullptr);
}

bool CTabryDoc::IsNewerThanItsFile(const RecoveryFile& file) const
{
    if (file.document.empty())
        return true;
    const QFileInfo info(ui::FromFsPath(file.document));
    if (!info.exists())
        return true;
    // Saving removes the journal, so a file written after the last change
    // was saved by another run: what the journal holds is older. Within the
    // same second it is offered (a question too many loses nothing).
    return file.changedAt >= info.lastModified().toSecsSinceEpoch();
}

bool CTabryDoc::OfferRecoveryOf(const QString* document)
{
    if (m_recoveryDir.isEmpty())
        return false;
    std::vector<RecoveryFile> found = CRecoveryJournal::FindOrphans(ui::ToFsPath(m_recoveryDir));
    const QString kept = Native(QDir(m_recoveryDir).filePath(QStringLiteral("kept")));
    for (const RecoveryFile& file : found) {
        if (document != nullptr && file.document != ui::ToFsPath(*document))
            continue;
        std::string error;
        if (!IsNewerThanItsFile(file)) {
            CRecoveryJournal::SetAside(file, &error);
            continue;
        }
        const QString name = file.document.empty() ? UntitledTitle() : Native(ui::FromFsPath(file.document));
        const QString when =
            QDateTime::fromSecsSinceEpoch(file.changedAt).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        const QString question = QStringLiteral("「%1」に保存されていない変更が残っています（最後の変更 %2）。\n"
                                                "復元しますか？\n\n"
                                                "「いいえ」を選ぶと、この内容はフォルダ「%3」に保管されます。")
                                     .arg(name, when, kept);
        if (ui::Prompt().Confirm(m_dialogParent, question)) {
            if (Restore(file))
                return true;
            continue;
        }
        if (CRecoveryJournal::SetAside(file, &error).empty())
            ui::Prompt().Error(m_dialogParent, QStringLiteral("復元データ「%1」を保管用のフォルダに移せません。\n"
                                                              "元の場所に残します。")
                                                   .arg(Native(ui::FromFsPath(file.path))));
    }
    return false;
}

bool CTabryDoc::Restore(const RecoveryFile& file)
{
    std::string bytes;
    const QString where = Native(ui::FromFsPath(file.path));
    if (!CRecoveryJournal::Read(file.path, bytes) || m_editor.Restore(bytes) != LoadStatus::Ok) {
        ui::Prompt().Error(m_dialogParent, QStringLiteral("復元データ「%1」を読み込めません。").arg(where));
        return false;
    }
    SetPathName(file.document.empty() ? QString() : ui::FromFsPath(file.document));
    // The restored state is in no file: modified until saved, and at once in
    // this run's journal. Only then is the old recovery file given up, so a
    // crash right now still finds one of the two.
    if (m_history != nullptr)
        m_history->MarkUnsaved();
    SetModifiedFlag(true);
    bool journaled = true;
    if (m_keeper != nullptr) {
        m_keeper->MarkUnsaved();
        journaled = m_keeper->LastError().empty();
    }
    if (journaled)
        CRecoveryJournal::Discard(file);
    emit documentReset();
    if (!m_path.isEmpty())
        emit fileUsed(m_path);
    return true;
}

} // namespace tabry::app
