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
// the program at another path counts as not registered.

#include <QString>

namespace tabry::app {

class CFileAssociation {
public:
    // `dataHome` and `configHome` replace the user's data and configuration
    // folders (tests point them at temporary folders); empty for the real ones.
    explicit CFileAssociation(QString executablePath, QString dataHome = {}, QString configHome = {});

    bool IsFileTypeRegistered() const;
    // Registers the file type; false when a step failed (what was written
    // before it stays). Callers do not report this to the user.
    bool RegisterFileType() const;

    // The desktop entry's Exec value for the executable (quoted as the
    // desktop entry format wants it).
    static QString DesktopExecValue(const QString& executablePath);

    QString MimePackagePath() const;
    QString DesktopEntryPath() const;
    QString MimeAppsPath() const;

private:
    QString m_exe;
    QString m_dataHome;
    QString m_configHome;
};

} // namespace tabry::app
