#include "app/TabryDoc.h"

#include "app/EditHistory.h"
#include "app/FileErrors.h"
#include "edit/RecoveryJournal.h"
#include "edit/TournamentEditor.h"
#include "widgets/FileErrorText.h"
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

void CTabryDoc::SetLockFolder(const QString& folder)
{
    m_locks = folder.isEmpty() ? nullptr : std::make_unique<CDocumentLocks>(ui::ToFsPath(folder));
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

void CTabryDoc::Adopt(const QString& path, LockHandle lock, bool readOnly, const std::optional<FileStamp>& stamp)
{
    m_lock = std::move(lock);
    m_readOnly = readOnly;
    m_stamp = stamp;
    SetPathName(path);
}

LockHandle CTabryDoc::LockFor(const QString& path, bool& heldElsewhere) const
{
    heldElsewhere = false;
    if (!m_locks || path.isEmpty())
        return nullptr;
    // This document's own file: it holds that lock already (a second lock
    // of the same file would be refused, by this very program).
    if (m_lock && QFileInfo(path).absoluteFilePath() == m_path)
        return m_lock;
    LockHandle lock;
    heldElsewhere = m_locks->Take(ui::ToFsPath(path), lock) == CDocumentLocks::Outcome::HeldElsewhere;
    return lock;
}

void CTabryDoc::MarkUnsaved()
{
    if (m_history != nullptr)
        m_history->MarkUnsaved();
    SetModifiedFlag(true);
    if (m_keeper != nullptr)
        m_keeper->MarkUnsaved();
}

void CTabryDoc::OnNewDocument()
{
    m_editor.NewTournament();
    Adopt({}, nullptr, false, std::nullopt);
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

    bool heldElsewhere = false;
    LockHandle lock = LockFor(path, heldElsewhere);
    const bool readOnly = heldElsewhere;
    if (heldElsewhere
        && !ui::Prompt().Choose(m_dialogParent,
                                QStringLiteral("「%1」は別の TORVA で開かれています。\n"
                                               "読み取り専用で開くと、このファイルには上書き保存できません"
                                               "（名前を付けて別のファイルには保存できます）。")
                                    .arg(Native(path)),
                                QStringLiteral("読み取り専用で開く"), QStringLiteral("開かない")))
        return false;

    LoadReport report;
    const LoadStatus status = m_editor.LoadFile(ui::ToFsPath(path), &report, DamagePolicy::Refuse);
    if (status == LoadStatus::Ok) {
        Adopt(path, std::move(lock), readOnly, report.stamp);
        SetModifiedFlag(false);
        emit documentReset();
        emit fileUsed(m_path);
        return true;
    }
    if (status == LoadStatus::Damaged) {
        const QString question = QStringLiteral("「%1」は書かれているとおりには読み込めません。\n\n%2\n\n"
                                                "読み込める内容だけを、新しい無題の大会として開きますか？ "
                                                "元のファイルは変更されません。")
                                     .arg(Native(path), FindingsText(report.findings));
        if (!ui::Prompt().Choose(m_dialogParent, question, QStringLiteral("無題として開く"),
                                 QStringLiteral("開かない")))
            return false;
        // Untitled, so that no save can replace the damaged file with what
        // could be read of it.
        LoadReport again;
        if (m_editor.LoadFile(ui::ToFsPath(path), &again, DamagePolicy::Open) == LoadStatus::Ok) {
            Adopt({}, nullptr, false, std::nullopt);
            MarkUnsaved();
            emit documentReset();
            return true;
        }
        report = again;
    }
    ui::Prompt().Error(m_dialogParent, OpenFailureMessage(path, report));
    emit openFailed(path);
    return false;
}

bool CTabryDoc::MayOverwrite(const QString& path)
{
    if (!m_stamp || QFileInfo(path).absoluteFilePath() != m_path)
        return true;
    const FileStamp now = StampOnDisk(ui::ToFsPath(path), kMaxTournamentFileBytes);
    if (now.SameContent(*m_stamp))
        return true;
    const QString what = now.exists ? QStringLiteral("このウィンドウで読み込んだ（または保存した）後に、"
                                                     "ほかで変更されています。")
                                    : QStringLiteral("このウィンドウで読み込んだ（または保存した）後に、"
                                                     "削除されたか名前が変わっています。");
    return ui::Prompt().Choose(
        m_dialogParent,
        QStringLiteral("「%1」は、%2\n上書きすると、その変更は失われます。上書きしますか？").arg(Native(path), what),
        QStringLiteral("上書きする"), QStringLiteral("保存しない"));
}

bool CTabryDoc::OnSaveDocument(const QString& path)
{
    const bool ownFile = !m_path.isEmpty() && QFileInfo(path).absoluteFilePath() == m_path;
    if (ownFile && m_readOnly) {
        ui::Prompt().Error(m_dialogParent, QStringLiteral("「%1」は別の TORVA で開かれているため、読み取り専用で"
                                                          "開いています。上書き保存はできません。\n"
                                                          "「名前を付けて保存」で別のファイルに保存してください。")
                                               .arg(Native(path)));
        return false;
    }
    bool heldElsewhere = false;
    LockHandle lock = LockFor(path, heldElsewhere);
    if (heldElsewhere) {
        ui::Prompt().Error(m_dialogParent,
                           QStringLiteral("「%1」は別の TORVA で開かれているため、保存できません。").arg(Native(path)));
        return false;
    }
    if (!MayOverwrite(path))
        return false;
    FileError error;
    FileStamp stamp;
    if (!m_editor.SaveFile(ui::ToFsPath(path), &error, &stamp)) {
        ui::Prompt().Error(m_dialogParent, SaveFailureMessage(path, error));
        return false;
    }
    Adopt(path, std::move(lock), false, stamp);
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
    const QString path = ui::Prompt().OpenFileName(m_dialogParent, QStringLiteral("開く"),
                                                   QDir::toNativeSeparators(DefaultDirectory()), kOpenFilter);
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
    // Shown to the user: in Windows' own form there (C:\Users\...).
    const QString path = ui::Prompt().SaveFileName(m_dialogParent, QStringLiteral("名前を付けて保存"),
                                                   QDir::toNativeSeparators(proposed), kFilter, QStringLiteral("stg"));
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
    // same second it counts as newer (a question too many loses nothing).
    return file.changedAt >= info.lastModified().toSecsSinceEpoch();
}

QString CTabryDoc::RecoveryDamage(const RecoveryFile& file) const
{
    std::string bytes;
    FileError error;
    if (!CRecoveryJournal::Read(file.path, bytes, nullptr, &error))
        return ui::FileProblemText(error);
    // Read on its own, with a database of nobody: only the file itself is
    // judged, and the open tournament is not touched.
    TournamentData scratch;
    LoadReport report;
    switch (scratch.LoadWithRecords(bytes, &report, DamagePolicy::Refuse)) {
    case LoadStatus::Ok:
        return {};
    case LoadStatus::Damaged:
    case LoadStatus::BadEventLine:
        return FindingsText(report.findings);
    default:
        return OpenFailureMessage(ui::FromFsPath(file.path), report);
    }
}

bool CTabryDoc::OfferRecoveryOf(const QString* document)
{
    if (m_recoveryDir.isEmpty())
        return false;
    std::vector<RecoveryFile> found = CRecoveryJournal::FindOrphans(ui::ToFsPath(m_recoveryDir));
    const QString kept = Native(QDir(m_recoveryDir).filePath(QStringLiteral("kept")));
    const auto stampText = [](qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    };
    for (const RecoveryFile& file : found) {
        if (document != nullptr && file.document != ui::ToFsPath(*document))
            continue;
        const QString where = Native(ui::FromFsPath(file.path));
        const QString name = file.document.empty() ? UntitledTitle() : Native(ui::FromFsPath(file.document));
        // A damaged recovery file is never restored, and never moved or
        // removed: it may still be the only copy of the work.
        if (const QString damage = RecoveryDamage(file); !damage.isEmpty()) {
            ui::Prompt().Error(m_dialogParent,
                               QStringLiteral("「%1」の復元データ「%2」は壊れているため、復元できません。\n"
                                              "%3\n\nこのファイルは消さずにそのまま残します。")
                                   .arg(name, where, damage));
            continue;
        }
        bool restore = false;
        if (IsNewerThanItsFile(file)) {
            const QString question = QStringLiteral("「%1」に保存されていない変更が残っています（最後の変更 %2）。\n"
                                                    "復元しますか？\n\n"
                                                    "「いいえ」を選ぶと、この内容はフォルダ「%3」に保管されます。")
                                         .arg(name, stampText(file.changedAt), kept);
            restore = ui::Prompt().Confirm(m_dialogParent, question);
        } else {
            // The file was saved again after the last unsaved change (by
            // another window or run): which one counts is the organiser's
            // call, and neither is lost.
            const qint64 saved = QFileInfo(ui::FromFsPath(file.document)).lastModified().toSecsSinceEpoch();
            const QString question =
                QStringLiteral("「%1」に保存されていない変更が残っていますが、ファイルはその後に保存されています。\n\n"
                               "保存されていない変更: %2\n"
                               "ファイルの保存: %3\n\n"
                               "保存されていない変更を復元しますか？ 復元しない場合、"
                               "その内容はフォルダ「%4」に保管されます。")
                    .arg(name, stampText(file.changedAt), stampText(saved), kept);
            restore = ui::Prompt().Choose(m_dialogParent, question, QStringLiteral("変更を復元する"),
                                          QStringLiteral("ファイルを使い、変更は保管する"));
        }
        if (restore) {
            if (Restore(file))
                return true;
            continue;
        }
        std::string error;
        const std::filesystem::path moved = CRecoveryJournal::SetAside(file, &error);
        if (moved.empty())
            ui::Prompt().Error(m_dialogParent, QStringLiteral("復元データ「%1」を保管用のフォルダに移せません。\n"
                                                              "元の場所に残します。")
                                                   .arg(where));
        else
            ui::Prompt().Inform(
                m_dialogParent, QStringLiteral("復元データ"),
                QStringLiteral("復元しなかった内容を「%1」に保管しました。").arg(Native(ui::FromFsPath(moved))));
    }
    return false;
}

bool CTabryDoc::Restore(const RecoveryFile& file)
{
    std::string bytes;
    const QString where = Native(ui::FromFsPath(file.path));
    FileError error;
    if (!CRecoveryJournal::Read(file.path, bytes, nullptr, &error)) {
        ui::Prompt().Error(
            m_dialogParent,
            QStringLiteral("復元データ「%1」を読み込めません。\n%2").arg(where, ui::FileProblemText(error)));
        return false;
    }
    LoadReport report;
    if (m_editor.Restore(bytes, &report) != LoadStatus::Ok) {
        const QString detail =
            report.findings.empty() ? OpenFailureMessage(where, report) : FindingsText(report.findings);
        ui::Prompt().Error(m_dialogParent, QStringLiteral("復元データ「%1」は壊れているため、復元できません。\n%2\n\n"
                                                          "このファイルは消さずにそのまま残します。")
                                               .arg(where, detail));
        return false;
    }
    if (m_restoreListener)
        m_restoreListener(file.path);
    const QString path = file.document.empty() ? QString() : ui::FromFsPath(file.document);
    // Under its own file again, locked as any opened file; held by another
    // program, read-only (Save As still saves it).
    bool heldElsewhere = false;
    LockHandle lock = LockFor(path, heldElsewhere);
    std::optional<FileStamp> stamp;
    if (!path.isEmpty())
        stamp = StampOnDisk(file.document, kMaxTournamentFileBytes);
    Adopt(path, std::move(lock), heldElsewhere, stamp);
    // The restored state is in no file: modified until saved, and at once in
    // this run's journal. Only then is the old recovery file given up, so a
    // crash right now still finds one of the two.
    MarkUnsaved();
    if (m_keeper == nullptr || m_keeper->LastError().problem == FileProblem::None)
        CRecoveryJournal::Discard(file);
    emit documentReset();
    if (!m_path.isEmpty())
        emit fileUsed(m_path);
    return true;
}

} // namespace tabry::app
