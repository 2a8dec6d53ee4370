#include "app/AppSettings.h"

#include <QDir>
#include <QFileInfo>

namespace tabry::app {

namespace {
// The same names the recent-file list has always had in the registry.
const QString kRecentGroup = QStringLiteral("Recent File List");
const QString kRecentKey = QStringLiteral("File%1");
const QString kLastDirectory = QStringLiteral("Settings/LastDirectory");
const QString kGeometry = QStringLiteral("Settings/WindowGeometry");
const QString kEnterMovesDown = QStringLiteral("Settings/EnterMovesDown");
} // namespace

bool SamePath(const QString& a, const QString& b)
{
    const QString ca = QDir::cleanPath(QFileInfo(a).absoluteFilePath());
    const QString cb = QDir::cleanPath(QFileInfo(b).absoluteFilePath());
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return ca.compare(cb, Qt::CaseInsensitive) == 0;
#else
    return ca == cb;
#endif
}

CAppSettings::CAppSettings(const QString& iniFile)
{
    if (iniFile.isEmpty())
        m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("qelt"),
                                                 QStringLiteral("TORVA"));
    else
        m_settings = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
}

QStringList CAppSettings::RecentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString path = m_settings->value(kRecentGroup + '/' + kRecentKey.arg(i)).toString();
        if (!path.isEmpty())
            files << path;
    }
    return files;
}

void CAppSettings::StoreRecentFiles(const QStringList& files)
{
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString key = kRecentGroup + '/' + kRecentKey.arg(i);
        if (i <= files.size())
            m_settings->setValue(key, files[i - 1]);
        else
            m_settings->remove(key);
    }
}

void CAppSettings::AddRecentFile(const QString& path)
{
    if (path.isEmpty())
        return;
    QStringList files = RecentFiles();
    files.removeIf([&](const QString& f) { return SamePath(f, path); });
    files.prepend(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    while (files.size() > kMaxRecentFiles)
        files.removeLast();
    StoreRecentFiles(files);
}

void CAppSettings::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeIf([&](const QString& f) { return SamePath(f, path); });
    StoreRecentFiles(files);
}

QString CAppSettings::LastDirectory() const
{
    return m_settings->value(kLastDirectory).toString();
}

void CAppSettings::SetLastDirectory(const QString& directory)
{
    m_settings->setValue(kLastDirectory, directory);
}

QByteArray CAppSettings::WindowGeometry() const
{
    return m_settings->value(kGeometry).toByteArray();
}

void CAppSettings::SetWindowGeometry(const QByteArray& geometry)
{
    m_settings->setValue(kGeometry, geometry);
}

bool CAppSettings::EnterMovesDown() const
{
    return m_settings->value(kEnterMovesDown, false).toBool();
}

void CAppSettings::SetEnterMovesDown(bool down)
{
    m_settings->setValue(kEnterMovesDown, down);
}

bool CAppSettings::Sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace tabry::app
