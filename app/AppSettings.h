#pragma once
// The program's own settings (not the tournament's, which travel in its file):
// the recent-file list of four, the last folder of a file dialog, the main
// window's placement and where Enter goes after a game ("Enter で下へ移動").
// Stored under organisation "qelt", application "TORVA" (the registry on
// Windows, an INI file elsewhere), or in a given INI file.

#include <QByteArray>
#include <QSettings>
#include <QStringList>

#include <memory>

namespace tabry::app {

class CAppSettings {
public:
    static constexpr int kMaxRecentFiles = 4;

    // An empty `iniFile` uses the user's settings of the program.
    explicit CAppSettings(const QString& iniFile = {});

    // Most recent first, at most four.
    QStringList RecentFiles() const;
    // Puts `path` at the front, dropping an older entry for the same file
    // and whatever falls beyond four.
    void AddRecentFile(const QString& path);
    void RemoveRecentFile(const QString& path);

    QString LastDirectory() const;
    void SetLastDirectory(const QString& directory);

    QByteArray WindowGeometry() const;
    void SetWindowGeometry(const QByteArray& geometry);

    // After a committed game the cursor goes down the round instead of on
    // to the next round; off until the organiser turns it on.
    bool EnterMovesDown() const;
    void SetEnterMovesDown(bool down);

    // Writes pending changes; false when the settings cannot be stored.
    bool Sync();

private:
    void StoreRecentFiles(const QStringList& files);

    std::unique_ptr<QSettings> m_settings;
};

// True when both paths name the same file (case-insensitively where the
// file system is).
bool SamePath(const QString& a, const QString& b);

} // namespace tabry::app
