#pragma once
// The document: the tournament as a file. It holds no data of its own (the
// table, settings, details and player database are the editor's); it knows
// the file's path and title, whether there are unsaved changes (the edit
// history's clean state), and carries out new, open, save and save as, with
// the question before unsaved changes would be lost. It also offers back the
// tournaments that the crash journal kept from runs that ended unsaved.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

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

    // The window that owns the document's dialogs and messages.
    void SetDialogParent(QWidget* parent) { m_dialogParent = parent; }

    // The file name shown in the window title, "無題" before the first save.
    QString Title() const { return m_title; }
    // The full path of the file, empty before the first save.
    QString PathName() const { return m_path; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);

    // Folder the file dialogs start in when the document has no path yet.
    void SetDefaultDirectory(const QString& directory) { m_directory = directory; }
    QString DefaultDirectory() const;

    // ---- steps (no questions) ------------------------------------------
    // A new 32 x 6 tournament; the table settings stay.
    void OnNewDocument();
    // Loads the file. A file that cannot be read, is empty, or is no
    // tournament file is reported and the open tournament stays as it was.
    bool OnOpenDocument(const QString& path);
    // Writes the file atomically. A failure is reported and the document
    // stays modified.
    bool OnSaveDocument(const QString& path);

    // ---- recovery ------------------------------------------------------------
    // Offers the tournaments of ended runs that were never saved or changed
    // after their file (newest first), each with a question whose default
    // answer restores it. Stops at the first one restored (true). A declined
    // one, and one older than its file, is kept aside under a dated name.
    bool OfferRecovery();
    // Restores `file`: its tournament under its document's path (untitled
    // when it had none), marked modified. False (reported) when unreadable.
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
};

} // namespace tabry::app
