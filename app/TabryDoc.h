#pragma once
// The document: the tournament as a file. It holds no data of its own (the
// table, settings, details and player database are the application's
// TournamentData); it knows the file's path and title, whether there are
// unsaved changes, and carries out new, open, save and save as, with the
// question before unsaved changes would be lost.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace tabry {
struct TournamentData;
}

namespace tabry::app {

class CTabryDoc : public QObject {
    Q_OBJECT

public:
    explicit CTabryDoc(TournamentData& data, QObject* parent = nullptr);

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

    TournamentData& m_data;
    QPointer<QWidget> m_dialogParent;
    QString m_path;
    QString m_title;
    QString m_directory;
    bool m_modified = false;
};

} // namespace tabry::app
