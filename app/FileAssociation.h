#pragma once
// The association of ".stg" files with this program, in the current user's
// part of the system so that no administrator is needed:
// - Windows: the program id "TORVAfile" (open command and document icon) and
//   ".stg" under HKEY_CURRENT_USER\Software\Classes;
// - Linux and other freedesktop systems: a shared-mime-info type
//   "application/x-torva-stg" for "*.stg", a desktop entry "torva.desktop"
//   that opens it, the default-application line in mimeapps.list and the
//   two icons, all in the user's data and configuration folders;
// - elsewhere there is nothing to register and the check says "registered".
// The association names the executable by its full path, so another copy of
// the program at another path counts as not registered. An installed
// package registers the type for every user in the system's data folders
// (XDG_DATA_DIRS); when the desktop entry there starts this executable, the
// type counts as registered, and no user copy is written over it.

#include <QString>
#include <QStringList>

namespace tabry::app {

class CFileAssociation {
public:
    // `dataHome` and `configHome` replace the user's data and configuration
    // folders (tests point them at temporary folders); empty for the real ones.
    // `systemDataDirs` replaces the system's data folders (empty: the
    // XDG_DATA_DIRS of the environment, by default /usr/local/share and
    // /usr/share).
    explicit CFileAssociation(QString executablePath, QString dataHome = {}, QString configHome = {},
                              QStringList systemDataDirs = {});

    bool IsFileTypeRegistered() const;
    // Registers the file type; false when a step failed (what was written
    // before it stays). Callers do not report this to the user.
    bool RegisterFileType() const;

    // The desktop entry's Exec value for the executable (quoted as the
    // desktop entry format wants it).
    static QString DesktopExecValue(const QString& executablePath);
    // The texts written for the type: the shared-mime-info package and a
    // desktop entry whose Exec value is `execValue` (DesktopExecValue, or
    // "torva %f" for the entry a package installs).
    static QString MimePackageXml();
    static QString DesktopEntryText(const QString& execValue);

    QString MimePackagePath() const;
    QString DesktopEntryPath() const;
    QString MimeAppsPath() const;

private:
    bool SystemEntryStartsThisProgram() const;

    QString m_exe;
    QString m_dataHome;
    QString m_configHome;
    QStringList m_systemDataDirs;
};

} // namespace tabry::app
