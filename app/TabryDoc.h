#pragma once
// The document: the tournament as a file. It holds no data of its own (the
// table, settings, details and player database are the editor's); it knows
// the file's path and title, whether there are unsaved changes (the edit
// history's clean state), and carries out new, open, save and save as, with
// the question before unsaved changes would be lost. It also offers back the
// tournaments that the crash journal kept from runs that ended unsaved.
//
// Nothing is overwritten or dropped without a word: the document holds the
// lock of its file (another running program that opens it is told, and may
// open it read-only), remembers what the file held when it was read or
// written (a save over a file changed since asks first), and opens a file
// that reads differently than it says only when asked to, as a new untitled
// tournament.

#include "edit/DocumentLock.h"
#include "text/FileIo.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tabry {
class CJournalKeeper;
class CRecoveryJournal;
class CTournamentEditor;
struct RecoveryFile;
} // namespace tabry

namespace tabry::app {

class CEditHistory;

class CTabryDoc : public QObject {
    Q_OBJECT

public:
    explicit CTabryDoc(CTournamentEditor& editor, QObject* parent = nullptr);

    // The history whose clean state is the modified mark, and the journal
    // that keeps unsaved states (none in a document without them).
    void SetHistory(CEditHistory* history);
    void SetJournal(CRecoveryJournal* journal, CJournalKeeper* keeper, const QString& recoveryDirectory);
    // Told the recovery file a restored tournament came from, before that
    // file is given up (the waiting reports kept beside it come back too).
    void SetRestoreListener(std::function<void(const std::filesystem::path&)> listener)
    {
        m_restoreListener = std::move(listener);
    }
    // The folder of the file locks (none: files are opened without locks).
    void SetLockFolder(const QString& folder);

    // The window that owns the document's dialogs and messages.
    void SetDialogParent(QWidget* parent) { m_dialogParent = parent; }

    // The file name shown in the window title, "無題" before the first save.
    QString Title() const { return m_title; }
    // The full path of the file, empty before the first save.
    QString PathName() const { return m_path; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);
    // Opened while another running program holds the file: Save refuses to
    // write over it (Save As to another file works).
    bool IsReadOnly() const { return m_readOnly; }

    // Folder the file dialogs start in when the document has no path yet.
    void SetDefaultDirectory(const QString& directory) { m_directory = directory; }
    QString DefaultDirectory() const;

    // ---- steps (no questions) ------------------------------------------
    // A new 32 x 6 tournament; the table settings stay.
    void OnNewDocument();
    // Loads the file. A file that cannot be read, is empty, or is no
    // tournament file is reported and the open tournament stays as it was.
    // A file another running program holds opens read-only, if the
    // organiser says so. A file that reads differently than it says is
    // described line by line and, if the organiser says so, opened as a new
    // untitled tournament (so that saving never replaces the damaged file).
    bool OnOpenDocument(const QString& path);
    // Writes the file atomically. A failure is reported and the document
    // stays modified. Over its own file: refused while read-only, and asked
    // first when the file changed on the disk since it was read or written.
    // Another file is refused while another running program holds it.
    bool OnSaveDocument(const QString& path);

    // ---- recovery ------------------------------------------------------------
    // Offers the tournaments of ended runs that were never saved (newest
    // first), each with a question whose default answer restores it; one
    // whose file was saved again after it asks with both times, and its
    // default keeps the file. Stops at the first one restored (true). A
    // declined one is kept aside under a dated name; a damaged one is
    // reported and left where it is.
    bool OfferRecovery();
    // Restores `file`: its tournament under its document's path (untitled
    // when it had none), marked modified. False (reported, and the file left
    // as it is) when it cannot be read or is damaged.
    bool Restore(const RecoveryFile& file);

    // ---- commands ---------------------------------------------------------
    // Each asks about unsaved changes first where a tournament would close.
    bool FileNew();
    bool FileOpen();
    bool OpenDocumentFile(const QString& path);
    bool FileSave();
    bool FileSaveAs();
    // "…への変更を保存しますか?" when modified: Yes saves (and a failed or
    // cancelled save stops), No discards, Cancel stops. True to go on.
    bool SaveModified();

    static QString UntitledTitle();

signals:
    // A new or opened tournament replaced the old one: views start afresh.
    void documentReset();
    void titleChanged();
    void modifiedChanged(bool modified);
    // A file was opened or saved under `path` (for the recent-file list).
    void fileUsed(const QString& path);
    // A file could not be opened (for the recent-file list).
    void openFailed(const QString& path);

private:
    void SetPathName(const QString& path);
    // Offers the recovery files of `document` (all when empty) and keeps
    // the rest as they are.
    bool OfferRecoveryOf(const QString* document);
    bool IsNewerThanItsFile(const RecoveryFile& file) const;
    // Why a recovery file cannot be restored, empty when it can.
    QString RecoveryDamage(const RecoveryFile& file) const;
    // The lock of `path` for this document: the one it holds when that is
    // its own file, else a new one. Nothing (with `heldElsewhere`) when
    // another program holds it, or when the document keeps no locks.
    LockHandle LockFor(const QString& path, bool& heldElsewhere) const;
    // The tournament now in the editor is `path`'s (empty: untitled), with
    // `lock` and, for a file read or written, its stamp.
    void Adopt(const QString& path, LockHandle lock, bool readOnly, const std::optional<FileStamp>& stamp);
    // The tournament now in the editor is in no file yet: modified until
    // saved, and at once in the journal.
    void MarkUnsaved();
    // Asks before a save over `path` when the disk no longer holds what
    // this window read or wrote there. True to go on.
    bool MayOverwrite(const QString& path);

    CTournamentEditor& m_editor;
    CEditHistory* m_history = nullptr;
    CRecoveryJournal* m_journal = nullptr;
    CJournalKeeper* m_keeper = nullptr;
    QString m_recoveryDir;
    QPointer<QWidget> m_dialogParent;
    QString m_path;
    QString m_title;
    QString m_directory;
    bool m_modified = false;
    std::unique_ptr<CDocumentLocks> m_locks;
    LockHandle m_lock;
    bool m_readOnly = false;
    std::optional<FileStamp> m_stamp; // what m_path held when last read or written
    std::function<void(const std::filesystem::path&)> m_restoreListener;
};

} // namespace tabry::app
